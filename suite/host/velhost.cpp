// velhost: the host shell. Loads a report module by file and drives its controller.
//   velhost smoke PATH/QMLK07C.so
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "suite/host/console_presenter.h"
#include "suite/host/host_app.h"
#include "suite/host/module_loader.h"

namespace {

int Usage() {
    std::cerr << "usage: velhost smoke PATH/MODULE.so\n";
    return 2;
}

// Loads the module, creates and shows its form, hides and frees it, and reports every
// notification and the result code.
int Smoke(const std::string& path) {
    velhost::ConsolePresenter presenter(std::cerr);
    vel::SetPresenter(&presenter);
    velhost::LoadedModule module(path);
    std::unique_ptr<TDLLBaseController> controller(module.NewController());
    controller->HostApp = vel::Variant(std::make_shared<velhost::HostApplication>());
    controller->OnNotify = [](int32_t code, TDLLBaseController*) { std::cout << "notify " << code << std::endl; };
    vel::Variant params = vel::Variant::Of({vel::Variant("DS"), vel::Variant("DEMO"), vel::Variant("DEMO"),
                                            vel::Variant(0), vel::Variant()});
    int32_t rc = controller->Initialize(params);
    std::cerr << "initialize " << rc << '\n';
    controller->SetVisible(1);
    vel::Application().ProcessMessages();
    controller->SetVisible(0);
    vel::Application().ProcessMessages();
    controller->FreeForm();
    vel::Application().ProcessMessages();
    std::cout << "result " << controller->ResultCode << std::endl;
    controller.reset();
    vel::SetPresenter(nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage();
    try {
        if (args[0] == "smoke" && args.size() == 2) return Smoke(args[1]);
    } catch (const std::exception& e) {
        std::cerr << "velhost: " << e.what() << '\n';
        return 1;
    }
    return Usage();
}
