// Calls per second to the report-counter object over loopback through TSocketConnection,
// against a raw TCP round trip of a frame of the same size (an echo), measured in one run.
#include <benchmark/benchmark.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>

#include "platform/net/socket_connection.h"
#include "suite/server/tcp_server.h"

namespace {

using vel::Variant;
namespace net = vel::net;

// The server with an in-memory store, serving on a free loopback port for the whole run.
struct InProcessServer {
    velserver::TcpServer server{std::make_shared<velserver::ServerStore>(":memory:"), [] {
                                    velserver::ServerOptions o;
                                    o.port = 0;
                                    return o;
                                }()};
    int port = server.Listen();
    std::thread thread{[this] { server.Run(); }};
    ~InProcessServer() {
        server.Stop();
        thread.join();
    }
};

InProcessServer& Server() {
    static InProcessServer s;
    return s;
}

// Echoes every frame back unchanged: the transport cost without decoding or a call.
struct EchoServer {
    int port = 0;
    net::Socket listener = net::ListenTcp("127.0.0.1", 0, port);
    std::thread thread{[this] {
        net::Socket c(accept(listener.Fd(), nullptr, nullptr));
        std::string payload;
        while (net::ReadFrame(c.Fd(), payload) == net::FrameStatus::Ok) {
            std::string frame(4, '\0');
            uint32_t n = static_cast<uint32_t>(payload.size());
            for (int i = 0; i < 4; ++i) frame[i] = static_cast<char>(n >> (24 - 8 * i));
            frame += payload;
            if (!net::SendAll(c.Fd(), frame.data(), frame.size())) break;
        }
    }};
    ~EchoServer() { thread.join(); }
};

net::TSocketConnection& Connect(net::TSocketConnection& con) {
    con.Address = "127.0.0.1";
    con.Port = Server().port;
    con.ServerName = "ReportCounterS.dmReportCounter";
    con.Connect();
    return con;
}

std::string SQLTypeFrame() {
    net::Message m;
    m.kind = net::MessageKind::Call;
    m.seq = 1;
    m.name = "SQLType";
    return net::EncodeFrame(m);
}

void BM_CallSQLType(benchmark::State& state) {
    net::TSocketConnection con;
    Variant s = Connect(con).AppServer();
    for (auto _ : state) benchmark::DoNotOptimize(s.Call("SQLType"));
    state.counters["calls/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CallSQLType)->UseRealTime();

// A typical call: an array argument, a store read, an array answer.
void BM_CallGetPower(benchmark::State& state) {
    net::TSocketConnection con;
    Variant s = Connect(con).AppServer();
    Variant key = Variant::Of({Variant("DEMO"), Variant("ADMIN"), Variant("QMLK07"), Variant("")});
    for (auto _ : state) benchmark::DoNotOptimize(s.Call("GetPower", {key}));
    state.counters["calls/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CallGetPower)->UseRealTime();

void BM_RawEcho(benchmark::State& state) {
    EchoServer echo;
    net::Socket c = net::ConnectTcp("127.0.0.1", echo.port, 10000);
    std::string frame = SQLTypeFrame(), payload;
    for (auto _ : state) {
        net::SendAll(c.Fd(), frame.data(), frame.size());
        net::ReadFrame(c.Fd(), payload);
    }
    c.Close();
    state.counters["trips/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RawEcho)->UseRealTime();

// Both in one run, alternating, so machine noise hits them alike; "ratio" is the time of a
// server call divided by the time of an echo of its frame.
void BM_CallVersusEcho(benchmark::State& state) {
    net::TSocketConnection con;
    Variant s = Connect(con).AppServer();
    EchoServer echo;
    net::Socket c = net::ConnectTcp("127.0.0.1", echo.port, 10000);
    std::string frame = SQLTypeFrame(), payload;
    using Clock = std::chrono::steady_clock;
    Clock::duration callTime{}, echoTime{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(s.Call("SQLType"));
        auto t1 = Clock::now();
        net::SendAll(c.Fd(), frame.data(), frame.size());
        net::ReadFrame(c.Fd(), payload);
        auto t2 = Clock::now();
        callTime += t1 - t0;
        echoTime += t2 - t1;
    }
    c.Close();
    double n = static_cast<double>(state.iterations());
    double call = std::chrono::duration<double>(callTime).count(), trip = std::chrono::duration<double>(echoTime).count();
    state.counters["calls/s"] = n / call;
    state.counters["echo/s"] = n / trip;
    state.counters["ratio"] = call / trip;
}
BENCHMARK(BM_CallVersusEcho)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
