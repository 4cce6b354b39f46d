#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "device/ConnectionMonitor.h"
#include "device/DeviceMessages.h"
#include "platform/DeviceChange.h"
#include "platform/MessageQueue.h"

namespace mousecfg::test {

// The main window as the monitor sees it: a message queue pumped by the test's thread, which hands device
// changes, timers, 2053 and 2065 to the monitor the way the window's dispatcher will, and records every message
// it handles (with the outcomes the monitor returned).
class TestWindow final : public MessageSink {
  public:
    struct Handled {
        Message message;
        std::optional<ConnectionDisplay> display;  // for 2053
        std::optional<BleMessageOutcome> outcome;  // for 2065
    };

    TestWindow() : queue_([this](const Message& message) { return Handle(message); }) {}

    void Post(Message message) override { queue_.Post(std::move(message)); }
    intptr_t Send(Message message) override { return queue_.Send(std::move(message)); }

    void Attach(ConnectionMonitor* monitor) { monitor_ = monitor; }
    // From now on messages are only answered, not handed to the monitor (while it shuts down).
    void Detach() { monitor_ = nullptr; }

    // Handles messages until `done` holds; false when it did not within a few seconds. `done` is looked at after
    // every message and at least every few milliseconds, as it may turn true on another thread without a message.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!queue_.PumpUntil(done, std::chrono::milliseconds(5))) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
        }
        return true;
    }
    // Handles what is queued now and what arrives within `quiet` after it.
    void PumpFor(std::chrono::milliseconds quiet) {
        queue_.PumpUntil([] { return false; }, quiet);
    }

    std::vector<Handled> All() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return handled_;
    }
    // Messages handled with `id`, in order.
    std::vector<Handled> WithId(uint32_t id) const {
        std::vector<Handled> result;
        for (const auto& handled : All()) {
            if (handled.message.id == id) {
                result.push_back(handled);
            }
        }
        return result;
    }
    size_t Count(uint32_t id) const { return WithId(id).size(); }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        handled_.clear();
    }

  private:
    intptr_t Handle(const Message& message) {
        Handled handled{message, std::nullopt, std::nullopt};
        if (monitor_ != nullptr) {
            if (message.id == kDeviceChangeMessage) {
                monitor_->OnDeviceChange(message.wParam, message.text);
            } else if (message.id == msg::kConnectionRefresh) {
                handled.display = monitor_->OnConnectionRefresh(message.wParam, message.lParam);
            } else if (message.id == msg::kBleStatus) {
                handled.outcome = monitor_->OnBleMessage(message.wParam, message.text);
            }
        }
        std::lock_guard<std::mutex> lock(mutex_);
        handled_.push_back(std::move(handled));
        return 0;
    }

    MessageQueue queue_;
    ConnectionMonitor* monitor_ = nullptr;  // test thread only
    mutable std::mutex mutex_;
    std::vector<Handled> handled_;  // guarded by mutex_
};

}  // namespace mousecfg::test
