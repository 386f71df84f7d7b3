// velserver: the application server. Prints the address it listens on as its first line,
// serves and runs the submitted jobs until SIGTERM or SIGINT, then closes every connection,
// stops the job workers and exits 0.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <pthread.h>
#include <thread>

#include "suite/server/job_runner.h"
#include "suite/server/server_config.h"

int main(int argc, char** argv) {
    using namespace velserver;
    std::vector<std::string> args(argv + 1, argv + argc);
    ServerConfig config;
    try {
        bool help = false;
        config = ParseServerArgs(args, help);
        if (help) {
            std::cout << kServerUsage;
            return 0;
        }
    } catch (const std::exception& e) {
        std::cerr << "velserver: " << e.what() << "\n" << kServerUsage;
        return 2;
    }

    // Signals go to one waiting thread, never interrupt the workers.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        auto store = std::make_shared<ServerStore>(config.database);
        TcpServer server(store, config.options);
        int port = server.Listen();
        JobRunner jobs(store);
        jobs.Start();
        std::printf("velserver listening on %s:%d\n", config.options.address.c_str(), port);
        std::fflush(stdout);
        std::thread waiter([&server, stopSignals] {
            int sig = 0;
            sigwait(&stopSignals, &sig);
            server.Stop();
        });
        server.Run();
        // Run also ends when listening fails; make sure the waiter can finish.
        if (waiter.joinable()) {
            pthread_kill(waiter.native_handle(), SIGTERM);
            waiter.join();
        }
        jobs.Stop();
        std::fprintf(stderr, "velserver stopped\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velserver: %s\n", e.what());
        return 1;
    }
    return 0;
}
