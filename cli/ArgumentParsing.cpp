#include "cli/ArgumentParsing.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace mousecfg::cli {

Result<int> ParseNumber(std::string_view text, int min, int max, std::string_view what) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
        return Status::Error(std::string(what) + " must be a number from " + std::to_string(min) + " to " +
                             std::to_string(max) + ", not '" + std::string(text) + "'");
    }
    return value;
}

Result<int> ParseButton(std::string_view text, int keyCount) {
    constexpr int kWheelUp = 16;
    constexpr int kWheelDown = 17;
    const int last = std::max(keyCount, 1) - 1;
    const auto button = ParseNumber(text, 0, kWheelDown + 2, "BUTTON");
    if (button && (*button < keyCount || *button == kWheelUp || *button == kWheelDown)) {
        return button;
    }
    return Status::Error("BUTTON must be a button of the mouse (0.." + std::to_string(last) +
                         ", or 16 and 17 for the wheel), not '" + std::string(text) + "'");
}

Result<bool> ParseSwitch(std::string_view text, std::string_view what) {
    if (text == "on" || text == "1" || text == "yes" || text == "true") {
        return true;
    }
    if (text == "off" || text == "0" || text == "no" || text == "false") {
        return false;
    }
    return Status::Error(std::string(what) + " must be on or off, not '" + std::string(text) + "'");
}

Result<int> ParseColour(std::string_view text, std::string_view what) {
    std::string_view digits = text;
    if (digits.starts_with("#")) {
        digits.remove_prefix(1);
    } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.size() != 6 || error != std::errc() || end != digits.data() + digits.size() || value < 0) {
        return Status::Error(std::string(what) + " must be a colour as six hexadecimal digits RRGGBB, not '" +
                             std::string(text) + "'");
    }
    return value;
}

}  // namespace mousecfg::cli
