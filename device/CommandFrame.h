#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace mousecfg {

// Sizes of the frames and reports exchanged with the mouse.
inline constexpr size_t kFrameHeaderSize = 8;
inline constexpr size_t kMaxFrameSize = 40;                       // header + at most 32 data bytes
inline constexpr size_t kMaxFrameData = kMaxFrameSize - kFrameHeaderSize;
inline constexpr size_t kFeatureReportSize = 41;                  // report ID 6 + one frame, zero-filled
inline constexpr uint8_t kCommandReportId = 6;
inline constexpr uint8_t kReceiverReportId = 7;
inline constexpr size_t kReceiverReportSize = 16;
inline constexpr uint8_t kInputReportId = 5;
inline constexpr uint8_t kReadFlag = 0x80;                        // read codes are write codes with bit 7 set

using FeatureReport = std::array<uint8_t, kFeatureReportSize>;

// One command frame: two reserved zero bytes, command code, sequence number, index, offset (low byte first),
// data length, then the data. Report byte 0 is the report ID, so frame offset k is report byte k + 1.
struct CommandFrame {
    uint8_t code = 0;
    uint8_t sequence = 0;
    uint8_t index = 0;
    uint16_t offset = 0;
    uint8_t length = 0;
    std::array<uint8_t, kMaxFrameData> data{};

    // Frame offsets of the header fields.
    static constexpr size_t kCodeAt = 2;
    static constexpr size_t kSequenceAt = 3;
    static constexpr size_t kIndexAt = 4;
    static constexpr size_t kOffsetLowAt = 5;
    static constexpr size_t kOffsetHighAt = 6;
    static constexpr size_t kLengthAt = 7;
    static constexpr size_t kDataAt = 8;

    // The frame laid out in a feature report 6 (length capped at 32 data bytes).
    FeatureReport ToReport() const;
    // The frame carried by a feature report (bytes 1..40); the length is capped at 32.
    static CommandFrame FromReport(std::span<const uint8_t, kFeatureReportSize> report);
};

}  // namespace mousecfg
