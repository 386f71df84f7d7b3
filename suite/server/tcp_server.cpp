#include "suite/server/tcp_server.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/system/inifile.h"
#include "suite/server/report_counter.h"

namespace velserver {

using vel::net::Message;
using vel::net::MessageKind;

namespace {

bool SendReply(int fd, Message& reply) {
    reply.kind = MessageKind::Reply;
    std::string frame;
    try {
        frame = vel::net::EncodeFrame(reply);
    } catch (const std::exception& e) {
        // The answer itself cannot travel (e.g. it holds an object): say so instead.
        Message failure;
        failure.kind = MessageKind::Reply;
        failure.seq = reply.seq;
        failure.error = std::string("The answer cannot be sent: ") + e.what();
        frame = vel::net::EncodeFrame(failure);
    }
    return vel::net::SendAll(fd, frame.data(), frame.size());
}

bool SendError(int fd, uint32_t seq, const std::string& error) {
    Message reply;
    reply.seq = seq;
    reply.error = error;
    return SendReply(fd, reply);
}

}  // namespace

TcpServer::TcpServer(std::shared_ptr<ServerStore> store, ServerOptions options)
    : store_(std::move(store)), options_(std::move(options)) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) throw vel::Exception(std::string("pipe: ") + std::strerror(errno));
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
}

TcpServer::~TcpServer() {
    Stop();
    ReapFinished(true);
    close(wakeRead_);
    close(wakeWrite_);
}

int TcpServer::Listen() {
    int bound = 0;
    listener_ = vel::net::ListenTcp(options_.address, options_.port, bound);
    return bound;
}

void TcpServer::Stop() {
    stopping_ = true;
    char b = 1;
    [[maybe_unused]] ssize_t n = write(wakeWrite_, &b, 1);
}

void TcpServer::ReapFinished(bool all) {
    std::list<std::unique_ptr<Connection>> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            if (all) (*it)->socket.Shutdown();
            if (all || (*it)->done) {
                finished.push_back(std::move(*it));
                it = connections_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& c : finished)
        if (c->thread.joinable()) c->thread.join();
}

void TcpServer::Run() {
    if (!listener_.Valid()) Listen();
    while (!stopping_) {
        pollfd fds[2] = {{listener_.Fd(), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        int n = poll(fds, 2, 1000);
        ReapFinished(false);
        if (n < 0 && errno != EINTR) break;
        if (n <= 0 || !(fds[0].revents & POLLIN)) continue;
        int fd = accept4(listener_.Fd(), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::lock_guard lock(mutex_);
        if (static_cast<int>(connections_.size()) >= options_.maxConnections) {
            SendError(fd, 0, "The server is busy: too many connections");
            close(fd);
            continue;
        }
        auto connection = std::make_unique<Connection>();
        connection->socket = vel::net::Socket(fd);
        Connection* c = connection.get();
        connections_.push_back(std::move(connection));
        c->thread = std::thread([this, c] {
            try {
                Serve(*c);
            } catch (...) {
                // A connection's failure ends that connection only.
            }
            c->socket.Shutdown();
            c->done = true;
        });
    }
    listener_.Close();
    ReapFinished(true);
}

void TcpServer::Serve(Connection& connection) {
    int fd = connection.socket.Fd();
    std::shared_ptr<ReportCounter> object;
    std::string payload;
    while (!stopping_) {
        switch (vel::net::ReadFrame(fd, payload, options_.maxFrame)) {
            case vel::net::FrameStatus::Ok: break;
            case vel::net::FrameStatus::TooLarge:
                SendError(fd, 0, "Frame exceeds the limit of " + std::to_string(options_.maxFrame) + " bytes");
                return;
            default: return;
        }
        Message request;
        try {
            request = vel::net::DecodePayload(payload);
        } catch (const std::exception& e) {
            SendError(fd, 0, e.what());
            return;
        }
        if (request.kind == MessageKind::Open) {
            if (!vel::SameText(request.name, kReportCounterClass)) {
                SendError(fd, 0, "Class " + request.name + " is not served here");
                return;
            }
            object = std::make_shared<ReportCounter>(store_);
            Message reply;
            reply.ok = true;
            if (!SendReply(fd, reply)) return;
            continue;
        }
        if (request.kind != MessageKind::Call) {
            SendError(fd, 0, "Unexpected message");
            return;
        }
        Message reply;
        reply.seq = request.seq;
        if (!object) {
            reply.error = "No server object is open on this connection";
        } else {
            std::vector<vel::Variant> args = request.args;
            try {
                vel::InvokeKind kind = request.invokeKind == 0   ? vel::InvokeKind::Method
                                       : request.invokeKind == 1 ? vel::InvokeKind::PropertyGet
                                                                 : vel::InvokeKind::PropertyPut;
                reply.result = object->Invoke(request.name, kind, args);
                reply.ok = true;
            } catch (const std::exception& e) {
                reply.error = e.what();
            }
            for (size_t i = 0; i < args.size(); ++i)
                if (!(args[i] == request.args[i])) reply.changed.emplace_back(static_cast<uint32_t>(i), std::move(args[i]));
        }
        if (!SendReply(fd, reply)) return;
    }
}

}  // namespace velserver
