// The main window on the headless platform against the virtual mouse: start-up, the connection display, device
// events and the DPI pop-up, device changes, the close logic, the silent start, relays and the skin switch.
#include <gtest/gtest.h>

#include "app/CCloseWnd.h"
#include "app/ShellMessages.h"
#include "app/SessionConfiguration.h"
#include "config/ApplyMessages.h"
#include "config/MouseConfig.h"
#include "device/ConnectionMonitor.h"
#include "device/DeviceMessages.h"
#include "platform/PrivateProfile.h"
#include "sim/VirtualMouse.h"
#include "skin/CheckBox.h"
#include "skin/HeadlessWindowHost.h"
#include "skin/Option.h"
#include "skin/Progress.h"
#include "skin/SkinResources.h"
#include "skin/WindowMessages.h"
#include "tests/app/ShellHarness.h"

namespace mousecfg {
namespace {

using app::Simulation;
using test::ShellHarness;
using namespace std::chrono_literals;

constexpr int kDpiButton = 2;  // a button the model's key map maps

void PressDpiButton(ShellHarness& h, uint8_t levelNumber) {
    h.Mouse().SetButton(kDpiButton, true);
    h.Mouse().SetDpiLevelNumber(levelNumber);
    h.Mouse().SetButton(kDpiButton, false);
}

// Changes the document in memory only: a fire value the shipped configuration does not hold.
void ChangeWithoutSaving(ShellHarness& h) {
    h.shell->Configuration().Document()->profiles[0].fireValue = 77;
}

int SavedFireValue(ShellHarness& h) {
    MouseConfig saved;
    EXPECT_TRUE(LoadMouseConfig(saved, MouseConfigPath(h.Res() / "VeruzUrir/MouseA")));
    return saved.profiles[0].fireValue;
}

std::string Title(ShellHarness& h) {
    return static_cast<skin::HeadlessWindowHost*>(h.Window().GetHost())->title();
}

TEST(MainWindow, StartsCentredAtItsSizeAndShowsTheReceiverLinkAndBattery) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    app::CKivoMainWnd& window = h.Window();
    EXPECT_EQ(window.GetWindowClassName(), "mousecfg") << "the start-up description's MutexName";
    const skin::Rect rect = window.GetWindowRect();
    EXPECT_EQ(rect.width(), 990);
    EXPECT_EQ(rect.height(), 690);
    EXPECT_EQ(rect.left, (skin::HeadlessPlatform::kScreenWidth - 990) / 2);
    EXPECT_TRUE(window.IsVisible());
    EXPECT_EQ(h.Text("battery_Text"), "80");
    EXPECT_EQ(h.Text("connect_text"), "Connected by 2.4 GHz receiver");
    EXPECT_EQ(window.FindControl("connect_state")->GetBkImage().file, "Home/2.4GConnect.png");
    EXPECT_FALSE(h.Visible("in_charge")) << "the mouse behind the receiver does not charge";
    EXPECT_TRUE(window.IsTimerRunning(timer::kStatusPoll));
    EXPECT_EQ(Title(h), "Gaming Mouse Settings \xE2\x80\x94 VIRTUAL MOUSE") << "the virtual mouse says so";
    EXPECT_TRUE(h.Visible("lab_simulated"));
    EXPECT_TRUE(h.Platform().HasTray());
    EXPECT_EQ(h.Platform().TrayToolTip(), "Gaming Mouse Settings");
    EXPECT_EQ(window.MessageWindow(), nullptr);
    EXPECT_GE(h.Mouse().CountFrames(0x81), 1) << "the device information was read";
}

TEST(MainWindow, CableShowsTheCableImageAndCharging) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    EXPECT_EQ(h.Window().FindControl("connect_state")->GetBkImage().file, "Home/UsbConnect.png");
    EXPECT_TRUE(h.Visible("in_charge"));
    EXPECT_EQ(h.Text("connect_text"), "Connected by cable");
}

TEST(MainWindow, DpiButtonOnTheMouseShowsTheDpiPopupWithItsTexts) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    PressDpiButton(h, 3);
    app::CPopPush* popup = h.Window().DpiPopup();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(h.PumpUntil([&] { return popup->IsShown(); })) << "2031 shows the pop-up";
    EXPECT_TRUE(popup->IsVisible());
    const auto text = [&](const char* name) { return popup->FindControl(name)->GetText(); };
    EXPECT_EQ(text("dpilevel"), "3");
    EXPECT_EQ(text("dpivalue"), "1600") << "level 3 of profile 1 is gear 32";
    EXPECT_EQ(text("DPIText"), "Current DPI level");
    EXPECT_EQ(text("curmode"), "Profile 1");
    EXPECT_EQ(text("dev_name"), "Virtual Mouse");
    EXPECT_EQ(h.shell->Configuration().Document()->profiles[0].currentDpiLevel, 2) << "the document follows";
    const skin::Rect corner = popup->GetWindowRect();
    EXPECT_EQ(corner.right, skin::HeadlessPlatform::kScreenWidth);
    EXPECT_EQ(corner.bottom, skin::HeadlessPlatform::kScreenHeight);

    // A second change within 2 s only updates the texts; 2 s after the last change the pop-up goes.
    h.Advance(1500ms);
    PressDpiButton(h, 5);
    ASSERT_TRUE(h.PumpUntil([&] { return text("dpilevel") == "5"; }));
    EXPECT_EQ(popup->ShowCount(), 1);
    h.Advance(1500ms);
    EXPECT_TRUE(popup->IsShown()) << "the second change restarted the 2 s";
    h.Advance(600ms);
    EXPECT_FALSE(popup->IsShown());
    h.Advance(400ms);
    EXPECT_FALSE(popup->IsVisible()) << "gone once the hide animation had its time";
}

TEST(MainWindow, DpiPopupStaysWhileTheCursorRestsOnIt) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    PressDpiButton(h, 4);
    app::CPopPush* popup = h.Window().DpiPopup();
    ASSERT_TRUE(h.PumpUntil([&] { return popup->IsShown(); }));
    popup->Send(Message{skin::msg::kMouseHover, 0, 0, {}});
    popup->Send(Message{skin::msg::kMouseMove, 0, skin::msg::MakePointParam(280, 20), {}});
    h.Advance(5000ms);
    EXPECT_TRUE(popup->IsShown());
    popup->Send(Message{skin::msg::kMouseLeave, 0, 0, {}});
    h.Advance(2000ms);
    EXPECT_FALSE(popup->IsShown());
}

TEST(MainWindow, NoDpiPopupWhenTheSettingIsOff) {
    ShellHarness h(Simulation::Receiver, [](const auto& res) { test::SetSetting(res, "Set", "DpiPopEn", "0"); });
    h.Start();
    PressDpiButton(h, 4);
    ASSERT_TRUE(h.PumpUntil([&] { return h.shell->Configuration().Document()->profiles[0].currentDpiLevel == 3; }));
    EXPECT_FALSE(h.Window().DpiPopup()->IsShown());
}

TEST(MainWindow, DeviceEventsForADeviceThatIsNotLinkedAreDropped) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    for (const intptr_t device : {intptr_t{-1}, intptr_t{0}, intptr_t{7}, intptr_t{1} << 40}) {
        h.Send(msg::kDpiLevelChanged, 4 + 256 * 3, device);
        h.Send(msg::kProfileChanged, 2 + 256 * 3, device);
    }
    EXPECT_FALSE(h.Window().DpiPopup()->IsShown()) << "record 0 (the cable) is not present; 7 does not exist";
    EXPECT_EQ(h.shell->Configuration().Document()->profiles[0].currentDpiLevel, 1);
    EXPECT_EQ(h.shell->Configuration().Document()->currentProfile, 0);
    h.Send(msg::kDpiLevelChanged, 4 + 256 * 3, 1);
    EXPECT_TRUE(h.Window().DpiPopup()->IsShown()) << "the receiver (record 1) is the device in use";
}

TEST(MainWindow, UnpluggingShowsTheNoDeviceMessageAndConfirmingItEndsTheProgram) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    h.shell->Link().SimCommand("unplug cable");
    h.Pump();
    h.Advance(1000ms);  // the device settles before the connection is chosen again
    app::CMsgWnd* message = h.Window().MessageWindow();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->Style(), 2);
    EXPECT_EQ(message->Kind(), app::CMsgWnd::kNoDevice);
    EXPECT_EQ(message->FindControl("MessageTextNoDevice")->GetText(),
              "No mouse is connected. Connect the mouse by cable or plug in its receiver.");
    EXPECT_FALSE(message->FindControl("MessageTextWirelessUnconnect")->IsVisible());
    EXPECT_TRUE(h.Visible("tranWnd"));
    EXPECT_FALSE(h.Window().FindControl("btn_Mac")->IsEnabled());
    EXPECT_FALSE(h.Window().IsTimerRunning(timer::kStatusPoll));
    // A device event while the message is open (the device is gone): nothing happens.
    h.Send(msg::kDpiLevelChanged, 3 + 256 * 3, 0);
    EXPECT_FALSE(h.Window().DpiPopup()->IsShown());
    ShellHarness::Click(*message, "confirm_btn");
    h.Pump();
    EXPECT_EQ(h.quits, std::vector<int>{0});
    EXPECT_EQ(h.Window().MessageWindow(), nullptr);
}

TEST(MainWindow, TheHomeCardShowsNoModelOrBatteryFigureWithoutAMouse) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    const auto battery = [&h] { return h.Window().Find<skin::Progress>("battery_progress")->GetValue(); };
    EXPECT_FALSE(h.Text("device_name").empty());
    EXPECT_FALSE(h.Text("battery_Text").empty());
    EXPECT_TRUE(h.Visible("battery_unit"));
    EXPECT_GT(battery(), 0);
    EXPECT_TRUE(h.Visible("in_charge"));
    h.shell->Link().SimCommand("unplug cable");
    h.Pump();
    h.Advance(1000ms);
    ASSERT_NE(h.Window().MessageWindow(), nullptr);
    EXPECT_EQ(h.Text("device_name"), "") << "no model name without a mouse";
    EXPECT_EQ(h.Text("battery_Text"), "") << "the last figure goes with the mouse";
    EXPECT_FALSE(h.Visible("battery_unit"));
    EXPECT_EQ(battery(), 0);
    EXPECT_FALSE(h.Visible("in_charge"));
    EXPECT_EQ(h.Window().FindControl("connect_state")->GetBkImage().file, "Home/NoConnect.png") << "neutral";
    EXPECT_EQ(h.Window().FindControl("btn_display0")->GetToolTip(), "");
    h.shell->Link().SimCommand("plug cable");
    h.Pump();
    h.Advance(1000ms);
    EXPECT_FALSE(h.Text("device_name").empty());
    EXPECT_FALSE(h.Text("battery_Text").empty());
    EXPECT_TRUE(h.Visible("battery_unit"));
}

TEST(MainWindow, PluggingBackClosesTheMessageAndTheOverlay) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    h.shell->Link().SimCommand("unplug cable");
    h.Pump();
    h.Advance(1000ms);
    ASSERT_NE(h.Window().MessageWindow(), nullptr);
    h.shell->Link().SimCommand("plug cable");
    h.Pump();
    h.Advance(1000ms);
    EXPECT_EQ(h.Window().MessageWindow(), nullptr);
    EXPECT_FALSE(h.Visible("tranWnd"));
    EXPECT_TRUE(h.Window().FindControl("btn_Mac")->IsEnabled());
    EXPECT_TRUE(h.quits.empty());
}

TEST(MainWindow, ReceiverLosingTheMouseShowsTheWirelessMessage) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    h.shell->Link().SimCommand("link off");
    ASSERT_TRUE(h.PumpUntil([&] { return h.Window().MessageWindow() != nullptr; }));
    app::CMsgWnd* message = h.Window().MessageWindow();
    EXPECT_EQ(message->Kind(), app::CMsgWnd::kWireless);
    EXPECT_EQ(message->FindControl("MessageTextWirelessUnconnect")->GetText(),
              "The receiver is plugged in, but the mouse cannot be reached.\n"
              "1. Switch the mouse on and make sure its battery is charged.\n"
              "2. Set the mouse's switch to 2.4 GHz.\n3. Move the mouse closer to the receiver.");
    EXPECT_EQ(h.Window().FindControl("connect_state")->GetBkImage().file, "Home/2.4GNoConnect.png");
    EXPECT_EQ(h.Text("battery_Text"), "") << "no figure for a mouse that cannot be reached";
    ShellHarness::Click(*message, "confirm_btn");
    h.Pump();
    EXPECT_TRUE(h.quits.empty()) << "confirming the wireless message only closes it";
    EXPECT_EQ(h.Window().MessageWindow(), nullptr);
    h.shell->Link().SimCommand("link on");
    ASSERT_TRUE(h.PumpUntil([&] { return !h.Visible("tranWnd"); }));
    EXPECT_EQ(h.Window().FindControl("connect_state")->GetBkImage().file, "Home/2.4GConnect.png");
}

TEST(MainWindow, ClosingTheNoDeviceMessageHidesToTheTray) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    h.shell->Link().SimCommand("link off");
    ASSERT_TRUE(h.PumpUntil([&] { return h.Window().MessageWindow() != nullptr; }));
    ChangeWithoutSaving(h);
    ShellHarness::Click(*h.Window().MessageWindow(), "closebtn");
    h.Pump();
    EXPECT_TRUE(h.Window().HiddenToTray());
    EXPECT_FALSE(h.Window().IsVisible());
    EXPECT_EQ(h.Window().MessageWindow(), nullptr);
    EXPECT_EQ(SavedFireValue(h), 77) << "hiding to the tray saves the configuration";
}

TEST(MainWindow, CloseButtonWithoutReminderHidesOrExitsByTheCloseOption) {
    for (const int option : {0, 1}) {
        SCOPED_TRACE(option);
        ShellHarness h(Simulation::Receiver,
                       [option](const auto& res) { test::SetSetting(res, "CloseConfig", "CloseOption", std::to_string(option)); });
        h.Start();
        ChangeWithoutSaving(h);
        ShellHarness::Click(h.Window(), "btn_close");
        h.Pump();
        EXPECT_EQ(SavedFireValue(h), 77) << "the configuration and DPI memory are saved either way";
        if (option == 0) {
            EXPECT_TRUE(h.Window().HiddenToTray());
            EXPECT_FALSE(h.Window().IsVisible());
            EXPECT_TRUE(h.Platform().HasTray());
            EXPECT_TRUE(h.quits.empty());
        } else {
            EXPECT_EQ(h.quits, std::vector<int>{0});
            EXPECT_FALSE(h.Platform().HasTray());
        }
    }
}

// Runs the close popup: `choose` clicks in it while its modal run waits.
void CloseWithPopup(ShellHarness& h, const std::function<void(app::CCloseWnd&)>& choose) {
    h.Platform().RunOnUiThread([&h, choose] {
        app::CCloseWnd* popup = h.Window().ClosePopup();
        ASSERT_NE(popup, nullptr);
        choose(*popup);
    });
    ShellHarness::Click(h.Window(), "btn_close");
    h.Pump();
}

TEST(MainWindow, ClosePopupStoresTheChoiceAndActsOnIt) {
    ShellHarness h(Simulation::Receiver, [](const auto& res) { test::SetSetting(res, "CloseConfig", "Remind", "1"); });
    h.Start();
    CloseWithPopup(h, [&](app::CCloseWnd& popup) {
        EXPECT_TRUE(popup.Find<skin::Option>("Minimize")->IsSelected()) << "close option 0";
        EXPECT_FALSE(popup.Find<skin::CheckBox>("NotRemindAgain")->IsChecked()) << "remind 1";
        EXPECT_TRUE(h.Visible("tranWnd_setting"));
        ShellHarness::Click(popup, "Exit");
        ShellHarness::Click(popup, "NotRemindAgain");
        ShellHarness::Click(popup, "OkButton");
    });
    EXPECT_EQ(h.Setting("CloseConfig", "CloseOption"), "1");
    EXPECT_EQ(h.Setting("CloseConfig", "Remind"), "0");
    EXPECT_EQ(h.Window().CloseOption(), 1);
    EXPECT_EQ(h.Window().Remind(), 0);
    EXPECT_EQ(h.quits, std::vector<int>{0});
    EXPECT_FALSE(h.Visible("tranWnd_setting"));
}

TEST(MainWindow, ClosePopupCancelChangesNothing) {
    ShellHarness h(Simulation::Receiver, [](const auto& res) {
        test::SetSetting(res, "CloseConfig", "Remind", "1");
        test::SetSetting(res, "CloseConfig", "CloseOption", "1");
    });
    h.Start();
    CloseWithPopup(h, [](app::CCloseWnd& popup) {
        EXPECT_TRUE(popup.Find<skin::Option>("Exit")->IsSelected());
        ShellHarness::Click(popup, "Minimize");
        ShellHarness::Click(popup, "CancelButton");
    });
    EXPECT_EQ(h.Setting("CloseConfig", "CloseOption"), "1");
    EXPECT_EQ(h.Setting("CloseConfig", "Remind"), "1");
    EXPECT_TRUE(h.quits.empty());
    EXPECT_TRUE(h.Window().IsVisible());
    EXPECT_FALSE(h.Visible("tranWnd_setting"));
}

TEST(MainWindow, ClosePopupMinimiseKeepsAskingWhenTheBoxStaysClear) {
    ShellHarness h(Simulation::Receiver, [](const auto& res) {
        test::SetSetting(res, "CloseConfig", "Remind", "1");
        test::SetSetting(res, "CloseConfig", "CloseOption", "1");
    });
    h.Start();
    CloseWithPopup(h, [](app::CCloseWnd& popup) {
        ShellHarness::Click(popup, "Minimize");
        ShellHarness::Click(popup, "OkButton");
    });
    EXPECT_EQ(h.Setting("CloseConfig", "CloseOption"), "0");
    EXPECT_EQ(h.Setting("CloseConfig", "Remind"), "1");
    EXPECT_TRUE(h.Window().HiddenToTray());
    EXPECT_TRUE(h.quits.empty());
}

TEST(MainWindow, SilentStartHidesOnlyWithBothAutostartSettingsAndTheWholeCommandLine) {
    struct Case {
        const char* open;
        const char* hide;
        const char* commandLine;
        bool hidden;
    };
    for (const Case& c : {Case{"1", "1", "-silent", true}, Case{"1", "0", "-silent", false},
                          Case{"0", "1", "-silent", false}, Case{"1", "1", "-silent extra", false},
                          Case{"1", "1", "-Silent", false}, Case{"1", "1", "", false}}) {
        SCOPED_TRACE(std::string(c.open) + c.hide + " '" + c.commandLine + "'");
        ShellHarness h(
            Simulation::Receiver,
            [&c](const auto& res) {
                test::SetSetting(res, "Set", "AutomaticallyOpenEn", c.open);
                test::SetSetting(res, "Set", "AutomaticallyHideEn", c.hide);
            },
            c.commandLine);
        h.Start();
        EXPECT_EQ(!h.Window().IsVisible(), c.hidden);
        EXPECT_EQ(h.Window().HiddenToTray(), c.hidden);
        const auto entry = h.dir.path() / "config" / "autostart" / "mousecfg.desktop";
        EXPECT_EQ(std::filesystem::exists(entry), std::string(c.open) == "1");
        if (c.hidden) {
            // A second start brings it back from the tray.
            EXPECT_EQ(h.shell->HandleRequest("restore"), "ok");
            h.Pump();
            EXPECT_TRUE(h.Window().IsVisible());
            EXPECT_FALSE(h.Window().HiddenToTray());
            EXPECT_NE(test::TempDir::Read(entry).find(" -silent"), std::string::npos);
        }
    }
}

TEST(MainWindow, WithoutATrayClosingAndTheSilentStartMinimiseInsteadOfHiding) {
    ShellHarness h(
        Simulation::Receiver,
        [](const auto& res) {
            test::SetSetting(res, "Set", "AutomaticallyOpenEn", "1");
            test::SetSetting(res, "Set", "AutomaticallyHideEn", "1");
        },
        "-silent");
    h.Platform().SetTrayAvailable(false);
    h.Start();
    EXPECT_TRUE(h.Window().IsVisible());
    EXPECT_TRUE(h.Window().IsMinimized()) << "a silent start goes to the task bar";
    EXPECT_FALSE(h.Window().HiddenToTray());
    h.Window().Restore();

    ChangeWithoutSaving(h);
    ShellHarness::Click(h.Window(), "btn_close");  // close option 0, no question
    h.Pump();
    EXPECT_TRUE(h.Window().IsVisible());
    EXPECT_TRUE(h.Window().IsMinimized());
    EXPECT_TRUE(h.quits.empty());
    EXPECT_EQ(SavedFireValue(h), 77) << "saved as when hiding";
    EXPECT_EQ(h.shell->HandleRequest("status"), "visible=1 hidden_to_tray=0 minimized=1");

    h.Window().Restore();
    h.Send(app::msg::kCloseConfig, static_cast<uintptr_t>(-1), 1);  // ask next time
    CloseWithPopup(h, [](app::CCloseWnd& popup) {
        EXPECT_EQ(popup.FindControl("Minimize")->GetText(), "Minimize the window") << "says where the window goes";
        ShellHarness::Click(popup, "CancelButton");
    });
}

TEST(MainWindow, MinimisingFlashesTheTaskBarEntry) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    auto* host = static_cast<skin::HeadlessWindowHost*>(h.Window().GetHost());
    ShellHarness::Click(h.Window(), "btn_min");
    EXPECT_TRUE(h.Window().IsMinimized());
    EXPECT_EQ(host->flashes(), 1);
}

TEST(MainWindow, TrayIconAndMenuBringTheWindowBackAndExit) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    ShellHarness::Click(h.Window(), "btn_close");  // close option 0: to the tray
    h.Pump();
    ASSERT_TRUE(h.Window().HiddenToTray());
    h.Platform().ClickTray(skin::msg::kLButtonDblClk);
    h.Pump();
    EXPECT_TRUE(h.Window().IsVisible());
    h.Platform().ClickTray(skin::msg::kRButtonUp);
    h.Pump();
    ASSERT_NE(h.Platform().OpenMenu(), nullptr);
    EXPECT_EQ(h.Platform().OpenMenu()->front().text, "Show window") << "menu texts come from the language";
    ASSERT_TRUE(h.Platform().ChooseMenuItem("guide"));
    h.Pump();
    EXPECT_EQ(h.urls.opened, std::vector<std::string>{"file:" + (h.Res() / "Manual" / "index.html").string()});
    h.Platform().ClickTray(skin::msg::kRButtonUp);
    h.Pump();
    ASSERT_TRUE(h.Platform().ChooseMenuItem("exit"));
    h.Pump();
    EXPECT_EQ(h.quits, std::vector<int>{0});
}

TEST(MainWindow, ServerButtonsOpenTheServerPagesAndABadAddressOpensNothing) {
    ShellHarness h(Simulation::Receiver,
                   [](const auto& res) { test::SetSetting(res, "Set", "ServerAddress", "https://help.mousecfg.org/"); });
    h.Start();
    EXPECT_TRUE(h.Visible("MacroShareButton"));
    ShellHarness::Click(h.Window(), "guideButton");
    ShellHarness::Click(h.Window(), "MacroShareButton");
    EXPECT_EQ(h.urls.opened, (std::vector<std::string>{"https://help.mousecfg.org/ovikmanual/",
                                                       "https://help.mousecfg.org/ovikmacro/Macro.html"}));
    for (const char* bad : {"", "file:///etc/passwd", "https://", "https://a b", "javascript:alert(1)",
                            "https://support.veruzurir.example", "http://EXAMPLE:8080/x", "https://a.invalid./"}) {
        test::SetSetting(h.Res(), "Set", "ServerAddress", bad);
        ini::ClearCache();
        ShellHarness::Click(h.Window(), "MacroShareButton");
    }
    EXPECT_EQ(h.urls.opened.size(), 2u) << "no server page for an address that cannot be reached";
}

TEST(MainWindow, WithoutAServerTheManualIsTheInstalledOneAndMacroSharingIsHidden) {
    ShellHarness h(Simulation::Receiver);  // the shipped settings name no server
    h.Start();
    EXPECT_FALSE(h.Visible("MacroShareButton"));
    EXPECT_TRUE(h.Visible("guideButton"));
    ShellHarness::Click(h.Window(), "guideButton");
    const std::string manual = "file:" + (h.Res() / "Manual" / "index.html").string();
    EXPECT_EQ(h.urls.opened, std::vector<std::string>{manual});
    EXPECT_TRUE(std::filesystem::is_regular_file(h.Res() / "Manual" / "index.html"));
    // A skin switch rebuilds the caption: the buttons keep following the settings.
    ShellHarness::Click(h.Window(), "ChangeSkin");
    EXPECT_FALSE(h.Visible("MacroShareButton"));

    ShellHarness without(Simulation::Receiver, [](const auto& res) { std::filesystem::remove_all(res / "Manual"); });
    without.Start();
    EXPECT_FALSE(without.Visible("guideButton")) << "a manual button that leads nowhere is hidden";
}

TEST(MainWindow, ApplyRequestsAreDroppedWhileNoDeviceIsOnline) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    h.shell->Link().SimCommand("link off");
    ASSERT_TRUE(h.PumpUntil([&] { return h.Window().MessageWindow() != nullptr; }));
    h.Mouse().ClearLog();
    h.Send(app::msg::kApplyRequest, 6, 0);
    h.Send(app::msg::kRelaySleep, 5);
    EXPECT_FALSE(h.shell->Configuration().ApplyRunning());
    EXPECT_EQ(h.Mouse().CountFrames(0x06), 0);
    EXPECT_EQ(h.Mouse().CountFrames(0x02), 0);
}

TEST(MainWindow, ApplyProgressShowsAndHidesItsControls) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    h.Send(mousecfg::msg::kApplyProgress, 1, 1);
    for (const char* name : {"gif_vertical", "tranWnd", "ring", "text_apply"}) {
        EXPECT_TRUE(h.Visible(name)) << name;
    }
    h.Send(mousecfg::msg::kApplyProgress, 0, 0);
    for (const char* name : {"gif_vertical", "apply_progress", "tranWnd", "ring", "text_apply"}) {
        EXPECT_FALSE(h.Visible(name)) << name;
    }
}

TEST(MainWindow, SwitchingSkinTwiceReturnsToTheFirstFolderAndWritesResPathEachTime) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    const auto feature = h.Res() / "VeruzUrir/MouseA/Config/DeviceFeature.ini";
    ShellHarness::Click(h.Window(), "ChangeSkin");
    h.Pump();
    EXPECT_EQ(h.Window().SkinPrefix(), "./res_white");
    ini::ClearCache();
    EXPECT_EQ(ini::GetPrivateProfileString("Config", "ResPath", "", feature), "res_white");
    EXPECT_EQ(skin::SkinResources::GetResourcePath(), h.Res() / "res_white");
    EXPECT_TRUE(h.Window().Find<skin::Option>("ChangeSkin")->IsSelected());
    EXPECT_EQ(h.Text("battery_Text"), "80") << "the new skin shows the state again";
    EXPECT_EQ(h.Window().FindControl("connect_state")->GetBkImage().file, "Home/2.4GConnect.png");
    EXPECT_EQ(h.Text("btn_Mac"), "Macros") << "texts are applied to the new controls";
    ShellHarness::Click(h.Window(), "ChangeSkin");
    h.Pump();
    EXPECT_EQ(h.Window().SkinPrefix(), "./res_black");
    ini::ClearCache();
    EXPECT_EQ(ini::GetPrivateProfileString("Config", "ResPath", "", feature), "res_black");
    EXPECT_FALSE(h.Window().Find<skin::Option>("ChangeSkin")->IsSelected());
    EXPECT_FALSE(h.shell->Window().DpiPopup() == nullptr) << "the DPI pop-up is made anew";
}

TEST(MainWindow, PageButtonsSwitchTheTabAndTheTextSource) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    EXPECT_EQ(h.Text("lab_mousehint"), "Pick a button of the mouse to choose what it does.");
    ShellHarness::Click(h.Window(), "btn_Mac");
    h.Pump();
    EXPECT_TRUE(h.Window().Find<skin::Option>("btn_Mac")->IsSelected());
    ShellHarness::Click(h.Window(), "btn_Null");
    h.Pump();
    EXPECT_TRUE(h.Window().Find<skin::Option>("btn_Null")->IsSelected());
}

}  // namespace
}  // namespace mousecfg
