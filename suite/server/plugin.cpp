// ReportCounterS.so: the report-counter object in-process, for local mode. Every object
// created in the process shares one store (see LocalModeDatabase for which file).
#include <memory>
#include <mutex>

#include "platform/automation/dispatch.h"
#include "platform/system/inifile.h"
#include "suite/server/job_runner.h"
#include "suite/server/report_counter.h"
#include "suite/server/server_config.h"

namespace {

// The store and, in local mode, the server's job workers run inside the client's process:
// a job submitted here runs here. The runner is destroyed before the store (reverse order of
// construction) and lets a running job finish.
std::shared_ptr<velserver::ServerStore> SharedStore() {
    static std::mutex mutex;
    static std::shared_ptr<velserver::ServerStore> store;
    static std::unique_ptr<velserver::JobRunner> runner;
    std::lock_guard lock(mutex);
    if (!store) {
        store = std::make_shared<velserver::ServerStore>(velserver::LocalModeDatabase());
        runner = std::make_unique<velserver::JobRunner>(store, 1.0, true);
        runner->Start();
    }
    return store;
}

}  // namespace

// Leaves *out empty for another class; a store that cannot be opened raises
// vel::OleException with the reason, which reaches CreateOleObject's caller.
extern "C" __attribute__((visibility("default"))) void VelCreateObject(const char* progId, vel::DispatchPtr* out) {
    if (!progId || !out || !vel::SameText(progId, velserver::kReportCounterClass)) return;
    try {
        *out = std::make_shared<velserver::ReportCounter>(SharedStore());
    } catch (const std::exception& e) {
        throw vel::OleException(e.what());
    }
}
