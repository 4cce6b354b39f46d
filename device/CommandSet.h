#pragma once

#include <array>
#include <atomic>
#include <mutex>
#include <optional>

#include "device/DeviceRequest.h"

namespace mousecfg {

class BleLink;
class ReportTransport;

// The mouse's vocabulary: turns the request block into command frames (DeviceWrite) and decodes the mouse's
// replies into it (DeviceRead). There is one request block per mouse link, and only one request may be in
// progress at a time: the block is reached only through a Session, which holds the command set's lock from
// filling the request to the end of the dispatch.
class CommandSet {
public:
    explicit CommandSet(ReportTransport& transport);
    CommandSet(const CommandSet&) = delete;
    CommandSet& operator=(const CommandSet&) = delete;

    // Exclusive use of the request block. Movable, not copyable; the lock is released on destruction.
    class Session {
    public:
        DeviceRequest& request() { return set_->request_; }
        DeviceRequest* operator->() { return &set_->request_; }

        // Performs the write named by type/subtype and returns the result of its last frame (1 sent,
        // 0 not sent); 0 for requests that send nothing; -1 for a macro image over 512 bytes.
        // BleRegister returns 0, BleQuery the link's status. A failing BLE link call is traced and gives 0.
        int DeviceWrite();
        // Performs the read named by type/subtype. On HID it runs the read exchange and decodes the reply into
        // the parameter area, returning 1 or 0 (the lighting read: the result of its record exchange, which runs
        // for the mode held before when the header went unanswered). On the BLE path it only sends the request, waits for the
        // reply to come back as a message, and returns 1 (the reply is decoded by its receiver).
        int DeviceRead();

    private:
        friend class CommandSet;
        Session(CommandSet* set, std::unique_lock<std::mutex> lock) : set_(set), lock_(std::move(lock)) {}
        CommandSet* set_;
        std::unique_lock<std::mutex> lock_;
    };

    // Waits until no other request is in progress. Must not be called by a thread that holds a Session.
    Session Acquire();
    // A session if no other request is in progress, else nothing (callers on the user-interface thread use
    // this so that they never wait for the mouse).
    std::optional<Session> TryAcquire();

    ReportTransport& transport() { return transport_; }

    // What the last read of one type sent over BLE asked for. Its reply comes back later as a message, and a mouse
    // whose replies do not echo the request's index and offset is understood by this copy.
    struct BleReadKind {
        uint8_t subtype = 0;  // of a system-setting read
        uint8_t part = 0;     // of a lighting read
    };
    // The copy for read type `type` (the low four bits count); zeros before the first such read. Any thread: it
    // is kept apart from the request block, which an apply run may hold while the replies arrive.
    BleReadKind LastBleRead(uint8_t type) const;

private:
    int Write(DeviceRequest& request);
    // The BLE link when BLE can be used; nullptr when its creation failed. Throws BleError(E_POINTER) when
    // creation succeeded but no link is set.
    BleLink* UsableLink() const;
    int Read(DeviceRequest& request);
    int WriteSystemSetting(const DeviceRequest& request);
    int WriteLightEffect(const DeviceRequest& request);
    int ReadOverHid(DeviceRequest& request);
    int ReadOverBle(DeviceRequest& request);
    int ReadLightEffect(DeviceRequest& request);

    void NoteBleRead(const DeviceRequest& request);

    ReportTransport& transport_;
    std::mutex busy_;
    DeviceRequest request_;  // used only by the holder of busy_
    // Per read type: subtype | part << 8 of its last read over BLE. Written by the holder of busy_, read by anyone.
    std::array<std::atomic<uint16_t>, 16> lastBleReads_{};
};

}  // namespace mousecfg
