#include "device/ConnectionMonitor.h"

#include <string>

#include "device/CommandSet.h"
#include "device/DeviceMessages.h"
#include "device/DeviceStateModel.h"
#include "device/FindDev.h"
#include "device/HexText.h"
#include "device/ReportTransport.h"
#include "platform/DeviceChange.h"
#include "platform/MessageSink.h"
#include "platform/Trace.h"
#include "platform/WindowTimers.h"

namespace mousecfg {
namespace {

constexpr size_t kCableRecord = 0;
constexpr size_t kReceiverRecord = 1;
constexpr size_t kLinkStateAt = 1;

Message Refresh(uintptr_t wParam, intptr_t lParam) {
    return Message{msg::kConnectionRefresh, wParam, lParam, {}};
}

}  // namespace

ConnectionMonitor::ConnectionMonitor(const MonitorServices& services)
    : catalogue_(services.catalogue),
      commands_(services.commands),
      window_(services.window),
      timers_(services.timers),
      model_(services.model),
      processor_(services.model, queue_),
      registration_(state_, services.commands, services.catalogue, services.window, services.timers, services.boxes,
                    services.bleRegistrationCheck),
      replies_(services.commands, services.model, state_),
      eventThread_(queue_, services.model, services.catalogue, services.window),
      readers_(services.catalogue,
               [this](size_t index, const FindDev::ReaderView& record, std::span<const uint8_t> report,
                      InputReportProcessor::State& state) { OnInputReport(index, record, report, state); }) {}

ConnectionMonitor::~ConnectionMonitor() {
    Shutdown();
}

std::optional<BleRegisterResult> ConnectionMonitor::StartMonitoring() {
    StartEventThread();
    SelectActiveDevice(true);
    std::optional<BleRegisterResult> registration;
    if (state_.online == 0 && !state_.bleRegistered) {
        registration = registration_.Register();
    }
    if (!BleActive()) {
        window_.Send(Refresh(0, 1));
    }
    StartReaders();
    return registration;
}

void ConnectionMonitor::StartEventThread() {
    eventThread_.Start();
}

int ConnectionMonitor::StartReaders() {
    return readers_.Start();
}

void ConnectionMonitor::Shutdown() {
    readers_.StopAll();
    eventThread_.Stop();
    timers_.KillTimer(timer::kDeviceChange);
    timers_.KillTimer(timer::kBleRetry);
}

bool ConnectionMonitor::BleActive() const {
    return commands_.transport().BleActive();
}

void ConnectionMonitor::SelectActiveDevice(bool silent) {
    state_.selectedCount = 0;
    uintptr_t kindChanged = 1;
    const auto select = [&](size_t index, uint8_t kind) {
        const DeviceRecord record = catalogue_.Record(index);
        state_.selectedIndex = static_cast<int>(index);
        model_.SetCurrentDeviceName(record.name);
        if (kind == ConnectionState::kCable) {
            state_.online = 1;  // a cable device is linked whenever it is present
        }
        commands_.transport().SetHandles(record.featureHandle, record.inputHandle);
        state_.selectedCount = 1;
        kindChanged = state_.connectionKind.exchange(kind) == kind ? 0 : 1;
    };
    if (catalogue_.IsPresent(kCableRecord)) {
        select(kCableRecord, ConnectionState::kCable);
    } else if (catalogue_.IsPresent(kReceiverRecord)) {
        select(kReceiverRecord, ConnectionState::kReceiver);
    } else {
        state_.connectionKind = ConnectionState::kCable;
        state_.online = 0;
    }
    if (!silent) {
        window_.Send(Refresh(kindChanged, 1));
    }
}

void ConnectionMonitor::OnInputReport(size_t index, const FindDev::ReaderView& record, std::span<const uint8_t> report,
                                      InputReportProcessor::State& state) {
    if (record.kind == 1) {
        UpdateLinkState(record, report);
    }
    if (report[0] == kInputReportId && state_.online != 0) {
        processor_.Process(static_cast<int>(index), report, true, state);
    }
}

void ConnectionMonitor::UpdateLinkState(const FindDev::ReaderView& record, std::span<const uint8_t> report) {
    // A report over HID means the mouse talks through HID again.
    commands_.transport().SetBleActive(false);
    if (record.isUSB != 0) {
        int offline = 0;
        if (state_.online.compare_exchange_strong(offline, 1)) {
            window_.Send(Refresh(1, 0));
        }
        return;
    }
    if (report.size() <= kLinkStateAt) {
        return;
    }
    const int link = report[kLinkStateAt];
    trace::Printf("连接状态:%d\n", link);
    if (state_.online.exchange(link) == link) {
        return;
    }
    window_.Send(Refresh(1, 1));
    if (link == 0 && !state_.bleRegistered) {
        registration_.Register(true);  // the mouse went off the receiver: it may come back over BLE
    }
}

void ConnectionMonitor::OnDeviceChange(uintptr_t change, std::string_view path) {
    bool changed = false;
    if (change == kDeviceArrival) {
        changed = catalogue_.DeviceArrived(path) || catalogue_.DeviceRemoved(path);
    } else if (change == kDeviceRemoval) {
        changed = catalogue_.DeviceRemoved(path);
    } else {
        return;
    }
    if (changed) {
        // Let the device settle before choosing again; a further change restarts the wait.
        timers_.SetTimer(timer::kDeviceChange, timer::kDeviceChangeDelay);
        return;
    }
    RefreshSelectedHandles();
    StartReaders();
}

void ConnectionMonitor::AfterDeviceChange() {
    const bool cablePresent = catalogue_.IsPresent(kCableRecord);
    if (cablePresent) {
        commands_.transport().SetBleActive(false);
    }
    if (BleActive() && !cablePresent) {
        return;  // the mouse stays on BLE
    }
    SelectActiveDevice(false);
    if (state_.selectedCount == 0 && !state_.bleRegistered) {
        registration_.Register();
    }
    StartReaders();
}

// A record found again (its interfaces listed anew) gets new handles; the device in use must talk through them.
void ConnectionMonitor::RefreshSelectedHandles() {
    if (state_.selectedCount == 0) {
        return;
    }
    const DeviceRecord record = catalogue_.Record(static_cast<size_t>(state_.selectedIndex.load()));
    ReportTransport& transport = commands_.transport();
    if (record.present &&
        (transport.FeatureHandle() != record.featureHandle || transport.InputHandle() != record.inputHandle)) {
        transport.SetHandles(record.featureHandle, record.inputHandle);
    }
}

bool ConnectionMonitor::OnTimer(int id) {
    if (id == timer::kStatusPoll) {
        OnStatusPoll();
        return true;
    }
    if (id == timer::kDeviceChange) {
        timers_.KillTimer(timer::kDeviceChange);
        AfterDeviceChange();
        return true;
    }
    return registration_.OnTimer(id);
}

void ConnectionMonitor::OnStatusPoll() {
    if (!BleActive()) {
        window_.Send(Refresh(0, 0));
    }
}

void ConnectionMonitor::StartStatusPoll() {
    if (!BleActive() && !timers_.IsTimerRunning(timer::kStatusPoll)) {
        timers_.SetTimer(timer::kStatusPoll, timer::kStatusPollInterval);
    }
}

void ConnectionMonitor::StopStatusPoll() {
    timers_.KillTimer(timer::kStatusPoll);
}

ConnectionDisplay ConnectionMonitor::OnConnectionRefresh(uintptr_t wParam, intptr_t lParam) {
    if (refreshing_) {
        ConnectionDisplay skipped;
        skipped.skipped = true;
        return skipped;
    }
    refreshing_ = true;
    DeviceInfoReading reading{DeviceInfoReading::Outcome::NotRead};
    if (auto session = commands_.TryAcquire()) {
        (*session)->type = request::kReadDeviceInfo;
        const int result = session->DeviceRead();
        if (!BleActive()) {
            const DeviceRequest& r = session->request();
            reading = result != 0 ? DeviceInfoReading{DeviceInfoReading::Outcome::Read, static_cast<uint8_t>(r.U32(0)),
                                                      static_cast<uint8_t>(r.U32(4)), static_cast<uint8_t>(r.U32(8))}
                                  : DeviceInfoReading{DeviceInfoReading::Outcome::Failed};
        }
    }
    RefreshState refresh{state_.connectionKind, state_.online, variant_};
    const ConnectionDisplay display = EvaluateConnectionRefresh(reading, wParam, lParam, refresh);
    state_.online = refresh.online;
    variant_ = refresh.variant;
    refreshing_ = false;
    return display;
}

BleRegisterResult ConnectionMonitor::BleRegister() {
    return registration_.Register();
}

BleMessageOutcome ConnectionMonitor::OnBleMessage(uintptr_t code, std::string_view text) {
    BleMessageOutcome outcome;
    if (code >= ble::kInputReportFirst && code <= ble::kInputReportLast) {
        outcome = OnBleInput(text);
    } else if (code >= ble::kReadReplyFirst && code <= ble::kReadReplyLast) {
        outcome = replies_.Decode(code, text, variant_);
    } else {
        OnBleStatus(code, text, outcome);
    }
    trace::Write(std::string(text) + "\n");
    if (BleActive() && state_.selectedCount == 0) {
        state_.selectedCount = 1;
        outcome.switchToBle = true;
    }
    return outcome;
}

void ConnectionMonitor::OnBleStatus(uintptr_t code, std::string_view text, BleMessageOutcome& outcome) {
    switch (code) {
        case ble::kConnected:
            commands_.transport().SetBleActive(true);
            state_.batteryPending = true;
            registration_.OnConnected();
            break;
        case ble::kDisconnected:
            commands_.transport().SetBleActive(false);
            state_.bleRegistered = false;
            state_.selectedCount = 0;
            SelectActiveDevice(true);
            outcome.refreshDisplay = true;
            break;
        case ble::kConnectionFailed:
            outcome.quit = registration_.OnConnectionFailed();
            break;
        case ble::kRegistrationWanted:
            if (!state_.bleRegistered) {
                registration_.Register();
            }
            break;
        case ble::kBattery:
            if (!text.empty()) {
                outcome.battery = BatteryFromPercent(static_cast<uint8_t>(text[0]), true);
            }
            break;
        case ble::kStatusQueryWanted:
            registration_.OnStatusQueryWanted();
            break;
        default:
            break;
    }
}

BleMessageOutcome ConnectionMonitor::OnBleInput(std::string_view text) {
    const auto report = ParseHexText(text);
    if (!report || report->size() < InputReportProcessor::kMinLength) {
        trace::Write("BLE input report ignored: not a whole report\n");
        return {};
    }
    processor_.Process(state_.selectedIndex, *report, false, bleInput_);
    return {};
}

}  // namespace mousecfg
