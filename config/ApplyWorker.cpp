#include "config/ApplyWorker.h"

#include "config/ApplyMessages.h"
#include "config/ApplyRun.h"
#include "device/CommandSet.h"
#include "platform/MessageSink.h"

namespace mousecfg {

ApplyWorker::ApplyWorker(CommandSet& commands, MessageSink& window) : commands_(commands), window_(window) {}

ApplyWorker::~ApplyWorker() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool ApplyWorker::Start(ApplyJob job) {
    if (busy_.load() || thread_.joinable()) {
        return false;
    }
    busy_.store(true);
    thread_ = std::thread([this, job = std::move(job)]() mutable { Work(std::move(job)); });
    return true;
}

void ApplyWorker::Work(ApplyJob job) {
    if (!job.state.quiet) {
        window_.Post(Message{msg::kApplyProgress, 1, job.full ? 1 : 0, {}});
    }
    ApplyOutcome outcome;
    {
        auto session = commands_.Acquire();
        outcome = RunApply(session, job, [this](int done, int total) {
            window_.Post(Message{msg::kApplyStep, static_cast<uintptr_t>(done), total, {}});
        });
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        outcome_ = std::move(outcome);
    }
    window_.Post(Message{msg::kApplyFinished, 0, 0, {}});
}

std::optional<ApplyOutcome> ApplyWorker::Finish() {
    if (!thread_.joinable()) {
        return std::nullopt;
    }
    thread_.join();
    busy_.store(false);
    std::lock_guard<std::mutex> lock(mutex_);
    std::optional<ApplyOutcome> outcome = std::move(outcome_);
    outcome_.reset();
    return outcome;
}

}  // namespace mousecfg
