// The macro page in the whole program against the virtual mouse: the item dialog as a modal window over the main
// window, its keys and its answer, recording under the main window's keyboard grab, and a bound macro reaching
// the mouse's macro slot when its "ToSave" mark is clicked.
#include <gtest/gtest.h>

#include "app/DeviceConfiguration.h"
#include "app/ShellMessages.h"
#include "app/XkbRulesNames.h"
#include "app/macro/CPopMacroSetWnd.h"
#include "app/macro/MacroEditorPage.h"
#include "config/KeyAssignment.h"
#include "config/MouseConfig.h"
#include "macro/MacroStore.h"
#include "macro/ui/ControlSearch.h"
#include "skin/Edit.h"
#include "skin/List.h"
#include "skin/Option.h"
#include "skin/Tree.h"
#include "skin/TreeNode.h"
#include "skin/WindowMessages.h"
#include "tests/app/ShellHarness.h"

namespace mousecfg {
namespace {

using app::Simulation;
using test::ShellHarness;

constexpr int kButton = 4;  // the mouse button the macro is bound to; its macro slot has the same number

void ClickControl(skin::SkinWindow& window, skin::Control& control) {
    window.GetPaintManager().UpdateLayout();
    const skin::Rect pos = control.GetPos();
    const intptr_t at = skin::msg::MakePointParam((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
    ASSERT_EQ(window.GetPaintManager().FindControl({(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2}), &control)
        << control.GetName() << " is hidden or covered";
    window.HandleMessage(Message{skin::msg::kLButtonDown, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonUp, 0, at, {}});
}

class MacroPageWindow : public ::testing::Test {
protected:
    MacroPageWindow() {
        h_.Start();
        ShellHarness::Click(h_.Window(), "btn_Mac");
        h_.Pump();
    }

    app::MacroEditorPage& Page() { return h_.shell->EditorPage(); }
    MacroStore& Store() { return h_.shell->Configuration().Macros(); }
    skin::TreeNode* Node(int g, int m) {
        auto roots = h_.Window().Find<skin::Tree>("tre_Macro_GroupDisplay")->GetRootNodes();
        return m < 0 ? roots.at(static_cast<size_t>(g)) : roots.at(static_cast<size_t>(g))->GetChildNode(m);
    }
    skin::Control* Row(int row) { return h_.Window().Find<skin::List>("list_Macro_KeyDisplay")->GetItemAt(row); }
    void Key(uint32_t message, int scanCode, bool repeat = false) {
        h_.Window().HandleMessage(Message{message, 0, skin::msg::MakeKeyParam(0, scanCode, repeat), {}});
    }
    // While the item dialog opened by `open` runs, `inside` acts on it; returns whether a dialog was shown.
    bool WithDialog(const std::function<void()>& open, const std::function<void(app::CPopMacroSetWnd&)>& inside) {
        bool shown = false;
        h_.platform.RunOnUiThread([&] {
            if (app::CPopMacroSetWnd* dialog = Page().ItemDialog()) {
                shown = true;
                EXPECT_EQ(dialog->GetParent(), &h_.Window());
                EXPECT_TRUE(dialog->IsModal());
                inside(*dialog);
            }
        });
        open();
        h_.Pump();
        return shown && Page().ItemDialog() == nullptr;
    }
    void InsertKey(int delay, bool release) {
        ASSERT_TRUE(WithDialog(
            [&] {
                ShellHarness::Click(h_.Window(), "btn_Macro_InsertKey");
                ASSERT_TRUE(h_.platform.ChooseMenuItem("menu_Macro_InsertKB"));
            },
            [&](app::CPopMacroSetWnd& dialog) {
                dialog.Find<skin::Edit>("edit_Motify_Delay")->ReplaceText(std::to_string(delay));
                if (release) {
                    ClickControl(dialog, *dialog.FindControl("btn_Motify_Status"));
                }
                ClickControl(dialog, *dialog.FindControl("btn_Motify_Apply"));
            }));
    }
    // Binds macro m of group g to the button as the key page does, and lets the mouse follow (2047, 2073).
    void Bind(int g, int m) {
        MouseConfig& config = *h_.shell->Configuration().Document();
        ASSERT_TRUE(AssignMacro(config, Store(), config.currentProfile, kButton, g, m));
        ASSERT_TRUE(RebuildMacroBindings(Store(), config, h_.Window().ModelName()));
        h_.Send(app::msg::kMacroReload, 1);
        h_.Send(app::msg::kMacrosChanged);
        ASSERT_TRUE(h_.WaitForApply());
    }
    std::vector<uint8_t> Slot() {
        const sim::ProfileMemory profile = h_.Mouse().Profile(h_.Mouse().System().activeProfile);
        const auto& bytes = profile.macros[kButton];
        return {bytes.begin(), bytes.begin() + profile.macroBytesWritten[kButton]};
    }

    ShellHarness h_{Simulation::Receiver};
};

TEST_F(MacroPageWindow, ItemsMadeInTheDialogReachTheMouseAndAnEditedDelayFollows) {
    ShellHarness::Click(h_.Window(), "opt_Macro_AddNewMac");
    h_.Pump();
    const int g = Page().Editor().selectedGroup();
    const int m = Page().Editor().selectedMacro();
    ASSERT_GE(m, 0);
    InsertKey(300, false);  // A pressed, 300 ms
    InsertKey(20, true);    // A released, 20 ms
    ASSERT_EQ(Store().groups()[static_cast<size_t>(g)].macros[static_cast<size_t>(m)].block.num, 2);

    Bind(g, m);
    // Repeat count 1, 8 item bytes; the press with its delay past 127 ms in six bytes (300 - 127 = 0xAD), the
    // release in two (0x80 + 20).
    EXPECT_EQ(Slot(), (std::vector<uint8_t>{0x01, 0x00, 0x08, 0x00, 0x04, 0x7F, 0xFF, 0xAD, 0x00, 0x00, 0x04, 0x94}));

    // The release's delay edited to 100 ms: the bound macro is marked, the mark writes it.
    ASSERT_TRUE(WithDialog([&] { ClickControl(h_.Window(), *macroui::FindIn(*Row(1), "modify")); },
                           [&](app::CPopMacroSetWnd& dialog) {
                               EXPECT_EQ(dialog.FindControl("lab_Motify_Title")->GetText(), "Edit item");
                               dialog.Find<skin::Edit>("edit_Motify_Delay")->ReplaceText("100");
                               ClickControl(dialog, *dialog.FindControl("btn_Motify_Apply"));
                           }));
    skin::Control* mark = macroui::FindIn(*Node(g, m), "ToSave");
    ASSERT_TRUE(mark->IsVisible());
    EXPECT_EQ(Slot().back(), 0x94) << "nothing is written before the mark is clicked";
    ClickControl(h_.Window(), *mark);
    h_.Pump();
    ASSERT_TRUE(h_.WaitForApply());
    EXPECT_EQ(Slot(), (std::vector<uint8_t>{0x01, 0x00, 0x08, 0x00, 0x04, 0x7F, 0xFF, 0xAD, 0x00, 0x00, 0x04, 0xE4}));
    EXPECT_FALSE(mark->IsVisible());
}

TEST_F(MacroPageWindow, TheDialogAnswersEnterAndEscapeAndCapturesKeysUnderItsOwnGrab) {
    ClickControl(h_.Window(), *Node(0, 0));
    const MacroBlock before = Store().workingMacro().block;
    // Escape cancels: nothing changes.
    ASSERT_TRUE(WithDialog([&] { ClickControl(h_.Window(), *macroui::FindIn(*Row(0), "modify")); },
                           [&](app::CPopMacroSetWnd& dialog) {
                               dialog.HandleMessage(Message{skin::msg::kKeyDown, skin::msg::kVkEscape,
                                                            skin::msg::MakeKeyParam(0, 1), {}});
                           }));
    EXPECT_EQ(Store().workingMacro().block, before);
    // Capturing, Enter is the key; then, not capturing, Enter applies.
    ASSERT_TRUE(WithDialog([&] { ClickControl(h_.Window(), *macroui::FindIn(*Row(0), "modify")); },
                           [&](app::CPopMacroSetWnd& dialog) {
                               ClickControl(dialog, *dialog.FindControl("chk_Modify_KeyboardValue"));
                               EXPECT_TRUE(dialog.KeyboardGrabbed());
                               EXPECT_FALSE(h_.Window().KeyboardGrabbed());
                               dialog.HandleMessage(Message{skin::msg::kKeyDown, skin::msg::kVkReturn,
                                                            skin::msg::MakeKeyParam(0, 28), {}});
                               EXPECT_EQ(dialog.FindControl("chk_Modify_KeyboardValue")->GetText(), "Enter");
                               EXPECT_NE(Page().ItemDialog(), nullptr) << "a captured Enter does not apply";
                               ClickControl(dialog, *dialog.FindControl("chk_Modify_KeyboardValue"));
                               EXPECT_FALSE(dialog.KeyboardGrabbed());
                               dialog.HandleMessage(Message{skin::msg::kKeyDown, skin::msg::kVkReturn,
                                                            skin::msg::MakeKeyParam(0, 28), {}});
                           }));
    EXPECT_EQ(Store().workingMacro().block.macVal[0], 0x28);
    EXPECT_EQ(macroui::FindIn(*Row(0), "key")->GetText(), "Enter");
}

TEST_F(MacroPageWindow, RecordingUsesTheMainWindowsGrabAndEndsWhenTheApplicationLosesTheFocus) {
    ShellHarness::Click(h_.Window(), "opt_Macro_AddNewMac");
    h_.Pump();
    const int g = Page().Editor().selectedGroup();
    const int m = Page().Editor().selectedMacro();
    ShellHarness::Click(h_.Window(), "btn_Macro_Record");
    ASSERT_TRUE(Page().Editor().recording());
    EXPECT_TRUE(h_.Window().KeyboardGrabbed());
    Key(skin::msg::kKeyDown, 30);
    Key(skin::msg::kKeyDown, 30, true);
    Key(skin::msg::kKeyUp, 30);
    Key(skin::msg::kSysKeyDown, 0xE048);  // Up, with Alt held
    Key(skin::msg::kSysKeyUp, 0xE048);
    h_.Window().HandleMessage(Message{skin::msg::kActivate, 0, 0, {}});
    EXPECT_FALSE(Page().Editor().recording());
    EXPECT_FALSE(h_.Window().KeyboardGrabbed());
    EXPECT_FALSE(h_.Window().Find<skin::Option>("btn_Macro_Record")->IsSelected());
    const MacroBlock& block = Store().groups()[static_cast<size_t>(g)].macros[static_cast<size_t>(m)].block;
    ASSERT_EQ(block.num, 4);
    EXPECT_EQ((std::vector<int>{block.macVal[0], block.macVal[1], block.macVal[2], block.macVal[3]}),
              (std::vector<int>{0x04, 0x04, 0x52, 0x52}));
    EXPECT_EQ((std::vector<int>{block.macSta[0], block.macSta[1], block.macSta[2], block.macSta[3]}),
              (std::vector<int>{1, 2, 1, 2}));
    EXPECT_EQ(macroui::FindIn(*Row(2), "key")->GetText(), "\u2191");
}

TEST_F(MacroPageWindow, TheMouseGoneClosesTheDialog) {
    ClickControl(h_.Window(), *Node(0, 0));
    ASSERT_TRUE(WithDialog([&] { ClickControl(h_.Window(), *macroui::FindIn(*Row(0), "modify")); },
                           [&](app::CPopMacroSetWnd&) { h_.shell->Link().SimCommand("link off"); }));
    EXPECT_EQ(Page().ItemDialog(), nullptr);
}

TEST_F(MacroPageWindow, RightClickOnANodeOpensItsMenu) {
    skin::TreeNode* node = Node(0, 0);
    h_.Window().GetPaintManager().UpdateLayout();
    const skin::Rect pos = node->GetPos();
    h_.Window().HandleMessage(Message{skin::msg::kRButtonUp, 0,
                                      skin::msg::MakePointParam(pos.left + 20, (pos.top + pos.bottom) / 2), {}});
    const std::vector<skin::MenuItem>* menu = h_.platform.OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->back().name, "marco_delete");
}

TEST_F(MacroPageWindow, KeyNamesFollowTheSessionsKeyboardLayout) {
    ShellHarness::Click(h_.Window(), "opt_Macro_AddNewMac");
    h_.Pump();
    const int g = Page().Editor().selectedGroup();
    const int m = Page().Editor().selectedMacro();
    ASSERT_TRUE(Store().InsertItem(g, m, 0, 0x04, item::kPress, 10, ""));  // the key left of S
    Page().Refresh();
    h_.shell->FollowKeyboardLayout({"", "", "us", "", ""});
    EXPECT_EQ(macroui::FindIn(*Row(0), "key")->GetText(), "A");
    h_.shell->FollowKeyboardLayout({"", "", "fr", "", ""});
    EXPECT_EQ(macroui::FindIn(*Row(0), "key")->GetText(), "Q");
    h_.shell->FollowKeyboardLayout({"", "", "no-such-layout", "", ""});
    EXPECT_EQ(macroui::FindIn(*Row(0), "key")->GetText(), "Q") << "a layout that does not compile changes nothing";
}

TEST(XkbRulesNames, TheSessionsNamesAreReadFromTheRootProperty) {
    using namespace std::string_literals;
    const auto names = app::ParseXkbRulesNames("evdev\0pc105\0de,us\0nodeadkeys\0grp:alt_shift_toggle\0"s);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->rules, "evdev");
    EXPECT_EQ(names->model, "pc105");
    EXPECT_EQ(names->layout, "de,us");
    EXPECT_EQ(names->variant, "nodeadkeys");
    EXPECT_EQ(names->options, "grp:alt_shift_toggle");
    EXPECT_EQ(app::ParseXkbRulesNames("evdev\0pc105\0fr"s)->layout, "fr") << "cut short after the layout";
    EXPECT_FALSE(app::ParseXkbRulesNames("evdev\0pc105\0\0\0"s)) << "no layout named";
    EXPECT_FALSE(app::ParseXkbRulesNames(""));
}

}  // namespace
}  // namespace mousecfg
