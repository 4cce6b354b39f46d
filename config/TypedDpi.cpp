#include "config/TypedDpi.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "config/DeviceFeature.h"

namespace mousecfg {
namespace {

std::optional<int64_t> WholeNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<int> GearForTypedDpi(const DeviceFeature& feature, std::string_view typed) {
    std::string text(typed);
    std::erase(text, '\t');
    if (const auto exact = feature.FindGearByDpi(text)) {
        return exact;
    }
    const auto value = WholeNumber(text);
    const auto& gears = feature.gearTable.gears;
    if (!value || *value <= 0 || gears.empty()) {
        return std::nullopt;
    }
    std::optional<std::pair<int, int64_t>> below;  // the last gear walked whose DPI is not above the value
    for (const auto& [gear, entry] : gears) {
        const auto dpi = WholeNumber(entry.dpi).value_or(0);
        if (dpi == *value) {
            return gear;
        }
        if (dpi > *value) {
            if (!below) {
                return gear;  // below the first gear
            }
            // The nearer neighbour; exactly halfway goes up.
            return *value - below->second < dpi - *value ? below->first : gear;
        }
        below = std::make_pair(gear, dpi);
    }
    return below->first;  // above the last gear
}

}  // namespace mousecfg
