#pragma once
// Where velhost finds the client configuration the module and the host read. An installed
// client (the registry store of VEL_REGISTRY or its default path) is used as it is; with
// --server or --local, or when no client is installed, velhost makes a private installation
// in a temporary directory for the run: the client INI names the server, and the report-
// counter class maps to the plug-in beside velhost for local mode.
#include <memory>
#include <string>

namespace velhost {

class ClientSetup {
public:
    // `server`: "" (installed client, else local mode), "local", or "ADDRESS:PORT".
    // Raises vel::Exception for a malformed server text.
    static std::unique_ptr<ClientSetup> Prepare(const std::string& server);
    ~ClientSetup();

private:
    ClientSetup() = default;
    std::string dir_;
};

}  // namespace velhost
