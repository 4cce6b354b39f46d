#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace mousecfg {

class MessageSink;

// Result codes of the BLE link's calls, with the values their callers and traces show.
using HResult = int32_t;
inline constexpr HResult kS_OK = 0;
inline constexpr HResult kE_POINTER = static_cast<HResult>(0x80004003u);
inline constexpr HResult kE_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154u);
inline bool Failed(HResult result) { return result < 0; }

// Identity of the link's call interface, carried by every error it raises.
inline constexpr const char* kBleLinkInterfaceId = "{19DA4098-128B-4078-BD71-489DA44F73E6}";

// A failing call of the BLE link: its result code and the interface it came from.
class BleError : public std::runtime_error {
public:
    explicit BleError(HResult code);
    HResult code() const { return code_; }
    const char* interfaceId() const { return kBleLinkInterfaceId; }

private:
    HResult code_;
};

// The Bluetooth LE link to the mouse. All traffic over BLE passes through these three calls; what the link
// learns arrives later as message 2065 (BleMessage codes) posted to the window given to RegisterDevices.
// Calls come from the thread that talks to the mouse; the link posts from threads of its own.
class BleLink {
public:
    virtual ~BleLink() = default;
    // Starts looking for the devices named in `deviceNames` (comma-separated) and reports to `window` with
    // message `messageNumber`.
    virtual HResult RegisterDevices(const std::string& deviceNames, MessageSink* window, int messageNumber) = 0;
    // The link's status; `*status` is what BleQuery returns.
    virtual HResult QueryStatus(int16_t* status) = 0;
    // Sends one report given as hexadecimal text (two lower-case digits and a blank per byte);
    // `*sent` is non-zero when it went out.
    virtual HResult SendFrame(const std::string& hexText, int16_t* sent) = 0;
};

// The outcome of creating the process's BLE link: the link (none on failure) and the creation's result code,
// which becomes `bleStatus` (0 = usable).
struct BleLinkCreation {
    std::unique_ptr<BleLink> link;
    HResult status = kClassNotRegistered;
};

class HidBackend;

// Creates the platform's BLE link. On Linux it reaches a mouse paired over Bluetooth LE through its hidraw node
// (HidrawBleLink, on `backend`, which must outlive it) and follows the system's hidraw changes; without such a
// mouse registering posts nothing and BLE requests send nothing, as when there is no link at all.
BleLinkCreation CreatePlatformBleLink(HidBackend& backend);

// The component registration check: 1 when the link counts as registered. There is nothing to register on
// Linux, so it is always 1; whether BLE can be used is told by `bleStatus` instead.
int CheckBleRegistration();

}  // namespace mousecfg
