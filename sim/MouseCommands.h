#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/CommandFrame.h"
#include "sim/VirtualMouse.h"

namespace mousecfg::sim {

// The firmware's command decoder, kept apart from the locking and logging of VirtualMouse so that it works on
// plain memory. None of these functions is thread-safe on its own: the caller holds the mouse's lock.

// The frame carried by a feature report 6, or nullopt when the report is not 41 bytes, not ID 6, has non-zero
// reserved bytes or announces more than 32 data bytes. The length is checked before CommandFrame caps it, so
// an announced 33 is refused rather than read as 32.
std::optional<CommandFrame> DecodeCommandReport(std::span<const uint8_t> report);

// Applies a write frame (code below 0x80) to the mouse's memory: system settings and profile tags to `system`,
// everything else to the active profile. Returns false, changing nothing and saying why in `refusal`, when the
// frame is not a write the mouse takes: an unknown code, an index out of range, an offset or length outside the
// addressed table, a DPI table whose level number is not 1..8 or whose mask enables no level, a lighting header
// whose mode is none of the lighting modes, or a macro page that does not continue the slot's image (an offset
// that is not the next multiple of 32) or disagrees with the image's length field.
bool ApplyWrite(const CommandFrame& frame, SystemMemory& system, std::array<ProfileMemory, kProfiles>& profiles,
                std::string& refusal);

// The data bytes answering a read frame (code with bit 7 set), or nullopt when the frame is not a valid read.
// `deviceInfo` is the three-byte answer of the device-information read, which depends on state outside memory.
std::optional<std::vector<uint8_t>> ReadData(const CommandFrame& frame, const SystemMemory& system,
                                             const ProfileMemory& active, const std::array<uint8_t, 3>& deviceInfo);

// The reply report to `request`: same code, sequence, index and offset, length = data size. Without `echo` the
// header carries only the length (code, sequence, index and offset stay 0), as some mice answer.
FeatureReport BuildReply(const CommandFrame& request, std::span<const uint8_t> data, bool echo = true);

}  // namespace mousecfg::sim
