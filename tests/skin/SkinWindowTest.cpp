#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "skin/ContextMenu.h"
#include "skin/HeadlessWindowHost.h"
#include "skin/Mailbox.h"
#include "skin/SkinResources.h"
#include "skin/TrayIcon.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/TempDir.h"

namespace mousecfg::skin::test {
namespace {

using namespace std::chrono_literals;

std::filesystem::path ControlsSkin() {
    return mousecfg::test::TestDataPath("skin/controls.xml");
}

TEST(SkinWindow, CreationLoadsTheSkinAndRaisesWindowInitOnce) {
    RecordingWindow window(ControlsSkin());
    window.Open();
    EXPECT_EQ(window.GetWindowRect(), (Rect{0, 0, 400, 400})) << "the skin's size";
    EXPECT_EQ(std::count(window.events.begin(), window.events.end(), "windowinit:root"), 1);
    window.CenterWindow();
    EXPECT_EQ(window.GetWindowRect(), (Rect{440, 200, 840, 600}));
    window.MoveWindow({10, 20, 110, 220});
    EXPECT_EQ(window.GetPaintManager().GetClientSize(), (Size{100, 200}));
}

TEST(SkinWindow, AKeyboardGrabNeedsAShownWindowAndEndsWhenItHidesOrCloses) {
    RecordingWindow window(ControlsSkin());
    window.Open();
    window.GrabKeyboard(true);
    EXPECT_FALSE(window.KeyboardGrabbed()) << "not shown yet";
    window.ShowWindow(true);
    window.GrabKeyboard(true);
    EXPECT_TRUE(window.KeyboardGrabbed());
    window.GrabKeyboard(false);
    EXPECT_FALSE(window.KeyboardGrabbed());
    window.GrabKeyboard(true);
    window.ShowWindow(false);
    EXPECT_FALSE(window.KeyboardGrabbed());
    window.ShowWindow(true);
    window.GrabKeyboard(true);
    window.Close();
    EXPECT_FALSE(window.KeyboardGrabbed());
}

TEST(SkinWindow, MessagesFromWorkersArriveInOrderAndSendsReturnTheHandlersResult) {
    RecordingWindow window(ControlsSkin());
    window.Open();
    window.onMessage = [](const Message& m) { return static_cast<intptr_t>(m.wParam * 2); };
    std::atomic<intptr_t> sent{0};
    std::thread worker([&] {
        for (uintptr_t i = 0; i < 5; ++i) {
            window.Post(Message{2031, i, 0, {}});
        }
        sent = window.Send(Message{2053, 21, 0, {}});  // blocks until the window's thread handled it
    });
    ASSERT_TRUE(Headless().RunUntil([&] { return sent.load() != 0; }, 5s));
    worker.join();
    EXPECT_EQ(sent.load(), 42);
    ASSERT_EQ(window.messages.size(), 6u);
    for (uintptr_t i = 0; i < 5; ++i) {
        EXPECT_EQ(window.messages[i].wParam, i);
    }
    EXPECT_EQ(window.Send(Message{2064, 4, 0, {}}), 8) << "on the window's own thread it is handled at once";
    EXPECT_EQ(window.messages.size(), 7u);
}

TEST(SkinWindow, AWindowThatGoesAwayReleasesWaitingSendersAndDropsLaterMessages) {
    std::shared_ptr<MessageSink> target;
    std::atomic<bool> released{false};
    std::thread worker;
    {
        RecordingWindow window(ControlsSkin());
        window.Open();
        target = window.GetMessageTarget();
        worker = std::thread([&] {
            EXPECT_EQ(target->Send(Message{2053, 1, 0, {}}), 0);
            released = true;
        });
        // Let the window go while the send waits in its queue, unhandled.
        auto* mailbox = static_cast<Mailbox*>(target.get());
        for (int i = 0; i < 5000 && mailbox->Pending() == 0; ++i) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_EQ(mailbox->Pending(), 1u);
    }
    worker.join();
    EXPECT_TRUE(released.load());
    target->Post(Message{2031, 0, 0, {}});  // dropped, no crash
    EXPECT_EQ(target->Send(Message{2031, 0, 0, {}}), 0);
    Headless().ProcessPending();
}

TEST(SkinWindow, ModalRunEndsWithTheResultOfClose) {
    RecordingWindow window(ControlsSkin());
    ASSERT_TRUE(window.Create(nullptr, "modal"));
    window.onNotify = [&](Notification& n) {
        if (n.type == "click" && n.senderName == "btn_ok") {
            window.Close(7);
        }
    };
    Headless().RunOnUiThread([&] { window.ClickControl("btn_ok"); });
    EXPECT_EQ(window.ShowModal(), 7);
    EXPECT_FALSE(window.IsVisible());
    Headless().ProcessPending();
    EXPECT_EQ(window.finals, 1) << "OnFinalMessage after the native window is gone";
    window.Post(Message{2031, 0, 0, {}});
    Headless().ProcessPending();
    EXPECT_TRUE(window.messages.empty());
}

TEST(SkinWindow, TimersTickByIdUntilKilled) {
    RecordingWindow window(ControlsSkin());
    window.Open();
    window.SetTimer(1, 2000ms);
    window.SetTimer(2, 500ms);
    Headless().AdvanceTime(1000ms);
    EXPECT_EQ(window.messages.size(), 2u) << "timer 2 twice";
    window.SetTimer(1, 2000ms);  // restarts
    Headless().AdvanceTime(1500ms);
    EXPECT_FALSE(std::any_of(window.messages.begin(), window.messages.end(),
                             [](const Message& m) { return m.wParam == 1; }));
    window.KillTimer(2);
    EXPECT_FALSE(window.IsTimerRunning(2));
    Headless().AdvanceTime(600ms);
    EXPECT_EQ(window.messages.back().wParam, 1u);
    EXPECT_EQ(window.messages.back().id, kTimerMessage);
}

TEST(SkinWindow, MenuClicksAndTrayClicksReachTheOwner) {
    RecordingWindow window(ControlsSkin());
    window.Open();
    window.TakeEvents();
    ContextMenu menu;
    ASSERT_TRUE(menu.Load(mousecfg::test::TestDataPath("skin/menu.xml")));
    EXPECT_EQ(menu.FindItem("Export")->text, "Export") << "no text source: the name";
    menu.FindItem("Import")->visible = false;
    ASSERT_TRUE(menu.Popup(window, {50, 60}, false));
    EXPECT_FALSE(Headless().ChooseMenuItem("Import")) << "hidden";
    EXPECT_FALSE(Headless().ChooseMenuItem("Reset")) << "disabled";
    std::string itemText;
    window.onNotify = [&](Notification& n) { itemText = n.text; };
    EXPECT_TRUE(Headless().ChooseMenuItem("after"));
    EXPECT_EQ(window.TakeEvents(), (std::vector<std::string>{"MyMenuClick:after"}));
    EXPECT_EQ(itemText, "after");
    EXPECT_TRUE(menu.FindItem("after")->checked);
    EXPECT_FALSE(menu.FindItem("before")->checked) << "one of a group";

    menu.SetMessageDelivery(msg::kMenuCommand);
    menu.Popup(window, {0, 0});
    Headless().ChooseMenuItem("Export");
    Headless().ProcessPending();
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(window.messages.back().id, msg::kMenuCommand);
    EXPECT_EQ(window.messages.back().text, "Export");

    TrayIcon tray;
    ASSERT_TRUE(tray.Create(window, "icon.png", "Mouse"));
    EXPECT_EQ(Headless().TrayToolTip(), "Mouse");
    Headless().ClickTray(msg::kLButtonDblClk);
    Headless().ProcessPending();
    EXPECT_EQ(window.messages.back().id, msg::kTrayIcon);
    EXPECT_EQ(window.messages.back().lParam, static_cast<intptr_t>(msg::kLButtonDblClk));
    tray.Delete();
    EXPECT_FALSE(Headless().HasTray());
}

// A dark skin draws its menus in its own colours; a menu file without them keeps the desktop's, and a colour that
// does not parse is left out rather than shown as black.
TEST(SkinWindow, MenusCarryTheColoursOfTheirSkinFile) {
    RecordingWindow window(ControlsSkin());
    window.Open();
    const mousecfg::test::TempDir dir;
    const auto file = dir.Write("dark_menu.xml", R"(<Menu bkcolor="#FF1D2430" textcolor="#E9EEF5" hotbkcolor="#FF283140"
        disabledtextcolor="grey" bordercolor="#FF334052"><Item name="a" text="A"/></Menu>)");
    ContextMenu dark;
    ASSERT_TRUE(dark.Load(file));
    ASSERT_TRUE(dark.Popup(window, {10, 10}));
    const MenuLook& look = Headless().OpenMenuLook();
    EXPECT_EQ(look.background, 0xFF1D2430u);
    EXPECT_EQ(look.text, 0xFFE9EEF5u) << "six digits are opaque";
    EXPECT_EQ(look.hotBackground, 0xFF283140u);
    EXPECT_EQ(look.disabledText, kNoColor);
    EXPECT_EQ(look.border, 0xFF334052u);
    dark.Close();

    ContextMenu plain;
    ASSERT_TRUE(plain.Load(mousecfg::test::TestDataPath("skin/menu.xml")));
    ASSERT_TRUE(plain.Popup(window, {10, 10}));
    EXPECT_EQ(Headless().OpenMenuLook().background, kNoColor);
    EXPECT_EQ(Headless().OpenMenuLook().text, kNoColor);
}

}  // namespace
}  // namespace mousecfg::skin::test
