#include "device/MacroBlock.h"

#include <algorithm>

namespace mousecfg {
namespace {

constexpr size_t kRptTypeAt = 60;
constexpr size_t kMacRptAt = 62;
constexpr size_t kNumAt = 64;
constexpr size_t kNumXYAt = 66;
constexpr size_t kNumWhlAt = 68;
constexpr size_t kNumCpiAt = 70;
constexpr size_t kNumMediaAt = 72;
constexpr size_t kNumLedAt = 74;
constexpr size_t kNumUnnamedAt = 75;
constexpr size_t kYStepEnAt = 76;
constexpr size_t kYStepAt = 77;
constexpr size_t kMacStaAt = 82;
constexpr size_t kMacValAt = kMacStaAt + MacroBlock::kMaxItems;
constexpr size_t kExtValAt = kMacValAt + MacroBlock::kMaxItems;
constexpr size_t kMacDlyAt = kExtValAt + 4 * MacroBlock::kMaxItems + 2;
static_assert(kMacDlyAt + 4 * MacroBlock::kMaxItems <= MacroBlock::kSerializedSize);

void Put16(std::span<uint8_t> out, size_t at, uint16_t value) {
    out[at] = static_cast<uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

uint16_t Get16(std::span<const uint8_t> in, size_t at) { return static_cast<uint16_t>(in[at] | in[at + 1] << 8); }

}  // namespace

void MacroBlock::Serialize(std::span<uint8_t, kSerializedSize> out) const {
    std::fill(out.begin(), out.end(), 0);
    out[kRptTypeAt] = rptType;
    Put16(out, kMacRptAt, macRpt);
    Put16(out, kNumAt, num);
    Put16(out, kNumXYAt, numXY);
    Put16(out, kNumWhlAt, numWhl);
    Put16(out, kNumCpiAt, numCpi);
    Put16(out, kNumMediaAt, numMedia);
    out[kNumLedAt] = numLed;
    out[kNumUnnamedAt] = numUnnamed;
    out[kYStepEnAt] = yStepEn;
    out[kYStepAt] = yStep;
    std::copy(macSta.begin(), macSta.end(), out.begin() + kMacStaAt);
    std::copy(macVal.begin(), macVal.end(), out.begin() + kMacValAt);
    for (size_t i = 0; i < kMaxItems; ++i) {
        Put16(out, kExtValAt + 4 * i, extVal[i].x);
        Put16(out, kExtValAt + 4 * i + 2, extVal[i].y);
        const auto delay = static_cast<uint32_t>(macDly[i]);
        for (size_t b = 0; b < 4; ++b) {
            out[kMacDlyAt + 4 * i + b] = static_cast<uint8_t>(delay >> (8 * b));
        }
    }
}

MacroBlock MacroBlock::Deserialize(std::span<const uint8_t, kSerializedSize> in) {
    MacroBlock block;
    block.rptType = in[kRptTypeAt];
    block.macRpt = Get16(in, kMacRptAt);
    block.num = Get16(in, kNumAt);
    block.numXY = Get16(in, kNumXYAt);
    block.numWhl = Get16(in, kNumWhlAt);
    block.numCpi = Get16(in, kNumCpiAt);
    block.numMedia = Get16(in, kNumMediaAt);
    block.numLed = in[kNumLedAt];
    block.numUnnamed = in[kNumUnnamedAt];
    block.yStepEn = in[kYStepEnAt];
    block.yStep = in[kYStepAt];
    std::copy_n(in.begin() + kMacStaAt, kMaxItems, block.macSta.begin());
    std::copy_n(in.begin() + kMacValAt, kMaxItems, block.macVal.begin());
    for (size_t i = 0; i < kMaxItems; ++i) {
        block.extVal[i] = {Get16(in, kExtValAt + 4 * i), Get16(in, kExtValAt + 4 * i + 2)};
        uint32_t delay = 0;
        for (size_t b = 0; b < 4; ++b) {
            delay |= static_cast<uint32_t>(in[kMacDlyAt + 4 * i + b]) << (8 * b);
        }
        block.macDly[i] = static_cast<int32_t>(delay);
    }
    return block;
}

}  // namespace mousecfg
