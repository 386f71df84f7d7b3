#include "platform/net/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vel::net {
namespace {

std::string Where(const std::string& host, int port) { return host + ":" + std::to_string(port); }

void SetTimeout(int fd, int timeoutMs) {
    if (timeoutMs <= 0) return;
    timeval tv{};
    tv.tv_sec = timeoutMs / 1000;
    tv.tv_usec = (timeoutMs % 1000) * 1000;
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

// Small request/answer frames: send them at once instead of waiting for more data.
void NoDelay(int fd) {
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

bool ConnectWithin(int fd, const sockaddr* addr, socklen_t len, int timeoutMs, int& error) {
    int flags = fcntl(fd, F_GETFL, 0);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int rc = ::connect(fd, addr, len);
    if (rc != 0 && errno != EINPROGRESS) {
        error = errno;
        return false;
    }
    if (rc != 0) {
        pollfd p{fd, POLLOUT, 0};
        int n;
        do n = poll(&p, 1, timeoutMs > 0 ? timeoutMs : -1);
        while (n < 0 && errno == EINTR);
        if (n == 0) {
            error = ETIMEDOUT;
            return false;
        }
        socklen_t el = sizeof error;
        error = 0;
        if (n < 0 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &el) != 0 || error != 0) {
            if (error == 0) error = errno;
            return false;
        }
    }
    fcntl(fd, F_SETFL, flags);
    return true;
}

}  // namespace

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

void Socket::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void Socket::Shutdown() const {
    if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

Socket ConnectTcp(const std::string& host, int port, int timeoutMs) {
    if (host.empty()) throw Exception("Cannot connect: no server address");
    if (port <= 0 || port > 65535) throw Exception("Cannot connect to " + Where(host, port) + ": invalid port");
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    int rc = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
    if (rc != 0) throw Exception("Cannot connect to " + Where(host, port) + ": " + gai_strerror(rc));
    int error = 0;
    Socket result;
    for (addrinfo* a = list; a && !result.Valid(); a = a->ai_next) {
        Socket s(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol));
        if (!s.Valid()) {
            error = errno;
            continue;
        }
        if (ConnectWithin(s.Fd(), a->ai_addr, a->ai_addrlen, timeoutMs, error)) result = std::move(s);
    }
    freeaddrinfo(list);
    if (!result.Valid())
        throw Exception("Cannot connect to " + Where(host, port) + ": " + std::strerror(error ? error : ECONNREFUSED));
    NoDelay(result.Fd());
    SetTimeout(result.Fd(), timeoutMs);
    return result;
}

Socket ListenTcp(const std::string& address, int port, int& boundPort) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* list = nullptr;
    int rc = getaddrinfo(address.empty() ? nullptr : address.c_str(), std::to_string(port).c_str(), &hints, &list);
    if (rc != 0) throw Exception("Cannot listen on " + Where(address, port) + ": " + gai_strerror(rc));
    int error = 0;
    Socket result;
    for (addrinfo* a = list; a && !result.Valid(); a = a->ai_next) {
        Socket s(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol));
        if (!s.Valid()) {
            error = errno;
            continue;
        }
        int one = 1;
        setsockopt(s.Fd(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (::bind(s.Fd(), a->ai_addr, a->ai_addrlen) != 0 || ::listen(s.Fd(), 128) != 0) {
            error = errno;
            continue;
        }
        result = std::move(s);
    }
    freeaddrinfo(list);
    if (!result.Valid()) throw Exception("Cannot listen on " + Where(address, port) + ": " + std::strerror(error));
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    getsockname(result.Fd(), reinterpret_cast<sockaddr*>(&ss), &len);
    boundPort = ss.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&ss)->sin6_port)
                                         : ntohs(reinterpret_cast<sockaddr_in*>(&ss)->sin_port);
    return result;
}

bool SendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool RecvAll(int fd, char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::recv(fd, data, size, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

FrameStatus ReadFrame(int fd, std::string& payload, uint32_t maxFrame) {
    unsigned char prefix[4];
    ssize_t first;
    do first = ::recv(fd, prefix, 4, 0);
    while (first < 0 && errno == EINTR);
    if (first <= 0) return FrameStatus::Closed;
    if (first < 4 && !RecvAll(fd, reinterpret_cast<char*>(prefix) + first, 4 - static_cast<size_t>(first)))
        return FrameStatus::Truncated;
    uint32_t n = FrameLength(prefix);
    if (n > maxFrame) return FrameStatus::TooLarge;
    payload.resize(n);
    if (!RecvAll(fd, payload.data(), n)) return FrameStatus::Truncated;
    return FrameStatus::Ok;
}

}  // namespace vel::net
