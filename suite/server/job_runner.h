#pragma once
// Runs the jobs clients submit with Request, in two workers:
//   - the queue worker takes queued jobs (generation mode 0) one after another, oldest first;
//   - the prompt worker takes real-time jobs (mode 1) at once and timed jobs (mode 2) once
//     their start time has come, so neither waits behind the queue.
// A job is claimed in the database before it runs (queued -> running), so it runs at most
// once. Its end is recorded with its outputs (done) or its error (failed); a failing job,
// even one that throws, ends only itself.
//
// Start fails every job a previous server left running: it was interrupted and is not run
// again. Stop wakes both workers and waits for them; a job still running is told to give up
// and is recorded failed.
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "suite/server/server_store.h"

namespace velserver {

inline constexpr const char* kInterruptedError =
    "The server stopped while the job was running; it is not run again. Submit it anew.";

// Runs one claimed job: answers its outputs (format, body), or raises with the reason it
// failed. Looks at stop between its steps.
std::vector<std::pair<std::string, std::string>> RunJob(ServerStore& store, const JobRecord& job, double now,
                                                        const std::atomic<bool>& stop);

class JobRunner {
public:
    // pollSeconds bounds how long a worker sleeps without news, so jobs written by another
    // process on the same database (local mode) are found too.
    explicit JobRunner(std::shared_ptr<ServerStore> store, double pollSeconds = 1.0);
    // In-process runners of local mode share the database with other processes: a job marked
    // running may be another process's, so it is left alone at start, and a job running here
    // is finished before stopping rather than given up.
    JobRunner(std::shared_ptr<ServerStore> store, double pollSeconds, bool sharedDatabase);
    ~JobRunner();
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    void Start();
    void Stop();
    // A job was queued: look now.
    void Wake();

private:
    void Work(JobLane lane);
    void RunClaimed(const JobRecord& job);

    std::shared_ptr<ServerStore> store_;
    double pollSeconds_;
    bool sharedDatabase_ = false;
    const std::atomic<bool> neverStop_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    unsigned long wakeCount_ = 0;
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> workers_;
};

}  // namespace velserver
