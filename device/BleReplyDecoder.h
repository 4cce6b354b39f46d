#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "device/CommandSet.h"
#include "device/ConnectionRefresh.h"

namespace mousecfg {

class DeviceStateModel;
struct ConnectionState;

// What the main window must show after a message 2065 (BLE status, input or read reply). It only paints this.
struct BleMessageOutcome {
    std::optional<BatteryDisplay> battery;  // update the battery display
    std::optional<bool> charging;           // update the charging mark
    bool reloadConfiguration = false;       // the device variant changed
    bool refreshDisplay = false;            // run the connection display
    bool switchToBle = false;               // show the BLE connection (the first BLE message without HID device)
    bool quit = false;                      // the user confirmed the restart message: end the program
};

// Decodes the replies to reads made over BLE (message 2065 with wParam 0x600 | read type): the text is the reply
// report as hexadecimal bytes, its data bytes d0, d1, ... from report byte 9 on. Values go to the model; what must
// be drawn is returned. A text that is not hexadecimal bytes, a reply without data, or one whose length byte or
// text is too short for its type is ignored (traced). Main thread.
class BleReplyDecoder {
  public:
    BleReplyDecoder(CommandSet& commands, DeviceStateModel& model, ConnectionState& state);

    // `storedVariant` is the device variant last stored; a different one in a device-information reply replaces
    // it and asks for the configuration to be reloaded.
    BleMessageOutcome Decode(uintptr_t code, std::string_view text, uint8_t& storedVariant);

    // Data bytes each reply carries: device information 3, profile tags 8, active profile 1, DPI table 20,
    // lighting header 3, lighting record 25.
    static size_t DataNeeded(uint8_t readType, uint8_t subtype, uint8_t part);

    // Sends the effect-record read that a lighting header asked for while an apply run held the request block.
    // Called when a run has ended; nothing when no read waits or the block is taken again.
    void RunDeferredReads();
    bool HasDeferredRead() const { return deferredRecordMode_.has_value(); }

  private:
    // What the last request asked for: a system setting's subtype, a lighting read's part.
    struct ReplyKind {
        uint8_t subtype = 0;
        uint8_t part = 0;
    };

    // The request a reply of read type `type` answers: from the index and offset its header echoes, else from
    // what the last BLE read of that type asked for. `reply` holds at least a whole frame header.
    ReplyKind IdentifyReply(uint8_t type, const std::vector<uint8_t>& reply) const;
    void ReadLightingRecord(CommandSet::Session& session);
    BleMessageOutcome DeviceInfo(const uint8_t* d, uint8_t& storedVariant);
    void DpiTable(const uint8_t* d);
    // Hands the header to the model; returns the mode byte (bit 6 cleared above 137).
    uint8_t LightingHeader(const uint8_t* d);
    void LightingRecord(const uint8_t* d);

    CommandSet& commands_;
    DeviceStateModel& model_;
    ConnectionState& state_;
    std::optional<uint8_t> deferredRecordMode_;  // the mode whose effect record is still to be asked for
};

}  // namespace mousecfg
