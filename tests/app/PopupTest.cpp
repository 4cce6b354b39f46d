// The popup windows on the headless platform: message window styles and kinds, colour picker, tip window.
#include <gtest/gtest.h>

#include "app/CCloseWnd.h"
#include "app/CMsgWnd.h"
#include "app/CPopColorWnd.h"
#include "app/CPopPush.h"
#include "app/CPopTipWnd.h"
#include "app/ShellMessages.h"
#include "platform/PrivateProfile.h"
#include "skin/Button.h"
#include "skin/ColorPalette.h"
#include "skin/PaintManager.h"
#include "skin/Slider.h"
#include "skin/Edit.h"
#include "skin/HeadlessPlatform.h"
#include "skin/SkinResources.h"
#include "skin/WindowMessages.h"
#include "tests/app/ShellHarness.h"

namespace mousecfg {
namespace {

using test::RecordingParent;
using test::ShellHarness;
using test::TempDir;

class Popups : public ::testing::Test {
protected:
    Popups() {
        skin::SkinPlatform::Set(&platform_);
        skin::SkinResources::SetResourcePath(std::filesystem::path(MOUSECFG_RES_DIR) / "res_black");
        parent_.Create(nullptr, "parent");
    }
    ~Popups() override {
        parent_.Close();
        platform_.ProcessPending();
        skin::SkinPlatform::Set(nullptr);
    }
    skin::HeadlessPlatform platform_;
    RecordingParent parent_;
};

TEST_F(Popups, MessageWindowStylesUseTheirSkinFilesAndSetTheirTexts) {
    for (const int style : {0, 1, 2, 7}) {
        app::CMsgWnd window(style, app::CMsgWnd::kWireless);
        ASSERT_TRUE(window.Create(&parent_, "msgwnd"));
        EXPECT_EQ(window.GetSkinFile(), style == 1 ? "msg.xml" : style == 2 ? "msg3.xml" : "msg2.xml");
        window.SetTitle("Title");
        window.SetText("Body");
        window.SetText("");  // an empty text changes nothing
        window.SetButtonTexts("Yes", "");
        EXPECT_EQ(window.FindControl("MessageTitle")->GetText(), "Title");
        EXPECT_EQ(window.FindControl("confirm_btn")->GetText(), "Yes");
        EXPECT_EQ(window.FindControl("cancel_btn")->GetText(), "Cancel") << "an empty text keeps the skin's";
        if (style == 2) {
            EXPECT_EQ(window.FindControl("MessageTextWirelessUnconnect")->GetText(), "Body");
            EXPECT_FALSE(window.FindControl("MessageTextNoDevice")->IsVisible());
        } else {
            EXPECT_EQ(window.FindControl("MessageText")->GetText(), "Body");
        }
    }
}

TEST_F(Popups, ConfirmEndsTheProgramForTheNoDeviceKindOrWhenAsked) {
    struct Case {
        int style;
        int kind;
        bool quitFlag;
        bool quits;
    };
    for (const Case& c : {Case{2, app::CMsgWnd::kNoDevice, false, true}, Case{2, app::CMsgWnd::kWireless, false, false},
                          Case{0, 0, true, true}, Case{0, 0, false, false}}) {
        int quits = 0;
        app::CMsgWnd window(c.style, c.kind);
        window.SetOnQuit([&quits] { ++quits; });
        window.SetQuitOnConfirm(c.quitFlag);
        ASSERT_TRUE(window.Create(&parent_, "msgwnd"));
        ShellHarness::Click(window, "confirm_btn");
        EXPECT_EQ(quits, c.quits ? 1 : 0) << c.style << "/" << c.kind << "/" << c.quitFlag;
        EXPECT_FALSE(window.IsVisible());
    }
}

TEST_F(Popups, TheNoDeviceMessagesCloseButtonAsksTheParentToHide) {
    app::CMsgWnd notice(2, app::CMsgWnd::kNoDevice);
    ASSERT_TRUE(notice.Create(&parent_, "msgwnd"));
    ShellHarness::Click(notice, "closebtn");
    ASSERT_EQ(parent_.received.size(), 1u);
    EXPECT_EQ(parent_.received[0].id, app::msg::kNoDeviceHide);
    app::CMsgWnd plain(0);
    ASSERT_TRUE(plain.Create(&parent_, "msgwnd"));
    ShellHarness::Click(plain, "closebtn");
    EXPECT_EQ(parent_.received.size(), 1u) << "other styles just close";
    EXPECT_FALSE(plain.IsVisible());
}

TEST_F(Popups, EscapeActsAsTheCloseOrCancelButton) {
    const Message escape{skin::msg::kKeyDown, skin::msg::kVkEscape, 0, {}};
    app::CMsgWnd notice(2, app::CMsgWnd::kNoDevice);
    ASSERT_TRUE(notice.Create(&parent_, "msgwnd"));
    notice.HandleMessage(escape);
    ASSERT_EQ(parent_.received.size(), 1u);
    EXPECT_EQ(parent_.received[0].id, app::msg::kNoDeviceHide) << "the notice's close button hides to the tray";

    app::CMsgWnd plain(0);
    ASSERT_TRUE(plain.Create(&parent_, "msgwnd"));
    plain.ShowWindow();
    plain.HandleMessage(escape);
    EXPECT_FALSE(plain.IsVisible());

    app::CCloseWnd close(1, 1);
    ASSERT_TRUE(close.Create(&parent_, ""));
    close.HandleMessage(escape);
    platform_.ProcessPending();
    ASSERT_EQ(parent_.received.size(), 2u);
    EXPECT_EQ(parent_.received[1].id, app::msg::kClosePopupClosed) << "closed without a choice";

    TempDir dir;
    const auto colours = dir.Write("PopColor.ini", "[SelfDefine]\n0=1\n");
    app::CPopColorWnd picker(colours, 0x123456);
    ASSERT_TRUE(picker.Create(&parent_, ""));
    ShellHarness::Click(picker, "cust_color0");
    picker.HandleMessage(escape);
    platform_.ProcessPending();
    EXPECT_EQ(parent_.received.size(), 2u) << "no colour is reported";
    EXPECT_EQ(TempDir::Read(colours), "[SelfDefine]\n0=1\n") << "the custom colours are not stored";
}

TEST_F(Popups, MessageWindowsFitTheirHeightToTheirText) {
    for (const int style : {2, 0}) {
        app::CMsgWnd window(style, app::CMsgWnd::kWireless);
        ASSERT_TRUE(window.Create(&parent_, "msgwnd"));
        const char* textName = style == 2 ? "MessageTextWirelessUnconnect" : "MessageText";
        const auto gapBelowText = [&] {
            window.GetPaintManager().UpdateLayout();
            return window.FindControl("confirm_btn")->GetPos().top - window.FindControl(textName)->GetPos().bottom;
        };
        window.SetText("Short.");
        const int shortHeight = window.GetWindowRect().height();
        const int gap = gapBelowText();
        EXPECT_EQ(window.FindControl(textName)->GetPos().height(), app::CMsgWnd::kMinTextHeight)
            << "a short text keeps the height of the icon, no more";
        window.SetText(std::string(400, 'x') + "\nline\nline\nline");
        EXPECT_GT(window.GetWindowRect().height(), shortHeight + 4 * 17) << "a long text is not cut off";
        EXPECT_EQ(gapBelowText(), gap) << "the buttons move down with the text";
        window.SetText("Short again.");
        EXPECT_EQ(window.GetWindowRect().height(), shortHeight);
    }
}

TEST_F(Popups, ModalMessageReturnsTheAnswer) {
    for (const auto& [button, result] : {std::pair{"confirm_btn", 1}, std::pair{"cancel_btn", 0}}) {
        platform_.RunOnUiThread([this, b = std::string(button)] {
            for (skin::PaintManager* manager : skin::SkinResources::Managers()) {
                if (auto* control = dynamic_cast<skin::Button*>(manager->FindControl(b))) {
                    control->Activate();
                    return;
                }
            }
        });
        EXPECT_EQ(app::CMsgWnd::ShowModalMessage(&parent_, {"t", "x", "OK", "Cancel"}, 1), result) << button;
    }
}

class ColourPicker : public Popups {
protected:
    std::filesystem::path File(const std::string& text) { return dir_.Write("PopColor.ini", text); }
    TempDir dir_;
};

TEST_F(ColourPicker, ReadsTheColourFileAndShowsTheCurrentColour) {
    app::CPopColorWnd picker(File("[Default]\n0=16711680\n1=65280\n2=garbage\n[SelfDefine]\n7=255\n"), 0x123456);
    ASSERT_TRUE(picker.Create(&parent_, "colour"));
    EXPECT_EQ(picker.FindControl("def_color0")->GetBkColor(), 0xFFFF0000u);
    EXPECT_EQ(picker.FindControl("def_color2")->GetBkColor(), 0xFF000000u) << "not a number: black";
    EXPECT_EQ(picker.FindControl("def_color5")->GetBkColor(), 0xFF000000u) << "missing: black";
    EXPECT_EQ(picker.FindControl("cust_color7")->GetBkColor(), 0xFF0000FFu);
    EXPECT_EQ(picker.FindControl("colorHex")->GetText(), "123456");
    EXPECT_EQ(picker.FindControl("colorR")->GetText(), "18");
    EXPECT_EQ(picker.FindControl("colorB")->GetText(), "86");
}

TEST_F(ColourPicker, SwatchesFieldsAndPaletteChangeTheColourAndOkStoresTheCustomColours) {
    const auto file = File("[Default]\n1=65280\n[SelfDefine]\n");
    app::CPopColorWnd picker(file, 0);
    ASSERT_TRUE(picker.Create(&parent_, "colour"));
    ShellHarness::Click(picker, "def_color1");
    EXPECT_EQ(picker.CurrentColour(), 0x00FF00u);
    EXPECT_EQ(picker.SelectedDefault(), 1);
    ShellHarness::Click(picker, "cust_color3");
    EXPECT_EQ(picker.SelectedDefault(), 1);
    EXPECT_EQ(picker.SelectedCustom(), 3);
    picker.GetPaintManager().SendNotify(picker.FindControl("Pallet"), skin::notify::kColorChanged, 0xFFABCDEF);
    EXPECT_EQ(picker.CurrentColour(), 0xABCDEFu);
    EXPECT_EQ(picker.CustomColour(3), 0xABCDEFu) << "the selected custom slot takes the palette's colour";
    picker.FindControl("colorR")->SetText("300");
    picker.GetPaintManager().SendNotify(picker.FindControl("colorR"), skin::notify::kKillFocus);
    EXPECT_EQ(picker.CurrentColour(), 0xFFCDEFu) << "components are held to 0..255";
    picker.FindControl("colorHex")->SetText("zz12");
    picker.GetPaintManager().SendNotify(picker.FindControl("colorHex"), skin::notify::kReturn);
    EXPECT_EQ(picker.CurrentColour(), 0u) << "not hexadecimal: 0";
    picker.FindControl("colorHex")->SetText("00aa11");
    picker.GetPaintManager().SendNotify(picker.FindControl("colorHex"), skin::notify::kReturn);
    EXPECT_EQ(picker.FindControl("colorHex")->GetText(), "00AA11");
    for (const char* unknown : {"def_color9", "def_colorX", "cust_color", "def_color12"}) {
        skin::Notification click;
        click.type = skin::notify::kClick;
        click.senderName = unknown;
        picker.Notify(click);
    }
    EXPECT_EQ(picker.CurrentColour(), 0x00AA11u) << "names that are no swatch change nothing";
    ShellHarness::Click(picker, "popok");
    ini::ClearCache();
    EXPECT_EQ(ini::GetPrivateProfileString("SelfDefine", "3", "", file), std::to_string(0xABCDEF));
    EXPECT_EQ(ini::GetPrivateProfileString("SelfDefine", "0", "", file), "0");
    ASSERT_EQ(parent_.received.size(), 1u);
    EXPECT_EQ(parent_.received[0].id, app::msg::kColorPicked);
    EXPECT_EQ(parent_.received[0].wParam, 1u);
    EXPECT_EQ(parent_.received[0].lParam, 0x00AA11);
}

// Laid out right to left the DPI pop-up and the colour picker run from the right: the badge before the value,
// the close button on the left, fields and swatches in reading order from the right, OK on the left. The colour
// field keeps its picture: a point on it gives the same colour.
TEST_F(ColourPicker, TheDpiPopupAndTheColourPickerAreMirroredRightToLeft) {
    struct RightToLeft {
        ~RightToLeft() { skin::SkinResources::SetRightToLeft(false); }
    } restore;
    app::CPopPush push;
    ASSERT_TRUE(push.Create(nullptr, ""));
    app::CPopColorWnd picker(File("[Default]\n0=16711680\n7=255\n"), 0);
    ASSERT_TRUE(picker.Create(&parent_, "colour"));
    const auto at = [](skin::SkinWindow& window, const char* name) {
        window.GetPaintManager().UpdateLayout();
        return window.FindControl(name)->GetPos();
    };
    const skin::Rect palette = at(picker, "Pallet");
    const skin::Point inField{palette.left + 40, palette.top + 30};
    const auto colourAt = [&](skin::Point point) {
        picker.HandleMessage(Message{skin::msg::kLButtonDown, 0, skin::msg::MakePointParam(point.x, point.y), {}});
        picker.HandleMessage(Message{skin::msg::kLButtonUp, 0, skin::msg::MakePointParam(point.x, point.y), {}});
        return picker.CurrentColour();
    };
    const uint32_t leftToRightColour = colourAt(inField);
    EXPECT_LT(at(push, "dpilevel").left, at(push, "dpivalue").left);

    skin::SkinResources::SetRightToLeft(true);
    EXPECT_GT(at(push, "dpilevel").left, at(push, "dpivalue").right) << "the level badge leads, on the right";
    EXPECT_LT(at(push, "btn_close").right, 150) << "the close button on the left";
    EXPECT_EQ(at(push, "slider_dpi").right, 300 - 22);
    push.Show({2, "Current DPI", "800", 800, "Mouse", "Profile 1", 26000});
    auto* slider = push.Find<skin::Slider>("slider_dpi");
    ASSERT_TRUE(slider->IsReversed());
    EXPECT_GT(slider->ThumbRect().left, at(push, "slider_dpi").right - 30) << "a low DPI shows near the right end";

    EXPECT_LT(at(picker, "popok").right, at(picker, "popcancel").left) << "OK at the end of the row: the left";
    EXPECT_LT(at(picker, "colorB").right, at(picker, "colorG").left);
    EXPECT_LT(at(picker, "colorHex").right, at(picker, "color_preview").left);
    EXPECT_GT(at(picker, "def_color0").left, at(picker, "def_color7").right);
    EXPECT_EQ(at(picker, "Pallet"), palette) << "the colour field stays in its place";
    EXPECT_EQ(colourAt(inField), leftToRightColour) << "and keeps its picture";
    ShellHarness::Click(picker, "def_color7");
    EXPECT_EQ(picker.CurrentColour(), 0x0000FFu) << "a mirrored swatch is clicked where it is drawn";
    ShellHarness::Click(picker, "def_color0");
    EXPECT_EQ(picker.CurrentColour(), 0xFF0000u);
}

TEST_F(Popups, TipWindowShowsItsTextAndHidesWhenTheCursorMovesOverIt) {
    app::CPopTipWnd tip;
    ASSERT_TRUE(tip.Create(nullptr, ""));
    tip.ShowTip("Scroll up", {100, 200});
    EXPECT_TRUE(tip.IsVisible());
    EXPECT_EQ(tip.FindControl("displaytext")->GetText(), "Scroll up");
    EXPECT_EQ(tip.GetWindowRect().left, 100);
    tip.Send(Message{skin::msg::kMouseMove, 0, 0, {}});
    EXPECT_FALSE(tip.IsVisible());
}

}  // namespace
}  // namespace mousecfg
