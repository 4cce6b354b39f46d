#include "config/DeviceFeature.h"

#include <algorithm>
#include <random>

#include "platform/PrivateProfile.h"
#include "platform/TextEncoding.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

constexpr uint8_t kFirstLedModeCode = 0x81;
constexpr uint8_t kLastLedModeCode = 0x90;
constexpr int kDefaultWriteTimes = 4;

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        fields.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

// The version texts live in fixed-width fields: the value is cut to their width.
std::string VersionText(std::string_view key, size_t units, const std::filesystem::path& file) {
    const std::string value = ini::GetPrivateProfileString("Config", key, "", file);
    return std::string(CutToUtf16Units(value, units));
}

void ReadKeyMap(DeviceFeature& f) {
    const auto& file = f.iniFile;
    // Only twenty page buttons exist; a larger count in the file would describe buttons nobody shows.
    f.keyCount = std::clamp(ini::GetProfileNumber("KEYMAP", "KeyNum", file), 0, kPageButtonCount);
    f.maxKeyCount = ini::GetProfileNumber("KEYMAP", "MaxKeyNum", file);
    for (int i = 1; i <= f.keyCount; ++i) {
        f.keyMap[i - 1] = ini::GetProfileNumber("KEYMAP", "K" + std::to_string(i) + "_MAP", file);
    }
    for (int i = 1; i <= f.keyCount; ++i) {
        f.keyDefaults[i - 1] = ini::GetProfileNumber("KEYMAP", "K" + std::to_string(i) + "_DEF", file);
    }
    // K16_DEF .. K19_DEF belong to page buttons 16..19 (wheel and further positions), whatever KeyNum says.
    for (int i = 16; i <= 19; ++i) {
        f.keyDefaults[i] = ini::GetProfileNumber("KEYMAP", "K" + std::to_string(i) + "_DEF", file);
    }
}

void ReadLedMap(DeviceFeature& f) {
    f.ledModeMap.clear();
    uint16_t mask = 0;
    for (int i = 0; i < kLightingModeCount; ++i) {
        const auto code =
            static_cast<uint8_t>(ini::GetProfileNumber("LEDMAP", "LED" + std::to_string(i) + "_MAP", f.iniFile));
        f.ledModeMap[static_cast<uint8_t>(i)] = code;
        // Mode codes run from 0x81 (bit 0) to 0x90 (bit 15); a code outside that range has no bit.
        if (code >= kFirstLedModeCode && code <= kLastLedModeCode) {
            mask = static_cast<uint16_t>(mask | 1u << (code - kFirstLedModeCode));
        }
    }
    f.ledModeMask = mask;
}

void ReadConfig(DeviceFeature& f) {
    const auto& file = f.iniFile;
    f.ledModeSwitch = ini::GetProfileNumber("Config", "LED_MODE_SW_EN", file);
    f.writeTimes = ini::GetProfileNumber("Config", "WriteTimes", file);
    if (f.writeTimes < 1) {
        f.writeTimes = kDefaultWriteTimes;
    }
    // Every write of a run is repeated this often while the run holds the request block: a huge count would
    // hold it for good.
    f.writeTimes = std::min(f.writeTimes, kMaxWriteTimes);
    f.uiDpiLevelCount = ini::GetProfileNumber("Config", "UI_DPI_GEAR_NUM", file);
    f.remoteFirmwareVersion = VersionText("RemoteFirmWareVersion", 8, file);
    f.remoteCustomVersion = VersionText("RemoteCustomVersion", 16, file);
    f.dongleFirmwareVersion = VersionText("DongleFirmWareVersion", 8, file);
}

void ReadGears(DeviceFeature& f) {
    const std::string section = "Chip" + std::to_string(f.chipNumber);
    GearTable& table = f.gearTable;
    table = GearTable{};
    table.count = std::clamp(ini::GetProfileNumber(section, "DPI_GEAR_NUM", f.iniFile), 0, GearTable::kMaxGears);
    table.maxValue = ini::GetProfileNumber(section, "GEAR_MAX_VALUE", f.iniFile);
    table.step = ini::GetProfileNumber(section, "GEAR_STEP", f.iniFile);
    for (int g = 1; g <= table.count; ++g) {
        const auto fields = Split(ini::GetPrivateProfileString(section, std::to_string(g), "", f.iniFile), ',');
        if (fields.size() < 2) {
            continue;  // not a "dpi,sensor value" entry: the gear stays out of the table
        }
        std::string dpi = fields[0];
        std::erase(dpi, '\t');
        table.Add(g, Gear{std::move(dpi), ini::Atoi(fields[1]), 0});
    }
    table.Extend();
}

std::string ChipResetSection(int chipNumber) { return "ChipReset" + std::to_string(chipNumber); }

}  // namespace

std::string DeviceFeature::GearDpi(int gear) const {
    const Gear* entry = gearTable.Lookup(gear);
    return entry != nullptr ? entry->dpi : std::string();
}

int DeviceFeature::GearSensorValue(int gear) const {
    const Gear* entry = gearTable.Lookup(gear);
    return entry != nullptr ? entry->sensorValue : 0;
}

int DeviceFeature::GearMultiplier(int gear) const {
    const Gear* entry = gearTable.Lookup(gear);
    return entry != nullptr ? entry->multiplier : 0;
}

int DeviceFeature::DpiCode(std::string_view dpi) const {
    const auto gear = FindGearByDpi(dpi);
    return gear ? GearSensorValue(*gear) : 0;
}

std::string DeviceFeature::LedModeName(int mode) const {
    const auto fields = Split(ini::GetPrivateProfileString("LEDEN", std::to_string(mode), "", iniFile), ',');
    return fields.size() > 1 ? fields[1] : std::string();
}

Status DeviceFeature::SaveProfileTag(int profile, uint16_t tag) {
    if (profile < 0 || profile >= kProfileTagCount) {
        return Status::Error("no profile " + std::to_string(profile));
    }
    profileTags[static_cast<size_t>(profile)] = tag;
    return ini::WritePrivateProfileString("RANDOM", "Profile" + std::to_string(profile), std::to_string(tag),
                                          iniFile);
}

Status DeviceFeature::SaveProfileDpiValues(int profile, const std::vector<std::string>& dpiTexts) const {
    std::string value;
    for (size_t i = 0; i < dpiTexts.size(); ++i) {
        value += (i == 0 ? "" : ",") + dpiTexts[i];
    }
    return ini::WritePrivateProfileString(ChipResetSection(chipNumber), "profile" + std::to_string(profile), value,
                                          iniFile);
}

std::vector<std::string> DeviceFeature::LoadProfileDpiValues(std::string_view keyPrefix, int profile) const {
    const std::string value = ini::GetPrivateProfileString(
        ChipResetSection(chipNumber), std::string(keyPrefix) + std::to_string(profile), "", iniFile);
    if (value.empty()) {
        return {};
    }
    return Split(value, ',');
}

DeviceFeature LoadDeviceFeature(const std::filesystem::path& modelFolder, int chipNumber) {
    DeviceFeature f;
    f.iniFile = modelFolder / "Config" / "DeviceFeature.ini";
    f.chipNumber = chipNumber;
    ReadKeyMap(f);
    ReadLedMap(f);
    ReadConfig(f);
    ReadGears(f);
    for (int p = 0; p < kProfileTagCount; ++p) {
        f.profileTags[static_cast<size_t>(p)] =
            static_cast<uint16_t>(ini::GetProfileNumber("RANDOM", "Profile" + std::to_string(p), f.iniFile));
    }
    return f;
}

int ReadChipNumber(CommandSet::Session& session) {
    session->type = request::kReadDeviceInfo;
    session->subtype = 0;
    if (session.DeviceRead() != 1) {
        return 0;
    }
    return static_cast<int>(session->U32(8) & 0xFF);
}

uint16_t NewProfileTag() {
    std::random_device device;
    std::mt19937 generator(device());
    uint32_t value = 0;
    do {
        value = generator();
    } while (value == 0xFFFFFFFFu);
    const auto tag = static_cast<uint16_t>(value % 65535u + 1u);
    trace::Printf("random:%d\n", tag);
    return tag;
}

Status EnsureProfileTags(DeviceFeature& feature) {
    if (std::any_of(feature.profileTags.begin(), feature.profileTags.end(), [](uint16_t tag) { return tag != 0; })) {
        return Status::Ok();
    }
    Status result = Status::Ok();
    for (int p = 0; p < kProfileTagCount; ++p) {
        Status saved = feature.SaveProfileTag(p, NewProfileTag());
        if (!saved) {
            trace::Printf("%s\n", saved.message().c_str());
            if (result) {
                result = std::move(saved);
            }
        }
    }
    return result;
}

}  // namespace mousecfg
