#include "device/DeviceEventQueue.h"

#include "platform/Trace.h"

namespace mousecfg {

void DeviceEventQueue::Push(const DeviceEvent& event) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopped_) {
            return;
        }
        events_.push_back(event);
        if (events_.size() > kMaxPending) {
            events_.pop_front();
            ++dropped_;
            trace::Printf("device event queue full: oldest event dropped (%zu so far)\n", dropped_);
        }
    }
    arrived_.notify_one();
}

std::optional<DeviceEvent> DeviceEventQueue::Pop() {
    std::unique_lock<std::mutex> lock(mutex_);
    arrived_.wait(lock, [&] { return stopped_ || !events_.empty(); });
    if (stopped_) {
        return std::nullopt;
    }
    const DeviceEvent event = events_.front();
    events_.pop_front();
    return event;
}

void DeviceEventQueue::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
        events_.clear();
    }
    arrived_.notify_all();
}

void DeviceEventQueue::Restart() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = false;
}

size_t DeviceEventQueue::Pending() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_.size();
}

size_t DeviceEventQueue::Dropped() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return dropped_;
}

}  // namespace mousecfg
