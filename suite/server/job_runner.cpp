#include "suite/server/job_runner.h"

#include <chrono>
#include <cstdio>

#include "platform/net/wire.h"
#include "suite/server/cost_difference_report.h"
#include "suite/server/data_text.h"
#include "suite/server/job_params.h"

namespace velserver {

std::vector<std::pair<std::string, std::string>> RunJob(ServerStore& store, const JobRecord& job, double now,
                                                        const std::atomic<bool>& stop) {
    vel::Variant params;
    try {
        params = vel::net::DecodeVariant(job.parameters);
    } catch (const std::exception& e) {
        throw vel::Exception(std::string("The stored parameter set cannot be read: ") + e.what());
    }
    if (!params.IsArray() || params.DimCount() != 1)
        throw vel::Exception("The parameter set is not an array [environment settings, option texts, option values]");
    JobEnvironment env = ReadEnvironment(params);
    if (env.periodic) throw vel::Exception("Periodic jobs are not run by this server yet");
    if (stop) throw vel::Exception(kInterruptedError);
    if (env.program != kCostDifferenceProgram)
        throw vel::Exception("This server has no report program " + DataToUtf8(env.program));
    auto outputs = RunCostDifferenceReport(store, params, env, job.reference, now);
    if (stop) throw vel::Exception(kInterruptedError);
    return outputs;
}

JobRunner::JobRunner(std::shared_ptr<ServerStore> store, double pollSeconds)
    : store_(std::move(store)), pollSeconds_(pollSeconds) {}

JobRunner::JobRunner(std::shared_ptr<ServerStore> store, double pollSeconds, bool sharedDatabase)
    : store_(std::move(store)), pollSeconds_(pollSeconds), sharedDatabase_(sharedDatabase) {}

JobRunner::~JobRunner() { Stop(); }

void JobRunner::Start() {
    if (!workers_.empty()) return;
    int n = sharedDatabase_ ? 0 : store_->FailInterruptedJobs(kInterruptedError, NowDateValue());
    if (n > 0) std::fprintf(stderr, "velserver: %d interrupted job(s) recorded as failed\n", n);
    stopping_ = false;
    store_->SetJobListener([this] { Wake(); });
    workers_.emplace_back([this] { Work(JobLane::Queue); });
    workers_.emplace_back([this] { Work(JobLane::Prompt); });
}

void JobRunner::Stop() {
    store_->SetJobListener(nullptr);
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& w : workers_)
        if (w.joinable()) w.join();
    workers_.clear();
}

void JobRunner::Wake() {
    {
        std::lock_guard lock(mutex_);
        ++wakeCount_;
    }
    wake_.notify_all();
}

void JobRunner::Work(JobLane lane) {
    while (!stopping_) {
        unsigned long seen;
        {
            std::lock_guard lock(mutex_);
            seen = wakeCount_;
        }
        double wait = pollSeconds_;
        try {
            if (auto job = store_->ClaimJob(lane, NowDateValue())) {
                RunClaimed(*job);
                continue;
            }
            if (lane == JobLane::Prompt) {
                // Sleep no longer than until the next timed job is due.
                double next = store_->NextTimedStart();
                if (next > 0) wait = std::min(wait, std::max(0.0, (next - NowDateValue()) * 86400.0));
            }
        } catch (const std::exception& e) {
            // The database failed (e.g. busy for too long): try again after the pause.
            std::fprintf(stderr, "velserver: job worker: %s\n", e.what());
        }
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::duration<double>(wait), [&] { return stopping_ || wakeCount_ != seen; });
    }
}

void JobRunner::RunClaimed(const JobRecord& job) {
    std::string error;
    try {
        auto outputs = RunJob(*store_, job, job.started, sharedDatabase_ ? neverStop_ : stopping_);
        store_->FinishJob(job.reference, outputs, NowDateValue());
        return;
    } catch (const std::exception& e) {
        error = e.what();
    } catch (...) {
        error = "The job failed for an unknown reason";
    }
    if (error.empty()) error = "The job failed";
    // Errors are written in UTF-8 (they quote captions); the store keeps texts in 936.
    try {
        error = vel::Utf8ToCodePage(error, vel::kCodePageGB);
    } catch (const std::exception&) {
    }
    try {
        store_->FailJob(job.reference, error, NowDateValue());
    } catch (const std::exception& e) {
        // Left running; the next start records it as interrupted.
        std::fprintf(stderr, "velserver: cannot record the failure of %s: %s\n", job.reference.c_str(), e.what());
    }
}

}  // namespace velserver
