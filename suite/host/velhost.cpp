// velhost: the host shell. Loads a report module by file and drives its controller.
//   velhost smoke [--server ADDRESS:PORT | --local] PATH/QMLK07C.so
//   velhost run [--user U --company C --db D | --params JSON] [--server ADDRESS:PORT | --local]
//               PATH/QMLK07C.so [SCRIPT]
//   velhost jobs | report ...   (see job_commands.h)
// Without --server or --local an installed client is used, else local mode.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "suite/host/client_setup.h"
#include "suite/host/console_presenter.h"
#include "suite/host/host_app.h"
#include "suite/host/job_commands.h"
#include "suite/host/module_loader.h"
#include "suite/host/script_player.h"

#include <fstream>
#include "platform/text/codepage.h"
#include "platform/text/json.h"

namespace {

int Usage() {
    std::cerr << "usage: velhost smoke [--server ADDRESS:PORT | --local] PATH/MODULE.so\n"
                 "       velhost run [--user U --company C --db D | --params JSON] [--server ADDRESS:PORT | --local]\n"
                 "                   PATH/MODULE.so [SCRIPT]\n"
                 "       velhost jobs [--server ADDRESS:PORT | --local] [--user U]\n"
                 "       velhost report REF [--format csv|html] [--wait] [--server ADDRESS:PORT | --local]\n";
    return 2;
}

// Loads the module, creates and shows its form, hides and frees it, and reports every
// notification and the result code.
int Smoke(const std::string& server, const std::string& path) {
    auto setup = velhost::ClientSetup::Prepare(server);
    velhost::ConsolePresenter presenter(std::cerr);
    vel::SetPresenter(&presenter);
    velhost::LoadedModule module(path);
    std::unique_ptr<TDLLBaseController> controller(module.NewController());
    controller->HostApp = vel::Variant(std::make_shared<velhost::HostApplication>(nullptr, std::make_shared<velhost::ServerLink>()));
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

// Opens the module's form as the host does and plays a script of user input against it.
int Run(const std::vector<std::string>& args) {
    std::string user = "DS", company = "DEMO", db = "DEMO", server, module, scriptFile, paramsJson;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--user" || a == "--company" || a == "--db" || a == "--server" || a == "--params") &&
            i + 1 < args.size()) {
            (a == "--user" ? user : a == "--company" ? company : a == "--db" ? db : a == "--server" ? server : paramsJson) =
                args[++i];
        } else if (a == "--local") {
            server = "local";
        } else if (module.empty()) {
            module = a;
        } else if (scriptFile.empty()) {
            scriptFile = a;
        } else {
            return Usage();
        }
    }
    if (module.empty()) return Usage();
    std::ifstream file;
    if (!scriptFile.empty()) {
        file.open(scriptFile);
        if (!file) {
            std::cerr << "velhost: cannot read " << scriptFile << '\n';
            return 1;
        }
    }
    std::istream& script = scriptFile.empty() ? std::cin : file;
    auto setup = velhost::ClientSetup::Prepare(server);

    velhost::HostAnswers answers;
    answers.out = &std::cout;
    velhost::ScriptPlayer player(script, std::cout, answers);
    vel::SetPresenter(&player);
    vel::Application().OnException = [](const std::exception& e) { std::cout << "exception " << e.what() << std::endl; };
    velhost::LoadedModule loaded(module);
    std::unique_ptr<TDLLBaseController> controller(loaded.NewController());
    controller->HostApp = vel::Variant(std::make_shared<velhost::HostApplication>(&answers, std::make_shared<velhost::ServerLink>()));
    controller->OnNotify = [](int32_t code, TDLLBaseController*) { std::cout << "notify " << code << std::endl; };
    // The host parameter array: [user, company, database, window, host value], or as given.
    vel::Variant params = paramsJson.empty()
                              ? vel::Variant::Of({vel::Variant(vel::Utf8ToAnsi(user)), vel::Variant(vel::Utf8ToAnsi(company)),
                                                  vel::Variant(vel::Utf8ToAnsi(db)), vel::Variant(0), vel::Variant()})
                              : vel::ParseJson(paramsJson);
    int32_t rc = controller->Initialize(params);
    std::cout << "initialize " << rc << std::endl;
    vel::Application().ProcessMessages();
    if (!controller->FormIsNil()) {
        player.SetMainForm(controller->GetHandle());
        controller->SetVisible(1);
        vel::Application().ProcessMessages();
    }
    player.Run();
    controller->FreeForm();
    vel::Application().ProcessMessages();
    std::cout << "result " << controller->ResultCode << ' ' << vel::ToJson(controller->ResultData) << std::endl;
    controller.reset();
    vel::SetPresenter(nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage();
    try {
        if (args[0] == "smoke" && args.size() == 2) return Smoke("", args[1]);
        if (args[0] == "smoke" && args.size() == 3 && args[1] == "--local") return Smoke("local", args[2]);
        if (args[0] == "smoke" && args.size() == 4 && args[1] == "--server") return Smoke(args[2], args[3]);
        if (args[0] == "jobs") return velhost::RunJobsCommand(argc - 1, argv + 1);
        if (args[0] == "report") return velhost::RunReportCommand(argc - 1, argv + 1);
        if (args[0] == "run") return Run(std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const std::exception& e) {
        std::cerr << "velhost: " << e.what() << '\n';
        return 1;
    }
    return Usage();
}
