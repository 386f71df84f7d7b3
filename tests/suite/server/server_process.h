#pragma once
// A real velserver started as a child process for a test: listens on 127.0.0.1 with a port
// of its own choosing, which its first line of output names.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/exception.h"
#include "platform/net/socket_connection.h"

extern char** environ;

class ServerProcess {
public:
    explicit ServerProcess(const std::string& db, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {std::string(VEL_BIN_DIR) + "/velserver", "--port", "0", "--db", db};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) throw vel::Exception("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (rc != 0) throw vel::Exception("cannot start " + args[0]);
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
        close(out[0]);
        size_t colon = line.rfind(':');
        if (line.rfind("velserver listening on ", 0) != 0 || colon == std::string::npos)
            throw vel::Exception("velserver did not start: " + line);
        port_ = std::stoi(line.substr(colon + 1));
    }
    ~ServerProcess() { Stop(); }

    int Port() const { return port_; }
    // Sends SIGTERM and waits; answers the exit status (-1 when already stopped).
    int Stop() {
        if (pid_ <= 0) return -1;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

// A directory for a test's database files, removed afterwards.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        char tmpl[] = "/tmp/velserver_test_XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string File(const char* name) const { return (path / name).string(); }
};

// Connects to the report-counter object of a server on this machine.
inline void ConnectTo(vel::net::TSocketConnection& con, int port) {
    con.Address = "127.0.0.1";
    con.Port = port;
    con.ServerName = "ReportCounterS.dmReportCounter";
    con.TimeoutMs = 30000;
    con.Connect();
}
