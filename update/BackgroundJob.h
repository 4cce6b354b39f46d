#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "platform/MessageSink.h"

namespace mousecfg::update {

// Runs one job at a time on a thread of its own (a version check, a download) and posts the job's message to a
// window. A window that has gone when the job ends gets nothing: the job holds only the window's message target,
// which drops posts after the window is gone. Destroying the object asks a running job to stop (the job sees
// `cancel` set; transfers end within a moment) and waits for it.
// Threads: Start, Busy and the destructor are called on one thread (the user-interface thread); the job runs on
// the object's worker.
class BackgroundJob {
public:
    using Job = std::function<Message(const std::atomic<bool>& cancel)>;

    BackgroundJob() = default;
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    // Starts `job`; its message goes to `target` when it ends. False, and nothing started, while a job runs.
    bool Start(Job job, std::weak_ptr<MessageSink> target);
    bool Busy() const { return running_.load(); }

private:
    std::thread worker_;
    std::atomic<bool> running_{false};  // set by Start, cleared by the worker when its job has ended
    std::atomic<bool> cancel_{false};   // set by the destructor for the worker's job
};

}  // namespace mousecfg::update
