#include "sim/VirtualMouse.h"

#include <algorithm>
#include <cstdio>

#include "sim/MouseCommands.h"

namespace mousecfg::sim {
namespace {

constexpr size_t kInputReportSize = 16;
constexpr uint8_t kDeviceInfoRead = 0x81;
constexpr int kButtons = 16;
constexpr uint8_t kChargingFlag = 0x80;

// The command code of a report, when it is long enough to carry one (frame offset 2 = report byte 3).
std::optional<uint8_t> CodeOf(std::span<const uint8_t> report) {
    if (report.size() <= 1 + CommandFrame::kCodeAt) {
        return std::nullopt;
    }
    return report[1 + CommandFrame::kCodeAt];
}

}  // namespace

VirtualMouse::VirtualMouse() = default;

// --- The wire ---

bool VirtualMouse::SetFeature(std::span<const uint8_t> report) {
    std::lock_guard<std::mutex> lock(mutex_);
    const bool reportShapeOk = report.size() == kFeatureReportSize && report[0] == kCommandReportId;
    if (reportShapeOk && !deliveryEnabled_ && CodeOf(report) != kDeviceInfoRead) {
        // The receiver took the report but has no mouse to pass it to.
        ++dropped_;
        return true;
    }
    std::string refusal;
    const bool accepted = TakeFrameLocked(report, refusal);
    LogLocked(FrameLogEntry::Direction::Received, report, accepted);
    if (!accepted) {
        RejectLocked(std::move(refusal));
    }
    return accepted;
}

bool VirtualMouse::TakeFrameLocked(std::span<const uint8_t> report, std::string& refusal) {
    const std::optional<CommandFrame> frame = DecodeCommandReport(report);
    if (!frame) {
        char text[96];
        std::snprintf(text, sizeof text, "a report of %zu bytes with ID %d that is no command frame", report.size(),
                      report.empty() ? -1 : report[0]);
        refusal = text;
        return false;
    }
    if ((frame->code & kReadFlag) == 0) {
        return ApplyWrite(*frame, system_, profiles_, refusal);
    }
    const auto data = ReadData(*frame, system_, profiles_[system_.activeProfile], DeviceInfoLocked());
    if (!data) {
        char text[96];
        std::snprintf(text, sizeof text, "a read not understood: code %02x index %u offset %u length %u", frame->code,
                      frame->index, frame->offset, frame->length);
        refusal = text;
        return false;
    }
    if (repliesEnabled_) {
        pendingReply_ = BuildReply(*frame, *data, echoHeaders_);
    }
    return true;
}

void VirtualMouse::Reject(const std::string& why) {
    std::lock_guard<std::mutex> lock(mutex_);
    RejectLocked(why);
}

bool VirtualMouse::GetFeature(std::span<uint8_t> report) {
    if (report.empty()) {
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (report[0] == kReceiverReportId && report.size() == kReceiverReportSize) {
        std::fill(report.begin(), report.end(), 0);
        report[0] = kReceiverReportId;
        report[14] = static_cast<uint8_t>(status_.receiverValue & 0xFF);
        report[15] = static_cast<uint8_t>(status_.receiverValue >> 8);
        return true;
    }
    if (report[0] != kCommandReportId || report.size() != kFeatureReportSize) {
        return false;
    }
    std::fill(report.begin(), report.end(), 0);
    report[0] = kCommandReportId;
    if (emptyReplies_ > 0) {
        --emptyReplies_;  // the reply stays pending for a later read
        return true;
    }
    if (repliesEnabled_ && pendingReply_) {
        std::copy(pendingReply_->begin(), pendingReply_->end(), report.begin());
        LogLocked(FrameLogEntry::Direction::Replied, *pendingReply_, true);
        pendingReply_.reset();
    }
    return true;
}

std::optional<FeatureReport> VirtualMouse::AnswerRead(std::span<const uint8_t> report) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::optional<CommandFrame> frame = DecodeCommandReport(report);
    if (!frame || !repliesEnabled_ || (!deliveryEnabled_ && frame->code != kDeviceInfoRead)) {
        return std::nullopt;
    }
    const auto data = ReadData(*frame, system_, profiles_[system_.activeProfile], DeviceInfoLocked());
    if (!data) {
        return std::nullopt;
    }
    const FeatureReport reply = BuildReply(*frame, *data, echoHeaders_);
    if (pendingReply_ == reply) {
        pendingReply_.reset();
    }
    LogLocked(FrameLogEntry::Direction::Replied, reply, true);
    return reply;
}

// --- Test controls ---

void VirtualMouse::SetEmptyReplies(int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    emptyReplies_ = std::max(count, 0);
}

void VirtualMouse::SetRepliesEnabled(bool enabled) {
    std::lock_guard<std::mutex> lock(mutex_);
    repliesEnabled_ = enabled;
    if (!enabled) {
        pendingReply_.reset();
    }
}

void VirtualMouse::SetEchoHeaders(bool echo) {
    std::lock_guard<std::mutex> lock(mutex_);
    echoHeaders_ = echo;
}

void VirtualMouse::SetStatus(const MouseStatus& status) {
    ChangeState([&] {
        status_ = status;
        return true;
    });
}

MouseStatus VirtualMouse::Status() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return status_;
}

void VirtualMouse::SetDeliveryEnabled(bool enabled) {
    ChangeState([&] {
        const bool wasLinked = LinkedLocked();
        deliveryEnabled_ = enabled;
        return LinkedLocked() != wasLinked;
    });
}

// --- Input reports ---

std::vector<uint8_t> VirtualMouse::InputReport() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return InputReportLocked();
}

void VirtualMouse::SetButton(int button, bool pressed) {
    ChangeState([&] {
        if (button < 0 || button >= kButtons) {
            return false;
        }
        const auto bit = static_cast<uint16_t>(1u << button);
        buttons_ = static_cast<uint16_t>(pressed ? (buttons_ | bit) : (buttons_ & ~bit));
        return true;
    });
}

void VirtualMouse::SetActiveProfile(uint8_t profile) {
    ChangeState([&] {
        if (profile >= kProfiles) {
            return false;
        }
        system_.activeProfile = profile;
        return true;
    });
}

void VirtualMouse::SetDpiLevelNumber(uint8_t levelPlusOne) {
    ChangeState([&] {
        profiles_[system_.activeProfile].dpiTable[1] = levelPlusOne;
        return true;
    });
}

void VirtualMouse::SetReportRateCode(uint8_t code) {
    ChangeState([&] {
        profiles_[system_.activeProfile].reportRate = code;
        return true;
    });
}

void VirtualMouse::SetExtraState(uint8_t byte9, uint8_t byte10, uint16_t valueF, uint16_t valueG) {
    ChangeState([&] {
        extraByte9_ = byte9;
        extraByte10_ = byte10;
        valueF_ = valueF;
        valueG_ = valueG;
        return true;
    });
}

void VirtualMouse::OnInputReport(std::function<void(const std::vector<uint8_t>&)> listener) {
    AddInputListener(std::move(listener));
}

VirtualMouse::ListenerId VirtualMouse::AddInputListener(std::function<void(const std::vector<uint8_t>&)> listener) {
    auto entry = std::make_shared<Listener>();
    entry->callback = std::move(listener);
    std::lock_guard<std::mutex> lock(mutex_);
    const ListenerId id = nextListenerId_++;
    listeners_.emplace(id, std::move(entry));
    return id;
}

void VirtualMouse::RemoveInputListener(ListenerId id) {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto found = listeners_.find(id);
    if (found == listeners_.end()) {
        return;
    }
    const std::shared_ptr<Listener> entry = found->second;
    listeners_.erase(found);
    // Removed from the map, the listener gets no new calls; wait for the ones running on other threads so
    // that the caller may destroy what the listener refers to. A call on this thread is the listener
    // removing itself and must not be waited for.
    const auto self = std::this_thread::get_id();
    listenerDone_.wait(lock, [&] {
        return std::all_of(entry->running.begin(), entry->running.end(), [&](auto thread) { return thread == self; });
    });
}

template <typename Change>
void VirtualMouse::ChangeState(Change change) {
    ListenerCalls calls;
    std::vector<uint8_t> report;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!change()) {
            return;
        }
        report = InputReportLocked();
        calls = BeginNotifyLocked();
    }
    Notify(calls, report);
}

VirtualMouse::ListenerCalls VirtualMouse::BeginNotifyLocked() {
    ListenerCalls calls;
    calls.reserve(listeners_.size());
    for (const auto& [id, entry] : listeners_) {
        entry->running.push_back(std::this_thread::get_id());
        calls.push_back(entry);
    }
    return calls;
}

void VirtualMouse::Notify(const ListenerCalls& calls, const std::vector<uint8_t>& report) {
    const auto self = std::this_thread::get_id();
    for (const auto& entry : calls) {
        entry->callback(report);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            entry->running.erase(std::find(entry->running.begin(), entry->running.end(), self));
        }
        listenerDone_.notify_all();
    }
}

// --- Inspection ---

SystemMemory VirtualMouse::System() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return system_;
}

ProfileMemory VirtualMouse::Profile(int profile) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return profiles_.at(static_cast<size_t>(profile));
}

std::vector<FrameLogEntry> VirtualMouse::Log() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

void VirtualMouse::ClearLog() {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
}

int VirtualMouse::RejectCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return rejects_;
}

std::vector<std::string> VirtualMouse::Rejections() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return rejections_;
}

int VirtualMouse::CountFrames(uint8_t code) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count_if(log_.begin(), log_.end(), [&](const FrameLogEntry& entry) {
        return entry.direction == FrameLogEntry::Direction::Received && CodeOf(entry.report) == code;
    }));
}

int VirtualMouse::DroppedCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return dropped_;
}

// --- Helpers; the caller holds mutex_ ---

void VirtualMouse::LogLocked(FrameLogEntry::Direction direction, std::span<const uint8_t> report, bool accepted) {
    // A report of the wrong size is kept as far as it fits (or zero-filled), so the log still shows it.
    FrameLogEntry entry{direction, FeatureReport{}, accepted};
    std::copy_n(report.begin(), std::min(report.size(), entry.report.size()), entry.report.begin());
    log_.push_back(entry);
}

void VirtualMouse::RejectLocked(std::string why) {
    constexpr size_t kKeptReasons = 100;
    ++rejects_;
    if (rejections_.size() < kKeptReasons) {
        rejections_.push_back(std::move(why));
    }
}

bool VirtualMouse::LinkedLocked() const { return status_.linked && deliveryEnabled_; }

std::array<uint8_t, 3> VirtualMouse::DeviceInfoLocked() const {
    const auto battery = static_cast<uint8_t>((status_.battery & 0x7F) | (status_.charging ? kChargingFlag : 0));
    return {static_cast<uint8_t>(LinkedLocked() ? 1 : 0), battery, status_.variant};
}

std::vector<uint8_t> VirtualMouse::InputReportLocked() const {
    const ProfileMemory& active = profiles_[system_.activeProfile];
    std::vector<uint8_t> report(kInputReportSize, 0);
    report[0] = kInputReportId;
    report[1] = LinkedLocked() ? 1 : 0;
    report[2] = static_cast<uint8_t>(buttons_ & 0xFF);
    report[3] = static_cast<uint8_t>(buttons_ >> 8);
    report[6] = system_.activeProfile;
    report[7] = active.reportRate;
    report[8] = active.dpiTable[1];
    report[9] = extraByte9_;
    report[10] = extraByte10_;
    report[11] = static_cast<uint8_t>(valueF_ & 0xFF);
    report[12] = static_cast<uint8_t>(valueF_ >> 8);
    report[13] = static_cast<uint8_t>(valueG_ & 0xFF);
    report[14] = static_cast<uint8_t>(valueG_ >> 8);
    return report;
}

}  // namespace mousecfg::sim
