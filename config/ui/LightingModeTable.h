#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace mousecfg {
struct DeviceFeature;
}  // namespace mousecfg

namespace mousecfg::ui {

// Which lighting modes a model offers and which controls of the lighting page each of them shows: section [LEDEN]
// of the model file, one entry per mode index 0..13, "control,name,shown,flag 3,...,flag 30" (at least 31 fields
// split at ","), with the mode codes of [LEDMAP]. A plain value, read once per device load.
//
// Field 0 names a control that is hidden, and shown again when field 2 is not 0 (the default model names the
// mode's item of the mode list there); fields 3..30 are decimal flags, one per control group of the page
// (kShownControls). An entry that is missing, has fewer than 31 fields or a flag that is not a number, or whose
// mode has no code in [LEDMAP], makes the mode unusable: it cannot be chosen, and why is kept in problems().
class LightingModeTable {
public:
    static constexpr int kModeCount = 14;
    static constexpr int kFirstFlag = 3;
    static constexpr int kLastFlag = 30;
    static constexpr int kFlagCount = kLastFlag - kFirstFlag + 1;

    struct Mode {
        bool usable = false;
        std::string control;  // field 0; empty for none
        bool shown = false;   // field 2 is not 0
        std::array<bool, kFlagCount> flags{};
        bool Flag(int field) const { return flags[static_cast<size_t>(field - kFirstFlag)]; }
    };

    // Reads [LEDEN] and [LEDMAP] of the model file the description was read from.
    static LightingModeTable Read(const DeviceFeature& feature);
    // The same from the entries' texts (index = mode; an empty text is a missing entry) and the mode codes.
    static LightingModeTable Parse(const std::array<std::string, kModeCount>& entries,
                                   const std::array<int, kModeCount>& codes);

    // Mode `mode`; an unusable one for indices outside 0..13.
    const Mode& At(int mode) const;
    // The mode can be chosen: its entry is sound, the mouse has a code for it and field 2 is not 0.
    bool Selectable(int mode) const { return At(mode).usable && At(mode).shown; }
    // The lowest selectable mode, or -1 when there is none.
    int FirstSelectable() const;
    // One line per entry that made its mode unusable although the model names it.
    const std::vector<std::string>& problems() const { return problems_; }

    // The controls the flag `field` (3..30) shows or hides.
    static std::vector<std::string_view> ShownControls(int field);

private:
    std::array<Mode, kModeCount> modes_{};
    std::vector<std::string> problems_;
};

}  // namespace mousecfg::ui
