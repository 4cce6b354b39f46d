// The device image's conversions and the writer's table, checked in what the virtual mouse ends up holding.
#include "config/DeviceImage.h"

#include <gtest/gtest.h>

#include "config/DeviceFeature.h"
#include "config/ImageWriter.h"
#include "config/MouseConfig.h"
#include "config/PresetMacros.h"
#include "config/ReportRate.h"
#include "config/SensorOptions.h"
#include "platform/Trace.h"
#include "sim/VirtualMouse.h"
#include "tests/support/FakeMacroLookup.h"
#include "tests/support/SimChecks.h"
#include "tests/support/SimMouseRig.h"

namespace mousecfg {
namespace {

// Buttons 0..3 on key slots 1, 2, none and 30 (outside the mouse); two lighting modes; three gears.
DeviceFeature SmallModel() {
    DeviceFeature feature;
    feature.keyCount = 4;
    feature.keyMap = {2, 1, 0, 30};
    feature.keyDefaults[0] = 1;
    feature.keyDefaults[1] = 3;
    feature.ledModeMap = {{0, 0x81}, {1, 0x83}, {2, 0}};
    feature.ledModeMask = 0x0005;
    feature.chipNumber = 6;
    feature.gearTable.Add(1, Gear{"400", 7, 0});
    feature.gearTable.Add(2, Gear{"800", 15, 0});
    feature.gearTable.Add(3, Gear{"1600", 15, 1});
    feature.gearTable.count = 3;
    feature.profileTags = {11, 22, 33, 44};
    return feature;
}

TEST(DeviceImage, ReportRateTablesDependOnTheModel) {
    struct Case {
        const char* model;
        int index;
        int code;
    };
    for (const Case& c : {Case{"KT61", 2, 16}, Case{"KT61", 0, 64}, Case{"KT61", 6, 1}, Case{"Virtual Mouse", 2, 2},
                          Case{"Virtual Mouse", 0, 8}, Case{"Virtual Mouse", 5, 1}, Case{"Virtual Mouse", -1, 8}}) {
        EXPECT_EQ(RateCodeFromIndex(c.model, c.index), c.code) << c.model << " " << c.index;
    }
    EXPECT_EQ(RateIndexFromCode("Virtual Mouse", 64), 0) << "not in the four-rate table";
    EXPECT_EQ(RateIndexFromCode("KT61", 64), 0);
    EXPECT_EQ(RateIndexFromCode("KT61", 4), 4);
    EXPECT_EQ(RateIndexFromCode("Virtual Mouse", 2), 2);

    std::string traced;
    trace::ScopedSink sink([&](std::string_view text) { traced += text; });
    EXPECT_EQ(ConvertReportRate("KT61", 3, 0x101), 8);
    EXPECT_EQ(ConvertReportRate("KT61", 8, 0), 3);
    EXPECT_EQ(traced, "KT61,uiToHardware:1\nKT61,uiToHardware:0\n");
}

TEST(DeviceImage, SensorOptionByteAndLiftOffCodesFollowTheChip) {
    SensorOptions options;
    options.shortPress = 3;  // only its low bit is sent
    options.rippleCtrlEn = 1;
    options.jitterCorrectEn = 0;
    options.straightLineCorrectEn = 1;
    EXPECT_EQ(SensorOptionByte(options, 6), 128 + 2 + 1);
    EXPECT_EQ(SensorOptionByte(options, 12), 128 + 0 + 1) << "chip 12 sends jitter correction instead";
    struct Case {
        int chip, lod, code;
    };
    for (const Case& c : {Case{6, 0, 0}, Case{6, 1, 2}, Case{12, 1, 2}, Case{7, 0, 2}, Case{7, 1, 3}, Case{7, 5, 5},
                          Case{6, 4, 4}, Case{3, 1, 0}, Case{0, 1, 0}}) {
        EXPECT_EQ(LiftOffCode(c.lod, c.chip), c.code) << "chip " << c.chip << " lod " << c.lod;
    }
}

TEST(DeviceImage, BuildConvertsTheDocumentForTheLink) {
    const DeviceFeature feature = SmallModel();
    MouseConfig config;
    config.currentProfile = 1;
    ProfileSettings& profile = config.profiles[1];
    profile.usbRate = 1;
    profile.dongleRate = 2;
    profile.bleRate = 3;
    profile.currentDpiLevel = 2;
    profile.fireValue = 30;
    profile.dpiLevels[0] = {1, 2, 0x112233};
    profile.dpiLevels[1] = {0, 3, 0};
    config.lighting[1][0].mode = 1;
    config.lighting[1][1] = {7, 4, 3, 2, {LedColour{0xABCDEF, 1}, LedColour{0, 0}, LedColour{0, 1}}};
    config.keyProfiles[1][ButtonName(0)].code = 5;
    config.keyProfiles[1][ButtonName(1)].code = 4;
    config.keyProfiles[1][ButtonName(17)].code = 59;
    SensorOptions options;
    options.savePowerSelect = 1;
    options.sleepTime = 7;

    for (LinkKind link : {LinkKind::Cable, LinkKind::Receiver, LinkKind::Ble}) {
        DeviceImage image;
        image.editedButton = 0;
        MouseConfig copy = config;
        BuildDeviceImage(image, copy, feature, options, link, "Virtual Mouse");
        EXPECT_EQ(image.rateCode[1], link == LinkKind::Cable ? 4 : link == LinkKind::Receiver ? 2 : 8);
        EXPECT_EQ(copy.profiles[1].bleRate, link == LinkKind::Ble ? 0 : 3);
        EXPECT_EQ(image.currentProfile, 1);
        EXPECT_EQ(image.slotCodes[1][1], 5) << "button 0 drives slot 2";
        EXPECT_EQ(image.slotCodes[1][0], 4);
        EXPECT_EQ(image.slotCodes[1][17], 59);
        EXPECT_EQ(image.editedSlot, 1);
        EXPECT_EQ(image.dpiColour[1][0], 0x332211);
        EXPECT_EQ(image.dpiSensorValue[1][1], 15);
        EXPECT_EQ(image.dpiMultiplier[1][1], 1);
        EXPECT_EQ(image.dpiEnabled[1][0], 1);
        EXPECT_EQ(image.dpiCurrent[1], 2);
        EXPECT_EQ(image.fireValue[1], 30);
        EXPECT_EQ(image.ledModeByte[1], 0x83 | 0x40);
        EXPECT_EQ(image.ledLevel[1], 2) << "6 - brightness 4";
        EXPECT_EQ(image.ledSpeed[1], 3);
        EXPECT_EQ(image.ledDirection[1], 2);
        EXPECT_EQ(image.ledColour[1][0], 0xEFCDAB);
        EXPECT_EQ(image.ledColourMask[1], 0b101);
        EXPECT_EQ(image.sleepMinutes, 7);
        EXPECT_EQ(image.profileTags[3], 44);
    }
    // The wheel positions keep their own numbers; a lighting mode the model does not list leaves the lighting as
    // it was.
    DeviceImage image;
    image.editedButton = 17;
    image.ledModeByte[1] = 0x99;
    config.lighting[1][0].mode = 5;
    BuildDeviceImage(image, config, feature, options, LinkKind::None, "Virtual Mouse");
    EXPECT_EQ(image.editedSlot, 17);
    EXPECT_EQ(image.ledModeByte[1], 0x99);
    EXPECT_EQ(image.rateCode[1], 0) << "no link: the rate code stays";
}

TEST(DeviceImage, BleFallbackTurnsMacroBindingsIntoDefaultsOnlyOverBle) {
    const DeviceFeature feature = SmallModel();
    MouseConfig config;
    for (int p : {0, 2, 3}) {
        KeyBinding& binding = config.keyProfiles[static_cast<size_t>(p)][ButtonName(1)];
        binding = KeyBinding{0, 120, "M:x", "M1", "G1"};
    }
    MouseConfig cable = config;
    DeviceImage image;
    image.bleMacroFallback = true;
    BuildDeviceImage(image, cable, feature, SensorOptions{}, LinkKind::Cable, "");
    EXPECT_EQ(cable.keyProfiles[0].at(ButtonName(1)).code, 120);

    image.bleMacroFallback = true;
    const ImageBuildChanges changes = BuildDeviceImage(image, config, feature, SensorOptions{}, LinkKind::Ble, "");
    EXPECT_FALSE(image.bleMacroFallback);
    EXPECT_EQ(changes.macroFallbacks,
              (std::vector<std::pair<int, std::string>>{{0, ButtonName(1)}, {2, ButtonName(1)}}));
    EXPECT_EQ(config.keyProfiles[0].at(ButtonName(1)), (KeyBinding{3, 3, "M:x", "", ""}));
    EXPECT_EQ(config.keyProfiles[3].at(ButtonName(1)).code, 120) << "key profile 3 is used by nothing";
    EXPECT_EQ(image.slotCodes[0][0], 3);
}

class ImageWriterTest : public ::testing::Test {
  protected:
    ImageWriterTest() : writer_(session_, image_, KeyFunctionSources{presets_, macros_}, LinkKind::Cable) {}
    void TearDown() override { test::ExpectNoRejections(rig_.mouse()); }

    void Build() {
        MouseConfig copy = config_;
        BuildDeviceImage(image_, copy, feature_, options_, LinkKind::Cable, "Virtual Mouse");
    }

    test::SimMouseRig rig_{test::RigLink::Cable};
    CommandSet::Session session_ = rig_.commands().Acquire();
    DeviceFeature feature_ = SmallModel();
    MouseConfig config_;
    SensorOptions options_;
    DeviceImage image_;
    PresetMacros presets_;
    test::FakeMacroLookup macros_;
    ImageWriter writer_;
};

// Every row of the writer's table, in what the mouse holds afterwards.
TEST_F(ImageWriterTest, EveryRowReachesTheMouse) {
    config_.profiles[0].dpiLevels[0] = {1, 3, 0x112233};  // red 0x11, green 0x22, blue 0x33
    config_.profiles[0].currentDpiLevel = 0;
    config_.profiles[0].usbRate = 2;
    config_.lighting[0][1] = {0, 5, 2, 1, {LedColour{0x445566, 1}}};
    config_.lighting[0][0].mode = 1;
    config_.keyProfiles[0][ButtonName(1)].code = 29;
    options_ = SensorOptions{0, 3, 1, 1, 1, 1, 0, 1, 0, 5};
    Build();
    image_.editedButton = 1;
    image_.editedSlot = 0;
    for (const auto& [type, subtype] : std::vector<std::pair<int, int>>{{2, 2},
                                                                        {2, 1},
                                                                        {2, 3},
                                                                        {2, 4},
                                                                        {2, 5},
                                                                        {2, 6},
                                                                        {3, 0},
                                                                        {4, 0},
                                                                        {6, 0},
                                                                        {7, 0},
                                                                        {9, 0},
                                                                        {10, 2},
                                                                        {10, 6}}) {
        EXPECT_EQ(writer_.WriteSetting(type, 0, subtype), 1) << type << "/" << subtype;
    }
    const sim::SystemMemory system = rig_.mouse().System();
    const sim::ProfileMemory held = rig_.mouse().Profile(0);
    EXPECT_EQ(system.profileTags[0], 11);
    EXPECT_EQ(system.sleepSeconds, 180);
    EXPECT_EQ(system.powerDownSeconds, 300);
    EXPECT_EQ(system.sensorFlags, 128 + 2 + 1);
    EXPECT_EQ(system.liftOff, 2);
    EXPECT_EQ(system.deviceOptions[2], 1);
    EXPECT_EQ(system.deviceOptions[6], 1);
    EXPECT_EQ(held.reportRate, 2);
    EXPECT_EQ(held.keys[0], (std::array<uint8_t, 4>{0x04, 0x23, 0x02, 0}));
    EXPECT_EQ(held.dpiTable[0], 1);
    EXPECT_EQ(held.dpiTable[1], 1);
    EXPECT_EQ(held.dpiTable[2], 15);
    EXPECT_EQ(held.dpiTable[18], 1) << "multiplier of level 0";
    EXPECT_EQ((std::array<uint8_t, 3>{held.dpiColours[0], held.dpiColours[1], held.dpiColours[2]}),
              (std::array<uint8_t, 3>{0x22, 0x11, 0x33}))
        << "green, red, blue";
    EXPECT_EQ(held.light[0][0], 0x83);
    EXPECT_EQ(held.light[0][1], 0x05);
    EXPECT_EQ((std::array<uint8_t, 7>{held.light[3][0], held.light[3][1], held.light[3][2], held.light[3][3],
                                      held.light[3][4], held.light[3][5], held.light[3][6]}),
              (std::array<uint8_t, 7>{2, 1, 1, 1, 0x55, 0x44, 0x66}))
        << "speed, direction, 6 - brightness, mask, green, red, blue";
}

TEST_F(ImageWriterTest, SlotsAbove11AndRequestsWithoutCommandSendNothing) {
    Build();
    rig_.mouse().ClearLog();
    image_.editedSlot = 12;
    EXPECT_EQ(writer_.WriteSetting(4, 0), 0);
    image_.editedSlot = 3;
    EXPECT_EQ(writer_.WriteSetting(5, 0), 0) << "the extra positions are the wheel's";
    EXPECT_EQ(writer_.WriteSetting(8, 0), 0);
    EXPECT_EQ(writer_.WriteSetting(10, 0, 1), 0);
    EXPECT_EQ(writer_.WriteSetting(2, 0, 0), 0);
    EXPECT_EQ(writer_.WriteSetting(6, 3), 0) << "profile 3 has no image";
    EXPECT_TRUE(rig_.mouse().Log().empty());
    EXPECT_EQ(writer_.writes(), 0);
}

TEST_F(ImageWriterTest, FullWritePlanFollowsTheSequenceAndItsRepeats) {
    config_.keyProfiles[0][ButtonName(1)] = KeyBinding{0, 120, "", "M", "G"};
    Build();
    image_.repeatCount = 4;
    std::vector<std::tuple<int, int, int>> steps;
    for (const WriteStep& step : writer_.FullWritePlan(0)) {
        steps.emplace_back(step.type, step.subtype, step.times);
    }
    EXPECT_EQ(steps, (std::vector<std::tuple<int, int, int>>{{2, 2, 4},
                                                             {2, 1, 4},
                                                             {3, 0, 4},
                                                             {4, 0, 4},
                                                             {4, 0, 4},
                                                             {4, 0, 4},
                                                             {4, 0, 4},
                                                             {5, 0, 1},
                                                             {5, 0, 1},
                                                             {6, 0, 4},
                                                             {7, 0, 4},
                                                             {9, 0, 4},
                                                             {2, 3, 4},
                                                             {2, 5, 4},
                                                             {2, 6, 4},
                                                             {10, 2, 4},
                                                             {10, 6, 4}}));
    image_.keysOnly = true;
    EXPECT_EQ(writer_.FullWritePlan(0).size(), 6u) << "four buttons and the two wheel positions";
    image_.keysOnly = false;
    ImageWriter ble(session_, image_, KeyFunctionSources{presets_, macros_}, LinkKind::Ble);
    const auto plan = ble.FullWritePlan(0);
    EXPECT_EQ(plan.size(), steps.size() - 2) << "no report rate and no macro button over BLE";
}

TEST_F(ImageWriterTest, ReadBackTakesModeLevelAndRateFromTheMouse) {
    config_.lighting[0][0].mode = 1;
    config_.profiles[0].currentDpiLevel = 5;
    for (auto& level : config_.profiles[0].dpiLevels) {
        level.enabled = 1;  // a mouse takes no DPI table without levels
    }
    config_.profiles[0].usbRate = 1;
    options_.savePowerSelect = 1;
    Build();
    for (int type : {3, 6, 9}) {
        writer_.WriteSetting(type, 0);
    }
    writer_.ReadBackState("Virtual Mouse");
    EXPECT_EQ(image_.readLedMode, 1) << "the power-save bit is not part of the mode";
    EXPECT_EQ(image_.readDpiLevel, 5);
    EXPECT_EQ(image_.readRate, 1);

    rig_.mouse().SetRepliesEnabled(false);
    writer_.ReadBackState("Virtual Mouse");
    EXPECT_EQ(image_.readLedMode, -1);
    EXPECT_EQ(image_.readDpiLevel, -1);
}

}  // namespace
}  // namespace mousecfg
