#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/MacroBlock.h"

namespace mousecfg {

class ReportTransport;

inline constexpr int kMacroSlotCount = 16;
inline constexpr size_t kMaxMacroImage = 512;  // header included: at most 16 pages of 32 bytes
inline constexpr size_t kMacroPageSize = 32;

// Converts the item codes of the first `num` items to the mouse's codes: mouse buttons 0xF1..0xF5 become
// 0xE8 (left), 0xEA (middle), 0xE9 (right), 0xEB, 0xEC; a pointer move 0xF6 becomes 0xFE and a DPI switch
// 0xF8 becomes 0xFD; every other code stays. Works on a copy.
MacroBlock MapItemCodes(const MacroBlock& block);

// The image the mouse stores for a macro whose codes have been mapped: macRpt (u16 LE), the number of item
// bytes that follow (u16 LE), then the items packed without gaps. Keys and buttons (0x04..0xEC) take 2 bytes,
// or 6 when their delay exceeds 127 ms; DPI switches (0xFD) 4 or 8 bytes; pointer moves (0xFE) 6 or 10 bytes.
// Items the mouse has no encoding for (pure delays, wheel, LED, media, 0xFB and keys without a usage ID) are
// left out, and their delay is added to the item before them so that the timing is kept. Negative delays count
// as 0; delays longer than the format holds are cut to its maximum.
// Returns nullopt when the image would exceed 512 bytes.
std::optional<std::vector<uint8_t>> EncodeMacro(const MacroBlock& mappedBlock);

// Writes a mapped macro to macro slot `slot` of the mouse in pages of 32 bytes (code 0x08, index = slot,
// offset = 32 x page). Returns the transport's result for the last page, 0 when `slot` is not 0..15, and -1
// when the image exceeds 512 bytes; nothing is sent in those two cases. May throw BleError (transport).
int WriteMacro(ReportTransport& transport, int slot, const MacroBlock& mappedBlock);

}  // namespace mousecfg
