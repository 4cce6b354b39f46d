#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "device/BleLink.h"
#include "device/CommandFrame.h"
#include "platform/Pacer.h"

namespace mousecfg {

class HidHandle;

// Watches every report that passes the transport (the command-line tool's --trace). Called on the thread
// that talks to the mouse.
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    virtual void OnReportSent(const FeatureReport& report) = 0;
    virtual void OnReportReceived(const FeatureReport& report) = 0;
};

// The lowest layer between the program and the mouse: builds one command frame at a time and carries it as
// feature report 6 over HID (cable or receiver) or, while the BLE path is active, as hexadecimal text through
// the BLE link; reads the mouse's answers back as feature report 6 (HID only).
//
// One exchange at a time: the command set's request lock serialises its callers. The handles, the BLE path
// flag and the BLE link may be changed from other threads; a change takes effect at the next report.
class ReportTransport {
public:
    explicit ReportTransport(PacingValues pacing = PacingValues::Default(), Pacer& pacer = DefaultPacer());

    // The interfaces of the mouse in use: the feature collection (usage page 0xFF01, reports 6 and 7) and the
    // input collection (usage page 0xFF00, input report 5). Either may be null (no mouse selected).
    void SetHandles(std::shared_ptr<HidHandle> feature, std::shared_ptr<HidHandle> input);
    std::shared_ptr<HidHandle> FeatureHandle() const;
    std::shared_ptr<HidHandle> InputHandle() const;

    // Whether frames go over BLE instead of HID.
    void SetBleActive(bool active) { bleActive_.store(active); }
    bool BleActive() const { return bleActive_.load(); }
    // The process's BLE link and the result code of creating it (0 = usable). `link` must outlive its use.
    void SetBleLink(BleLink* link, HResult status);
    BleLink* Link() const;
    HResult BleStatus() const;

    void SetObserver(FrameObserver* observer);

    // Builds a frame (code, the next sequence number, index, offset low/high, length, `length` bytes of
    // `data` or zeros when `data` is null) after the pre-frame wait and sends it with SendReport.
    // Returns 1 when sent, 0 otherwise (a frame of more than 32 data bytes is never sent).
    // Throws BleError when the BLE link's call fails.
    int SendCommand(uint8_t code, uint8_t index, uint16_t offset, uint8_t length, const uint8_t* data);

    // Sends a frame of up to 40 bytes as feature report 6 (HID) or its hexadecimal text (BLE), then waits
    // for the mouse. Returns 1 on success, 0 when the frame is 41 bytes or longer (at once, without waiting),
    // when the HID call fails or no handle is set, or when no BLE link exists. Throws BleError when the BLE
    // link's call fails or the link is missing although its creation succeeded.
    int SendReport(std::span<const uint8_t> frame);

    // Waits for the mouse, then reads feature report 6 into `reply`. Returns 1 on success, 0 on failure
    // (`reply` then holds the report ID and zeros). HID only.
    int ReceiveReport(FeatureReport& reply);

    // The read exchange: up to five request/reply pairs until a reply with a non-zero data length arrives.
    // Returns the ReceiveReport result of that reply, or 0 when all five replies were empty.
    int ReadExchange(uint8_t code, uint8_t index, uint16_t offset, uint8_t length, FeatureReport& reply);

    // Waits as the pacing says (the command set's waits for BLE replies).
    void Pause(std::chrono::milliseconds duration) { pacer_.Pause(duration); }
    const PacingValues& Pacing() const { return pacing_; }

    // The sequence number the last frame carried (0 before the first frame).
    uint8_t LastSequence() const { return sequence_.load(); }

    static constexpr int kReadAttempts = 5;

private:
    int SendOverHid(const FeatureReport& report);
    int SendOverBle(const FeatureReport& report);

    const PacingValues pacing_;
    Pacer& pacer_;
    std::atomic<uint8_t> sequence_{0};
    std::atomic<bool> bleActive_{false};
    // State below is protected by mutex_.
    mutable std::mutex mutex_;
    std::shared_ptr<HidHandle> feature_;
    std::shared_ptr<HidHandle> input_;
    BleLink* link_ = nullptr;
    HResult bleStatus_ = kClassNotRegistered;
    FrameObserver* observer_ = nullptr;
};

}  // namespace mousecfg
