#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace mousecfg {

// One HID interface (top-level collection) as the system lists it.
struct HidInterfaceInfo {
    std::string path;           // the path that Open() takes
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;     // of the top-level collection
    uint16_t usage = 0;
    std::string productString;  // UTF-8
    int interfaceNumber = -1;
    uint16_t busType = 0;       // 0x0003 USB, 0x0005 Bluetooth
    size_t inputReportLength = 64;  // bytes a read of one input report needs, report ID included
};

// An opened HID interface. Every method may be called from any thread; a read may block in one thread while
// another thread sets or gets feature reports or closes the handle.
class HidHandle {
public:
    virtual ~HidHandle() = default;

    // Sends a feature report; report[0] is its ID. Returns false when the device refused it or is gone.
    virtual bool SetFeatureReport(std::span<const uint8_t> report) = 0;
    // Gets a feature report; report[0] holds the ID on entry, the whole report is filled on success.
    virtual bool GetFeatureReport(std::span<uint8_t> report) = 0;
    // Reads one input report into `buffer`. Returns its length, 0 when `timeoutMs` passed without one
    // (a negative time-out waits without limit), -1 when the device is gone or the handle was closed.
    virtual int ReadInputReport(std::span<uint8_t> buffer, int timeoutMs) = 0;
    // Closes the handle; a read blocked in another thread returns -1. Later calls fail.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};

enum class HidAccess { Read, Write };

// The system's HID interfaces: real ones through hidapi, or the virtual mouse's.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    // The HID interfaces present now.
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // Opens an interface by path; nullptr when it is gone or cannot be opened.
    virtual std::shared_ptr<HidHandle> Open(const std::string& path, HidAccess access) = 0;
};

}  // namespace mousecfg
