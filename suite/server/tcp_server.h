#pragma once
// The server loop: accepts TCP connections and gives each its own thread and its own
// report-counter object. A connection first opens the object by class name, then sends
// calls; each call gets one reply. A frame that cannot be read (too large, malformed) gets
// an error reply with sequence 0 and the connection is closed; other connections go on.
#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/net/socket.h"
#include "suite/server/server_store.h"

namespace velserver {

struct ServerOptions {
    std::string address = "127.0.0.1";
    int port = 211;
    uint32_t maxFrame = vel::net::kDefaultMaxFrame;
    int maxConnections = 256;
};

class TcpServer {
public:
    TcpServer(std::shared_ptr<ServerStore> store, ServerOptions options);
    ~TcpServer();

    // Binds and listens; answers the port actually bound. Raises when it cannot listen.
    int Listen();
    // Serves until Stop; then closes every connection and waits for their threads.
    void Run();
    // Safe from any thread (not from a signal handler).
    void Stop();

private:
    struct Connection {
        vel::net::Socket socket;
        std::thread thread;
        std::atomic<bool> done{false};
    };

    void Serve(Connection& connection);
    void ReapFinished(bool all);

    std::shared_ptr<ServerStore> store_;
    ServerOptions options_;
    vel::net::Socket listener_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::list<std::unique_ptr<Connection>> connections_;
};

}  // namespace velserver
