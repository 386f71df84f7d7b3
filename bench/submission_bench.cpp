// The two waits a user feels, in local mode and over TCP on loopback: from Initialize to the
// shown form, and from OK to the job reference. Beside each: the server calls it makes and,
// for TCP, the measured time of one bare round trip, so the cost can be split into talk and
// work.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "forms/base_opt.h"
#include "module/dll_rp_ctrller.h"
#include "platform/automation/dispatch.h"
#include "platform/net/socket_connection.h"
#include "platform/ui/application.h"
#include "platform/ui/presenter.h"
#include "suite/server/report_counter.h"
#include "suite/server/tcp_server.h"

namespace {

using vel::Variant;
namespace fs = std::filesystem;

std::atomic<uint64_t> localCalls{0};

// The server object of local mode, counting the calls the form makes on it.
class CountingServer : public vel::DispatchObject {
public:
    explicit CountingServer(vel::DispatchPtr inner) : inner_(std::move(inner)) {}
    Variant Invoke(const std::string& name, vel::InvokeKind kind, std::vector<Variant>& args) override {
        localCalls.fetch_add(1, std::memory_order_relaxed);
        return inner_->Invoke(name, kind, args);
    }

private:
    vel::DispatchPtr inner_;
};

struct Installation {
    std::shared_ptr<velserver::ServerStore> store;
    std::unique_ptr<velserver::TcpServer> tcp;
    std::thread thread;
    int port = 0;
    std::string dir;

    Installation() {
        std::string pattern = (fs::temp_directory_path() / "velbench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        store = std::make_shared<velserver::ServerStore>(dir + "/server.db");
        vel::RegisterClassFactory(velserver::kReportCounterClass, [this] {
            return std::make_shared<CountingServer>(std::make_shared<velserver::ReportCounter>(store));
        });
        velserver::ServerOptions options;
        options.port = 0;
        tcp = std::make_unique<velserver::TcpServer>(store, options);
        port = tcp->Listen();
        thread = std::thread([this] { tcp->Run(); });
        std::ofstream(dir + "/registry.ini") << "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\nClientPath=" << dir << "\n";
        ::setenv("VEL_REGISTRY", (dir + "/registry.ini").c_str(), 1);
        static vel::ScriptedPresenter presenter;  // answers every dialog with its default
        vel::SetPresenter(&presenter);
    }
    ~Installation() {
        tcp->Stop();
        thread.join();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    void UseServer(bool local) {
        std::ofstream(dir + "/VantrelC.ini") << "[Server Information]\nComputerName=" << (local ? "127.0.0.1" : "localhost")
                                             << "\nServerPort=" << port << "\n";
    }
};

Installation& Install() {
    static Installation i;
    return i;
}

class BenchController : public TDLLRPCtrller {
protected:
    std::string LibraryFileName() const override { return "/opt/vel/QMLK07C.so"; }
};

Variant HostParams() { return Variant::Of({Variant("DS"), Variant("DEMO"), Variant("DEMO"), Variant(0), Variant()}); }

uint64_t Calls(bool local) { return local ? localCalls.load() : vel::net::RoundTripCount(); }

void BM_InitializeToShown(benchmark::State& state) {
    const bool local = state.range(0) == 1;
    Install().UseServer(local);
    uint64_t calls = 0;
    for (auto _ : state) {
        BenchController controller;
        uint64_t before = Calls(local);
        if (controller.Initialize(HostParams()) != 0) {
            state.SkipWithError("Initialize failed");
            break;
        }
        controller.SetVisible(1);
        vel::Application().ProcessMessages();
        calls += Calls(local) - before;
        state.PauseTiming();
        controller.FreeForm();
        vel::Application().ProcessMessages();
        state.ResumeTiming();
    }
    state.counters["server_calls"] = benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_InitializeToShown)->Arg(1)->Arg(0)->ArgName("local")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OkToJobReference(benchmark::State& state) {
    const bool local = state.range(0) == 1;
    Install().UseServer(local);
    BenchController controller;
    if (controller.Initialize(HostParams()) != 0) {
        state.SkipWithError("Initialize failed");
        return;
    }
    controller.SetVisible(1);
    vel::Application().ProcessMessages();
    auto* form = dynamic_cast<vel::TfrmBaseOpt*>(controller.Form);
    form->ExitAfterOk = false;  // stay open, as after the "do not leave" menu item
    if (auto* ym = dynamic_cast<vel::TWinControl*>(form->FindComponent("ed01"))) ym->SetCaption("2024/03");
    uint64_t calls = 0;
    for (auto _ : state) {
        uint64_t before = Calls(local);
        form->btnOkClick(form);
        calls += Calls(local) - before;
    }
    state.counters["server_calls"] = benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
    controller.FreeForm();
    vel::Application().ProcessMessages();
}
BENCHMARK(BM_OkToJobReference)->Arg(1)->Arg(0)->ArgName("local")->Unit(benchmark::kMillisecond)->UseRealTime();

// One bare call over loopback: the unit to read the TCP figures above with.
void BM_RoundTrip(benchmark::State& state) {
    vel::net::TSocketConnection connection;
    connection.Address = "127.0.0.1";
    connection.Port = Install().port;
    connection.ServerName = velserver::kReportCounterClass;
    Variant server = connection.AppServer();
    for (auto _ : state) benchmark::DoNotOptimize(server.Call("SQLType"));
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
