#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

#include "config/ApplyJob.h"

namespace mousecfg {

class CommandSet;
class MessageSink;

// The apply worker thread: runs one job at a time over a command-set session held for the whole run, so that
// no other request (such as the main window's device-information read, which only tries to get a session)
// interleaves with it. It reports through messages posted to `window`: kApplyProgress (show) at the start unless
// the job is quiet, kApplyStep during full writes, and kApplyFinished at the end, after which Finish() hands the
// outcome over. It never waits for the window, so joining it always ends.
//
// Start, Finish and the destructor are called on the user-interface thread; `commands` and `window` must
// outlive the worker.
class ApplyWorker {
  public:
    ApplyWorker(CommandSet& commands, MessageSink& window);
    ~ApplyWorker();
    ApplyWorker(const ApplyWorker&) = delete;
    ApplyWorker& operator=(const ApplyWorker&) = delete;

    // Starts a run of `job`. False, with nothing started, while a run's thread has not been finished.
    bool Start(ApplyJob job);
    // After kApplyFinished: joins the thread and returns the run's outcome; nothing when no run has ended.
    std::optional<ApplyOutcome> Finish();
    // A thread was started and not finished yet. Any thread.
    bool Busy() const { return busy_.load(); }

  private:
    void Work(ApplyJob job);

    CommandSet& commands_;
    MessageSink& window_;
    std::thread thread_;             // user-interface thread only
    std::atomic<bool> busy_{false};  // so other threads can see that a run is under way
    std::mutex mutex_;
    std::optional<ApplyOutcome> outcome_;  // guarded by mutex_: written by the worker, taken by Finish
};

}  // namespace mousecfg
