#pragma once
// TCP plumbing shared by the client connection and the server: connecting, listening and
// moving whole frames. Sockets never raise SIGPIPE; a peer that goes away is an error result.
#include <cstdint>
#include <string>

#include "platform/core/exception.h"
#include "platform/net/wire.h"

namespace vel::net {

// An owned socket descriptor.
class VEL_API Socket {
public:
    Socket() = default;
    explicit Socket(int fd) : fd_(fd) {}
    Socket(Socket&& other) noexcept : fd_(other.Release()) {}
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() { Close(); }

    int Fd() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Close();
    // Ends both directions without closing the descriptor (wakes a blocked reader).
    void Shutdown() const;

private:
    int fd_ = -1;
};

// Connects to host:port (a name or a numeric address). Raises vel::Exception with the
// address and the system's reason when it fails. timeoutMs bounds the connect and every
// later receive (0 = no bound).
VEL_API Socket ConnectTcp(const std::string& host, int port, int timeoutMs);

// Listens on address:port (port 0 picks a free port); boundPort receives the actual port.
VEL_API Socket ListenTcp(const std::string& address, int port, int& boundPort);

// Writes all bytes; false when the peer is gone.
VEL_API bool SendAll(int fd, const char* data, size_t size);
// Reads exactly size bytes; false on end of stream, timeout or error.
VEL_API bool RecvAll(int fd, char* data, size_t size);

enum class FrameStatus { Ok, Closed, TooLarge, Truncated };

// Reads one frame's payload. Closed: the stream ended cleanly before a frame began;
// Truncated: it ended (or failed) inside a frame; TooLarge: the declared length exceeds
// maxFrame (the payload is not read).
VEL_API FrameStatus ReadFrame(int fd, std::string& payload, uint32_t maxFrame = kDefaultMaxFrame);

}  // namespace vel::net
