// What the pages (and the command-line tool) do with a typed DPI value, a button assignment and the sensor
// options of the settings file.
#include <gtest/gtest.h>

#include "config/DeviceFeature.h"
#include "config/FunctionTable.h"
#include "config/KeyAssignment.h"
#include "config/MouseConfig.h"
#include "config/SensorOptions.h"
#include "config/TypedDpi.h"
#include "macro/MacroStore.h"
#include "platform/PrivateProfile.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

TEST(TypedDpi, ExactTextFirstThenTheNearerNeighbour) {
    DeviceFeature feature;
    const std::vector<std::string> dpis = {"400", "1600", "1650", "3200"};
    for (int gear = 1; gear <= 4; ++gear) {
        feature.gearTable.Add(gear, Gear{dpis[static_cast<size_t>(gear - 1)], gear, 0});
    }
    struct Case {
        const char* typed;
        std::optional<int> gear;
    };
    for (const Case& c : {Case{"1600", 2}, Case{"1620", 2}, Case{"1625", 3}, Case{"1\t650", 3}, Case{"01600", 2},
                          Case{"+1650", 3}, Case{"100", 1}, Case{"99999", 4}, Case{"0", std::nullopt},
                          Case{"-5", std::nullopt}, Case{"abc", std::nullopt}, Case{"", std::nullopt}}) {
        EXPECT_EQ(GearForTypedDpi(feature, c.typed), c.gear) << c.typed;
    }
    EXPECT_EQ(GearForTypedDpi(DeviceFeature{}, "400"), std::nullopt);
}

class KeyAssignmentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        res_.Write("MacroDock/MacroData/macroConfig.json",
                   test::TempDir::Read(test::TestDataPath("../../res/MacroDock/MacroData/macroConfig.json")));
        ASSERT_TRUE(store_.LoadMacros());
    }
    MacroRecord& Macro(int m) { return store_.groups()[0].macros[static_cast<size_t>(m)]; }

    test::TempDir res_;
    test::ScriptedFileDialogs dialogs_;
    test::RecordingMessageBoxes boxes_;
    MacroStore store_{MacroResourceFolder{res_.path()}, dialogs_, boxes_};
    MouseConfig config_;
    FunctionTable functions_;
};

TEST_F(KeyAssignmentTest, TheOnlyLeftClickKeepsIt) {
    config_.keyProfiles[0][ButtonName(0)].code = kLeftClickCode;
    EXPECT_TRUE(IsOnlyLeftClick(config_, 0, 0));
    EXPECT_FALSE(IsOnlyLeftClick(config_, 0, 1));
    config_.keyProfiles[0][ButtonName(5)].code = kLeftClickCode;
    EXPECT_FALSE(IsOnlyLeftClick(config_, 0, 0)) << "with two left clicks either may go";
    EXPECT_FALSE(IsOnlyLeftClick(config_, 3, 0));
}

TEST_F(KeyAssignmentTest, BindingCountsFollowTheAssignments) {
    ASSERT_TRUE(AssignMacro(config_, store_, 0, 3, 0, 0));
    ASSERT_TRUE(AssignMacro(config_, store_, 1, 4, 0, 0));
    EXPECT_EQ(Macro(0).bindKeys, 2);
    ASSERT_TRUE(AssignMacro(config_, store_, 0, 3, 0, 0));
    EXPECT_EQ(Macro(0).bindKeys, 2) << "the same macro again changes nothing";
    ASSERT_TRUE(AssignMacro(config_, store_, 0, 3, 0, 1));
    EXPECT_EQ(Macro(0).bindKeys, 1);
    EXPECT_EQ(Macro(1).bindKeys, 1);
    EXPECT_EQ(config_.keyProfiles[0].at(ButtonName(3)),
              (KeyBinding{0, 120, "M:Shift click", Macro(1).guid, store_.groups()[0].guid}));
    ASSERT_TRUE(AssignFunction(config_, store_, 1, 4, 29, functions_, KeyNames()));
    EXPECT_EQ(Macro(0).bindKeys, 0);
    EXPECT_TRUE(config_.keyProfiles[1].at(ButtonName(4)).macroGuid.empty());
    EXPECT_FALSE(AssignFunction(config_, store_, 0, 2, 150, functions_, KeyNames())) << "macros are bound by name";
    EXPECT_FALSE(AssignMacro(config_, store_, 0, 2, 0, 9));
    EXPECT_FALSE(AssignFunction(config_, store_, 0, 20, 1, functions_, KeyNames()));
}

TEST_F(KeyAssignmentTest, BindingListsAreRebuiltForTheDeviceOnly) {
    Macro(0).bindings[u"Other Mouse"] = {MacroBinding{"Profile1", ButtonName(2)}};
    Macro(1).bindings[u"Virtual Mouse"] = {MacroBinding{"Profile3", ButtonName(9)}};
    ASSERT_TRUE(AssignMacro(config_, store_, 0, 3, 0, 0));
    ASSERT_TRUE(AssignMacro(config_, store_, 2, 16, 0, 0));
    ASSERT_TRUE(RebuildMacroBindings(store_, config_, "Virtual Mouse"));
    EXPECT_EQ(Macro(0).bindings.at(u"Virtual Mouse"),
              (std::vector<MacroBinding>{{"Profile1", ButtonName(3)}, {"Profile3", ButtonName(16)}}));
    EXPECT_EQ(Macro(0).bindings.at(u"Other Mouse").size(), 1u);
    EXPECT_EQ(Macro(0).bindKeys, 3);
    EXPECT_FALSE(Macro(1).bindings.contains(u"Virtual Mouse"));
    EXPECT_EQ(Macro(1).bindKeys, 0);
    MacroStore reloaded{MacroResourceFolder{res_.path()}, dialogs_, boxes_};
    ASSERT_TRUE(reloaded.LoadMacros());
    EXPECT_EQ(reloaded.groups()[0].macros[0].bindKeys, 3) << "saved";
}

TEST(SensorOptions, LoadHoldsSlidersInRangeAndResetKeepsPowerDownInMemory) {
    test::TempDir dir;
    const auto file = dir.Write("Set.ini",
                                "[Set]\nSleepTime=500\nShortPress=-4\nLODHeight=1\nPDTime=45\nSavePowerSelect=1\n"
                                "[Reset]\nLODHeight=0\nSleepTime=12\nShortPress=2\nPDTime=9\nStraightLineCorrectEn=1\n"
                                "RippleCtrlEn=1\nSmoothLineEn=1\nMoveWakeEn=1\nJitterCorrectEn=1\n");
    SensorOptions options = LoadSensorOptions(file);
    EXPECT_EQ(options.sleepTime, kSleepTimeRange.max);
    EXPECT_EQ(options.shortPress, kShortPressRange.min);
    EXPECT_EQ(options.lodHeight, 1);
    EXPECT_EQ(options.pdTime, 45);
    EXPECT_EQ(options.moveWakeEn, 0) << "a missing key reads as 0";

    ASSERT_TRUE(ResetSensorOptions(options, file));
    EXPECT_EQ(options, (SensorOptions{1, 12, 2, 0, 1, 1, 1, 1, 1, 9}));
    ini::ClearCache();
    const SensorOptions stored = LoadSensorOptions(file);
    EXPECT_EQ(stored, (SensorOptions{1, 12, 2, 0, 1, 1, 1, 1, 1, 45})) << "PDTime is not written";
}

}  // namespace
}  // namespace mousecfg
