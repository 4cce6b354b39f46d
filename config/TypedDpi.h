#pragma once

#include <optional>
#include <string_view>

namespace mousecfg {

struct DeviceFeature;

// The gear a DPI value typed by the user stands for: the first gear whose DPI text equals the text (tabs
// removed); else, for the text's number v, the first gear when v lies below the first gear's DPI, the last gear
// when v lies above the last gear's, otherwise the nearer of the two neighbouring gears (the higher one when v
// lies exactly halfway). A number written differently from a gear's text (leading zeros, a "+" sign) counts as
// that gear. Nothing when the text is not a positive whole number or the table is empty.
std::optional<int> GearForTypedDpi(const DeviceFeature& feature, std::string_view text);

}  // namespace mousecfg
