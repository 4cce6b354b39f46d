#pragma once

#include "device/MacroBlock.h"

namespace mousecfg {

// The budget of the estimate below: the image of a macro must stay within 512 bytes, and one more key item
// takes at most 6.
inline constexpr int kMacroImageBudget = 500;

// The size the mouse's image of the first `count` items of a macro would take, estimated as recording and the
// editor count it: a 4-byte header and, per item, 2 bytes when its delay is below 128 ms and 6 otherwise. Exact
// for key and button items; pointer moves and DPI switches take more on the mouse.
int EstimatedImageSize(const MacroBlock& block, int count);

// Whether the macro's real image (its items mapped and encoded for the mouse) fits the mouse's 512 bytes.
bool FitsOnMouse(const MacroBlock& block);

}  // namespace mousecfg
