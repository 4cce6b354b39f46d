#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "device/CommandFrame.h"
#include "platform/HidBackend.h"

namespace mousecfg::test {

// An HID handle that records the feature reports sent to it and answers reads from a script. Without a
// scripted reply a read returns an empty reply (report ID 6, zeros). A failure switch makes every call fail.
// Input reads take the scripted input reports and failures in order, and otherwise block until one is queued
// or the handle is closed (then -1).
class FakeHidHandle final : public HidHandle {
public:
    bool SetFeatureReport(std::span<const uint8_t> report) override;
    bool GetFeatureReport(std::span<uint8_t> report) override;
    int ReadInputReport(std::span<uint8_t> buffer, int timeoutMs) override;
    void Close() override;
    bool IsOpen() const override;

    // Queues the reply to a later read: `data` becomes the frame's data and its length.
    void QueueReply(const std::vector<uint8_t>& data, uint8_t code = 0);
    void QueueEmptyReplies(int count);
    void SetFailing(bool failing);
    // The next input read delivers `report`.
    void QueueInputReport(const std::vector<uint8_t>& report);
    // The next input read fails (-1) while the handle stays open, as an interrupted wait of the system does.
    void QueueInputFailure();
    // Input reads that have returned so far.
    int InputReads() const;

    std::vector<FeatureReport> Sent() const;
    std::vector<CommandFrame> SentFrames() const;
    int Reads() const;
    void ClearSent();

private:
    mutable std::mutex mutex_;
    std::condition_variable inputQueued_;
    std::vector<FeatureReport> sent_;
    std::deque<FeatureReport> replies_;
    std::deque<std::optional<std::vector<uint8_t>>> input_;  // nullopt: a failing read
    int reads_ = 0;
    int inputReads_ = 0;
    bool failing_ = false;
    bool open_ = true;
};

}  // namespace mousecfg::test
