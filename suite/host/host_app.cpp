#include "suite/host/host_app.h"

namespace velhost {
namespace {

// A service object whose operations are added as the suite grows.
class HostService : public vel::DispatchObject {
public:
    explicit HostService(std::string name) : name_(std::move(name)) {}

protected:
    std::string ClassName() const override { return name_; }

private:
    std::string name_;
};

}  // namespace

HostApplication::HostApplication()
    : counter_(std::make_shared<HostService>("Counter")),
      validator_(std::make_shared<HostService>("Validator")),
      lookup_(std::make_shared<HostService>("F2Window")) {
    AddMethod("Com_Counter", [this](std::vector<vel::Variant>&) { return vel::Variant(counter_); });
    AddMethod("Com_Validator", [this](std::vector<vel::Variant>&) { return vel::Variant(validator_); });
    AddMethod("Com_F2Window", [this](std::vector<vel::Variant>&) { return vel::Variant(lookup_); });
    AddMethod("CallHelp", [](std::vector<vel::Variant>&) { return vel::Variant(); });
    AddMethod("GetFileList", [](std::vector<vel::Variant>&) { return vel::Variant(""); });
}

}  // namespace velhost
