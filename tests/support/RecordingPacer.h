#pragma once

#include <chrono>
#include <mutex>
#include <vector>

#include "platform/Pacer.h"

namespace mousecfg::test {

// A pacer that records every wait instead of sleeping.
class RecordingPacer final : public Pacer {
public:
    void Pause(std::chrono::milliseconds duration) override;
    std::vector<int> Waits() const;  // in milliseconds, in call order
    int TotalMs() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<int> waits_;  // guarded by mutex_
};

}  // namespace mousecfg::test
