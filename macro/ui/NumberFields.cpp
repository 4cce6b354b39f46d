#include "macro/ui/NumberFields.h"

#include <algorithm>

#include "platform/PrivateProfile.h"

namespace mousecfg::macroui {

int FieldNumber(std::string_view text) {
    return ini::Atoi(text);
}

std::string RepeatCountText(std::string_view typed) {
    const int count = FieldNumber(typed);
    return std::to_string(count < 1 ? 1 : std::min(count, 65535));
}

std::string ClampedFieldText(std::string_view typed, int max) {
    const int value = std::clamp(FieldNumber(typed), 0, max);
    std::string decimal = std::to_string(value);
    if (value != FieldNumber(typed) || decimal.size() != typed.size()) {
        return decimal;
    }
    return std::string(typed);
}

}  // namespace mousecfg::macroui
