#include "tests/support/FakeHidHandle.h"

#include <algorithm>
#include <chrono>

namespace mousecfg::test {

bool FakeHidHandle::SetFeatureReport(std::span<const uint8_t> report) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failing_ || !open_ || report.size() != kFeatureReportSize) {
        return false;
    }
    FeatureReport copy{};
    std::copy(report.begin(), report.end(), copy.begin());
    sent_.push_back(copy);
    return true;
}

bool FakeHidHandle::GetFeatureReport(std::span<uint8_t> report) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++reads_;
    if (failing_ || !open_ || report.size() != kFeatureReportSize) {
        return false;
    }
    FeatureReport reply{};
    reply[0] = kCommandReportId;
    if (!replies_.empty()) {
        reply = replies_.front();
        replies_.pop_front();
    }
    std::copy(reply.begin(), reply.end(), report.begin());
    return true;
}

int FakeHidHandle::ReadInputReport(std::span<uint8_t> buffer, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto ready = [&] { return !open_ || !input_.empty(); };
    if (timeoutMs < 0) {
        inputQueued_.wait(lock, ready);
    } else if (!inputQueued_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
        return 0;
    }
    if (!open_) {
        return -1;
    }
    const std::optional<std::vector<uint8_t>> next = std::move(input_.front());
    input_.pop_front();
    ++inputReads_;
    if (!next) {
        return -1;
    }
    const size_t length = std::min(buffer.size(), next->size());
    std::copy_n(next->begin(), length, buffer.begin());
    return static_cast<int>(length);
}

void FakeHidHandle::Close() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = false;
    }
    inputQueued_.notify_all();
}

void FakeHidHandle::QueueInputReport(const std::vector<uint8_t>& report) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        input_.emplace_back(report);
    }
    inputQueued_.notify_all();
}

void FakeHidHandle::QueueInputFailure() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        input_.emplace_back(std::nullopt);
    }
    inputQueued_.notify_all();
}

int FakeHidHandle::InputReads() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return inputReads_;
}

bool FakeHidHandle::IsOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_;
}

void FakeHidHandle::QueueReply(const std::vector<uint8_t>& data, uint8_t code) {
    CommandFrame frame;
    frame.code = code;
    frame.length = static_cast<uint8_t>(std::min(data.size(), kMaxFrameData));
    std::copy_n(data.begin(), frame.length, frame.data.begin());
    std::lock_guard<std::mutex> lock(mutex_);
    replies_.push_back(frame.ToReport());
}

void FakeHidHandle::QueueEmptyReplies(int count) {
    FeatureReport empty{};
    empty[0] = kCommandReportId;
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = 0; i < count; ++i) {
        replies_.push_back(empty);
    }
}

void FakeHidHandle::SetFailing(bool failing) {
    std::lock_guard<std::mutex> lock(mutex_);
    failing_ = failing;
}

std::vector<FeatureReport> FakeHidHandle::Sent() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sent_;
}

std::vector<CommandFrame> FakeHidHandle::SentFrames() const {
    std::vector<CommandFrame> frames;
    for (const auto& report : Sent()) {
        frames.push_back(CommandFrame::FromReport(report));
    }
    return frames;
}

int FakeHidHandle::Reads() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reads_;
}

void FakeHidHandle::ClearSent() {
    std::lock_guard<std::mutex> lock(mutex_);
    sent_.clear();
}

}  // namespace mousecfg::test
