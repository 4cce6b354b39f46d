#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

#include "device/DeviceEvent.h"

namespace mousecfg {

// The queue between the input readers (producers) and the device event thread (the one consumer). Events come
// out in the order they went in. The consumer sleeps on a condition variable until an event or Stop arrives.
// Thread-safe.
class DeviceEventQueue {
  public:
    // Events kept waiting at most. Nothing but the rate of the mouse's reports keeps the queue short, so when the
    // consumer falls this far behind the oldest events are dropped: the newest say what the mouse holds now.
    static constexpr size_t kMaxPending = 99;

    void Push(const DeviceEvent& event);
    // The next event, waiting for one; nothing once Stop has been called (events still queued are then dropped).
    std::optional<DeviceEvent> Pop();
    // Wakes the consumer for good; later pushes are ignored.
    void Stop();
    // Allows pushing and popping again after Stop (a monitor that is started again).
    void Restart();

    size_t Pending() const;
    size_t Dropped() const;  // events dropped because too many were pending

  private:
    // State below is protected by mutex_.
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<DeviceEvent> events_;
    size_t dropped_ = 0;
    bool stopped_ = false;
};

}  // namespace mousecfg
