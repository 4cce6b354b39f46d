// The settings and version windows opened by the main window against the virtual mouse, the software update's
// messages and the low-battery notice.
#include <gtest/gtest.h>

#include <fstream>

#include "app/ShellMessages.h"
#include "app/settings/SettingsOpener.h"
#include "app/update/SoftVersion.h"
#include "app/update/SoftwareUpdate.h"
#include "device/DeviceMessages.h"
#include "platform/PrivateProfile.h"
#include "sim/VirtualMouse.h"
#include "skin/Option.h"
#include "skin/SkinResources.h"
#include "skin/Slider.h"
#include "skin/WindowMessages.h"
#include "tests/app/ShellHarness.h"
#include "tests/support/LocalHttpServer.h"

namespace mousecfg {
namespace {

using app::Simulation;
using test::ShellHarness;

// Opens the settings window with the main window's gear button; `inside` runs while its modal run waits.
void WithSettings(ShellHarness& h, const std::function<void(app::Setting&)>& inside) {
    h.Platform().RunOnUiThread([&h, inside] {
        app::Setting* window = h.shell->Settings().OpenWindow();
        ASSERT_NE(window, nullptr);
        h.Pump();  // "windowinit" fills the controls
        inside(*window);
    });
    ShellHarness::Click(h.Window(), "btn_set");
    h.Pump();
}

void Release(app::Setting& window, const char* sliderName, int value) {
    auto* slider = window.Find<skin::Slider>(sliderName);
    slider->SetValue(value);
    window.GetPaintManager().SendNotify(slider, skin::notify::kMoveValueChanged);
    window.GetPaintManager().SendNotify(slider, skin::notify::kValueChanged);
}

TEST(SettingsFromTheMainWindow, AReleasedSliderReachesTheMouseAndClosingGivesTheWindowBack) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    h.Mouse().ClearLog();
    WithSettings(h, [&](app::Setting& window) {
        EXPECT_TRUE(h.Visible("tranWnd_setting")) << "the main window is dimmed";
        EXPECT_EQ(window.FindControl("ChargeCntLabel")->GetText(), "0") << "read from the mouse";
        EXPECT_EQ(window.FindControl("LODHeight1")->GetText(), "1mm") << "the virtual mouse's sensor is chip 6";
        ShellHarness::Click(window, "opt_more");
        Release(window, "Slider_Sleep_Time", 42);
        ShellHarness::Click(window, "btn_close");
    });
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Mouse().System().sleepSeconds, 42 * 60);
    EXPECT_EQ(h.Setting("Set", "SleepTime"), "42");
    EXPECT_GE(h.Mouse().CountFrames(0x82), 1) << "the charge counter was asked for";
    EXPECT_EQ(h.shell->Settings().OpenWindow(), nullptr);
    EXPECT_FALSE(h.Visible("tranWnd_setting"));
    EXPECT_EQ(skin::SkinResources::GetTextQueryInterface(), &h.Window()) << "the main window's texts again";
}

// The DPI page edits the same options: it shows what the settings window stored, so that a later change on the page
// does not write an old value back.
TEST(SettingsFromTheMainWindow, TheDpiPageShowsWhatTheSettingsWindowStored) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    const auto selected = [&h](const char* name) { return h.Window().Find<skin::Option>(name)->IsSelected(); };
    ASSERT_FALSE(selected("RippleControlEn"));
    WithSettings(h, [&](app::Setting& window) {
        ShellHarness::Click(window, "opt_more");
        ShellHarness::Click(window, "RippleControlEn");
        ShellHarness::Click(window, "btn_close");
    });
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_TRUE(selected("RippleControlEn"));
    WithSettings(h, [&](app::Setting& window) {
        ShellHarness::Click(window, "opt_more");
        Release(window, "Slider_Sleep_Time", 33);
        ShellHarness::Click(window, "btn_close");
    });
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Text("Edit_Sleep_Time"), "33");
    EXPECT_EQ(h.Text("Value_Sleep_Time"), "33");

    ShellHarness::Click(h.Window(), "opt_MousePage_Adv");
    ShellHarness::Click(h.Window(), "StraightLineCorrection");
    ASSERT_TRUE(h.WaitForApply());
    ini::ClearCache();
    EXPECT_EQ(h.Setting("Set", "RippleCtrlEn"), "1") << "the page wrote all four corrections from what it shows";
    EXPECT_EQ(h.Setting("Set", "StraightLineCorrectEn"), "1");
}

TEST(SettingsFromTheMainWindow, TheWindowClosesWhenTheMouseGoes) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    bool closed = false;
    WithSettings(h, [&](app::Setting&) {
        h.shell->Link().SimCommand("link off");
        app::Setting* open = h.shell->Settings().OpenWindow();
        closed = h.PumpUntil([&] { return !open->IsVisible(); });
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(h.shell->Settings().OpenWindow(), nullptr);
    EXPECT_NE(h.Window().MessageWindow(), nullptr) << "the wireless notice instead";
}

TEST(SoftwareUpdateMessages, CheckFirstStartsTheUpdaterOnlyForANewerVersionAndStartNowStartsIt) {
    test::LocalHttpServer server;
    const std::string query = "/q/mousecfg/0.1.0";
    // The updater's version description beside the program asks the test's server.
    ShellHarness h(Simulation::Cable, [&](const std::filesystem::path& res) {
        const auto file = res.parent_path() / "AutoUpdate/res/version/VersionInfo.json";
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << R"({"product_name": "mousecfg", "version": "0.1.0", "update_url": ")" << server.Url("/q/")
                            << R"("})";
    });
    h.Start();
    app::SoftwareUpdate& update = h.shell->Update();
    const auto check = [&](const char* reply) {
        server.Route(query, {200, reply});
        h.Send(app::msg::kSoftwareUpdate, 0);
        ASSERT_TRUE(h.PumpUntil([&] { return !update.Checking(); }));
        h.Pump();
    };
    check(R"({"code": 200, "data": {"total": 0}})");
    EXPECT_EQ(server.Requests(query), 1);
    EXPECT_FALSE(update.LastStart()) << "no newer version: no updater";
    check(R"({"code": 200, "data": {"total": 1}})");
    ASSERT_TRUE(update.LastStart());
    EXPECT_EQ(*update.LastStart(), update::UpdaterLauncher::Outcome::StartFailed) << "there is none to start yet";

    const auto updater = h.dir.Write("AutoUpdate/AutoUpdate", "#!/bin/sh\n: > started\n");
    std::filesystem::permissions(updater, std::filesystem::perms::owner_all);
    h.Send(app::msg::kSoftwareUpdate, 1);
    EXPECT_EQ(*update.LastStart(), update::UpdaterLauncher::Outcome::Started);
    EXPECT_TRUE(h.PumpUntil([&] { return std::filesystem::exists(h.dir / "AutoUpdate/started"); }));
}

TEST(VersionFromTheMainWindow, OpensModalAndGivesTheTextsBack) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    bool opened = false;
    h.Platform().RunOnUiThread([&] {
        app::SoftVersion* window = h.shell->Update().OpenWindow();
        ASSERT_NE(window, nullptr);
        opened = true;
        EXPECT_EQ(window->GetWindowRect().width(), app::SoftVersion::kWidth);
        EXPECT_EQ(window->GetWindowRect().height(), app::SoftVersion::kHeight);
        EXPECT_EQ(window->FindControl("btn_DownVersion")->GetText(), "Download the version file");
        ShellHarness::Click(*window, "closebtn");
    });
    ShellHarness::Click(h.Window(), "modal_popwnd_btn");
    h.Pump();
    EXPECT_TRUE(opened);
    EXPECT_EQ(h.shell->Update().OpenWindow(), nullptr);
    EXPECT_EQ(skin::SkinResources::GetTextQueryInterface(), &h.Window());
}

TEST(LowBatteryNotice, OncePerDischargeAndOnlyWhenSwitchedOn) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    const auto poll = [&](const char* command) {
        h.shell->Link().SimCommand(command);
        h.Send(mousecfg::msg::kConnectionRefresh, 0, 0);
        return h.Platform().TrayMessages().size();
    };
    EXPECT_EQ(poll("battery 15"), 0u);
    EXPECT_EQ(poll("battery 14"), 1u);
    EXPECT_EQ(h.Platform().TrayMessages()[0], "Mouse battery low: The mouse's battery is at 14 %. Charge it soon.");
    EXPECT_EQ(poll("battery 9"), 1u) << "once per discharge";
    EXPECT_EQ(poll("battery 9 charging"), 1u);
    EXPECT_EQ(poll("battery 8"), 2u) << "a new discharge warns again";
    EXPECT_EQ(poll("battery 80"), 2u);
    test::SetSetting(h.Res(), "Set", "LowBatteryNoticeEn", "0");
    EXPECT_EQ(poll("battery 10"), 2u) << "switched off";
}

}  // namespace
}  // namespace mousecfg
