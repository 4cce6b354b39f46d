// The main window with the apply engine behind it, against the virtual mouse: what the window hands the engine
// (device loads, apply requests, relays, macro changes, profile changes, the "More" menu, exit) reaches the mouse
// and the saved files.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/CMsgWnd.h"
#include "app/SessionConfiguration.h"
#include "app/ShellMessages.h"
#include "config/DeviceFeature.h"
#include "config/KeyAssignment.h"
#include "config/MouseConfig.h"
#include "config/MouseSession.h"
#include "device/DeviceMessages.h"
#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "skin/Notification.h"
#include "skin/Progress.h"
#include "tests/app/ShellHarness.h"

namespace mousecfg {
namespace {

using app::Simulation;
using test::ShellHarness;
using namespace std::chrono_literals;

std::filesystem::path ModelFolder(ShellHarness& h) {
    return h.Res() / "VeruzUrir/MouseA";
}

app::SessionConfiguration& Engine(ShellHarness& h) {
    return h.shell->Configuration();
}

MouseConfig& Document(ShellHarness& h) {
    return *Engine(h).Document();
}

std::array<uint16_t, 4> SavedTags(ShellHarness& h) {
    ini::ClearCache();
    return LoadDeviceFeature(ModelFolder(h), Engine(h).Feature()->chipNumber).profileTags;
}

void MenuClick(ShellHarness& h, const char* item) {
    skin::Notification notification;
    notification.type = std::string(skin::notify::kMenuClick);
    notification.senderName = "mouse_exmenu";
    notification.text = item;
    h.Window().Notify(notification);
}

TEST(ApplyEngine, StartUpBringsTheMouseInStepAndARequestWritesTheChange) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    // A new virtual mouse holds no tags: the start-up run wrote the saved configuration and tagged it.
    const auto mouseTags = h.Mouse().System().profileTags;
    EXPECT_NE(mouseTags[0], 0);
    EXPECT_EQ(mouseTags[0], SavedTags(h)[0]);
    EXPECT_GT(h.Mouse().CountFrames(0x04), 0) << "the key assignments were written";
    const auto* bar = h.Window().Find<skin::Progress>("apply_progress");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetValue(), bar->GetMaxValue()) << "every request of the full write was counted";
    for (const char* name : {"ring", "text_apply", "tranWnd"}) {
        EXPECT_FALSE(h.Visible(name)) << name << " stays after the run";
    }

    // A DPI change of the pages: one single run of the DPI table.
    const auto before = h.Mouse().Profile(0).dpiTable;
    DpiLevel& level = Document(h).profiles[0].dpiLevels[0];
    level.gear = level.gear == 10 ? 20 : 10;
    h.Mouse().ClearLog();
    h.Send(app::msg::kApplyRequest, 6, 0);
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_NE(h.Mouse().Profile(0).dpiTable, before);
    EXPECT_EQ(h.Mouse().CountFrames(0x04), 0) << "nothing else is written";
    EXPECT_EQ(h.Mouse().System().profileTags[0], SavedTags(h)[0]) << "the new tag is on the mouse and on disk";

    // A second start finds the tags matching: only reads and no write.
    h.Mouse().ClearLog();
    Engine(h).RefreshFromDevice();
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Mouse().CountFrames(0x04), 0);
    EXPECT_EQ(h.Mouse().CountFrames(0x06), 0);
}

TEST(ApplyEngine, RelaysWriteTheSettingTheSettingsFileHolds) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    test::SetSetting(h.Res(), "Set", "SleepTime", "7");
    test::SetSetting(h.Res(), "Set", "PDTime", "15");
    ini::ClearCache();
    h.Send(app::msg::kRelaySleep, 7);
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Mouse().System().sleepSeconds, 7 * 60);
    h.Send(app::msg::kRelayPowerDown, 15);
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Mouse().System().powerDownSeconds, 15 * 60);
    EXPECT_EQ(h.Mouse().System().sleepSeconds, 7 * 60);

    // The power-save choice travels in the lighting mode byte (bit 6).
    const auto modeByte = [&] { return h.Mouse().Profile(0).light[0][0]; };
    for (const char* choice : {"1", "0"}) {
        test::SetSetting(h.Res(), "Set", "SavePowerSelect", choice);
        ini::ClearCache();
        h.Send(app::msg::kRelaySavePower);
        ASSERT_TRUE(h.WaitForApply());
        EXPECT_EQ((modeByte() & 0x40) != 0, choice[0] == '1') << choice;
    }
}

// The settings window stores a change while a run is under way: the mouse gets it once the run is over.
TEST(ApplyEngine, RelaysDuringARunReachTheMouseAfterIt) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    Document(h).profiles[0].dpiLevels[0].gear += 1;
    h.Window().Send(Message{app::msg::kApplyRequest, 6, 0, {}});
    ASSERT_TRUE(Engine(h).ApplyRunning());
    test::SetSetting(h.Res(), "Set", "SleepTime", "9");
    test::SetSetting(h.Res(), "Set", "PDTime", "12");
    ini::ClearCache();
    for (const uint32_t relay : {app::msg::kRelaySleep, app::msg::kRelayPowerDown, app::msg::kRelaySleep}) {
        h.Window().Send(Message{relay, 0, 0, {}});
    }
    ASSERT_TRUE(h.WaitForApply());
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Mouse().System().sleepSeconds, 9 * 60);
    EXPECT_EQ(h.Mouse().System().powerDownSeconds, 12 * 60);
}

TEST(ApplyEngine, AMacroChangeWritesTheKeysAndRenewsEveryTag) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    const auto before = SavedTags(h);
    h.Mouse().ClearLog();
    h.Send(app::msg::kMacrosChanged);
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_FALSE(Engine(h).MacrosChanged());
    EXPECT_GT(h.Mouse().CountFrames(0x04), 0);
    EXPECT_EQ(h.Mouse().CountFrames(0x06), 0) << "keys only";
    const auto after = SavedTags(h);
    for (size_t p = 0; p < 3; ++p) {
        EXPECT_NE(after[p], before[p]) << p;
    }
    EXPECT_EQ(h.Mouse().System().profileTags[0], after[0]) << "the current profile's tag goes to the mouse";
}

TEST(ApplyEngine, AProfileChosenOnTheMouseIsShownWithoutWriting) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    h.Mouse().ClearLog();
    h.Mouse().SetButton(2, true);  // the profile button of the model's key map
    h.Mouse().SetActiveProfile(1);
    h.Mouse().SetButton(2, false);
    ASSERT_TRUE(h.PumpUntil([&] { return Document(h).currentProfile == 1; }));
    h.Pump();
    EXPECT_EQ(h.Mouse().CountFrames(0x02), 0);
    EXPECT_EQ(h.Mouse().CountFrames(0x04), 0);
    EXPECT_EQ(Engine(h).Session().CurrentProfile(), 1) << "the readers compare with the new profile";
}

TEST(ApplyEngine, ExitWaitsForARunningRunAndKeepsItsTags) {
    ShellHarness h(Simulation::Receiver,
                   [](const auto& res) { test::SetSetting(res, "CloseConfig", "CloseOption", "1"); });
    h.Start();
    Document(h).profiles[0].dpiLevels[0].gear += 1;
    h.Window().Send(Message{app::msg::kApplyRequest, 6, 0, {}});
    EXPECT_TRUE(Engine(h).ApplyRunning());
    ShellHarness::Click(h.Window(), "btn_close");
    EXPECT_EQ(h.quits, std::vector<int>{0});
    EXPECT_FALSE(Engine(h).ApplyRunning());
    EXPECT_EQ(h.Mouse().System().profileTags[0], SavedTags(h)[0]) << "what the mouse holds is what was saved";
    MouseConfig saved;
    ASSERT_TRUE(LoadMouseConfig(saved, MouseConfigPath(ModelFolder(h))));
    EXPECT_EQ(saved.profiles[0].dpiLevels[0].gear, Document(h).profiles[0].dpiLevels[0].gear);
}

TEST(ApplyEngine, TheMoreMenuExportsResetsAndImports) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    const auto file = h.dir.path() / "mine.Mouse.Config";
    Document(h).profiles[0].fireValue = 55;
    ASSERT_TRUE(Engine(h).SaveDocumentAndDpiMemory());
    h.dialogs.saveAnswers.push_back(file.string());
    MenuClick(h, "Export");
    const Result<std::string> exported = ReadWholeFile(file);
    ASSERT_TRUE(exported) << "the export was written";
    EXPECT_NE(exported->find("\"MouseName\""), std::string::npos);

    MouseConfig factory;
    ASSERT_TRUE(LoadMouseConfig(factory, ModelFolder(h) / "Config/ResetMouseConfig.json"));
    ASSERT_NE(factory.profiles[0].fireValue, 55);
    MenuClick(h, "Reset");
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(Document(h).profiles[0].fireValue, factory.profiles[0].fireValue);

    h.dialogs.openAnswers.push_back({file.string()});
    MenuClick(h, "Import");
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(Document(h).profiles[0].fireValue, 55);
    EXPECT_EQ(h.Mouse().System().profileTags[0], SavedTags(h)[0]) << "the imported profile was written";
}

std::string MessageText(ShellHarness& h) {
    app::CMsgWnd* message = h.Window().MessageWindow();
    return message != nullptr ? message->FindControl("MessageText")->GetText() : std::string();
}

// Documents that cannot be read are named in the message window and are never overwritten: the configuration,
// which the start-up run saves, is kept aside first; the macro document, which nothing saved, stays as it is. The
// mouse holds what was saved.
TEST(ApplyEngine, DamagedDocumentsAreShownAndKeptWhileTheMouseHoldsWhatIsSaved) {
    std::string config;
    std::string macros;
    const auto cut = [](const std::filesystem::path& file, size_t keep) {
        std::string whole = test::TempDir::Read(file);
        whole.resize(std::min(keep, whole.size() / 2));
        std::ofstream(file, std::ios::trunc) << whole;
        return whole;
    };
    ShellHarness h(Simulation::Cable, [&](const std::filesystem::path& res) {
        config = cut(res / "VeruzUrir/MouseA/Config/MouseConfig.json", 5000);
        macros = cut(res / "MacroDock/MacroData/macroConfig.json", 3000);
    });
    h.Start();
    ASSERT_TRUE(h.WaitForApply());
    const std::string text = MessageText(h);
    EXPECT_EQ(text.rfind("These files could not be read.", 0), 0u) << text;
    EXPECT_NE(text.find("\nVeruzUrir/MouseA/Config/MouseConfig.json"), std::string::npos) << text;
    EXPECT_NE(text.find("\nMacroDock/MacroData/macroConfig.json"), std::string::npos) << text;

    EXPECT_TRUE(test::TempDir::Read(MouseConfigPath(ModelFolder(h)).string() + ".damaged") == config);
    EXPECT_TRUE(test::TempDir::Read(h.Res() / "MacroDock/MacroData/macroConfig.json") == macros);
    MouseConfig saved;
    ASSERT_TRUE(LoadMouseConfig(saved, MouseConfigPath(ModelFolder(h))));
    EXPECT_EQ(MouseConfigText(saved), MouseConfigText(Document(h)));
    EXPECT_EQ(h.Mouse().System().profileTags[0], SavedTags(h)[0]) << "the mouse holds the saved configuration";
}

// What cannot be saved is said in the message window, naming the file; a reset that cannot store the factory
// configuration writes nothing to the mouse.
TEST(ApplyEngine, SaveFailuresAreShownAndAFailedResetWritesNothing) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    const auto file = MouseConfigPath(ModelFolder(h));
    const std::string before = test::TempDir::Read(file);
    SetWriteFailureForTesting([&](const std::filesystem::path& target) { return target == file; });
    Document(h).profiles[0].dpiLevels[0].gear += 1;
    h.Send(app::msg::kApplyRequest, 6, 0);
    const bool finished = h.WaitForApply();
    const std::string afterRun = MessageText(h);
    h.Mouse().ClearLog();
    MenuClick(h, "Reset");
    h.Pump();
    const std::string afterReset = MessageText(h);
    SetWriteFailureForTesting({});
    ASSERT_TRUE(finished);
    EXPECT_EQ(afterRun.rfind("The settings could not be saved:\ncannot write " + file.string(), 0), 0u) << afterRun;
    EXPECT_EQ(afterReset.rfind("Something went wrong. Please try again.\ncannot write " + file.string(), 0), 0u)
        << afterReset;
    EXPECT_FALSE(Engine(h).ApplyRunning());
    EXPECT_TRUE(h.Mouse().Log().empty()) << "nothing was sent after the failed reset";
    EXPECT_TRUE(test::TempDir::Read(file) == before);
}

// Over BLE the replies to a run's reads arrive while it runs: the window keeps handling messages, and the tags
// the run wrote let the next run match, so macro bindings stay.
TEST(ApplyEngine, OverBleRunsKeepTheWindowResponsiveAndTheMacroBindings) {
    ShellHarness h(Simulation::Ble);
    h.Start();
    ASSERT_TRUE(h.PumpUntil([&] { return h.Text("connect_text") == "Connected by Bluetooth"; }));
    ASSERT_TRUE(h.WaitForApply());
    ASSERT_NE(Engine(h).Document(), nullptr);
    Engine(h).RefreshFromDevice();  // the first run over BLE knows no tags of the mouse
    ASSERT_TRUE(h.WaitForApply());
    ASSERT_TRUE(AssignMacro(Document(h), Engine(h).Macros(), Document(h).currentProfile, 3, 0, 0));
    const std::string macro = Document(h).keyProfiles[0].at(ButtonName(3)).macroGuid;
    ASSERT_FALSE(macro.empty());
    for (int run = 0; run < 2; ++run) {
        h.Send(app::msg::kApplyRequest, 0x80 | 2, 0);
        ASSERT_TRUE(h.WaitForApply());
        EXPECT_EQ(Document(h).keyProfiles[0].at(ButtonName(3)).macroGuid, macro) << "run " << run;
    }
}

}  // namespace
}  // namespace mousecfg
