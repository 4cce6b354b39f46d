#include "sim/SimBleLink.h"

#include <optional>

#include "device/CommandFrame.h"
#include "device/DeviceMessages.h"
#include "device/HexText.h"
#include "sim/VirtualMouse.h"

namespace mousecfg::sim {

SimBleLink::SimBleLink(VirtualMouse& mouse) : mouse_(mouse) {
    worker_ = std::thread([this] { Run(); });
    listenerId_ = mouse_.AddInputListener([this](const std::vector<uint8_t>& report) { OnMouseInput(report); });
}

SimBleLink::~SimBleLink() {
    // First make sure no listener call is running or will start, then stop the worker; messages still queued are
    // dropped, as a link that is shut down sends nothing more.
    mouse_.RemoveInputListener(listenerId_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

HResult SimBleLink::RegisterDevices(const std::string& deviceNames, MessageSink* window, int messageNumber) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (Failed(failWith_)) {
            return failWith_;
        }
        window_ = window;
        messageNumber_ = messageNumber;
        registeredNames_ = deviceNames;
        ++registerCount_;
        if (!autoConnect_) {
            return kS_OK;
        }
        connected_ = true;
        EnqueueLocked(ble::kConnected, {});
    }
    wake_.notify_all();
    return kS_OK;
}

HResult SimBleLink::QueryStatus(int16_t* status) {
    if (status == nullptr) {
        return kE_POINTER;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (Failed(failWith_)) {
        return failWith_;
    }
    *status = queryStatus_;
    return kS_OK;
}

HResult SimBleLink::SendFrame(const std::string& hexText, int16_t* sent) {
    if (sent == nullptr) {
        return kE_POINTER;
    }
    *sent = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (Failed(failWith_)) {
            return failWith_;
        }
    }
    // The mouse reads only the transport's exact form: 41 pairs of lower-case digits, each followed by a blank.
    const std::optional<FeatureReport> report = ParseReportText(hexText);
    if (!report) {
        mouse_.Reject("BLE text that is not 41 lower-case hexadecimal pairs each followed by a blank: \"" +
                      hexText.substr(0, 130) + "\"");
        return kS_OK;
    }
    if (!mouse_.SetFeature(*report)) {
        return kS_OK;
    }
    *sent = 1;
    std::optional<FeatureReport> reply;
    const uint8_t code = (*report)[1 + CommandFrame::kCodeAt];
    if ((code & kReadFlag) != 0) {
        reply = mouse_.AnswerRead(*report);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++framesSent_;
        if (reply) {
            EnqueueLocked(ble::kReadReplyFirst | (code & 0x0F), ToHexText(*reply));
        }
    }
    wake_.notify_all();
    return kS_OK;
}

void SimBleLink::Connect() { SetConnectedAndPost(true, ble::kConnected); }

void SimBleLink::Disconnect() { SetConnectedAndPost(false, ble::kDisconnected); }

void SimBleLink::FailConnection() { SetConnectedAndPost(false, ble::kConnectionFailed); }

void SimBleLink::RequestRegistration() { Enqueue(ble::kRegistrationWanted, {}); }

void SimBleLink::ReportBattery(uint8_t percent) { Enqueue(ble::kBattery, std::string(1, static_cast<char>(percent))); }

void SimBleLink::RequestStatusQuery() { Enqueue(ble::kStatusQueryWanted, {}); }

void SimBleLink::FailCallsWith(HResult result) {
    std::lock_guard<std::mutex> lock(mutex_);
    failWith_ = result;
}

void SimBleLink::SetQueryStatus(int16_t status) {
    std::lock_guard<std::mutex> lock(mutex_);
    queryStatus_ = status;
}

void SimBleLink::SetAutoConnect(bool autoConnect) {
    std::lock_guard<std::mutex> lock(mutex_);
    autoConnect_ = autoConnect;
}

void SimBleLink::Flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [&] { return (outbox_.empty() && !busy_) || stopping_; });
}

int SimBleLink::RegisterCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return registerCount_;
}

std::string SimBleLink::RegisteredNames() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return registeredNames_;
}

int SimBleLink::FramesSent() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return framesSent_;
}

bool SimBleLink::Connected() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connected_;
}

void SimBleLink::EnqueueLocked(uintptr_t code, std::string text) {
    if (window_ == nullptr) {
        return;  // nobody registered to hear it
    }
    outbox_.emplace_back(code, std::move(text));
}

void SimBleLink::Enqueue(uintptr_t code, std::string text) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        EnqueueLocked(code, std::move(text));
    }
    wake_.notify_all();
}

void SimBleLink::SetConnectedAndPost(bool connected, uintptr_t code) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        connected_ = connected;
        EnqueueLocked(code, {});
    }
    wake_.notify_all();
}

void SimBleLink::OnMouseInput(const std::vector<uint8_t>& report) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!connected_) {
            return;
        }
        EnqueueLocked(ble::kInputReportFirst, ToHexText(report));
    }
    wake_.notify_all();
}

void SimBleLink::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || !outbox_.empty(); });
        if (stopping_) {
            break;
        }
        auto [code, text] = std::move(outbox_.front());
        outbox_.pop_front();
        MessageSink* window = window_;
        const auto number = static_cast<uint32_t>(messageNumber_);
        busy_ = true;
        lock.unlock();
        // Posted without the lock: the window's Post may take its own locks or call back into the link.
        if (window != nullptr) {
            window->Post(Message{number, code, 0, std::move(text)});
        }
        lock.lock();
        busy_ = false;
        if (outbox_.empty()) {
            idle_.notify_all();
        }
    }
    outbox_.clear();
    idle_.notify_all();
}

}  // namespace mousecfg::sim
