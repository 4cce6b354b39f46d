#include "config/ui/LightingModeTable.h"

#include <charconv>
#include <optional>

#include "config/DeviceFeature.h"
#include "platform/PrivateProfile.h"

namespace mousecfg::ui {
namespace {

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A decimal flag: a whole number, blanks around it allowed; nothing for any other text.
std::optional<int> Number(std::string_view field) {
    field = Trimmed(field);
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size()) {
        return std::nullopt;
    }
    return value;
}

// The controls of each flag field 3..30, in field order.
constexpr std::string_view kFieldControls[LightingModeTable::kFlagCount][2] = {
    {"LedColorButton", "label_MouseLed_ColText"},
    {"btn_MouseLed_ColVal0", ""},
    {"btn_MouseLed_ColVal1", ""},
    {"btn_MouseLed_ColVal2", ""},
    {"btn_MouseLed_ColVal3", ""},
    {"btn_MouseLed_ColVal4", ""},
    {"btn_MouseLed_ColVal5", ""},
    {"btn_MouseLed_ColVal6", ""},
    {"chk_MouseLed_ColEn0", ""},
    {"chk_MouseLed_ColEn1", ""},
    {"chk_MouseLed_ColEn2", ""},
    {"chk_MouseLed_ColEn3", ""},
    {"chk_MouseLed_ColEn4", ""},
    {"chk_MouseLed_ColEn5", ""},
    {"chk_MouseLed_ColEn6", ""},
    {"LedBrightButton", "label_MouseLed_BrightText"},
    {"slider_MouseLed_BrightVal", ""},
    {"label_MouseLed_BrightValText", ""},
    {"LedSpeedButton", "label_MouseLed_SpeedText"},
    {"slider_MouseLed_SpeedVal", ""},
    {"label_MouseLed_SpeedValText", ""},
    {"label_MouseLed_SymmeText", ""},
    {"Chk_MouseLed_SymnetryVal", ""},
    {"LedDirectionButton", "label_MouseLed_DirtectText"},
    {"opt_MouseLed_BackwardVal", ""},
    {"opt_MouseLed_PositiveVal", ""},
    {"opt_MouseLed_TwowayVal", ""},
    {"opt_MouseLed_CoverVal", ""},
};

}  // namespace

std::vector<std::string_view> LightingModeTable::ShownControls(int field) {
    std::vector<std::string_view> names;
    if (field < kFirstFlag || field > kLastFlag) {
        return names;
    }
    for (std::string_view name : kFieldControls[field - kFirstFlag]) {
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    return names;
}

LightingModeTable LightingModeTable::Read(const DeviceFeature& feature) {
    std::array<std::string, kModeCount> entries;
    std::array<int, kModeCount> codes{};
    for (int mode = 0; mode < kModeCount; ++mode) {
        entries[static_cast<size_t>(mode)] =
            ini::GetPrivateProfileString("LEDEN", std::to_string(mode), "", feature.iniFile, 1024);
        const auto code = feature.ledModeMap.find(static_cast<uint8_t>(mode));
        codes[static_cast<size_t>(mode)] = code != feature.ledModeMap.end() ? code->second : 0;
    }
    return Parse(entries, codes);
}

LightingModeTable LightingModeTable::Parse(const std::array<std::string, kModeCount>& entries,
                                           const std::array<int, kModeCount>& codes) {
    LightingModeTable table;
    for (int index = 0; index < kModeCount; ++index) {
        const std::string& text = entries[static_cast<size_t>(index)];
        if (text.empty()) {
            continue;  // the model lacks the mode
        }
        const std::string which = "lighting mode " + std::to_string(index) + ": ";
        const std::vector<std::string_view> fields = Fields(text);
        if (fields.size() <= static_cast<size_t>(kLastFlag)) {
            table.problems_.push_back(which + "its [LEDEN] entry has " + std::to_string(fields.size()) +
                                      " fields, not 31");
            continue;
        }
        Mode mode;
        mode.control = std::string(Trimmed(fields[0]));
        const std::optional<int> shown = Number(fields[2]);
        bool sound = shown.has_value();
        for (int field = kFirstFlag; field <= kLastFlag && sound; ++field) {
            const std::optional<int> flag = Number(fields[static_cast<size_t>(field)]);
            sound = flag.has_value();
            mode.flags[static_cast<size_t>(field - kFirstFlag)] = flag.value_or(0) != 0;
        }
        if (!sound) {
            table.problems_.push_back(which + "its [LEDEN] entry holds a field that is not a number");
            continue;
        }
        mode.shown = *shown != 0;
        mode.usable = codes[static_cast<size_t>(index)] != 0;
        if (!mode.usable && mode.shown) {
            table.problems_.push_back(which + "[LEDMAP] gives it no mode code");
        }
        table.modes_[static_cast<size_t>(index)] = std::move(mode);
    }
    return table;
}

const LightingModeTable::Mode& LightingModeTable::At(int mode) const {
    static const Mode kNone;
    return mode >= 0 && mode < kModeCount ? modes_[static_cast<size_t>(mode)] : kNone;
}

int LightingModeTable::FirstSelectable() const {
    for (int mode = 0; mode < kModeCount; ++mode) {
        if (Selectable(mode)) {
            return mode;
        }
    }
    return -1;
}

}  // namespace mousecfg::ui
