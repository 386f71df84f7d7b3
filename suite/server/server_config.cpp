#include "suite/server/server_config.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/system/inifile.h"

namespace velserver {

const char* const kServerUsage =
    "usage: velserver [--config FILE] [--address ADDR] [--port PORT] [--db PATH] [--max-frame BYTES]\n"
    "                 [--max-connections N]\n"
    "  --port 0 picks a free port; --db :memory: keeps the data in memory.\n"
    "  The first line printed is \"velserver listening on ADDR:PORT\".\n";

namespace {

int ToInt(const std::string& flag, const std::string& text, int low, int high) {
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < low || v > high)
        throw vel::Exception("Invalid value for " + flag + ": " + text);
    return static_cast<int>(v);
}

void ApplyFile(const std::string& path, ServerConfig& config) {
    vel::IniFile ini(path);
    if (!ini.Exists()) throw vel::Exception("Config file " + path + " not found");
    config.options.address = ini.ReadString("Server", "Address", config.options.address);
    std::string port = ini.ReadString("Server", "Port", "");
    if (!port.empty()) config.options.port = ToInt("Port", port, 0, 65535);
    config.database = ini.ReadString("Server", "Database", config.database);
    std::string frame = ini.ReadString("Server", "MaxFrame", "");
    if (!frame.empty()) config.options.maxFrame = static_cast<uint32_t>(ToInt("MaxFrame", frame, 1024, 1 << 30));
    std::string conns = ini.ReadString("Server", "MaxConnections", "");
    if (!conns.empty()) config.options.maxConnections = ToInt("MaxConnections", conns, 1, 100000);
}

}  // namespace

std::string DefaultDatabasePath() {
    std::filesystem::path dir;
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) {
        dir = x;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            if (passwd* pw = getpwuid(getuid())) home = pw->pw_dir;
        }
        dir = std::filesystem::path(home ? home : "/tmp") / ".local" / "share";
    }
    dir /= "vel";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return (dir / "velserver.db").string();
}

ServerConfig ParseServerArgs(const std::vector<std::string>& args, bool& showHelp) {
    ServerConfig config;
    showHelp = false;
    std::string configFile;
    if (const char* env = std::getenv("VEL_SERVER_CONFIG"); env && *env) configFile = env;
    for (size_t i = 0; i < args.size(); ++i)
        if (args[i] == "--config" && i + 1 < args.size()) configFile = args[i + 1];
    if (!configFile.empty()) ApplyFile(configFile, config);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            showHelp = true;
            continue;
        }
        if (i + 1 >= args.size()) throw vel::Exception("Unknown or incomplete option: " + a);
        const std::string& v = args[++i];
        if (a == "--config") continue;
        else if (a == "--address") config.options.address = v;
        else if (a == "--port") config.options.port = ToInt(a, v, 0, 65535);
        else if (a == "--db") config.database = v;
        else if (a == "--max-frame") config.options.maxFrame = static_cast<uint32_t>(ToInt(a, v, 1024, 1 << 30));
        else if (a == "--max-connections") config.options.maxConnections = ToInt(a, v, 1, 100000);
        else throw vel::Exception("Unknown option: " + a);
    }
    if (config.database.empty()) config.database = DefaultDatabasePath();
    return config;
}

std::string LocalModeDatabase() {
    if (const char* db = std::getenv("VEL_SERVER_DB"); db && *db) return db;
    if (const char* cfg = std::getenv("VEL_SERVER_CONFIG"); cfg && *cfg) {
        std::string db = vel::IniFile(cfg).ReadString("Server", "Database", "");
        if (!db.empty()) return db;
    }
    return DefaultDatabasePath();
}

}  // namespace velserver
