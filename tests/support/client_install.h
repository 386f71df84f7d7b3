#pragma once
// A client installation for a test: the registry store names the client directory, whose
// VantrelC.ini names the application server, and the report-counter class maps to the
// in-process plug-in. The address 127.0.0.1 is local mode (the plug-in over its own
// database in the temporary directory); any other address is reached over TCP.
#include <string>

#include "tests/support/temp_dir.h"

namespace veltest {

class ClientInstall {
public:
    explicit ClientInstall(const std::string& address = "127.0.0.1", int port = 211)
        : registry_("VEL_REGISTRY", dir_.File("registry.ini")), database_("VEL_SERVER_DB", dir_.File("server.db")) {
        dir_.Write("registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\nClientPath=" + dir_.File("client") +
                                       "\n\n[HKEY_CLASSES_ROOT\\ReportCounterS.dmReportCounter]\nLibrary=" +
                                       std::string(VEL_BIN_DIR) + "/ReportCounterS.so\n");
        dir_.Write("client/VantrelC.ini", "[Server Information]\nComputerName=" + address +
                                              "\nServerPort=" + std::to_string(port) + "\n");
    }
    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
    ScopedEnv registry_;
    ScopedEnv database_;
};

}  // namespace veltest
