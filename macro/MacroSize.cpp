#include "macro/MacroSize.h"

#include <algorithm>

#include "device/MacroStream.h"

namespace mousecfg {

int EstimatedImageSize(const MacroBlock& block, int count) {
    int bytes = 4;
    const int items = std::clamp(count, 0, MacroBlock::kMaxItems);
    for (int i = 0; i < items; ++i) {
        bytes += block.macDly[static_cast<size_t>(i)] < 128 ? 2 : 6;
    }
    return bytes;
}

bool FitsOnMouse(const MacroBlock& block) {
    return EncodeMacro(MapItemCodes(block)).has_value();
}

}  // namespace mousecfg
