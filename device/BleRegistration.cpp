#include "device/BleRegistration.h"

#include <utility>

#include "device/CommandSet.h"
#include "device/ConnectionState.h"
#include "device/DeviceMessages.h"
#include "device/FindDev.h"
#include "device/ReportTransport.h"
#include "platform/MessageBoxes.h"
#include "platform/Trace.h"
#include "platform/WindowTimers.h"

namespace mousecfg {
namespace {

// Both messages end the program when confirmed.
constexpr const char* kUnavailableText = "蓝牙不可用";
constexpr const char* kRestartText = "蓝牙连接失败，重启软件";

int WriteBleRegister(CommandSet::Session& session, const std::string& deviceNames, MessageSink& window) {
    session->type = request::kBleRegister;
    session->bleDeviceString = deviceNames;
    session->bleWindow = &window;
    session->SetU32(8, msg::kBleStatus);
    return session.DeviceWrite();
}

void WriteBleQuery(CommandSet::Session& session) {
    session->type = request::kBleQuery;
    const int status = session.DeviceWrite();
    trace::Printf("BleQuery:%d\n", status);
}

}  // namespace

int SendBleRegister(CommandSet& commands, const std::string& deviceNames, MessageSink& window) {
    auto session = commands.Acquire();
    return WriteBleRegister(session, deviceNames, window);
}

BleRegistration::BleRegistration(ConnectionState& state, CommandSet& commands, const FindDev& catalogue,
                                 MessageSink& window, WindowTimers& timers, MessageBoxes& boxes, int registrationCheck)
    : state_(state),
      commands_(commands),
      catalogue_(catalogue),
      window_(window),
      timers_(timers),
      boxes_(boxes),
      registrationCheck_(registrationCheck) {}

BleRegisterResult BleRegistration::Register(bool mayWait) {
    if (registrationCheck_ == 0) {
        boxes_.Show(MessageBoxRequest{"Tip", kUnavailableText, "OK", "", true});
        return BleRegisterResult::Unavailable;
    }
    ReportTransport& transport = commands_.transport();
    if (transport.BleActive()) {
        return BleRegisterResult::AlreadyActive;
    }
    if (transport.BleStatus() != 0) {
        return BleRegisterResult::NoLink;
    }
    state_.bleRegistered = true;
    if (mayWait) {
        SendBleRegister(commands_, catalogue_.BleDeviceString(), window_);
    } else if (auto session = commands_.TryAcquire()) {
        WriteBleRegister(*session, catalogue_.BleDeviceString(), window_);
    } else {
        registrationDeferred_ = true;  // an apply run holds the block: the window must not wait for it
    }
    return BleRegisterResult::Requested;
}

void BleRegistration::OnConnected() {
    state_.bleFailures = 0;
    timers_.KillTimer(timer::kBleRetry);
}

bool BleRegistration::OnConnectionFailed() {
    state_.bleRegistered = false;
    if (state_.bleFailures < kMaxRetries) {
        ++state_.bleFailures;
        timers_.SetTimer(timer::kBleRetry, timer::kBleRetryDelay);
        return false;
    }
    state_.bleFailures = 0;
    return boxes_.Show(MessageBoxRequest{"Tip", kRestartText, "OK", "", true}) == 1;
}

void BleRegistration::OnStatusQueryWanted() {
    if (auto session = commands_.TryAcquire()) {
        WriteBleQuery(*session);
    } else {
        queryDeferred_ = true;
    }
    state_.bleRegistered = false;
    Register();
}

void BleRegistration::RunDeferred() {
    if (!HasDeferred()) {
        return;
    }
    auto session = commands_.TryAcquire();
    if (!session) {
        return;  // taken again: the next run's end tries again
    }
    if (std::exchange(queryDeferred_, false)) {
        WriteBleQuery(*session);
    }
    if (std::exchange(registrationDeferred_, false) && state_.bleRegistered && !commands_.transport().BleActive()) {
        WriteBleRegister(*session, catalogue_.BleDeviceString(), window_);
    }
}

bool BleRegistration::OnTimer(int id) {
    if (id != timer::kBleRetry) {
        return false;
    }
    timers_.KillTimer(timer::kBleRetry);
    Register();
    return true;
}

}  // namespace mousecfg
