#include "suite/host/host_app.h"

#include <ostream>

namespace velhost {
namespace {

// A service object whose operations are added as the suite grows.
class HostService : public vel::DispatchObject {
public:
    explicit HostService(std::string name) : name_(std::move(name)) {}
    using vel::DispatchObject::AddMethod;

protected:
    std::string ClassName() const override { return name_; }

private:
    std::string name_;
};

// The lookup window and the date picker answer from what the person queued.
std::shared_ptr<HostService> MakeLookupWindow(HostAnswers* answers) {
    auto service = std::make_shared<HostService>("F2Window");
    service->AddMethod("F2GetData", [answers](std::vector<vel::Variant>& args) {
        if (!answers) return vel::Variant();
        if (answers->out && !args.empty() && args[0].IsArray() && args[0].HighBound() >= 1)
            *answers->out << "lookup " << args[0][0].ToString() << ' ' << args[0][1].ToString() << std::endl;
        if (answers->picks.empty()) return vel::Variant();
        vel::Variant pick = answers->picks.front();
        answers->picks.pop_front();
        return pick;
    });
    service->AddMethod("ShowInputDay", [answers](std::vector<vel::Variant>&) {
        if (!answers || answers->dates.empty()) return vel::Variant("");
        std::string date = answers->dates.front();
        answers->dates.pop_front();
        return vel::Variant(date);
    });
    service->AddMethod("GetPhrase", [](std::vector<vel::Variant>&) { return vel::Variant(""); });
    return service;
}

}  // namespace

HostApplication::HostApplication(HostAnswers* answers)
    : counter_(std::make_shared<HostService>("Counter")),
      validator_(std::make_shared<HostService>("Validator")),
      lookup_(MakeLookupWindow(answers)) {
    AddMethod("Com_Counter", [this](std::vector<vel::Variant>&) { return vel::Variant(counter_); });
    AddMethod("Com_Validator", [this](std::vector<vel::Variant>&) { return vel::Variant(validator_); });
    AddMethod("Com_F2Window", [this](std::vector<vel::Variant>&) { return vel::Variant(lookup_); });
    AddMethod("CallHelp", [](std::vector<vel::Variant>&) { return vel::Variant(); });
    AddMethod("GetFileList", [](std::vector<vel::Variant>&) { return vel::Variant(""); });
}

}  // namespace velhost
