#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "device/FindDev.h"
#include "device/InputReportProcessor.h"

namespace mousecfg {

// The input reader threads: exactly one per present catalogue record, each blocked in a read of its record's
// input interface and handing every report to a handler. A failed read changes nothing: the reader tries again
// after a short wait (longer while reads keep failing), or goes on with the record's newer handle when it was
// found again. A reader ends only when its record is no longer present or its handle has been closed; Start then
// starts a new one for a record that is present again. Start and StopAll are called on the main thread.
class InputReaders {
  public:
    // Called on the reader's thread with each report, the record as the reader last saw it, and the reader's own
    // processing state.
    using Handler = std::function<void(size_t index, const FindDev::ReaderView& record, std::span<const uint8_t> report,
                                       InputReportProcessor::State& state)>;

    InputReaders(FindDev& catalogue, Handler handler);
    ~InputReaders();
    InputReaders(const InputReaders&) = delete;
    InputReaders& operator=(const InputReaders&) = delete;

    // Joins the readers that have ended and starts one for every present record that has none; traces
    // "创建线程" for each. Returns how many were started.
    int Start();
    // Ends every reader (closing the records' input handles wakes the blocked reads) and joins them. The window
    // must still answer sent messages meanwhile, or a reader blocked in a send would never end.
    void StopAll();
    // Readers running now.
    size_t Running() const;

    // The wait after a failed read, and the longest one it grows to while reads keep failing.
    static constexpr std::chrono::milliseconds kRetryWait{2};
    static constexpr std::chrono::milliseconds kLongestRetryWait{500};

  private:
    struct Reader {
        std::thread thread;
        std::atomic<bool> finished{false};
    };
    void Run(size_t index, Reader& reader);
    // What a reader does after a failed read: true to read again, false to end.
    bool AfterFailedRead(size_t index, const FindDev::ReaderView& record, std::chrono::milliseconds wait);

    FindDev& catalogue_;
    const Handler handler_;
    std::atomic<bool> stopping_{false};
    std::mutex stopMutex_;                // with stopWake_: wakes readers waiting to retry when StopAll runs
    std::condition_variable stopWake_;
    std::map<size_t, std::unique_ptr<Reader>> readers_;  // main thread only
};

}  // namespace mousecfg
