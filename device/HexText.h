#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mousecfg {

// The hexadecimal text of reports exchanged with the BLE link: every byte as two lower-case digits followed by
// one blank, so 41 bytes give 123 characters ending with a blank.
std::string ToHexText(std::span<const uint8_t> bytes);

// The same bytes as "xx xx xx" without the trailing blank (traces of the command-line tool).
std::string ToSpacedHex(std::span<const uint8_t> bytes);

// The report of a text written by ToHexText: exactly 41 bytes, each as two lower-case hexadecimal digits followed
// by one blank; nothing for any other text.
std::optional<std::array<uint8_t, 41>> ParseReportText(std::string_view text);

// Reads a text of hexadecimal bytes separated by blanks (either case, one or two digits each, any number of
// blanks between them). Fails on any other character or a piece of more than two digits.
std::optional<std::vector<uint8_t>> ParseHexText(std::string_view text);

}  // namespace mousecfg
