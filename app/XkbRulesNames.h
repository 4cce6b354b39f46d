#pragma once

#include <optional>
#include <string_view>

#include "platform/KeyboardLayout.h"

namespace mousecfg::app {

// The keyboard layout an X session names in the root window's property "_XKB_RULES_NAMES" (rules, model, layout,
// variant and options as NUL-separated texts, as the session's keyboard settings write it). Nothing when the
// value does not name a layout.
std::optional<KeyboardLayout::Names> ParseXkbRulesNames(std::string_view value);

}  // namespace mousecfg::app
