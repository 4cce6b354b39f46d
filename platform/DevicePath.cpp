#include "platform/DevicePath.h"

#include <cctype>

namespace mousecfg {
namespace {

constexpr size_t kShortestPath = 5;
constexpr size_t kWindowsIdsAt = 8;       // after "\\?\HID#"
constexpr size_t kWindowsIdsLength = 17;  // "VID_1111&PID_2222"

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Four hexadecimal digits at `at`; nothing when any of them is not one.
std::optional<uint16_t> Hex4(std::string_view text, size_t at) {
    if (at + 4 > text.size()) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (size_t i = at; i < at + 4; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<uint16_t>(value);
}

bool StartsWithIgnoringCase(std::string_view text, size_t at, std::string_view prefix) {
    if (at + prefix.size() > text.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[at + i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

std::optional<DeviceIds> ParseWindowsForm(std::string_view path) {
    if (path.size() < kWindowsIdsAt + kWindowsIdsLength) {
        return std::nullopt;
    }
    const std::string_view ids = path.substr(kWindowsIdsAt, kWindowsIdsLength);
    if (!StartsWithIgnoringCase(ids, 0, "VID_") || !StartsWithIgnoringCase(ids, 8, "&PID_")) {
        return std::nullopt;
    }
    const auto vendor = Hex4(ids, 4);
    const auto product = Hex4(ids, 13);
    if (!vendor || !product) {
        return std::nullopt;
    }
    return DeviceIds{*vendor, *product};
}

// "BBBB:VVVV:PPPP.NNNN" exactly.
std::optional<DeviceIds> ParseUdevComponent(std::string_view component) {
    if (component.size() != 19 || component[4] != ':' || component[9] != ':' || component[14] != '.') {
        return std::nullopt;
    }
    const auto bus = Hex4(component, 0);
    const auto vendor = Hex4(component, 5);
    const auto product = Hex4(component, 10);
    const auto instance = Hex4(component, 15);
    if (!bus || !vendor || !product || !instance) {
        return std::nullopt;
    }
    return DeviceIds{*vendor, *product};
}

std::optional<DeviceIds> ParseUdevForm(std::string_view path) {
    std::optional<DeviceIds> found;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (const auto ids = ParseUdevComponent(path.substr(start, end - start))) {
            found = ids;
        }
        start = end + 1;
    }
    return found;
}

}  // namespace

std::optional<DeviceIds> ParseDeviceIds(std::string_view path) {
    if (path.size() < kShortestPath) {
        return std::nullopt;
    }
    if (const auto ids = ParseWindowsForm(path)) {
        return ids;
    }
    return ParseUdevForm(path);
}

}  // namespace mousecfg
