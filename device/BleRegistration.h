#pragma once

#include <string>

#include "device/BleLink.h"

namespace mousecfg {

class CommandSet;
class FindDev;
class MessageBoxes;
class MessageSink;
class WindowTimers;
struct ConnectionState;

// What a BleRegister request did.
enum class BleRegisterResult {
    Unavailable,    // the link is not registered with the system: the "unavailable" message was shown
    AlreadyActive,  // the BLE path is in force: nothing to do
    NoLink,         // no BLE link on this system (bleStatus is not 0): nothing to do
    Requested       // the link was asked to look for the BLE device list's devices
};

// The BleRegister request itself: the link looks for `deviceNames` (comma-separated) and reports to `window` with
// message 2065. Waits for the request block; returns the write's result. Not for the user-interface thread.
int SendBleRegister(CommandSet& commands, const std::string& deviceNames, MessageSink& window);

// The registration of the BLE devices with the BLE link: the request itself, the five retries 10 s apart after
// failed connections (a one-shot window timer, never a sleep) and the restart message on the sixth failure.
// On the main thread nothing here waits for the request block: while an apply run holds it, the registration
// and the status query are kept and made by RunDeferred when the run has ended.
class BleRegistration {
  public:
    // `registrationCheck` is the result of the link's registration check (CheckBleRegistration()).
    BleRegistration(ConnectionState& state, CommandSet& commands, const FindDev& catalogue, MessageSink& window,
                    WindowTimers& timers, MessageBoxes& boxes, int registrationCheck);

    // Asks the link to look for the devices of the BLE device list and report to the window with message 2065:
    // at once when the request block is free, else as soon as the run holding it has ended (Requested either
    // way). Main thread. Input readers (when the receiver's mouse goes off) pass `mayWait`, waiting for the block
    // instead. The message window is shown only when the registration check failed, which it never does on Linux.
    BleRegisterResult Register(bool mayWait = false);
    // Message 2065 code 1: the link connected; the failure count starts again.
    void OnConnected();
    // Message 2065 code 3. The first five failures in a row each arm a registration 10 s later; the sixth shows
    // the restart message and starts counting again. True when the user confirmed that message (the program
    // then ends). Main thread.
    bool OnConnectionFailed();
    // Message 2065 code 17: the link's status, then a new registration. Main thread.
    void OnStatusQueryWanted();
    // The retry timer: registers again. False for other timers. Main thread.
    bool OnTimer(int id);
    // Makes the status query and the registration that waited for the request block, when it is free now (an
    // apply run has ended). Main thread.
    void RunDeferred();
    bool HasDeferred() const { return queryDeferred_ || registrationDeferred_; }

    static constexpr int kMaxRetries = 5;

  private:
    ConnectionState& state_;
    CommandSet& commands_;
    const FindDev& catalogue_;
    MessageSink& window_;
    WindowTimers& timers_;
    MessageBoxes& boxes_;
    const int registrationCheck_;
    bool queryDeferred_ = false;         // main thread only
    bool registrationDeferred_ = false;  // main thread only
};

}  // namespace mousecfg
