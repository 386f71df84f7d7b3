#pragma once
// Where the server's settings come from: command-line flags over the config file over the
// built-in defaults.
//
// Config file (INI): section [Server], keys Address, Port, Database, MaxFrame, MaxConnections.
// Its path: --config FILE, otherwise the environment variable VEL_SERVER_CONFIG, otherwise none.
// Database default: velserver.db in the per-user data directory ($XDG_DATA_HOME/vel or
// ~/.local/share/vel), created and seeded on first use.
#include <string>
#include <vector>

#include "suite/server/tcp_server.h"

namespace velserver {

struct ServerConfig {
    ServerOptions options;
    std::string database;
};

// Raises vel::Exception for an unknown flag or a bad value. showHelp is set for --help.
ServerConfig ParseServerArgs(const std::vector<std::string>& args, bool& showHelp);

// The database the in-process object uses: VEL_SERVER_DB, else the Database of the config
// file named by VEL_SERVER_CONFIG, else the per-user default.
std::string LocalModeDatabase();

std::string DefaultDatabasePath();

extern const char* const kServerUsage;

}  // namespace velserver
