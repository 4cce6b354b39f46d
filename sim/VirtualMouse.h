#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/CommandFrame.h"

namespace mousecfg::sim {

inline constexpr int kProfiles = 4;          // the mouse keeps four profile slots (the program uses 0..2)
inline constexpr int kKeySlots = 16;
inline constexpr int kExtraKeySlots = 4;
inline constexpr int kMacroSlots = 16;
inline constexpr int kMacroSlotSize = 512;
inline constexpr int kLightRecordSize = 25;
inline constexpr int kLightRecords = 17;     // header (record 0) and effect records 1..16

// What the mouse stores for one profile. Writes land in the active profile: frames carry no profile number.
struct ProfileMemory {
    uint8_t reportRate = 1;
    std::array<std::array<uint8_t, 4>, kKeySlots> keys{};
    std::array<std::array<uint8_t, 4>, kExtraKeySlots> extraKeys{};
    std::array<uint8_t, 20> dpiTable{};                  // the 20 data bytes of the DPI table command
    std::array<uint8_t, 24> dpiColours{};                // eight colour triples as sent
    std::array<std::array<uint8_t, kLightRecordSize>, kLightRecords> light{};  // [0] header, [m] mode m
    std::array<std::array<uint8_t, kMacroSlotSize>, kMacroSlots> macros{};
    // Highest byte written + 1, per slot; a page at offset 0 starts a new image and resets it.
    std::array<uint16_t, kMacroSlots> macroBytesWritten{};

    bool operator==(const ProfileMemory&) const = default;
};

// Settings the mouse keeps once for all profiles.
struct SystemMemory {
    std::array<uint16_t, kProfiles> profileTags{};  // written and read big-endian
    uint8_t activeProfile = 0;
    uint16_t sleepSeconds = 0;       // code 0x02 index 3
    uint16_t powerDownSeconds = 0;   // code 0x02 index 4
    uint8_t sensorFlags = 0;         // code 0x02 index 5
    uint8_t liftOff = 0;             // code 0x02 index 6
    uint8_t chargeCount = 0;         // read with code 0x82 index 7
    std::array<uint8_t, 8> deviceOptions{};  // code 0x0A, index 1..7

    bool operator==(const SystemMemory&) const = default;
};

// One frame as the mouse saw it.
struct FrameLogEntry {
    enum class Direction { Received, Replied } direction;
    FeatureReport report;
    bool accepted = true;  // false when the mouse rejected it (see RejectCount)
};

// The state the mouse reports in its input report 5 and device-information reply.
struct MouseStatus {
    bool linked = true;        // behind a receiver: whether the mouse is linked to it
    uint8_t battery = 80;      // percent
    bool charging = false;
    uint8_t variant = 6;       // the device variant (sensor chip number) of the device-information reply
    uint16_t receiverValue = 0x0102;  // bytes 14..15 of feature report 7, low byte first
};

// The mouse's firmware as the program sees it: decodes every command frame, keeps its memory per profile,
// answers reads, and produces input reports. It is strict about what it receives, refusing what a real mouse
// would (header, lengths, offsets, slot ranges, DPI level numbers and masks, lighting modes, macro pages out of
// order or disagreeing with their image's length field), and counts each refusal with its reason instead of
// storing anything: tests that drive the program against it expect no refusals at all.
// Thread-safe: frames, inspection and input reports may come from different threads.
class VirtualMouse {
public:
    VirtualMouse();

    // --- The wire (called by the simulated HID interfaces and the simulated BLE link) ---
    // A feature report sent by the host. Report 6 carries a frame; returns false (and counts a rejection)
    // for a report that is not 41 bytes long, not ID 6, or not a valid frame. A write changes the mouse's
    // memory; a read request makes its reply pending for the next GetFeature. While delivery is disabled the
    // frame is dropped (true is returned: the receiver took it) and only the device-information read is
    // answered, by the receiver, with link state 0.
    bool SetFeature(std::span<const uint8_t> report);
    // A feature report asked for by the host: report 6 gives the reply to the last read request (a reply of
    // length 0 when none is pending, after N empty replies, or always when replies are switched off);
    // report 7 gives 16 bytes with receiverValue in bytes 14..15 (low byte first). Returns false for other
    // IDs or sizes (report 6 needs a 41-byte buffer, report 7 a 16-byte one).
    bool GetFeature(std::span<uint8_t> report);
    // The reply to the read request carried by `report`, computed at once (the BLE link answers this way);
    // nullopt when it is not a valid read request, when replies are switched off, or when delivery is disabled
    // (except device information). The reply is logged, and a pending reply equal to it is taken, so the
    // same answer is not given twice.
    std::optional<FeatureReport> AnswerRead(std::span<const uint8_t> report);
    // Counts a refusal of something the mouse could not even read as a report (the BLE link's malformed text).
    void Reject(const std::string& why);

    // --- Test controls ---
    void SetEmptyReplies(int count);   // the next `count` feature report 6 reads return length 0
    void SetRepliesEnabled(bool enabled);  // false: every read gets length 0 (the mouse never answers)
    // Whether replies echo their request's code, sequence, index and offset (the default) or carry only the
    // length and the data.
    void SetEchoHeaders(bool echo);
    void SetStatus(const MouseStatus& status);
    MouseStatus Status() const;
    // Accept (true) or drop (false) frames: a mouse behind a receiver that is not linked drops them. The link
    // state of input reports and device information is 0 while delivery is disabled; a change of it is
    // reported to the input listeners, as a receiver reports its mouse linking or unlinking.
    void SetDeliveryEnabled(bool enabled);

    // --- Input reports 5 ---
    // Builds the input report the mouse sends now (16 bytes, ID 5): byte 1 link state, bytes 2..3 the 16 button
    // bits, byte 6 active profile, byte 7 the profile's report-rate code, byte 8 its DPI level number (as stored
    // in the DPI table), byte 9 the extra state byte, byte 10 and the u16 values (LE) at 11 and 13.
    std::vector<uint8_t> InputReport() const;
    // Each setter changes the state and then reports the new input report to the listeners.
    void SetButton(int button, bool pressed);     // 0..15; other numbers are ignored
    void SetActiveProfile(uint8_t profile);       // as if changed with the mouse's own button; 0..3, else ignored
    void SetDpiLevelNumber(uint8_t levelPlusOne); // byte 1 of the active profile's DPI table
    void SetReportRateCode(uint8_t code);
    void SetExtraState(uint8_t byte9, uint8_t byte10, uint16_t valueF, uint16_t valueG);
    // Called with every new input report produced by the setters above (the simulated input interface and the
    // simulated BLE link subscribe). The callback runs on the caller's thread without the mouse's lock held.
    void OnInputReport(std::function<void(const std::vector<uint8_t>&)> listener);
    // The same, returning an id for RemoveInputListener. Listeners that refer to objects which may die before
    // the mouse must be added this way and removed before those objects go.
    using ListenerId = uint64_t;
    ListenerId AddInputListener(std::function<void(const std::vector<uint8_t>&)> listener);
    // After this returns the listener is not called again and no call of it is running on another thread
    // (it waits for one to finish; a listener may remove itself). Unknown ids are ignored.
    void RemoveInputListener(ListenerId id);

    // --- Inspection ---
    SystemMemory System() const;
    ProfileMemory Profile(int profile) const;
    std::vector<FrameLogEntry> Log() const;
    void ClearLog();
    // Reports refused since construction (ClearLog does not reset it).
    int RejectCount() const;
    // Why they were refused, oldest first (the first 100).
    std::vector<std::string> Rejections() const;
    // Frames received with this command code (writes and reads, rejected ones included), counted since the last
    // ClearLog. Dropped frames never reached the mouse and are not counted.
    int CountFrames(uint8_t code) const;
    // Frames dropped because delivery was disabled (they appear in no log).
    int DroppedCount() const;

private:
    struct Listener {
        std::function<void(const std::vector<uint8_t>&)> callback;  // fixed after creation
        std::vector<std::thread::id> running;                        // guarded by mutex_
    };
    using ListenerCalls = std::vector<std::shared_ptr<Listener>>;

    void LogLocked(FrameLogEntry::Direction direction, std::span<const uint8_t> report, bool accepted);
    void RejectLocked(std::string why);
    // Takes a report that is a command frame; false with the reason when the mouse refuses it.
    bool TakeFrameLocked(std::span<const uint8_t> report, std::string& refusal);
    bool LinkedLocked() const;
    std::array<uint8_t, 3> DeviceInfoLocked() const;
    std::vector<uint8_t> InputReportLocked() const;
    // Marks every listener as running on this thread; the caller then passes the result to Notify.
    ListenerCalls BeginNotifyLocked();
    void Notify(const ListenerCalls& calls, const std::vector<uint8_t>& report);
    // Runs `change` under the lock, then tells the listeners the resulting input report.
    template <typename Change>
    void ChangeState(Change change);

    // State below is protected by mutex_.
    mutable std::mutex mutex_;
    std::condition_variable listenerDone_;  // a listener call finished
    SystemMemory system_;
    std::array<ProfileMemory, kProfiles> profiles_;
    MouseStatus status_;
    std::optional<FeatureReport> pendingReply_;
    int emptyReplies_ = 0;
    bool repliesEnabled_ = true;
    bool echoHeaders_ = true;
    bool deliveryEnabled_ = true;
    uint16_t buttons_ = 0;
    uint8_t extraByte9_ = 0, extraByte10_ = 0;
    uint16_t valueF_ = 0, valueG_ = 0;
    std::vector<FrameLogEntry> log_;
    int rejects_ = 0;
    std::vector<std::string> rejections_;
    int dropped_ = 0;
    std::map<ListenerId, std::shared_ptr<Listener>> listeners_;
    ListenerId nextListenerId_ = 1;
};

}  // namespace mousecfg::sim
