#include "device/ReportTransport.h"

#include <algorithm>

#include "device/HexText.h"
#include "platform/HidBackend.h"

namespace mousecfg {

ReportTransport::ReportTransport(PacingValues pacing, Pacer& pacer) : pacing_(pacing), pacer_(pacer) {}

void ReportTransport::SetHandles(std::shared_ptr<HidHandle> feature, std::shared_ptr<HidHandle> input) {
    std::lock_guard<std::mutex> lock(mutex_);
    feature_ = std::move(feature);
    input_ = std::move(input);
}

std::shared_ptr<HidHandle> ReportTransport::FeatureHandle() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return feature_;
}

std::shared_ptr<HidHandle> ReportTransport::InputHandle() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return input_;
}

void ReportTransport::SetBleLink(BleLink* link, HResult status) {
    std::lock_guard<std::mutex> lock(mutex_);
    link_ = link;
    bleStatus_ = status;
}

BleLink* ReportTransport::Link() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return link_;
}

HResult ReportTransport::BleStatus() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return bleStatus_;
}

void ReportTransport::SetObserver(FrameObserver* observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = observer;
}

int ReportTransport::SendCommand(uint8_t code, uint8_t index, uint16_t offset, uint8_t length, const uint8_t* data) {
    pacer_.Pause(pacing_.beforeFrame);
    // The counter advances for every frame built, sent or not; it wraps from 255 to 0 and is never reset.
    const uint8_t sequence = static_cast<uint8_t>(sequence_.fetch_add(1) + 1);
    if (length > kMaxFrameData) {
        return 0;  // would not fit the report; SendReport refuses it too, and the data must not be copied
    }
    std::array<uint8_t, kMaxFrameSize> frame{};
    frame[CommandFrame::kCodeAt] = code;
    frame[CommandFrame::kSequenceAt] = sequence;
    frame[CommandFrame::kIndexAt] = index;
    frame[CommandFrame::kOffsetLowAt] = static_cast<uint8_t>(offset & 0xFF);
    frame[CommandFrame::kOffsetHighAt] = static_cast<uint8_t>(offset / 256);
    frame[CommandFrame::kLengthAt] = length;
    if (data != nullptr && length > 0) {
        std::copy_n(data, length, frame.begin() + CommandFrame::kDataAt);
    }
    return SendReport(std::span<const uint8_t>(frame.data(), kFrameHeaderSize + length));
}

int ReportTransport::SendReport(std::span<const uint8_t> frame) {
    if (frame.size() >= kFeatureReportSize) {
        return 0;
    }
    FeatureReport report{};
    report[0] = kCommandReportId;
    std::copy(frame.begin(), frame.end(), report.begin() + 1);
    const int result = bleActive_.load() ? SendOverBle(report) : SendOverHid(report);
    pacer_.Pause(pacing_.afterSend);
    return result;
}

int ReportTransport::SendOverHid(const FeatureReport& report) {
    std::shared_ptr<HidHandle> handle;
    FrameObserver* observer = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        handle = feature_;
        observer = observer_;
    }
    if (observer != nullptr) {
        observer->OnReportSent(report);
    }
    return handle && handle->SetFeatureReport(report) ? 1 : 0;
}

int ReportTransport::SendOverBle(const FeatureReport& report) {
    BleLink* link = nullptr;
    HResult status = 0;
    FrameObserver* observer = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        link = link_;
        status = bleStatus_;
        observer = observer_;
    }
    if (status != 0) {
        return 0;  // no BLE link on this system: nothing is sent
    }
    if (link == nullptr) {
        throw BleError(kE_POINTER);
    }
    if (observer != nullptr) {
        observer->OnReportSent(report);
    }
    int16_t sent = 0;
    const HResult result = link->SendFrame(ToHexText(report), &sent);
    if (Failed(result)) {
        throw BleError(result);
    }
    return sent;
}

int ReportTransport::ReceiveReport(FeatureReport& reply) {
    pacer_.Pause(pacing_.beforeRead);
    std::shared_ptr<HidHandle> handle;
    FrameObserver* observer = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        handle = feature_;
        observer = observer_;
    }
    FeatureReport buffer{};
    buffer[0] = kCommandReportId;
    const bool ok = handle && handle->GetFeatureReport(buffer);
    if (!ok) {
        buffer.fill(0);
        buffer[0] = kCommandReportId;
    }
    reply = buffer;
    if (ok && observer != nullptr) {
        observer->OnReportReceived(reply);
    }
    return ok ? 1 : 0;
}

int ReportTransport::ReadExchange(uint8_t code, uint8_t index, uint16_t offset, uint8_t length, FeatureReport& reply) {
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        SendCommand(code, index, offset, length, nullptr);
        const int result = ReceiveReport(reply);
        // Report byte 8 is the frame's data length: a reply is valid when it is not zero.
        if (reply[1 + CommandFrame::kLengthAt] != 0) {
            return result;
        }
    }
    return 0;
}

}  // namespace mousecfg
