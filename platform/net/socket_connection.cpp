#include "platform/net/socket_connection.h"
#include <atomic>

namespace vel::net {
namespace {

class RemoteObject : public IDispatch {
public:
    explicit RemoteObject(std::shared_ptr<Channel> channel) : channel_(std::move(channel)) {}
    Variant Invoke(const std::string& name, InvokeKind kind, std::vector<Variant>& args) override {
        return channel_->Call(name, kind, args);
    }

private:
    std::shared_ptr<Channel> channel_;
};

}  // namespace

Channel::Channel(Socket socket, std::string where, uint32_t maxFrame)
    : socket_(std::move(socket)), where_(std::move(where)), maxFrame_(maxFrame) {}

bool Channel::IsOpen() const {
    std::lock_guard lock(mutex_);
    return socket_.Valid();
}

void Channel::Close() {
    std::lock_guard lock(mutex_);
    socket_.Close();
}

void Channel::FailLocked(const std::string& why) {
    socket_.Close();
    throw Exception("Connection to server " + where_ + " " + why);
}

namespace {
std::atomic<uint64_t> roundTrips{0};
}

uint64_t RoundTripCount() { return roundTrips.load(std::memory_order_relaxed); }

// Caller holds mutex_.
Message Channel::RoundTrip(const Message& request) {
    if (!socket_.Valid()) throw Exception("Not connected to server " + where_);
    roundTrips.fetch_add(1, std::memory_order_relaxed);
    std::string frame = EncodeFrame(request);
    if (frame.size() - 4 > maxFrame_) throw Exception("Call " + request.name + " is too large to send");
    if (!SendAll(socket_.Fd(), frame.data(), frame.size())) FailLocked("was lost while sending");
    std::string payload;
    switch (ReadFrame(socket_.Fd(), payload, maxFrame_)) {
        case FrameStatus::Ok: break;
        case FrameStatus::Closed: FailLocked("was closed by the server");
        case FrameStatus::Truncated: FailLocked("was lost while waiting for the answer");
        case FrameStatus::TooLarge: FailLocked("sent an answer larger than the frame limit");
    }
    Message reply;
    try {
        reply = DecodePayload(payload);
    } catch (const Exception& e) {
        FailLocked(std::string("sent a malformed answer (") + e.what() + ")");
    }
    if (reply.kind != MessageKind::Reply || reply.seq != request.seq) {
        // The server answers a frame it could not read with seq 0 and its reason.
        if (reply.kind == MessageKind::Reply && !reply.ok && reply.seq == 0) FailLocked("refused the call: " + reply.error);
        FailLocked("answered out of order");
    }
    return reply;
}

void Channel::Open(const std::string& className) {
    std::lock_guard lock(mutex_);
    Message m;
    m.kind = MessageKind::Open;
    m.name = className;
    Message reply = RoundTrip(m);
    if (!reply.ok) throw OleException(reply.error);
}

Variant Channel::Call(const std::string& name, InvokeKind kind, std::vector<Variant>& args) {
    std::lock_guard lock(mutex_);
    Message m;
    m.kind = MessageKind::Call;
    m.seq = ++seq_;
    if (m.seq == 0) m.seq = ++seq_;  // 0 is reserved for the server's protocol errors
    m.name = name;
    m.invokeKind = kind == InvokeKind::Method ? 0 : kind == InvokeKind::PropertyGet ? 1 : 2;
    m.args = args;
    Message reply = RoundTrip(m);
    for (auto& [index, value] : reply.changed)
        if (index < args.size()) args[index] = std::move(value);
    if (!reply.ok) throw OleException(reply.error);
    return std::move(reply.result);
}

TSocketConnection::~TSocketConnection() { Disconnect(); }

void TSocketConnection::Connect() {
    if (Connected()) return;
    if (ServerName.empty()) throw Exception("Cannot connect to " + Address + ":" + std::to_string(Port) + ": no server name");
    std::string where = Address + ":" + std::to_string(Port);
    auto channel = std::make_shared<Channel>(ConnectTcp(Address, Port, TimeoutMs), where, MaxFrame);
    channel->Open(ServerName);
    channel_ = std::move(channel);
    proxy_ = Variant(DispatchPtr(std::make_shared<RemoteObject>(channel_)));
}

void TSocketConnection::Disconnect() {
    if (channel_) channel_->Close();
    channel_.reset();
    proxy_ = Variant();
}

bool TSocketConnection::Connected() const { return channel_ && channel_->IsOpen(); }

Variant TSocketConnection::AppServer() {
    if (!Connected()) Connect();
    return proxy_;
}

}  // namespace vel::net
