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
// message 2065. Waits for the request block; returns the write's result.
int SendBleRegister(CommandSet& commands, const std::string& deviceNames, MessageSink& window);

// The registration of the BLE devices with the BLE link: the request itself, the five retries 10 s apart after
// failed connections (a one-shot window timer, never a sleep) and the restart message on the sixth failure.
class BleRegistration {
  public:
    // `registrationCheck` is the result of the link's registration check (CheckBleRegistration()).
    BleRegistration(ConnectionState& state, CommandSet& commands, const FindDev& catalogue, MessageSink& window,
                    WindowTimers& timers, MessageBoxes& boxes, int registrationCheck);

    // Asks the link to look for the devices of the BLE device list and report to the window with message 2065.
    // Called on the main thread and by input readers (when the receiver's mouse goes off); the message window is
    // shown only when the registration check failed, which it never does on Linux.
    BleRegisterResult Register();
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

    static constexpr int kMaxRetries = 5;

  private:
    ConnectionState& state_;
    CommandSet& commands_;
    const FindDev& catalogue_;
    MessageSink& window_;
    WindowTimers& timers_;
    MessageBoxes& boxes_;
    const int registrationCheck_;
};

}  // namespace mousecfg
