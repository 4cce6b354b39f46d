#pragma once

#include <string>
#include <string_view>

namespace mousecfg::macroui {

// The value of a number field as the page reads it: the leading decimal number of the text (blanks and a sign
// allowed), 0 when there is none.
int FieldNumber(std::string_view text);

// The text the repeat count field shows for what the user typed: the count in plain decimal (leading zeros
// gone), at most 65535, and 1 for 0, a negative number or no number at all.
std::string RepeatCountText(std::string_view typed);

// The text a delay or distance field of the item dialog shows for what the user typed: the number limited to
// 0..`max`, rewritten in plain decimal when that differs from the typed text in length (so leading zeros go and
// an empty field reads 0); otherwise the typed text.
std::string ClampedFieldText(std::string_view typed, int max);

}  // namespace mousecfg::macroui
