#include "cli/ArgumentParsing.h"

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
