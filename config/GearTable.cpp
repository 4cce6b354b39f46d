#include "config/GearTable.h"

#include "platform/PrivateProfile.h"

namespace mousecfg {
namespace {

constexpr int kMaxMultiplier = 3;  // code 3 stands for the factor 4; the mouse keeps two bits per level

}  // namespace

const Gear* GearTable::Lookup(int gear) const {
    if (gears.empty()) {
        return nullptr;
    }
    auto it = gears.lower_bound(gear);
    if (it == gears.end()) {
        --it;
    }
    return &it->second;
}

std::optional<int> GearTable::FindByDpi(std::string_view dpi) const {
    for (const auto& [number, gear] : gears) {
        if (gear.dpi == dpi) {
            return number;
        }
    }
    return std::nullopt;
}

std::optional<int> GearTable::LastGear() const {
    if (gears.empty()) {
        return std::nullopt;
    }
    return gears.rbegin()->first;
}

void GearTable::Add(int gear, Gear entry) { gears[gear] = std::move(entry); }

void GearTable::Append(int64_t dpi, int sensorValue, int multiplier) {
    ++count;
    gears[count] = Gear{std::to_string(dpi), sensorValue, multiplier};
}

// Moves `dpi` onto the multiplied value of the first gear above dpi / factor and appends it when it is in range.
int64_t GearTable::Promote(int64_t dpi, int multiplier) {
    const int64_t factor = multiplier + 1;
    const int64_t lower = dpi / factor;
    const Gear* taken = nullptr;
    for (const auto& [number, gear] : gears) {
        taken = &gear;
        if (ini::Atoi(gear.dpi) > lower) {
            break;
        }
    }
    if (taken == nullptr) {
        return dpi;
    }
    dpi = ini::Atoi(taken->dpi) * factor;
    if (dpi <= maxValue && count < kMaxGears) {
        Append(dpi, taken->sensorValue, multiplier);
    }
    return dpi;
}

void GearTable::Extend() {
    const auto last = gears.find(count);
    if (step <= 0 || last == gears.end()) {
        return;
    }
    const int lastValue = last->second.sensorValue;
    int multiplier = 1;
    int64_t increment = 2 * static_cast<int64_t>(step);
    int64_t dpi = Promote(ini::Atoi(last->second.dpi), multiplier);
    dpi += increment;
    while (dpi <= maxValue && count < kMaxGears) {
        const auto native = FindByDpi(std::to_string(dpi / (multiplier + 1)));
        if (!native) {
            return;
        }
        const int sensorValue = gears[*native].sensorValue;
        if (sensorValue > lastValue) {
            return;  // the listed gears are not in ascending order of sensor value: nothing sound to derive
        }
        Append(dpi, sensorValue, multiplier);
        if (sensorValue == lastValue) {
            // The native range is used up for this factor: go on with the next one.
            if (++multiplier > kMaxMultiplier) {
                return;
            }
            increment = (multiplier + 1) * static_cast<int64_t>(step);
            dpi = Promote(dpi, multiplier);
        }
        dpi += increment;
    }
}

}  // namespace mousecfg
