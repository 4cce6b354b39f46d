#include "tests/config/MouseMemory.h"

#include <gtest/gtest.h>

#include <map>

#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"
#include "config/SensorOptions.h"
#include "sim/VirtualMouse.h"

namespace mousecfg::test {
namespace {

// A colour 0xRRGGBB as the mouse stores it: green, red, blue.
std::array<uint8_t, 3> Grb(int colour) {
    return {static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour)};
}

void ExpectKeys(const sim::ProfileMemory& held, const MouseConfig::KeyProfile& keys, const DeviceFeature& feature) {
    for (int b = 0; b < feature.keyCount; ++b) {
        const int slot = feature.keyMap[static_cast<size_t>(b)] - 1;
        if (slot >= 0 && slot <= 11) {
            EXPECT_EQ(held.keys[static_cast<size_t>(slot)], BuiltInPayload(keys.at(ButtonName(b)).code))
                << "button " << b << " in slot " << slot;
        }
    }
    EXPECT_EQ(held.extraKeys[0], BuiltInPayload(keys.at(ButtonName(16)).code));
    EXPECT_EQ(held.extraKeys[1], BuiltInPayload(keys.at(ButtonName(17)).code));
}

void ExpectDpi(const sim::ProfileMemory& held, const ProfileSettings& settings, const DeviceFeature& feature) {
    uint8_t enabled = 0;
    uint16_t multipliers = 0;
    for (size_t k = 0; k < 8; ++k) {
        const DpiLevel& level = settings.dpiLevels[k];
        enabled = static_cast<uint8_t>(enabled | (level.enabled != 0 ? 1 << k : 0));
        const int value = feature.GearSensorValue(level.gear);
        EXPECT_EQ(held.dpiTable[2 + 2 * k], value & 0xFF) << "level " << k;
        EXPECT_EQ(held.dpiTable[3 + 2 * k], (value >> 8) & 0xFF) << "level " << k;
        multipliers = static_cast<uint16_t>(multipliers | feature.GearMultiplier(level.gear) << (2 * k));
        const auto grb = Grb(level.colour);
        EXPECT_EQ(
            (std::array<uint8_t, 3>{held.dpiColours[3 * k], held.dpiColours[3 * k + 1], held.dpiColours[3 * k + 2]}),
            grb)
            << "colour of level " << k;
    }
    EXPECT_EQ(held.dpiTable[0], enabled);
    EXPECT_EQ(held.dpiTable[1], settings.currentDpiLevel + 1);
    EXPECT_EQ(held.dpiTable[18] | held.dpiTable[19] << 8, multipliers);
}

void ExpectLighting(const sim::ProfileMemory& held, const MouseConfig& config, const DeviceFeature& feature,
                    const SensorOptions& options, size_t p) {
    const int mode = config.lighting[p][0].mode;
    const uint8_t code = feature.ledModeMap.at(static_cast<uint8_t>(mode));
    EXPECT_EQ(held.light[0][0], code | (options.savePowerSelect & 1) << 6);
    EXPECT_EQ(held.light[0][1] | held.light[0][2] << 8, feature.ledModeMask);
    const LightingModeSettings& record = config.lighting[p][static_cast<size_t>(mode)];
    const auto& effect = held.light[code & 0x3F];
    EXPECT_EQ(effect[0], record.speed);
    EXPECT_EQ(effect[1], record.direction);
    EXPECT_EQ(effect[2], 6 - record.brightness);
    uint8_t mask = 0;
    for (size_t k = 0; k < 7; ++k) {
        mask = static_cast<uint8_t>(mask | (record.colours[k].enabled != 0 ? 1 << k : 0));
        const auto grb = Grb(record.colours[k].colour);
        EXPECT_EQ((std::array<uint8_t, 3>{effect[4 + 3 * k], effect[5 + 3 * k], effect[6 + 3 * k]}), grb)
            << "slot " << k;
    }
    EXPECT_EQ(effect[3], mask);
}

}  // namespace

std::array<uint8_t, 4> BuiltInPayload(int code) {
    static const std::map<int, std::array<uint8_t, 4>> payloads = {
        {0, {0, 0, 0, 0}},        {1, {0x01, 0x01, 0, 0}},     {2, {0x01, 0x04, 0, 0}},  {3, {0x01, 0x02, 0, 0}},
        {4, {0x01, 0x08, 0, 0}},  {5, {0x01, 0x10, 0, 0}},     {6, {0x08, 0x03, 0, 0}},  {11, {0x08, 0x01, 0, 0}},
        {12, {0x08, 0x02, 0, 0}}, {29, {0x04, 0x23, 0x02, 0}}, {58, {0x05, 0x01, 0, 0}}, {59, {0x05, 0x81, 0, 0}},
    };
    const auto found = payloads.find(code);
    if (found == payloads.end()) {
        ADD_FAILURE() << "no payload known for code " << code;
        return {};
    }
    return found->second;
}

void ExpectMouseHoldsProfile(const sim::VirtualMouse& mouse, const MouseConfig& config, const DeviceFeature& feature,
                             const SensorOptions& options, int profile, uint8_t rateCode) {
    const auto p = static_cast<size_t>(profile);
    const sim::ProfileMemory held = mouse.Profile(profile);
    const sim::SystemMemory system = mouse.System();
    ExpectKeys(held, config.keyProfiles[p], feature);
    ExpectDpi(held, config.profiles[p], feature);
    ExpectLighting(held, config, feature, options, p);
    EXPECT_EQ(held.reportRate, rateCode);
    EXPECT_EQ(system.activeProfile, profile);
    EXPECT_EQ(system.profileTags[p], feature.profileTags[p]) << "the saved tag is the mouse's";
    EXPECT_EQ(system.sleepSeconds, options.sleepTime * 60);
    const int correction = feature.chipNumber == 12 ? options.jitterCorrectEn : options.rippleCtrlEn;
    EXPECT_EQ(system.sensorFlags,
              (options.shortPress & 1) * 128 + 2 * (correction & 1) + (options.straightLineCorrectEn & 1));
    EXPECT_EQ(system.deviceOptions[2], options.shortPress);
    EXPECT_EQ(system.deviceOptions[6], options.moveWakeEn);
}

}  // namespace mousecfg::test
