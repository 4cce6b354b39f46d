#include "config/DeviceImage.h"

#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"
#include "config/ReportRate.h"
#include "config/SensorOptions.h"

namespace mousecfg {
namespace {

constexpr int kBrightnessSteps = 6;
constexpr int kJitterChip = 12;

uint8_t Bit(int option) {
    return static_cast<uint8_t>(option & 1);
}

// What the document binds to each page button of one key profile.
struct ButtonBindings {
    std::array<int, kPageButtonCount> codes{};
    std::array<std::string, kPageButtonCount> groupGuids;
    std::array<std::string, kPageButtonCount> macroGuids;
};

// Over BLE the mouse cannot receive macros: a pending fallback turns every macro binding into its default.
void ApplyMacroFallback(MouseConfig& config, const DeviceFeature& feature, ImageBuildChanges& changes) {
    for (int p = 0; p < kProfileCount; ++p) {
        for (auto& [name, binding] : config.keyProfiles[static_cast<size_t>(p)]) {
            const int index = ButtonIndex(name);
            if (!IsUserMacroCode(binding.code) || index < 0) {
                continue;
            }
            binding.defaultCode = feature.keyDefaults[static_cast<size_t>(index)];
            binding.code = binding.defaultCode;
            binding.groupGuid.clear();
            binding.macroGuid.clear();
            changes.macroFallbacks.emplace_back(p, name);
        }
    }
}

ButtonBindings CollectBindings(const MouseConfig::KeyProfile& profile) {
    ButtonBindings bindings;
    for (const auto& [name, binding] : profile) {
        const int index = ButtonIndex(name);
        if (index < 0) {
            continue;
        }
        bindings.codes[static_cast<size_t>(index)] = binding.code;
        bindings.groupGuids[static_cast<size_t>(index)] = binding.groupGuid;
        bindings.macroGuids[static_cast<size_t>(index)] = binding.macroGuid;
    }
    return bindings;
}

// Step 3: page buttons to key slots; the wheel positions keep their own numbers.
void MapKeys(DeviceImage& image, const MouseConfig& config, const DeviceFeature& feature) {
    image.keyCount = feature.keyCount;
    image.maxKeyCount = feature.maxKeyCount;
    image.editedSlot = -1;
    for (int p = 0; p < kImageProfiles; ++p) {
        const ButtonBindings bindings = CollectBindings(config.keyProfiles[static_cast<size_t>(p)]);
        auto& slots = image.slotCodes[static_cast<size_t>(p)];
        image.slotGroupGuid[static_cast<size_t>(p)] = bindings.groupGuids;
        image.slotMacroGuid[static_cast<size_t>(p)] = bindings.macroGuids;
        for (int b = 0; b < feature.keyCount && b < kPageButtonCount; ++b) {
            const int slot = feature.keyMap[static_cast<size_t>(b)] - 1;
            image.buttonSlot[static_cast<size_t>(b)] = slot;
            // A key map entry outside the mouse's slots (0 = unmapped) has no slot to fill.
            if (slot < 0 || slot >= kImageSlots) {
                continue;
            }
            slots[static_cast<size_t>(slot)] = bindings.codes[static_cast<size_t>(b)];
            if (b == image.editedButton && p == image.currentProfile) {
                image.editedSlot = slot;
            }
        }
        for (int position : {kWheelUp, kWheelDown}) {
            slots[static_cast<size_t>(position)] = bindings.codes[static_cast<size_t>(position)];
        }
    }
    if (image.editedButton == kWheelUp || image.editedButton == kWheelDown) {
        image.editedSlot = image.editedButton;
    }
}

void ConvertDpi(DeviceImage& image, size_t p, const ProfileSettings& profile, const DeviceFeature& feature) {
    image.dpiCurrent[p] = static_cast<uint8_t>(profile.currentDpiLevel);
    for (size_t k = 0; k < profile.dpiLevels.size(); ++k) {
        const DpiLevel& level = profile.dpiLevels[k];
        image.dpiSensorValue[p][k] = feature.GearSensorValue(level.gear);
        image.dpiMultiplier[p][k] = feature.GearMultiplier(level.gear);
        image.dpiEnabled[p][k] = level.enabled;
        image.dpiColour[p][k] = SwapRedBlue(level.colour);
    }
}

void ConvertRate(DeviceImage& image, size_t p, ProfileSettings& profile, LinkKind link, std::string_view model) {
    switch (link) {
        case LinkKind::Ble:
            profile.bleRate = 0;
            image.rateCode[p] = static_cast<uint8_t>(RateCodeFromIndex(model, 0));
            break;
        case LinkKind::Cable:
            image.rateCode[p] = static_cast<uint8_t>(RateCodeFromIndex(model, profile.usbRate));
            break;
        case LinkKind::Receiver:
            image.rateCode[p] = static_cast<uint8_t>(RateCodeFromIndex(model, profile.dongleRate));
            break;
        case LinkKind::None:
            break;  // the rate code stays as it was
    }
}

void ConvertLighting(DeviceImage& image, size_t p, const MouseConfig& config, const SensorOptions& options) {
    const int m = config.lighting[p][0].mode;
    const auto code = image.ledModeMap.find(static_cast<uint8_t>(m));
    if (m < 0 || m >= kLightingModeCount || code == image.ledModeMap.end()) {
        return;  // a mode the model does not list: the lighting of this profile stays as it was
    }
    const uint8_t powerSave = Bit(options.savePowerSelect) != 0 ? kPowerSaveFlag : 0;
    image.ledModeByte[p] = static_cast<uint8_t>(code->second | powerSave);
    const LightingModeSettings& record = config.lighting[p][static_cast<size_t>(m)];
    image.ledLevel[p] = static_cast<uint8_t>(kBrightnessSteps - record.brightness);
    image.ledSpeed[p] = static_cast<uint8_t>(record.speed);
    image.ledDirection[p] = static_cast<uint8_t>(record.direction);
    uint8_t mask = 0;
    for (size_t k = 0; k < record.colours.size(); ++k) {
        image.ledColour[p][k] = SwapRedBlue(record.colours[k].colour);
        if (record.colours[k].enabled != 0) {
            mask = static_cast<uint8_t>(mask | 1u << k);
        }
    }
    image.ledColourMask[p] = mask;
}

void ConvertOptions(DeviceImage& image, const SensorOptions& options, int chipNumber) {
    image.sensorOptionByte = SensorOptionByte(options, chipNumber);
    image.lodCode = LiftOffCode(options.lodHeight, chipNumber);
    image.smoothLine = options.smoothLineEn;
    image.jitterCorrect = options.jitterCorrectEn;
    image.sleepMinutes = options.sleepTime;
    image.pdMinutes = options.pdTime;
    image.shortPress = static_cast<uint8_t>(options.shortPress);
    image.moveWake = static_cast<uint8_t>(options.moveWakeEn);
}

}  // namespace

int SwapRedBlue(int colour) {
    const auto value = static_cast<uint32_t>(colour);
    return static_cast<int>((value & 0xFF) << 16 | (value & 0xFF00) | (value >> 16 & 0xFF));
}

uint8_t SensorOptionByte(const SensorOptions& options, int chipNumber) {
    const int correction = chipNumber == kJitterChip ? options.jitterCorrectEn : options.rippleCtrlEn;
    return static_cast<uint8_t>(Bit(options.shortPress) * 128 + 2 * Bit(correction) +
                                Bit(options.straightLineCorrectEn));
}

int LiftOffCode(int lodHeight, int chipNumber) {
    switch (chipNumber) {
        case 6:
        case 12:
            return lodHeight == 1 ? 2 : lodHeight;
        case 7:
            return lodHeight == 0 ? 2 : lodHeight == 1 ? 3 : lodHeight;
        default:
            return 0;
    }
}

ImageBuildChanges BuildDeviceImage(DeviceImage& image, MouseConfig& config, const DeviceFeature& feature,
                                   const SensorOptions& options, LinkKind link, std::string_view modelName) {
    ImageBuildChanges changes;
    ConvertOptions(image, options, feature.chipNumber);
    image.currentProfile = static_cast<uint8_t>(config.currentProfile);
    if (link == LinkKind::Ble && image.bleMacroFallback) {
        ApplyMacroFallback(config, feature, changes);
    }
    image.bleMacroFallback = false;
    MapKeys(image, config, feature);
    image.ledModeMap = feature.ledModeMap;
    image.ledModeMask = feature.ledModeMask;
    for (size_t p = 0; p < kImageProfiles; ++p) {
        ProfileSettings& profile = config.profiles[p];
        ConvertRate(image, p, profile, link, modelName);
        image.fireValue[p] = profile.fireValue;
        ConvertLighting(image, p, config, options);
        ConvertDpi(image, p, profile, feature);
    }
    changes.bleRatesReset = link == LinkKind::Ble;
    image.profileTags = feature.profileTags;
    return changes;
}

}  // namespace mousecfg
