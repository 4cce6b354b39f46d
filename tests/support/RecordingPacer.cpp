#include "tests/support/RecordingPacer.h"

#include <numeric>

namespace mousecfg::test {

void RecordingPacer::Pause(std::chrono::milliseconds duration) {
    std::lock_guard<std::mutex> lock(mutex_);
    waits_.push_back(static_cast<int>(duration.count()));
}

std::vector<int> RecordingPacer::Waits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waits_;
}

int RecordingPacer::TotalMs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::accumulate(waits_.begin(), waits_.end(), 0);
}

void RecordingPacer::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    waits_.clear();
}

}  // namespace mousecfg::test
