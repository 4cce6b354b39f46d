#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace mousecfg {

// One entry of a model's DPI gear table: the DPI value as the model file writes it, the sensor register value
// that produces it and the multiplier code (0..3 for the factors 1..4) the mouse applies to that value.
struct Gear {
    std::string dpi;
    int sensorValue = 0;
    int multiplier = 0;
    bool operator==(const Gear&) const = default;
};

// The DPI gear table of one sensor chip: the gears the model file lists (the sensor's native range) and the
// gears derived from them by multiplication up to `maxValue`. Gear numbers start at 1; the configuration
// document stores them for each DPI level. A plain value, safe to copy to a worker thread.
struct GearTable {
    // An upper bound on the number of gears, far above any real sensor, so that a damaged model file cannot make
    // the table (and the time to build it) grow without limit.
    static constexpr int kMaxGears = 4096;

    int count = 0;     // number of gears: the listed ones, then grown by Extend
    int maxValue = 0;  // highest DPI value the table may reach
    int step = 50;     // DPI step used to extend the table
    std::map<int, Gear> gears;

    // The gear `gear`; a number not in the table gives the first gear above it, or the last gear when there is
    // none above. Nullptr only when the table is empty.
    const Gear* Lookup(int gear) const;

    // The first gear, in gear order, whose DPI text equals `dpi` exactly.
    std::optional<int> FindByDpi(std::string_view dpi) const;

    // The last gear in gear order; nullopt for an empty table.
    std::optional<int> LastGear() const;

    // Adds a listed gear (gear numbers as the model file gives them).
    void Add(int gear, Gear entry);

    // Appends gears above the listed ones: values of multiplied native gears, first twice a native gear in steps
    // of 2 x step, then (once the native range is used up for a factor) three and four times, up to maxValue.
    // The extension ends, leaving a usable table, when the step is not positive, the last listed gear is
    // missing, a value cannot be reached from a native gear, a native gear's sensor value lies above the last
    // listed one, or the factor would exceed 4.
    void Extend();

private:
    void Append(int64_t dpi, int sensorValue, int multiplier);
    int64_t Promote(int64_t dpi, int multiplier);
};

}  // namespace mousecfg
