#pragma once
// The host's own connection to the application server, configured like the module's: the
// client INI names the address and port, 127.0.0.1 runs the server object in this process.
// It connects on first use and again after a failed call, so a server started later is found.
#include <mutex>
#include <string>
#include <vector>

#include "platform/net/socket_connection.h"
#include "platform/variant/variant.h"

namespace velhost {

class ServerLink {
public:
    // Raises vel::OleException with the reason when the server cannot be reached or refuses.
    vel::Variant Call(const std::string& operation, std::vector<vel::Variant>& args);
    vel::Variant Call(const std::string& operation, std::vector<vel::Variant>&& args) { return Call(operation, args); }

private:
    vel::Variant Server();

    vel::net::TSocketConnection connection_;
    vel::Variant server_;
};

}  // namespace velhost
