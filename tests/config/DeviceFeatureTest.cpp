#include "config/DeviceFeature.h"

#include <gtest/gtest.h>

#include "device/ReportTransport.h"
#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "platform/Trace.h"
#include "tests/support/FakeHidHandle.h"
#include "tests/support/RecordingPacer.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using test::TempDir;

// The model folder shipped in res/, as laid out in the source tree.
std::filesystem::path ShippedModel() { return test::TestDataPath("../../res/VeruzUrir/MouseA"); }

// A model folder whose DeviceFeature.ini holds `ini`.
DeviceFeature LoadFrom(const TempDir& dir, const std::string& ini, int chip = 0) {
    dir.Write("Config/DeviceFeature.ini", ini);
    ini::ClearCache();
    return LoadDeviceFeature(dir.path(), chip);
}

// [Chip<chip>] listing `count` gears from `first` DPI in steps of `step`, sensor values 0, 1, 2, ...
std::string NativeGears(int chip, int first, int count, int step, int maxValue, int gearStep = 50) {
    std::string text = "[Chip" + std::to_string(chip) + "]\nDPI_GEAR_NUM=" + std::to_string(count) +
                       "\nGEAR_MAX_VALUE=" + std::to_string(maxValue) + "\nGEAR_STEP=" + std::to_string(gearStep) +
                       "\n";
    for (int g = 1; g <= count; ++g) {
        text += std::to_string(g) + "=" + std::to_string(first + (g - 1) * step) + "," + std::to_string(g - 1) + "\n";
    }
    return text;
}

TEST(DeviceFeature, ReadsKeysLightingModesAndConstantsInTheirOrder) {
    TempDir dir;
    const DeviceFeature f = LoadFrom(dir,
                                     "[KEYMAP]\nKeyNum=8\nMaxKeyNum=16\nK1_MAP=3\nK8_MAP=9\nK9_MAP=10\n"
                                     "K1_DEF=1\nK8_DEF=6\nK9_DEF=44\nK12_DEF=77\nK16_DEF=58\nK17_DEF=59\nK19_DEF=7\n"
                                     "[LEDMAP]\nLED3_MAP=131\nLED5_MAP=129\nLED7_MAP=385\n"
                                     "[Config]\nLED_MODE_SW_EN=1\nUI_DPI_GEAR_NUM=6\n"
                                     "RemoteFirmWareVersion=V1.2.3-and-much-more\n"
                                     "RemoteCustomVersion=\xE6\xB5\x8B\xE8\xAF\x95-custom-version-text\n");
    EXPECT_EQ(f.keyCount, 8);
    EXPECT_EQ(f.maxKeyCount, 16);
    EXPECT_EQ(f.keyMap[0], 3);
    EXPECT_EQ(f.keyMap[7], 9);
    EXPECT_EQ(f.keyMap[8], 0) << "beyond KeyNum";
    EXPECT_EQ(f.keyDefaults[7], 6);
    EXPECT_EQ(f.keyDefaults[8], 0) << "beyond KeyNum";
    EXPECT_EQ(f.keyDefaults[11], 0) << "K12_DEF is beyond KeyNum";
    EXPECT_EQ(f.keyDefaults[16], 58) << "K16_DEF belongs to the scroll-up position";
    EXPECT_EQ(f.keyDefaults[17], 59);
    EXPECT_EQ(f.keyDefaults[19], 7);
    EXPECT_EQ(f.ledModeMap.size(), 14u);
    EXPECT_EQ(f.ledModeMap.at(3), 131);
    EXPECT_EQ(f.ledModeMap.at(7), 129) << "low 8 bits of 385";
    EXPECT_EQ(f.ledModeMask, 0x0005);
    EXPECT_EQ(f.ledModeSwitch, 1);
    EXPECT_EQ(f.uiDpiLevelCount, 6);
    EXPECT_EQ(f.writeTimes, 4) << "absent";
    EXPECT_EQ(f.remoteFirmwareVersion, "V1.2.3-a");
    EXPECT_EQ(f.remoteCustomVersion, "\xE6\xB5\x8B\xE8\xAF\x95-custom-versio") << "16 UTF-16 units";
    EXPECT_TRUE(f.gearTable.gears.empty()) << "no [Chip0]";
}

// Every write of a run is repeated WriteTimes times while the run holds the request block.
TEST(DeviceFeature, WriteTimesBelowOneBecomesFourAndIsCapped) {
    TempDir dir;
    for (const auto& [value, expected] : std::vector<std::pair<std::string, int>>{
             {"0", 4}, {"-2", 4}, {"", 4}, {"1", 1}, {" 7x", 7}, {"16", 16}, {"17", 16}, {"2000000000", 16}}) {
        EXPECT_EQ(LoadFrom(dir, "[Config]\nWriteTimes=" + value + "\n").writeTimes, expected) << value;
    }
}

TEST(DeviceFeature, KeyCountAboveTwentyIsHeldToThePageButtons) {
    TempDir dir;
    const DeviceFeature f = LoadFrom(dir, "[KEYMAP]\nKeyNum=400\nK20_MAP=5\n");
    EXPECT_EQ(f.keyCount, 20);
    EXPECT_EQ(f.keyMap[19], 5);
}

TEST(DeviceFeature, GearEntriesKeepSpacesDropTabsAndSkipMalformedOnes) {
    TempDir dir;
    // Quotes keep the blanks that the INI reader would otherwise trim.
    const DeviceFeature f =
        LoadFrom(dir, "[Chip3]\nDPI_GEAR_NUM=3\nGEAR_STEP=0\n1=\"  1600\t,12\"\n2=3200\n3=6400,40,9\n", 3);
    EXPECT_EQ(f.gearTable.step, 0);
    ASSERT_EQ(f.gearTable.gears.size(), 2u) << "entry 2 lacks its sensor value";
    EXPECT_EQ(f.GearDpi(1), "  1600");
    EXPECT_EQ(f.GearSensorValue(1), 12);
    EXPECT_EQ(f.GearSensorValue(3), 40);
    EXPECT_EQ(f.FindGearByDpi("  1600"), 1);
    EXPECT_EQ(f.FindGearByDpi("1600"), std::nullopt);
    EXPECT_EQ(f.GearDpi(2), "6400") << "a missing gear reads as the next one";
    EXPECT_EQ(f.GearDpi(99), "6400") << "past the end reads as the last one";
}

struct ExtensionCase {
    const char* name;
    std::string ini;
    int expectedCount;
    std::vector<std::tuple<int, std::string, int, int>> gears;  // gear, dpi, sensor value, multiplier
};

TEST(DeviceFeature, GearTableExtendsByMultiplyingNativeGears) {
    const std::vector<ExtensionCase> cases = {
        {"native 100..26000 up to 30000", NativeGears(1, 100, 519, 50, 30000), 519 + 40,
         {{520, "26100", 259, 1}, {521, "26200", 260, 1}, {559, "30000", 298, 1}}},
        {"native range reaches the maximum", NativeGears(1, 50, 240, 50, 12000), 240, {{240, "12000", 239, 0}}},
        {"double then triple", NativeGears(1, 50, 240, 50, 26000), 240 + 120 + 13,
         {{241, "12100", 120, 1}, {360, "24000", 239, 1}, {361, "24150", 160, 2}, {373, "25950", 172, 2}}},
        {"factor four is the last", NativeGears(1, 50, 20, 50, 1000000), 20 + 10 + 7 + 5,
         {{30, "2000", 19, 1}, {31, "2100", 13, 2}, {37, "3000", 19, 2}, {38, "3200", 15, 3}, {42, "4000", 19, 3}}},
        {"no step", NativeGears(1, 50, 20, 50, 30000, 0), 20, {}},
        {"sensor values out of order",
         "[Chip1]\nDPI_GEAR_NUM=5\nGEAR_MAX_VALUE=2000\nGEAR_STEP=50\n1=50,0\n2=100,1\n3=150,2\n4=200,9\n5=250,3\n",
         5 + 1, {{6, "300", 2, 1}}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const DeviceFeature f = LoadFrom(dir, c.ini, 1);
        EXPECT_EQ(f.gearTable.count, c.expectedCount) << c.name;
        EXPECT_EQ(static_cast<int>(f.gearTable.gears.size()), c.expectedCount) << c.name;
        for (const auto& [gear, dpi, sensor, multiplier] : c.gears) {
            EXPECT_EQ(f.GearDpi(gear), dpi) << c.name << " gear " << gear;
            EXPECT_EQ(f.GearSensorValue(gear), sensor) << c.name << " gear " << gear;
            EXPECT_EQ(f.GearMultiplier(gear), multiplier) << c.name << " gear " << gear;
        }
        for (const auto& [gear, entry] : f.gearTable.gears) {
            EXPECT_LE(entry.multiplier, 3) << c.name << " gear " << gear;
        }
    }
}

TEST(DeviceFeature, ShippedModelHasAGearTableForEachChip) {
    struct Chip {
        int number;
        std::string lastDpi;
        int lastMultiplier;
    };
    for (const Chip& chip : {Chip{0, "30000", 1}, Chip{6, "30000", 1}, Chip{7, "25950", 2}, Chip{12, "26000", 1}}) {
        const DeviceFeature f = LoadDeviceFeature(ShippedModel(), chip.number);
        const auto last = f.gearTable.LastGear();
        ASSERT_TRUE(last) << chip.number;
        EXPECT_EQ(f.GearDpi(*last), chip.lastDpi) << chip.number;
        EXPECT_EQ(f.GearMultiplier(*last), chip.lastMultiplier) << chip.number;
        EXPECT_EQ(f.FindGearByDpi("50"), 1) << chip.number;
        EXPECT_EQ(f.DpiCode("400"), 7) << chip.number;
        EXPECT_EQ(f.DpiCode("401"), 0) << chip.number;
        for (const auto& text : f.LoadProfileDpiValues("profile_reset", 0)) {
            EXPECT_TRUE(f.FindGearByDpi(text)) << chip.number << " lacks " << text;
        }
    }
    EXPECT_FALSE(LoadDeviceFeature(ShippedModel(), 99).gearTable.LastGear()) << "no [Chip99]";
}

TEST(DeviceFeature, NewTagsAreMadeOnlyWhenAllFourAreZero) {
    TempDir dir;
    std::vector<std::string> traces;
    trace::ScopedSink sink([&](std::string_view text) { traces.emplace_back(text); });
    DeviceFeature f = LoadFrom(dir, "[RANDOM]\nProfile0=0\n");
    ASSERT_TRUE(EnsureProfileTags(f));
    ASSERT_EQ(traces.size(), 4u);
    const DeviceFeature reread = LoadDeviceFeature(dir.path(), 0);
    for (int p = 0; p < 4; ++p) {
        EXPECT_GE(f.profileTags[p], 1);
        EXPECT_EQ(reread.profileTags[p], f.profileTags[p]);
        EXPECT_EQ(traces[p], "random:" + std::to_string(f.profileTags[p]) + "\n");
    }
    DeviceFeature one = LoadFrom(dir, "[RANDOM]\nProfile2=65535\n");
    ASSERT_TRUE(EnsureProfileTags(one));
    EXPECT_EQ(one.profileTags, (std::array<uint16_t, 4>{0, 0, 65535, 0})) << "a single tag is enough";

    DeviceFeature unsaved = LoadFrom(dir, "[RANDOM]\nProfile0=0\n");
    SetWriteFailureForTesting([](const std::filesystem::path&) { return true; });
    const Status saved = EnsureProfileTags(unsaved);
    SetWriteFailureForTesting({});
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.message().find(unsaved.iniFile.string()), std::string::npos) << saved.message();
    EXPECT_EQ(TempDir::Read(unsaved.iniFile), "[RANDOM]\nProfile0=0\n");
    EXPECT_FALSE(one.SaveProfileTag(4, 1)) << "four tags only";
}

TEST(DeviceFeature, DpiValuesAreRememberedPerChip) {
    TempDir dir;
    DeviceFeature f = LoadFrom(dir, NativeGears(6, 50, 100, 50, 5000), 6);
    ASSERT_TRUE(f.SaveProfileDpiValues(1, {"400", "800", "1600"}));
    EXPECT_EQ(ini::GetPrivateProfileString("ChipReset6", "profile1", "", f.iniFile), "400,800,1600");
    EXPECT_EQ(f.LoadProfileDpiValues("profile", 1), (std::vector<std::string>{"400", "800", "1600"}));
    EXPECT_TRUE(f.LoadProfileDpiValues("profile", 2).empty());
    f.chipNumber = 7;
    EXPECT_TRUE(f.LoadProfileDpiValues("profile", 1).empty()) << "another chip has its own memory";
}

TEST(DeviceFeature, ChipNumberIsTheThirdByteOfTheDeviceInformation) {
    test::RecordingPacer pacer;
    ReportTransport transport(PacingValues::Zero(), pacer);
    auto hid = std::make_shared<test::FakeHidHandle>();
    transport.SetHandles(hid, nullptr);
    CommandSet commands(transport);
    hid->QueueReply({0x11, 0x22, 6});
    auto session = commands.Acquire();
    EXPECT_EQ(ReadChipNumber(session), 6);
    hid->SetFailing(true);
    EXPECT_EQ(ReadChipNumber(session), 0);
}

TEST(DeviceFeature, NewProfileTagsStayInRange) {
    for (int i = 0; i < 200; ++i) {
        const uint16_t tag = NewProfileTag();
        EXPECT_GE(tag, 1);
    }
}

}  // namespace
}  // namespace mousecfg
