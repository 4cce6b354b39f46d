// The key page in the whole program against the virtual mouse: what the user picks reaches the mouse.
#include <gtest/gtest.h>

#include "app/MouseConfigPages.h"
#include "config/ui/PageRouter.h"
#include "skin/WindowMessages.h"
#include "tests/app/ShellHarness.h"

namespace mousecfg::test {
namespace {

using Payload = std::array<uint8_t, 4>;

Payload KeySlot(ShellHarness& h, int slot) {
    const auto& mouse = h.Mouse();
    return mouse.Profile(mouse.System().activeProfile).keys[static_cast<size_t>(slot)];
}

// Picks button 4, the keys category and the key field, as the user does.
app::CKivoMainWnd& StartRecordingForButton4(ShellHarness& h) {
    app::CKivoMainWnd& window = h.Window();
    ShellHarness::Click(window, "btn_MouseKey_Click4");
    ShellHarness::Click(window, "opt_MouseKey_ShortCut");
    ShellHarness::Click(window, "SetRecordKey");
    return window;
}

// Picks the media function Play/Pause for button 3, as the user does.
void PickPlayPauseForButton3(ShellHarness& h) {
    ShellHarness::Click(h.Window(), "btn_MouseKey_Click3");
    ShellHarness::Click(h.Window(), "opt_MouseKey_Media");
    h.Pump();
    ShellHarness::Click(h.Window(), "ItemValue37_PlayPause");
    h.Pump();
}

TEST(KeyPageInTheProgram, AMediaFunctionPickedForButton3IsWhatTheMouseHolds) {
    ShellHarness h(app::Simulation::Cable);
    h.Start();
    PickPlayPauseForButton3(h);
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(KeySlot(h, 3), (Payload{0x04, 0xCD, 0x00, 0x00})) << "button 3 drives key slot 3 (K4_MAP=4)";
    EXPECT_EQ(h.Text("btn_MouseKey_Click3"), "Play/Pause");
    EXPECT_EQ(KeySlot(h, 0), (Payload{0x01, 0x01, 0x00, 0x00})) << "the left button keeps its function";
}

TEST(KeyPageInTheProgram, AKeyRecordedWhileTheKeyboardIsGrabbedIsWhatTheMouseHolds) {
    ShellHarness h(app::Simulation::Cable);
    h.Start();
    app::CKivoMainWnd& window = StartRecordingForButton4(h);
    EXPECT_TRUE(window.KeyboardGrabbed());
    // "A" (scan code 30): every key goes to the window; none presses a control there.
    window.HandleMessage(Message{skin::msg::kKeyDown, 'A', skin::msg::MakeKeyParam(0, 30), {}});
    window.HandleMessage(Message{skin::msg::kKeyUp, 'A', skin::msg::MakeKeyParam(0, 30), {}});
    h.Pump();
    EXPECT_EQ(h.Text("SetRecordKey"), "A");
    ShellHarness::Click(window, "BtnRecordConfirm");
    EXPECT_FALSE(window.KeyboardGrabbed());
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(KeySlot(h, 4), (Payload{0x02, 0x04, 0x00, 0x00})) << "a keyboard key with its HID usage";
    EXPECT_EQ(h.Text("btn_MouseKey_Click4"), "A");
}

TEST(KeyPageInTheProgram, TheGrabEndsWhenTheApplicationLosesTheFocus) {
    ShellHarness h(app::Simulation::Cable);
    h.Start();
    app::CKivoMainWnd& window = StartRecordingForButton4(h);
    ASSERT_TRUE(window.KeyboardGrabbed());
    window.HandleMessage(Message{skin::msg::kActivate, 0, 0, {}});
    EXPECT_FALSE(window.KeyboardGrabbed());
    window.HandleMessage(Message{skin::msg::kKeyDown, 'B', skin::msg::MakeKeyParam(0, 48), {}});
    h.Pump();
    EXPECT_NE(h.Text("SetRecordKey"), "B") << "keys after the focus went are not recorded";
}

TEST(KeyPageInTheProgram, OverBleTheReportRateIsNotOfferedAndNoMacroCanBePicked) {
    ShellHarness h(app::Simulation::Ble);
    h.Start();
    ASSERT_TRUE(h.PumpUntil([&] { return h.Text("connect_text") == "Connected by Bluetooth"; }));
    ShellHarness::Click(h.Window(), "btn_MouseKey_Click3");
    EXPECT_FALSE(h.Window().FindControl("ItemValue10_ReportRate")->IsVisible());
    EXPECT_FALSE(h.Window().FindControl("btn_MouseKey_MacroGroupVal")->IsEnabled());
    EXPECT_FALSE(h.Window().FindControl("btn_MouseKey_MacroVal")->IsEnabled());
}

TEST(KeyPageInTheProgram, OverBleTheButtonsShowTheirFunctionsAndAPickedFunctionReachesTheMouse) {
    ShellHarness h(app::Simulation::Ble);
    h.Start();
    ASSERT_TRUE(h.PumpUntil([&] { return h.Text("connect_text") == "Connected by Bluetooth"; }));
    // The mouse connected after the start: the model is loaded again for its chip and the saved
    // configuration is written (an empty mouse holds no tag of it).
    ASSERT_TRUE(h.PumpUntil([&] { return h.Mouse().System().profileTags[0] != 0; }));
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Text("btn_MouseKey_Click0"), "Left Click");
    EXPECT_EQ(h.Text("chk_MouseAdv_SelDPI0"), "400");
    EXPECT_EQ(KeySlot(h, 0), (Payload{0x01, 0x01, 0x00, 0x00}));
    PickPlayPauseForButton3(h);
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(KeySlot(h, 3), (Payload{0x04, 0xCD, 0x00, 0x00}));
    EXPECT_EQ(h.Text("btn_MouseKey_Click3"), "Play/Pause");
}

}  // namespace
}  // namespace mousecfg::test

