#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/GearTable.h"
#include "device/CommandSet.h"
#include "platform/Status.h"

namespace mousecfg {

inline constexpr int kPageButtonCount = 20;  // page buttons 0..15 the mouse's, 16/17 the wheel, 18/19 further
inline constexpr int kLightingModeCount = 14;
inline constexpr int kProfileTagCount = 4;
inline constexpr int kMaxWriteTimes = 16;  // WriteTimes is capped here, as DPI_GEAR_NUM is by the gear table

// The description of one mouse model, read from "<model folder>/Config/DeviceFeature.ini": which page buttons
// drive which key slot of the mouse and their default functions, the lighting modes, the DPI gear table of the
// sensor chip in use, and a few model constants. Everything is rebuilt by LoadDeviceFeature; afterwards only the
// profile tags change (SaveProfileTag). A plain value: copy it to hand it to another thread.
struct DeviceFeature {
    std::filesystem::path iniFile;  // the file the description was read from and writes go to

    int keyCount = 0;     // buttons described by K<i>_MAP / K<i>_DEF, 0..20
    int maxKeyCount = 0;  // key slots of the mouse
    std::array<int, kPageButtonCount> keyMap{};       // key slot (from 1) of page button i
    std::array<int, kPageButtonCount> keyDefaults{};  // default function code of page button i
    std::map<uint8_t, uint8_t> ledModeMap;  // lighting mode index 0..13 -> the mouse's mode code, 0 = absent
    uint16_t ledModeMask = 0;               // bit (code - 0x81) for every present mode code
    int ledModeSwitch = 0;
    int writeTimes = 4;  // repeats of each write on wireless links, 1..kMaxWriteTimes
    int uiDpiLevelCount = 0;
    std::string remoteFirmwareVersion;  // at most 8 UTF-16 code units
    std::string remoteCustomVersion;    // at most 16
    std::string dongleFirmwareVersion;  // at most 8
    int chipNumber = 0;                 // sensor variant reported by the mouse; selects [Chip<N>]
    GearTable gearTable;
    std::array<uint16_t, kProfileTagCount> profileTags{};

    // Look-ups in the gear table; a gear not in it gives the first gear above it (the last gear when none is
    // above); empty text and 0 when the table is empty.
    std::string GearDpi(int gear) const;
    int GearSensorValue(int gear) const;
    int GearMultiplier(int gear) const;
    // The first gear whose DPI text equals `dpi` exactly.
    std::optional<int> FindGearByDpi(std::string_view dpi) const { return gearTable.FindByDpi(dpi); }
    // The sensor value that gives `dpi` (what a macro's DPI item switches to, for "400"); 0 when no gear has it.
    int DpiCode(std::string_view dpi) const;

    // The name of lighting mode `mode`: the second field of its [LEDEN] entry; empty when it has none.
    std::string LedModeName(int mode) const;

    // Writes [RANDOM] Profile<profile> = tag and keeps it in profileTags. Profiles outside 0..3 fail.
    Status SaveProfileTag(int profile, uint16_t tag);

    // Writes [ChipReset<chipNumber>] profile<profile> as the texts joined by ",".
    Status SaveProfileDpiValues(int profile, const std::vector<std::string>& dpiTexts) const;
    // Reads [ChipReset<chipNumber>] <keyPrefix><profile> ("profile" or "profile_reset") split at ","; empty when
    // the key is missing.
    std::vector<std::string> LoadProfileDpiValues(std::string_view keyPrefix, int profile) const;
};

// Reads the description of the model in `modelFolder` for the sensor chip `chipNumber`. A missing file or key
// reads as empty text and 0, as the model files have always been read; WriteTimes below 1 becomes 4, and one
// above kMaxWriteTimes becomes kMaxWriteTimes.
DeviceFeature LoadDeviceFeature(const std::filesystem::path& modelFolder, int chipNumber);

// The sensor variant the mouse reports in its device information (third byte), or 0 when the read fails.
// On the BLE link the reply arrives later as a message, so callers there do not use this.
int ReadChipNumber(CommandSet::Session& session);

// A fresh profile tag 1..65535 from a Mersenne Twister seeded by the system's random device. Traces
// "random:%d\n". Any thread.
uint16_t NewProfileTag();

// When all four saved tags are 0 (a model file never written by the program), gives each profile a new tag and
// saves it. Returns the first failure to save a tag.
Status EnsureProfileTags(DeviceFeature& feature);

}  // namespace mousecfg
