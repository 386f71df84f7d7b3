#pragma once
// TSocketConnection: the client's connection to the application server. It opens a TCP
// connection, asks the server for the object named ServerName, and hands out AppServer, a
// dispatch variant whose calls travel to that object and wait for the answer.
//
//   TSocketConnection con;
//   con.Address = "10.0.0.5"; con.Port = 211; con.ServerName = "ReportCounterS.dmReportCounter";
//   con.Connect();
//   Variant reference = con.AppServer().Call("Request", {parameters});
//
// By-reference results the server writes come back into the caller's arguments. A server
// error raises vel::OleException with the server's text; a broken or refused connection
// raises vel::Exception naming the address.
#include <memory>
#include <mutex>
#include <string>

#include "platform/automation/dispatch.h"
#include "platform/net/socket.h"

namespace vel::net {

// Round trips to servers made by this process so far (every channel), for measurements.
VEL_API uint64_t RoundTripCount();

// The connected channel; shared by the connection and its proxies, so a proxy kept after
// Disconnect fails cleanly instead of touching freed state.
class VEL_API Channel {
public:
    Channel(Socket socket, std::string where, uint32_t maxFrame);
    // Sends one call and waits for its reply; raises as described above.
    Variant Call(const std::string& name, InvokeKind kind, std::vector<Variant>& args);
    // Opens the named object on the server side.
    void Open(const std::string& className);
    void Close();
    bool IsOpen() const;

private:
    Message RoundTrip(const Message& request);
    [[noreturn]] void FailLocked(const std::string& why);

    mutable std::mutex mutex_;
    Socket socket_;
    std::string where_;
    uint32_t maxFrame_;
    uint32_t seq_ = 0;
};

class VEL_API TSocketConnection {
public:
    std::string Address;
    int Port = 211;
    std::string ServerName;
    int TimeoutMs = 120000;  // bounds connecting and each wait for an answer
    uint32_t MaxFrame = kDefaultMaxFrame;

    TSocketConnection() = default;
    ~TSocketConnection();
    TSocketConnection(const TSocketConnection&) = delete;
    TSocketConnection& operator=(const TSocketConnection&) = delete;

    void Connect();
    void Disconnect();
    bool Connected() const;
    // Connects first when needed.
    Variant AppServer();

private:
    std::shared_ptr<Channel> channel_;
    Variant proxy_;
};

}  // namespace vel::net
