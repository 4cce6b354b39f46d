#include "config/MouseConfig.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "config/DeviceFeature.h"
#include "config/FunctionTable.h"
#include "macro/KeyNames.h"
#include "platform/PrivateProfile.h"
#include "tests/support/FakeMacroLookup.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using test::TempDir;
using test::TestDataPath;

std::filesystem::path ShippedConfig(const char* name) {
    return TestDataPath(std::string("../../res/VeruzUrir/MouseA/Config/") + name);
}

// Loading a file written by another program and saving it again gives the same bytes: indentation, key order,
// number forms and every member of the format.
TEST(MouseConfig, FilesWrittenElsewhereSaveBackByteForByte) {
    for (const auto& file : {TestDataPath("config/MouseConfig.json"), ShippedConfig("MouseConfig.json"),
                             ShippedConfig("ResetMouseConfig.json")}) {
        MouseConfig config;
        ASSERT_TRUE(LoadMouseConfig(config, file)) << file;
        EXPECT_EQ(MouseConfigText(config), TempDir::Read(file)) << file;
    }
}

TEST(MouseConfig, LoadFillsEveryField) {
    MouseConfig config;
    ASSERT_TRUE(LoadMouseConfig(config, TestDataPath("config/MouseConfig.json")));
    EXPECT_EQ(config.version, 7);
    EXPECT_EQ(config.currentProfile, 2);
    const KeyBinding& button3 = config.keyProfiles[2].at("btn_MouseKey_Click3");
    EXPECT_EQ(button3.code, 263);
    EXPECT_EQ(button3.text, "InitNull");
    EXPECT_EQ(config.keyProfiles[1].at("btn_MouseKey_Click2").groupGuid, "G2-1");
    EXPECT_EQ(config.keyProfiles[1].at("btn_MouseKey_Click2").macroGuid, "M2-1");
    EXPECT_EQ(config.keyProfiles[3].at("btn_MouseKey_Click2").macroGuid, "");
    const ProfileSettings& profile1 = config.profiles[1];
    EXPECT_EQ(profile1.currentDpiLevel, 3);
    EXPECT_EQ(profile1.fireValue, 15);
    EXPECT_EQ(profile1.usbRate, 1);
    EXPECT_EQ(profile1.dongleRate, 2);
    EXPECT_EQ(profile1.bleRate, 2);
    EXPECT_EQ(profile1.dpiLevels[5], (DpiLevel{0, 42, 0x010203 * 6 + 1}));
    const LightingModeSettings& led = config.lighting[2][13];
    EXPECT_EQ(led.mode, (13 + 2) % 14);
    EXPECT_EQ(led.brightness, 4);
    EXPECT_EQ(led.speed, 2);
    EXPECT_EQ(led.direction, 1);
    EXPECT_EQ(led.colours[6], (LedColour{0x200000 + 0xD000 + 6, 1}));
}

TEST(MouseConfig, OlderFilesLoadAndSaveInTheCurrentFormat) {
    MouseConfig config;
    ASSERT_TRUE(LoadMouseConfig(config, TestDataPath("config/legacy-MouseConfig.json")));
    EXPECT_EQ(config.currentProfile, 0) << "profile 3 does not exist";
    EXPECT_EQ(config.profiles[1].dpiLevels[3].gear, 0) << "kept as read";
    EXPECT_EQ(config.keyProfiles[0].size(), 20u) << "unknown button names are ignored";
    EXPECT_EQ(config.keyProfiles[1].at("btn_MouseKey_Click4").code, 42);
    EXPECT_EQ(config.keyProfiles[2].at("btn_MouseKey_Click4").code, 0);
    EXPECT_EQ(MouseConfigText(config), TempDir::Read(TestDataPath("config/legacy-saved.json")));
}

TEST(MouseConfig, RatesMissingFromTheFileKeepTheirValues) {
    MouseConfig config;
    config.profiles[0].dongleRate = 3;
    config.profiles[0].bleRate = 2;
    ASSERT_TRUE(LoadMouseConfig(config, TestDataPath("config/legacy-MouseConfig.json")));
    EXPECT_EQ(config.profiles[0].dongleRate, 3);
    EXPECT_EQ(config.profiles[0].bleRate, 2);
}

TEST(MouseConfig, ABrokenFileKeepsWhatWasReadBeforeTheFault) {
    auto document = nlohmann::json::parse(TempDir::Read(TestDataPath("config/MouseConfig.json")));
    document["mouseconfig"]["mouseled"][1][4]["brightnessvalue"] = "bright";
    MouseConfig config;
    config.version = 99;
    const Status loaded = ParseMouseConfig(config, document.dump());
    EXPECT_FALSE(loaded);
    EXPECT_NE(loaded.message().find("type must be number, but is string"), std::string::npos) << loaded.message();
    EXPECT_EQ(config.keyProfiles[0].at("btn_MouseKey_Click9").code, 9) << "keys were read";
    EXPECT_EQ(config.profiles[2].fireValue, 25) << "profiles were read";
    EXPECT_EQ(config.lighting[1][3].brightness, 4) << "lighting up to the fault was read";
    EXPECT_EQ(config.version, 99) << "the main section comes after the fault";

    MouseConfig untouched;
    untouched.version = 5;
    EXPECT_FALSE(ParseMouseConfig(untouched, "{\"mouseconfig\": "));
    EXPECT_FALSE(LoadMouseConfig(untouched, TestDataPath("config/missing.json")));
    EXPECT_EQ(untouched.version, 5);
    EXPECT_EQ(untouched.keyProfiles[0].at("btn_MouseKey_Click0").text, "InitNull");
    EXPECT_EQ(untouched.version, 5) << "a file that does not parse changes nothing";
}

// Values beyond their ranges used to wrap on their way to the mouse (a DPI level of 1000000 became level 65, a
// mode of 1e20 mode 0) or were kept (negative brightness and rates). Valid files still load byte for byte
// (FilesWrittenElsewhereSaveBackByteForByte).
TEST(MouseConfig, ValuesAreHeldToTheirRangesOnLoad) {
    auto document = nlohmann::json::parse(TempDir::Read(TestDataPath("config/MouseConfig.json")));
    auto& adv = document["mouseconfig"]["mouseadv"];
    auto& record = document["mouseconfig"]["mouseled"][1][4];
    adv[0]["cruseldpi"] = 1000000;
    adv[0]["firevalue"] = 1e300;
    adv[0]["rateusbvalue"] = -1;
    adv[1]["cruseldpi"] = -3;
    adv[1]["ratedonglevalue"] = nlohmann::json(18446744073709551615ull);
    adv[2]["rateblevalue"] = 4294967296.0;
    adv[2]["firevalue"] = -5;
    document["mouseconfig"]["mouseled"][0][0]["curselmode"] = 1e20;
    record["curselmode"] = -1;
    record["brightnessvalue"] = -4;
    record["frequencyvalue"] = 99;
    record["directionsel"] = 2147483648.0;
    MouseConfig config;
    ASSERT_TRUE(ParseMouseConfig(config, document.dump()));
    EXPECT_EQ(config.profiles[0].currentDpiLevel, 7);
    EXPECT_EQ(config.profiles[0].fireValue, 255);
    EXPECT_EQ(config.profiles[0].usbRate, 0);
    EXPECT_EQ(config.profiles[1].currentDpiLevel, 0);
    EXPECT_EQ(config.profiles[1].dongleRate, 6);
    EXPECT_EQ(config.profiles[2].bleRate, 6);
    EXPECT_EQ(config.profiles[2].fireValue, 0);
    EXPECT_EQ(config.lighting[0][0].mode, 13);
    const LightingModeSettings& held = config.lighting[1][4];
    EXPECT_EQ(held.mode, 0);
    EXPECT_EQ(held.brightness, 0);
    EXPECT_EQ(held.speed, 5);
    EXPECT_EQ(held.direction, 3);
}

TEST(MouseConfig, SurplusProfilesAreIgnored) {
    auto document = nlohmann::json::parse(TempDir::Read(TestDataPath("config/MouseConfig.json")));
    auto& root = document["mouseconfig"];
    root["mouseadv"].push_back(root["mouseadv"][0]);
    root["mouseled"].push_back(root["mouseled"][0]);
    root["mousekey"]["btn_MouseKey_Click0"].push_back(5);
    MouseConfig config;
    ASSERT_TRUE(ParseMouseConfig(config, document.dump()));
    EXPECT_EQ(MouseConfigText(config), TempDir::Read(TestDataPath("config/MouseConfig.json")));
}

TEST(MouseConfig, AFreshDocumentSavesInTheFullFormat) {
    TempDir dir;
    MouseConfig config;
    config.keyProfiles[0]["btn_MouseKey_Click1"].code = 3;
    ASSERT_TRUE(SaveMouseConfig(config, dir / "out.json"));
    const auto saved = nlohmann::json::parse(TempDir::Read(dir / "out.json"))["mouseconfig"];
    EXPECT_EQ(saved["mousekey"].size(), 20u);
    EXPECT_EQ(saved["mousekey"]["btn_MouseKey_Click1"], nlohmann::json({3, 0, 0, 0}));
    EXPECT_EQ(saved["mousekeyMacro"]["btn_MouseKey_Click19"].size(), 4u);
    EXPECT_EQ(saved["mouseadv"].size(), 3u);
    EXPECT_EQ(saved["mouseadv"][0]["ctrl_MouseAdv_Dpi7"], nlohmann::json({0, 1, 0}));
    ASSERT_EQ(saved["mouseled"].size(), 3u);
    EXPECT_EQ(saved["mouseled"][2].size(), 14u);
    EXPECT_EQ(saved["mouseled"][2][13].size(), 11u);
}

class LabelPass : public ::testing::Test {
protected:
    LabelPass() {
        feature_.keyDefaults[0] = 1;
        feature_.keyDefaults[1] = 256 + 0x1C;
        feature_.keyDefaults[16] = 58;
        EXPECT_TRUE(
            functions_.Parse(R"({"MouseFunctionText": {"1": ["Left", "L"], "58": ["Up", "U"], "x": ["?", "?"]}})"));
        macros_.macros[{"G", "M"}] = FoundMacro{u"Burst", {}};
        config_.keyProfiles.fill({{"btn_MouseKey_Click0", {}}, {"btn_MouseKey_Click1", {}},
                                  {"btn_MouseKey_Click16", {}}, {"btn_MouseKey_Click7", {}}});
    }

    KeyBinding& Binding(int profile, const std::string& name) { return config_.keyProfiles[profile].at(name); }

    DeviceFeature feature_;
    FunctionTable functions_;
    test::FakeMacroLookup macros_;
    KeyNames names_;
    MouseConfig config_;
};

TEST_F(LabelPass, LabelsComeFromFunctionsMacrosAndKeyNames) {
    Binding(0, "btn_MouseKey_Click0") = {0, 58, "", "", ""};
    Binding(0, "btn_MouseKey_Click1") = {0, 120, "", "M", "G"};
    Binding(0, "btn_MouseKey_Click16") = {0, 256 + 0x29, "", "", ""};
    Binding(0, "btn_MouseKey_Click7") = {0, 7, "", "", ""};
    ResolveKeyTexts(config_, feature_, functions_, macros_, names_);
    EXPECT_EQ(Binding(0, "btn_MouseKey_Click0").text, "U");
    EXPECT_EQ(Binding(0, "btn_MouseKey_Click0").defaultCode, 1);
    EXPECT_EQ(Binding(0, "btn_MouseKey_Click1").text, "M:Burst");
    EXPECT_EQ(Binding(0, "btn_MouseKey_Click16").text, "Escape");
    EXPECT_EQ(Binding(0, "btn_MouseKey_Click16").defaultCode, 58);
    EXPECT_EQ(Binding(0, "btn_MouseKey_Click7").text, "Unknown Key");
    EXPECT_EQ(Binding(3, "btn_MouseKey_Click0").text, "Unknown Key") << "code 0 is not in this table";
}

// While the macro document cannot be read its macros are unknown, not deleted: the bindings stay for when it
// can be read again.
TEST_F(LabelPass, BindingsStayWhileTheMacroDocumentCannotBeRead) {
    macros_.complete = false;
    Binding(1, "btn_MouseKey_Click0") = {0, 120, "", "gone", "G"};
    ResolveKeyTexts(config_, feature_, functions_, macros_, names_);
    EXPECT_EQ(Binding(1, "btn_MouseKey_Click0").code, 120);
    EXPECT_EQ(Binding(1, "btn_MouseKey_Click0").macroGuid, "gone");
    EXPECT_EQ(Binding(1, "btn_MouseKey_Click0").text, "Macro_Null");
}

TEST_F(LabelPass, ABindingToADeletedMacroFallsBackToItsDefault) {
    Binding(1, "btn_MouseKey_Click0") = {0, 120, "", "gone", "G"};
    Binding(1, "btn_MouseKey_Click1") = {0, 120, "", "M", "other group"};
    Binding(1, "btn_MouseKey_Click16") = {0, 259, "", "", ""};
    ResolveKeyTexts(config_, feature_, functions_, macros_, names_);
    EXPECT_EQ(Binding(1, "btn_MouseKey_Click0").code, 1);
    EXPECT_EQ(Binding(1, "btn_MouseKey_Click0").text, "L");
    EXPECT_EQ(Binding(1, "btn_MouseKey_Click1").code, 256 + 0x1C);
    EXPECT_EQ(Binding(1, "btn_MouseKey_Click1").text, "Unknown Key") << "a letter without a layout has no name";
    EXPECT_EQ(Binding(1, "btn_MouseKey_Click16").code, 58);
    const auto saved = nlohmann::json::parse(MouseConfigText(config_));
    EXPECT_EQ(saved["mouseconfig"]["mousekey"]["btn_MouseKey_Click0"][1], 1) << "the file then holds the default";
}

TEST(MouseConfig, LevelsBeyondTheShownCountAreSwitchedOffInTheCurrentProfile) {
    MouseConfig config;
    config.currentProfile = 1;
    for (auto& profile : config.profiles) {
        for (auto& level : profile.dpiLevels) {
            level.enabled = 1;
        }
    }
    ApplyLevelCount(config, 5);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(config.profiles[1].dpiLevels[k].enabled, k < 5 ? 1 : 0) << k;
        EXPECT_EQ(config.profiles[0].dpiLevels[k].enabled, 1) << k;
    }
}

TEST(MouseConfig, DpiLevelsFollowTheirValuesAcrossGearTables) {
    TempDir dir;
    dir.Write("Config/DeviceFeature.ini",
              "[Chip1]\nDPI_GEAR_NUM=4\nGEAR_STEP=100\n1=400,1\n2=800,2\n3=1600,3\n4=3200,4\n"
              "[Chip2]\nDPI_GEAR_NUM=3\nGEAR_STEP=100\n1=800,1\n2=1600,2\n3=6400,3\n");
    ini::ClearCache();
    const DeviceFeature chip1 = LoadDeviceFeature(dir.path(), 1);
    MouseConfig config;
    config.profiles[0].dpiLevels[0].gear = 2;  // 800
    config.profiles[0].dpiLevels[1].gear = 3;  // 1600
    config.profiles[0].dpiLevels[2].gear = 4;  // 3200
    ASSERT_TRUE(SaveDocumentAndDpiMemory(config, chip1, dir.path()));
    EXPECT_TRUE(std::filesystem::exists(MouseConfigPath(dir.path())));
    EXPECT_EQ(chip1.LoadProfileDpiValues("profile", 0)[2], "3200");

    config.profiles[0].dpiLevels[3].gear = 3;
    const DeviceFeature chip2 = LoadDeviceFeature(dir.path(), 2);
    ASSERT_TRUE(chip2.SaveProfileDpiValues(0, {"1600", "800", "3200"}));
    RemapDpiLevels(config, chip2, "profile");
    EXPECT_EQ(config.profiles[0].dpiLevels[0].gear, 2);
    EXPECT_EQ(config.profiles[0].dpiLevels[1].gear, 1);
    EXPECT_EQ(config.profiles[0].dpiLevels[2].gear, 3) << "a value the chip lacks takes its last gear";
    EXPECT_EQ(config.profiles[0].dpiLevels[3].gear, 3) << "levels without a remembered value stay";
}

}  // namespace
}  // namespace mousecfg
