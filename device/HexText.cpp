#include "device/HexText.h"

namespace mousecfg {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string ToHexText(std::span<const uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
        text += ' ';
    }
    return text;
}

std::string ToSpacedHex(std::span<const uint8_t> bytes) {
    std::string text = ToHexText(bytes);
    if (!text.empty()) {
        text.pop_back();
    }
    return text;
}

std::optional<std::array<uint8_t, 41>> ParseReportText(std::string_view text) {
    std::array<uint8_t, 41> report{};
    if (text.size() != 3 * report.size()) {
        return std::nullopt;
    }
    for (size_t i = 0; i < report.size(); ++i) {
        const char high = text[3 * i];
        const char low = text[3 * i + 1];
        const auto lower = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
        if (!lower(high) || !lower(low) || text[3 * i + 2] != ' ') {
            return std::nullopt;
        }
        report[i] = static_cast<uint8_t>(DigitValue(high) << 4 | DigitValue(low));
    }
    return report;
}

std::optional<std::vector<uint8_t>> ParseHexText(std::string_view text) {
    std::vector<uint8_t> bytes;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        int value = 0;
        int digits = 0;
        while (i < text.size() && text[i] != ' ') {
            const int digit = DigitValue(text[i]);
            if (digit < 0 || ++digits > 2) {
                return std::nullopt;
            }
            value = value * 16 + digit;
            ++i;
        }
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return bytes;
}

}  // namespace mousecfg
