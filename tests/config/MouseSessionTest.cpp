// The mouse session on the user-interface thread: the load sequence, BLE replies, refused imports and export.
#include "config/MouseSession.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>

#include "config/ExchangeFile.h"
#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "sim/VirtualMouse.h"
#include "tests/config/SessionHarness.h"

namespace mousecfg {
namespace {

using test::RigLink;
using test::SessionHarness;

std::filesystem::path FeatureFile(const SessionHarness& h) {
    return h.res.path() / "VeruzUrir" / "MouseA" / "Config" / "DeviceFeature.ini";
}

std::filesystem::path ConfigFile(const SessionHarness& h) {
    return MouseConfigPath(h.res.path() / "VeruzUrir" / "MouseA");
}

// Writes fail for the files `failing` names (root ignores permissions, so the write seam stands in for a
// read-only folder) while the object lives.
struct FailingWrites {
    explicit FailingWrites(std::vector<std::filesystem::path> failing) {
        SetWriteFailureForTesting([failing](const std::filesystem::path& file) {
            return std::find(failing.begin(), failing.end(), file) != failing.end();
        });
    }
    ~FailingWrites() { SetWriteFailureForTesting({}); }
};

// The mouse received no write (reads carry bit 7 of the command code).
bool NothingWritten(SessionHarness& h) {
    for (const auto& entry : h.rig.mouse().Log()) {
        if (entry.direction == sim::FrameLogEntry::Direction::Received && (entry.report[3] & 0x80) == 0) {
            return false;
        }
    }
    return true;
}

TEST(MouseSession, ADamagedConfigurationIsKeptAsideBeforeAnythingReplacesIt) {
    SessionHarness h(RigLink::Cable);
    const std::string whole = test::TempDir::Read(ConfigFile(h));
    const std::string cut = whole.substr(0, whole.size() / 3);
    h.res.Write("VeruzUrir/MouseA/Config/MouseConfig.json", cut);
    ASSERT_TRUE(h.macros->LoadMacros());
    h.session->SetDevice("Virtual Mouse", "MouseA");
    const Status loaded = h.session->LoadDevice();
    EXPECT_FALSE(loaded);
    EXPECT_NE(loaded.message().find(ConfigFile(h).string()), std::string::npos) << loaded.message();
    EXPECT_TRUE(h.session->configDamaged());
    {
        FailingWrites failing({ConfigFile(h)});
        const Status refused = h.session->SaveDocument();
        EXPECT_FALSE(refused);
        EXPECT_NE(refused.message().find(ConfigFile(h).string()), std::string::npos) << refused.message();
    }
    EXPECT_EQ(test::TempDir::Read(ConfigFile(h)), cut);

    ASSERT_TRUE(h.session->SaveDocument());
    EXPECT_EQ(test::TempDir::Read(ConfigFile(h).string() + ".damaged"), cut);
    MouseConfig saved;
    EXPECT_TRUE(LoadMouseConfig(saved, ConfigFile(h)));
    EXPECT_FALSE(h.session->configDamaged());
}

// An import whose file cannot be stored must not reload and apply: that would write the old configuration to the
// mouse as if it were the imported one. A reset whose copy fails stops the same way.
TEST(MouseSession, ImportAndResetThatCannotStoreTheConfigurationWriteNothing) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    const auto exchange = h.res / "mine.Mouse.Config";
    h.dialogs.saveAnswers.push_back(exchange.string());
    ASSERT_TRUE(h.session->ExportConfiguration());
    const auto featureFile = FeatureFile(h);
    const std::string config = test::TempDir::Read(ConfigFile(h));
    const std::string feature = test::TempDir::Read(featureFile);
    const std::string settings = test::TempDir::Read(h.session->settingsFile());
    FailingWrites failing({ConfigFile(h)});

    h.dialogs.openAnswers.push_back({exchange.string()});
    EXPECT_EQ(h.session->ImportConfiguration(), ImportResult::NotSaved);
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0].text.rfind(MouseSessionTexts().saveFailed, 0), 0u) << h.boxes.shown[0].text;
    EXPECT_NE(h.boxes.shown[0].text.find(ConfigFile(h).string()), std::string::npos) << h.boxes.shown[0].text;

    const Status reset = h.session->ResetConfiguration();
    EXPECT_FALSE(reset);
    EXPECT_NE(reset.message().find(ConfigFile(h).string()), std::string::npos) << reset.message();

    EXPECT_FALSE(h.session->ApplyRunning());
    h.Drain();
    EXPECT_TRUE(NothingWritten(h));
    EXPECT_EQ(test::TempDir::Read(ConfigFile(h)), config);
    EXPECT_EQ(test::TempDir::Read(featureFile), feature) << "no new tags";
    EXPECT_EQ(test::TempDir::Read(h.session->settingsFile()), settings) << "the sensor options stay";
}

// A foreign file over a configuration that cannot be read leaves nothing to write to the mouse.
TEST(MouseSession, AForeignImportOverADamagedConfigurationWritesNothing) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    const std::string cut = "{\"mouseconfig\": {\"mousekey\": ";
    h.res.Write("VeruzUrir/MouseA/Config/MouseConfig.json", cut);
    const auto factory = FeatureFile(h).parent_path() / "ResetMouseConfig.json";
    nlohmann::json foreign = nlohmann::json::parse(test::TempDir::Read(factory));
    foreign["MouseName"] = {'O', 't', 'h', 'e', 'r'};
    h.dialogs.openAnswers.push_back({h.res.Write("other.Mouse.Config", foreign.dump()).string()});
    EXPECT_EQ(h.session->ImportConfiguration(), ImportResult::OtherDevice);
    EXPECT_FALSE(h.session->ApplyRunning());
    h.Drain();
    EXPECT_TRUE(NothingWritten(h));
    EXPECT_EQ(test::TempDir::Read(ConfigFile(h)), cut);
}

TEST(MouseSession, LoadHoldsEveryRateToTheModelAndGivesMacrosTheCodeOf400Dpi) {
    SessionHarness h(RigLink::Cable);
    MouseConfig document;
    ASSERT_TRUE(LoadMouseConfig(document, ConfigFile(h)));
    document.profiles[1].usbRate = 6;
    document.profiles[2].dongleRate = 5;
    document.profiles[2].bleRate = 4;
    ASSERT_TRUE(SaveMouseConfig(document, ConfigFile(h)));
    h.Load();
    const MouseConfig& loaded = h.session->config();
    EXPECT_EQ(loaded.profiles[1].usbRate, 3);
    EXPECT_EQ(loaded.profiles[2].dongleRate, 3);
    EXPECT_EQ(loaded.profiles[2].bleRate, 3);

    const int code = h.session->feature().DpiCode("400");
    ASSERT_NE(code, 0);
    ASSERT_TRUE(h.macros->SelectMacro(0, 0));
    ASSERT_TRUE(h.macros->InsertItem(0, 0, 0, item::kDpi, 1, 20, ""));
    EXPECT_EQ(h.macros->workingMacro().block.extVal[0].x, code);
}

TEST(MouseSession, LoadTakesTheChipAndPreparesTheDocumentForThePages) {
    SessionHarness h(RigLink::Cable);
    sim::MouseStatus status = h.rig.mouse().Status();
    status.variant = 7;
    h.rig.mouse().SetStatus(status);
    ASSERT_TRUE(ini::WritePrivateProfileString("ChipReset7", "profile1", "2000,800", FeatureFile(h)));
    ASSERT_TRUE(ini::WritePrivateProfileString("ChipReset7", "profile0", std::nullopt, FeatureFile(h)));
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "UI_DPI_GEAR_NUM", "5", FeatureFile(h)));
    MouseConfig document;
    ASSERT_TRUE(LoadMouseConfig(document, MouseConfigPath(h.res.path() / "VeruzUrir" / "MouseA")));
    document.profiles[0].usbRate = 5;
    document.profiles[0].dpiLevels[7].gear = 99999;
    ASSERT_TRUE(SaveMouseConfig(document, MouseConfigPath(h.res.path() / "VeruzUrir" / "MouseA")));
    h.Load();

    const MouseSession& s = *h.session;
    EXPECT_EQ(s.feature().chipNumber, 7);
    EXPECT_EQ(s.feature().GearDpi(s.config().profiles[1].dpiLevels[0].gear), "2000") << "remapped for the new chip";
    EXPECT_EQ(s.feature().GearDpi(s.config().profiles[1].dpiLevels[1].gear), "800");
    EXPECT_EQ(s.config().profiles[0].usbRate, 3) << "four rates on this model";
    EXPECT_EQ(s.config().profiles[0].dpiLevels[7].gear, s.feature().gearTable.count);
    EXPECT_EQ(s.config().profiles[0].dpiLevels[5].enabled, 0) << "the page offers five levels";
    EXPECT_EQ(s.config().profiles[0].dpiLevels[4].enabled, 1);
    EXPECT_NE(s.feature().profileTags, (std::array<uint16_t, 4>{})) << "tags made for a model file without them";
    EXPECT_EQ(s.config().keyProfiles[0].at(ButtonName(0)).text, "Left Click");
    EXPECT_EQ(h.pages.selector, (std::vector<int>{0}));
    EXPECT_EQ(s.MappedButton(0, 7), 7);
}

TEST(MouseSession, BleRepliesAreStoredIntoTheCurrentProfile) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    MouseSession& s = *h.session;
    s.SetCurrentProfileFromMouse(1);
    EXPECT_EQ(s.config().currentProfile, 1);
    s.SetCurrentProfileFromMouse(3);
    EXPECT_EQ(s.config().currentProfile, 0) << "the mouse's fourth profile reads as the first";

    const Gear& gear20 = *s.feature().gearTable.Lookup(20);
    std::array<DpiLevelReading, 8> levels{};
    levels[0] = {true, static_cast<uint16_t>(gear20.sensorValue), gear20.multiplier};
    levels[1] = {false, 0xFFFF, 3};  // no gear has it
    const int gearBefore = s.config().profiles[0].dpiLevels[1].gear;
    s.SetDpiLevelsFromMouse(9, levels);
    EXPECT_EQ(s.config().profiles[0].dpiLevels[0].gear, 20);
    EXPECT_EQ(s.config().profiles[0].dpiLevels[1],
              (DpiLevel{0, gearBefore, s.config().profiles[0].dpiLevels[1].colour}));
    EXPECT_EQ(s.config().profiles[0].currentDpiLevel, 1) << "a level outside 0..7 is not taken";
    s.SetDpiLevelsFromMouse(3, levels);
    EXPECT_EQ(s.CurrentDpiLevel(), 3);
    // A reading with every level off is no table: the document keeps its switches, so the next run writes one.
    s.SetDpiLevelsFromMouse(1, std::array<DpiLevelReading, 8>{});
    EXPECT_EQ(s.config().profiles[0].dpiLevels[0].enabled, 1);
    EXPECT_EQ(s.config().profiles[0].dpiLevels[1].enabled, 0);
    EXPECT_EQ(s.CurrentDpiLevel(), 1);

    s.BeginLightingRead(0x84, 0);
    LightingRecordReading record;
    record.speed = 4;
    record.direction = 1;
    record.brightness = -20;
    record.colourEnabled[6] = true;
    record.colours[6] = 0xFF123456;
    s.SetLightingRecord(record);
    EXPECT_EQ(s.config().lighting[0][0].mode, 3);
    const LightingModeSettings& stored = s.config().lighting[0][3];
    EXPECT_EQ(stored.speed, 4);
    EXPECT_EQ(stored.brightness, 0);
    EXPECT_EQ(stored.colours[6].enabled, 1);
    EXPECT_EQ(stored.colours[6].colour & 0xFFFFFF, 0x123456);
    EXPECT_EQ(stored.colours[0].enabled, 0);

    s.BeginLightingRead(0x8F, 0);  // a mode the model lacks: the next record goes nowhere
    const auto lighting = s.config().lighting;
    s.SetLightingRecord(record);
    EXPECT_EQ(s.config().lighting, lighting);
}

// Files that are not the device's configuration change nothing and start no run.
TEST(MouseSession, RefusedImportsLeaveEverythingAsItWas) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    const auto configFile = MouseConfigPath(h.res.path() / "VeruzUrir" / "MouseA");
    const std::string saved = test::TempDir::Read(configFile);
    nlohmann::json badType = nlohmann::json::parse(saved);
    badType["MouseName"] = "Virtual Mouse";
    struct Case {
        std::string file;
        ImportResult result;
        size_t warnings;
    };
    for (const Case& c :
         {Case{"", ImportResult::Cancelled, 0},
          Case{h.res.Write("junk.Mouse.Config", "{{{").string(), ImportResult::NotJson, 0},
          Case{(h.res / "missing.Mouse.Config").string(), ImportResult::NotJson, 0},
          Case{h.res.Write("plain.Mouse.Config", saved).string(), ImportResult::NoName, 1},
          Case{h.res.Write("typed.Mouse.Config", badType.dump()).string(), ImportResult::BadContents, 1}}) {
        h.boxes.shown.clear();
        if (!c.file.empty()) {
            h.dialogs.openAnswers.push_back({c.file});
        }
        EXPECT_EQ(h.session->ImportConfiguration(), c.result) << c.file;
        EXPECT_EQ(h.boxes.shown.size(), c.warnings) << c.file;
        EXPECT_FALSE(h.session->ApplyRunning()) << c.file;
        EXPECT_EQ(test::TempDir::Read(configFile), saved) << c.file;
    }
    EXPECT_EQ(h.dialogs.filters.front().pattern, "*.Mouse.Config");
}

TEST(MouseSession, ExportWritesTheSavedConfigurationWithTheDeviceName) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    EXPECT_TRUE(h.session->ExportConfiguration()) << "cancelled: nothing to do";
    h.dialogs.saveAnswers.push_back((h.res / "out.Mouse.Config").string());
    ASSERT_TRUE(h.session->ExportConfiguration());
    const nlohmann::json exported = nlohmann::json::parse(test::TempDir::Read(h.res / "out.Mouse.Config"));
    EXPECT_EQ(exported["MouseName"].size(), std::string("Virtual Mouse").size());
    EXPECT_EQ(exported["MouseName"][0], 'V');
    EXPECT_EQ(CheckExchangeText(exported.dump(), "Virtual Mouse"), ExchangeCheck::Accepted);

    std::filesystem::remove(MouseConfigPath(h.res.path() / "VeruzUrir" / "MouseA"));
    h.dialogs.saveAnswers.push_back((h.res / "none.Mouse.Config").string());
    EXPECT_FALSE(h.session->ExportConfiguration());
    EXPECT_FALSE(std::filesystem::exists(h.res / "none.Mouse.Config"));
}

}  // namespace
}  // namespace mousecfg
