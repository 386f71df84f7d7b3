#pragma once
// The host application object the shell hands to a module: message texts, help, and the
// counter, validator and lookup-window services, all reached by name. Their data comes from
// the application server through the host's own link; the lookup window and the date picker
// take what the person at the shell answers.
#include <memory>

#include "platform/automation/dispatch.h"
#include "suite/host/host_answers.h"
#include "suite/host/server_link.h"

namespace velhost {

class HostApplication : public vel::DispatchObject {
public:
    // Without a link every service answers as a server that cannot be reached.
    explicit HostApplication(HostAnswers* answers = nullptr, std::shared_ptr<ServerLink> link = nullptr);

protected:
    std::string ClassName() const override { return "ZorvanWorkCenter.Manager"; }

private:
    std::shared_ptr<ServerLink> link_;
    vel::DispatchPtr counter_;
    vel::DispatchPtr validator_;
    vel::DispatchPtr lookup_;
};

}  // namespace velhost
