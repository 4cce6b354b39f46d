// The item dialog's logic on its skin file: the layout by kind, the clamps of its fields, the direction marks,
// key capture through a keyboard grab, key names that follow the keyboard layout, and the item it gives back.
#include <gtest/gtest.h>

#include "device/MacroBlock.h"
#include "macro/KeyNames.h"
#include "macro/MacroRecorder.h"
#include "macro/ui/MacroItemDialog.h"
#include "macro/ui/WindowKeyGrab.h"
#include "platform/KeyboardLayout.h"
#include "skin/CheckBox.h"
#include "skin/Combo.h"
#include "skin/Edit.h"
#include "skin/HeadlessPlatform.h"
#include "skin/SkinResources.h"
#include "skin/SkinWindow.h"
#include "skin/WindowMessages.h"

namespace mousecfg {
namespace {

using macroui::MacroItem;
using macroui::MacroItemDialog;

KeyNames Layout(const char* name) {
    return KeyNames(KeyboardLayout::FromNames({"", "", name, "", ""}));
}

class DialogWindow final : public skin::SkinWindow {
public:
    std::string GetSkinFile() override { return "popmacroset.xml"; }
    std::string GetWindowClassName() const override { return "CPopMacroSetWnd"; }
    void Notify(skin::Notification& notification) override {
        if (logic != nullptr) {
            outcomes.push_back(logic->Notify(notification));
        }
    }
    MacroItemDialog* logic = nullptr;
    std::vector<MacroItemDialog::Outcome> outcomes;
};

class MacroDialogTest : public ::testing::Test {
protected:
    MacroDialogTest() {
        skin::SkinPlatform::Set(&platform_);
        skin::SkinResources::SetResourcePath(std::filesystem::path(MOUSECFG_RES_DIR) / "res_black");
        EXPECT_TRUE(window_.Create(nullptr, "MacroMotifyWnd"));
        window_.ShowWindow(true, true);
        window_.logic = &logic_;
        platform_.ProcessPending();
    }
    ~MacroDialogTest() override {
        window_.logic = nullptr;
        window_.Close();
        platform_.ProcessPending();
        skin::SkinPlatform::Set(nullptr);
    }

    void Click(const char* name) {
        window_.GetPaintManager().UpdateLayout();
        skin::Control* control = window_.FindControl(name);
        ASSERT_NE(control, nullptr) << name;
        const skin::Rect pos = control->GetPos();
        const skin::Point centre{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
        ASSERT_EQ(window_.GetPaintManager().FindControl(centre), control) << name << " is hidden or covered";
        const intptr_t at = skin::msg::MakePointParam(centre.x, centre.y);
        window_.HandleMessage(Message{skin::msg::kLButtonDown, 0, at, {}});
        window_.HandleMessage(Message{skin::msg::kLButtonUp, 0, at, {}});
        platform_.ProcessPending();
    }
    void Choose(const char* combo, int index) {
        window_.Find<skin::Combo>(combo)->SelectItem(index);
        platform_.ProcessPending();
    }
    std::string Typed(const char* name, const std::string& text) {
        auto* edit = window_.Find<skin::Edit>(name);
        window_.GetPaintManager().SetFocus(edit);
        edit->ReplaceText(text);
        return edit->GetText();
    }
    std::string Text(const char* name) { return window_.FindControl(name)->GetText(); }
    bool Shown(const char* name) { return window_.FindControl(name)->IsVisibleInTree(); }
    bool Checked(const char* name) { return window_.Find<skin::CheckBox>(name)->IsChecked(); }

    skin::HeadlessPlatform platform_;
    DialogWindow window_;
    KeyNames names_ = Layout("us");
    macroui::WindowKeyGrab grab_{&window_};
    MacroItemDialog logic_{window_.GetPaintManager(), [this]() -> const KeyNames& { return names_; }, grab_,
                           [](std::string_view key) -> std::optional<std::string> {
                               return key == "EditItem" ? std::optional<std::string>("Eintrag ändern") : std::nullopt;
                           }};
};

TEST_F(MacroDialogTest, AMoveOpensWithItsDirectionDistancesAndMarks) {
    logic_.Open(MacroItem{item::kMove, "[\u2192]:12,[\u2191]:7", item::kMoveRightUp, 30, macroui::kEditRow, 12, 7});
    EXPECT_EQ(Text("lab_Motify_Title"), "Eintrag ändern");
    EXPECT_EQ(window_.Find<skin::Combo>("btn_Modify_ListKeyType")->GetCurSel(), 2);
    EXPECT_EQ(window_.Find<skin::Combo>("btn_Motify_XYType")->GetCurSel(), 2);
    EXPECT_TRUE(Checked("chk_Motify_XDirect"));
    EXPECT_TRUE(Checked("chk_Motify_YDirect"));
    EXPECT_EQ(Text("edit_Motify_Xvalue"), "12");
    EXPECT_EQ(Text("edit_Motify_Yvalue"), "7");
    EXPECT_EQ(Text("edit_Motify_Delay"), "30");
    EXPECT_TRUE(Shown("Layout_Motify_XYValue"));
    EXPECT_FALSE(Shown("btn_Motify_Status"));
    EXPECT_FALSE(Shown("chk_Modify_KeyboardValue"));

    // The marks and the direction selector follow each other.
    Click("chk_Motify_YDirect");  // right and down
    EXPECT_EQ(window_.Find<skin::Combo>("btn_Motify_XYType")->GetCurSel(), 3);
    Choose("btn_Motify_XYType", 0);  // left and up
    EXPECT_FALSE(Checked("chk_Motify_XDirect"));
    EXPECT_TRUE(Checked("chk_Motify_YDirect"));
    const MacroItem got = logic_.Result();
    EXPECT_EQ(got.code, item::kMove);
    EXPECT_EQ(got.state, item::kMoveLeftUp);
    EXPECT_EQ(got.text, "[\u2190]:12,[\u2191]:7");
}

TEST_F(MacroDialogTest, FieldsAreClampedWhileTyped) {
    logic_.Open(MacroItem{item::kMove, "", item::kMoveLeftDown, 10, macroui::kInsertAfter, 0, 1});
    EXPECT_EQ(Text("lab_Motify_Title"), "Insert item");
    EXPECT_EQ(Typed("edit_Motify_Delay", "60000"), "50000");
    EXPECT_EQ(Typed("edit_Motify_Delay", "007"), "7");
    EXPECT_EQ(Typed("edit_Motify_Delay", ""), "0");
    EXPECT_EQ(Typed("edit_Motify_Xvalue", "70000"), "65535");
    EXPECT_EQ(Typed("edit_Motify_Yvalue", "99"), "99");
    const MacroItem got = logic_.Result();
    EXPECT_EQ(got.delay, 0);
    EXPECT_EQ(got.x, 65535);
    EXPECT_EQ(got.y, 99);
    EXPECT_EQ(got.mode, macroui::kInsertAfter);
}

TEST_F(MacroDialogTest, AMouseButtonComesBackWithItsCodeNameAndRelease) {
    logic_.Open(MacroItem{item::kLeftButton, "Left Click", item::kPress, 10, macroui::kInsertBefore});
    EXPECT_TRUE(Shown("btn_Modify_MouseType"));
    EXPECT_TRUE(window_.FindControl("btn_Motify_Status")->IsEnabled());
    Choose("btn_Modify_MouseType", 2);
    Click("btn_Motify_Status");
    const MacroItem got = logic_.Result();
    EXPECT_EQ(got.code, 0xF3);
    EXPECT_EQ(got.text, "Right Click");
    EXPECT_EQ(got.state, item::kRelease);
    EXPECT_EQ(got.mode, macroui::kInsertBefore);
}

TEST_F(MacroDialogTest, AKeyIsCapturedUnderAKeyboardGrabUntilAnythingElseIsTouched) {
    logic_.Open(MacroItem{0x04, "A", item::kPress, 10, macroui::kEditRow});
    EXPECT_EQ(Text("chk_Modify_KeyboardValue"), "A");
    EXPECT_FALSE(logic_.OnKey(keymsg::kKeyDown, 28)) << "no capture yet: the key is the window's";

    Click("chk_Modify_KeyboardValue");
    EXPECT_TRUE(logic_.capturing());
    EXPECT_TRUE(Checked("chk_Modify_KeyboardValue"));
    EXPECT_TRUE(window_.KeyboardGrabbed());
    EXPECT_TRUE(logic_.OnKey(keymsg::kKeyDown, 28));  // Enter is a key like any other now
    EXPECT_TRUE(logic_.OnKey(keymsg::kKeyUp, 28));
    EXPECT_EQ(Text("chk_Modify_KeyboardValue"), "Enter");
    EXPECT_EQ(logic_.Result().code, 0x28);
    EXPECT_EQ(logic_.Result().text, "Enter");
    EXPECT_TRUE(logic_.OnKey(keymsg::kKeyDown, 54));  // right Shift has no usage ID of its own
    EXPECT_EQ(logic_.Result().code, 0xFF);

    Click("btn_Motify_Status");  // any other click ends the capture
    EXPECT_FALSE(logic_.capturing());
    EXPECT_FALSE(Checked("chk_Modify_KeyboardValue"));
    EXPECT_FALSE(window_.KeyboardGrabbed());

    Click("chk_Modify_KeyboardValue");
    EXPECT_TRUE(logic_.capturing());
    Click("chk_Modify_KeyboardValue");  // and a second click on the field
    EXPECT_FALSE(logic_.capturing());
    EXPECT_FALSE(window_.KeyboardGrabbed());
}

TEST_F(MacroDialogTest, TheKeyNameFollowsTheKeyboardLayout) {
    logic_.Open(MacroItem{0x04, "A", item::kPress, 10, macroui::kEditRow});
    Click("chk_Modify_KeyboardValue");
    logic_.OnKey(keymsg::kKeyDown, 21);  // the key right of T
    EXPECT_EQ(Text("chk_Modify_KeyboardValue"), "Y");
    names_ = Layout("de");
    logic_.OnKeyNamesChanged();
    EXPECT_EQ(Text("chk_Modify_KeyboardValue"), "Z");
    EXPECT_EQ(logic_.Result().code, 0x1C) << "the key stays the same key";
}

TEST_F(MacroDialogTest, ChoosingAnotherKindRearrangesTheDialog) {
    logic_.Open(MacroItem{0x04, "A", item::kPress, 10, macroui::kEditRow});
    EXPECT_TRUE(Shown("chk_Modify_KeyboardValue"));
    EXPECT_TRUE(Shown("lab_Motify_KeyHint"));
    Choose("btn_Modify_ListKeyType", 3);
    EXPECT_FALSE(Shown("chk_Modify_KeyboardValue"));
    EXPECT_FALSE(window_.FindControl("btn_Motify_Status")->IsEnabled()) << "a DPI switch has no release";
    EXPECT_EQ(logic_.Result().code, item::kDpi);
    Choose("btn_Modify_ListKeyType", 2);
    EXPECT_TRUE(Shown("Layout_Motify_XYValue"));
    EXPECT_EQ(logic_.Result().code, item::kMove);
    Choose("btn_Modify_ListKeyType", 1);
    EXPECT_EQ(logic_.Result().code, 0x04) << "the key given at the start";

    window_.outcomes.clear();
    Click("btn_Motify_Apply");
    Click("btn_Motify_Cancel");
    std::erase(window_.outcomes, MacroItemDialog::Outcome::None);
    EXPECT_EQ(window_.outcomes,
              (std::vector<MacroItemDialog::Outcome>{MacroItemDialog::Outcome::Apply, MacroItemDialog::Outcome::Cancel}));
}

}  // namespace
}  // namespace mousecfg
