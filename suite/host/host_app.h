#pragma once
// The host application object the shell hands to a module: its services (counters and
// system settings, value checks, the lookup window) are reached through it by name.
#include "platform/automation/dispatch.h"
#include "suite/host/host_answers.h"

namespace velhost {

class HostApplication : public vel::DispatchObject {
public:
    explicit HostApplication(HostAnswers* answers = nullptr);

protected:
    std::string ClassName() const override { return "HostApplication"; }

private:
    vel::DispatchPtr counter_;
    vel::DispatchPtr validator_;
    vel::DispatchPtr lookup_;
};

}  // namespace velhost
