#pragma once

#include <string_view>

#include "platform/Status.h"

namespace mousecfg::cli {

// A whole decimal number from `min` to `max`; the failure names `what` and the text.
Result<int> ParseNumber(std::string_view text, int min, int max, std::string_view what);
// A button of a model with `keyCount` buttons: below that count, or 16 and 17 (the wheel, which every model
// has). The failure names the text.
Result<int> ParseButton(std::string_view text, int keyCount);
// "on"/"off" (also "1"/"0", "yes"/"no", "true"/"false").
Result<bool> ParseSwitch(std::string_view text, std::string_view what);
// A colour as six hexadecimal digits RRGGBB, optionally after "#" or "0x": 0xRRGGBB.
Result<int> ParseColour(std::string_view text, std::string_view what);

}  // namespace mousecfg::cli
