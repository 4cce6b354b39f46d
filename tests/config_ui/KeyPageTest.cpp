// The key page: which button is edited and how that shows, the wheel's tip, the labels and the writes they cause.
#include <gtest/gtest.h>

#include "config/ui/PageTexts.h"
#include "device/DeviceRequest.h"
#include "skin/AttributeText.h"
#include "skin/Option.h"
#include "tests/config_ui/PageFixture.h"

namespace mousecfg::test {
namespace {

std::string Label(int n) {
    return "btn_MouseKey_Click" + std::to_string(n);
}
std::string Mark(int n) {
    return "btn_MouseKey_Mark" + std::to_string(n);
}

// Which of the drawn buttons 0..12 show as edited (label or mark checked).
std::vector<int> Highlighted(const PageFixture& f) {
    std::vector<int> shown;
    for (int n = 0; n < 13; ++n) {
        if (f.Selected(Label(n)) || f.Selected(Mark(n))) {
            shown.push_back(n);
        }
    }
    return shown;
}

TEST(KeyPage, TheMarkOfAButtonEditsItAsItsLabelDoes) {
    for (const std::string& clicked : {Label(3), Mark(3)}) {
        PageFixture f;
        ASSERT_TRUE(f.Click(clicked)) << clicked;
        EXPECT_EQ(f.router->Keys().EditedButton(), 3) << clicked;
        EXPECT_EQ(f.router->Panel().EditedButton(), "btn_MouseKey_Click3") << clicked;
        EXPECT_TRUE(f.Selected(Label(3)) && f.Selected(Mark(3))) << clicked;
        EXPECT_EQ(Highlighted(f), std::vector<int>{3}) << clicked;
        EXPECT_TRUE(f.Visible("ver_mousekeysel"));
        EXPECT_FALSE(f.Visible("ver_mousehid"));
    }
}

TEST(KeyPage, TheEditedButtonHasTheModelsHighlightAndTheOthersTheirTwinsLook) {
    PageFixture f;
    const auto& marks = f.router->Keys().Marks();
    ASSERT_NE(marks.highlightColor, skin::kNoColor) << "the highlight colour comes from btn_MouseKey_Click0";
    ASSERT_TRUE(f.Click(Label(1)));
    ASSERT_TRUE(f.Click(Label(4)));
    const auto* edited = f.window.Find<skin::Option>(Label(4));
    EXPECT_EQ(edited->GetSelectedTextColor(), marks.highlightColor);
    EXPECT_EQ(edited->GetHotTextColor(), marks.highlightColor);
    const auto* left = f.window.Find<skin::Option>(Label(1));
    const auto* twin = f.window.Find<skin::Option>("btn_MouseKey2_Click1");
    EXPECT_FALSE(left->IsSelected());
    EXPECT_EQ(left->GetHotTextColor(), twin->GetSelectedTextColor());
    const auto* mark = f.window.Find<skin::Option>(Mark(4));
    EXPECT_EQ(skin::attr::FormatImage(mark->GetSelectedImage()), marks.markImages[4]);
    EXPECT_EQ(skin::attr::FormatImage(mark->GetHotImage()), marks.markImages[4]);
    const auto* other = f.window.Find<skin::Option>(Mark(1));
    EXPECT_EQ(skin::attr::FormatImage(other->GetHotImage()),
              skin::attr::FormatImage(f.window.Find<skin::Option>("btn_MouseKey2_Mark1")->GetSelectedImage()));
    EXPECT_NE(marks.markImages[4], marks.markImages[1]) << "each mark remembers its own picture";
}

TEST(KeyPage, WithThePanelHiddenNoButtonKeepsTheHighlight) {
    PageFixture f;
    ASSERT_TRUE(f.Click(Label(2)));
    f.router->LeaveKeySelection();
    skin::Notification leave;
    leave.type = "mouseleave";
    leave.senderName = Label(2);
    f.router->Notify(leave);
    EXPECT_TRUE(Highlighted(f).empty());
    EXPECT_FALSE(f.Visible("ver_mousekeysel"));
    EXPECT_TRUE(f.Visible("ver_mousehid"));
    f.router->ReopenKeySelection();
    EXPECT_EQ(Highlighted(f), std::vector<int>{2}) << "the mouse page chosen again edits the same button";
}

TEST(KeyPage, ANameThatNamesNoButtonChangesNothing) {
    PageFixture f;
    ASSERT_TRUE(f.Click(Label(5)));
    for (const char* name : {"btn_MouseKey_Click99", "btn_MouseKey_Click", "btn_MouseKey_Mark3x"}) {
        f.router->Keys().SelectKeyButton(name);
        EXPECT_EQ(f.router->Keys().EditedButton(), 5) << name;
    }
    EXPECT_EQ(Highlighted(f), std::vector<int>{5});
}

TEST(KeyPage, TheDownWheelAfterTheUpOneLeavesOnlyItCheckedAndEditsButton17) {
    PageFixture f;
    ASSERT_TRUE(f.Click(Label(3)));
    ASSERT_TRUE(f.Click("btn_Mouse_Scr_Up"));
    EXPECT_EQ(f.router->Keys().EditedButton(), 16);
    EXPECT_TRUE(Highlighted(f).empty()) << "picking a wheel position ends the button's highlight";
    ASSERT_TRUE(f.Click("btn_Mouse_Scr_Dn"));
    EXPECT_EQ(f.router->Keys().EditedButton(), 17);
    EXPECT_EQ(f.router->Panel().EditedButton(), "btn_MouseKey_Click17");
    EXPECT_TRUE(f.Selected("btn_Mouse_Scr_Dn"));
    EXPECT_FALSE(f.Selected("btn_Mouse_Scr_Up"));
    ASSERT_TRUE(f.Click("btn_Mouse_Scr_Dn"));
    EXPECT_TRUE(f.Selected("btn_Mouse_Scr_Dn")) << "a second click keeps it edited";
    ASSERT_TRUE(f.Click(Label(0)));
    EXPECT_FALSE(f.Selected("btn_Mouse_Scr_Dn") || f.Selected("btn_Mouse_Scr_Up"));
}

TEST(KeyPage, TheWheelTipNamesItsFunctionAboveIt) {
    PageFixture f;
    skin::Notification enter;
    enter.type = "mouseenter";
    enter.senderName = "btn_Mouse_Scr_Up";
    f.router->Notify(enter);
    EXPECT_TRUE(f.host.tipShown);
    EXPECT_EQ(f.host.tipText, "Scroll Up");
    EXPECT_EQ(f.host.tipAnchor, f.Find("btn_Mouse_Scr_Up")->GetPos());
    skin::Notification leave = enter;
    leave.type = "mouseleave";
    f.router->Notify(leave);
    EXPECT_FALSE(f.host.tipShown);

    f.session.config.keyProfiles[0].erase(ButtonName(17));
    enter.senderName = "btn_Mouse_Scr_Dn";
    f.router->Notify(enter);
    EXPECT_EQ(f.host.tipText, "Unknown Key") << "a wheel position without a binding";
}

TEST(KeyPage, TheLabelsShowTheFunctionsOfTheCurrentProfile) {
    PageFixture f;
    EXPECT_EQ(f.Text(Label(0)), "Left Click");
    EXPECT_EQ(f.Text(Label(1)), "Right Click");
    EXPECT_EQ(f.Text(Label(5)), "DPI +");
    f.session.config.currentProfile = 1;
    f.session.Binding(5).text = "Volume +";
    f.router->RefreshPages(1);
    EXPECT_EQ(f.Text(Label(5)), "Volume +");
    EXPECT_FALSE(f.Visible(Label(8))) << "the model has eight buttons";
}

TEST(KeyPage, AnAssignmentIsWrittenAsTheKeyOrExtraKeyOfTheEditedButton) {
    PageFixture f;
    ASSERT_TRUE(f.Click(Label(3)));
    f.router->Keys().OnKeyAssigned();
    ASSERT_TRUE(f.Click("btn_Mouse_Scr_Dn"));
    f.router->Keys().OnKeyAssigned();
    using R = FakePageSession::Request;
    EXPECT_EQ(f.session.requests,
              (std::vector<R>{{request::kKeyAssignment, false, 3}, {request::kExtraKeyAssignment, false, 17}}));
}

TEST(KeyPage, AnAssignmentDuringAnApplyRunIsWrittenWhenTheRunHasFinished) {
    PageFixture f;
    f.session.applyRunning = true;
    ASSERT_TRUE(f.Click(Label(3)));
    f.router->Keys().OnKeyAssigned();
    ASSERT_TRUE(f.Click(Label(4)));
    f.router->Keys().OnKeyAssigned();
    f.router->Keys().OnKeyAssigned();  // the same button twice: written once
    EXPECT_TRUE(f.session.requests.empty()) << "a request now would be dropped by the run";
    f.session.applyRunning = false;
    f.router->ApplyFinished();
    f.router->ApplyFinished();
    f.router->ApplyFinished();
    using R = FakePageSession::Request;
    EXPECT_EQ(f.session.requests,
              (std::vector<R>{{request::kKeyAssignment, false, 3}, {request::kKeyAssignment, false, 4}}));
}

}  // namespace
}  // namespace mousecfg::test

namespace mousecfg::test {
namespace {

TEST(KeyPage, AMissingOrDamagedPositionFileIsToldAndThePageStaysUsable) {
    const std::string original = TempDir::Read(BuildRes() / "VeruzUrir/MouseA/Position/mousekey.json");
    const std::vector<std::pair<const char*, std::optional<std::string>>> variants = {
        {"missing", std::nullopt},
        {"truncated", original.substr(0, original.size() / 2)},
        {"mistyped", std::string(R"({"Containerinfo": {"containname": "mouse_click", "width": "wide"}})")},
        {"entry mistyped", std::string(R"({"Containerinfo": {"containname": "mouse_click", "width": 400, "height": 488,
            "bkimage": "", "normalimage": "", "overimage": "", "downimage": ""},
            "Controlinfo": [{"type": "option", "ctrlname": "btn_MouseKey_Click3", "pos": "left"}]})")},
    };
    for (const auto& [kind, text] : variants) {
        TempDir folder;
        std::filesystem::copy(BuildRes() / "VeruzUrir/MouseA", folder.path() / "MouseA",
                              std::filesystem::copy_options::recursive);
        const auto file = folder.path() / "MouseA/Position/mousekey.json";
        std::filesystem::remove(file);
        if (text) {
            folder.Write("MouseA/Position/mousekey.json", *text);
        }
        PageFixture f("res_black", nullptr, nullptr, folder.path() / "MouseA");
        ASSERT_EQ(f.boxes.shown.size(), 1u) << kind;
        EXPECT_EQ(f.boxes.shown[0].text, ui::PageTexts().Message("Json Warn")) << kind;
        ASSERT_TRUE(f.Click(Label(3))) << kind << ": the skin's layout keeps the label where it can be clicked";
        EXPECT_EQ(f.router->Keys().EditedButton(), 3) << kind;
        EXPECT_TRUE(f.Visible("ver_mousekeysel")) << kind;
    }
}

TEST(KeyPage, TheMouseSettingsLinkStartsTheDesktopsPanelOrIsHidden) {
    PageFixture f;
    EXPECT_FALSE(f.Visible("btn_MouseAdv_Sysproperties")) << "no mouse settings program installed";
    f.launcher.installed = {"gnome-control-center"};
    f.router->Initialise(BuildRes() / "res_black");
    ASSERT_TRUE(f.Click("btn_MouseAdv_Sysproperties"));
    ASSERT_EQ(f.launcher.started.size(), 1u);
    EXPECT_EQ(f.launcher.started[0].first, "/usr/bin/gnome-control-center");
    EXPECT_EQ(f.launcher.started[0].second, std::vector<std::string>{"mouse"});
    EXPECT_TRUE(f.boxes.shown.empty());
    f.launcher.failStarts = true;
    ASSERT_TRUE(f.Click("btn_MouseAdv_Sysproperties"));
    EXPECT_EQ(f.boxes.shown.size(), 1u) << "a start that fails is told";
}

}  // namespace
}  // namespace mousecfg::test

namespace mousecfg::test {
namespace {

TEST(KeyPage, ThePanelReopensForThePickedButtonOrInTheOnePageLayoutForButtonZero) {
    PageFixture f;
    f.router->ReopenKeySelection();
    EXPECT_FALSE(f.Visible("ver_mousekeysel")) << "no button was picked";
    f.session.onePage = 1;
    f.router->ReopenKeySelection();
    EXPECT_TRUE(f.Visible("ver_mousekeysel"));
    EXPECT_EQ(f.router->Keys().EditedButton(), 0);
    ASSERT_TRUE(f.Click("btn_Mouse_Scr_Dn"));
    f.router->LeaveKeySelection();
    EXPECT_FALSE(f.Selected("btn_Mouse_Scr_Dn"));
    f.router->ReopenKeySelection();
    EXPECT_TRUE(f.Selected("btn_Mouse_Scr_Dn"));
    EXPECT_EQ(f.router->Panel().EditedButton(), ButtonName(17));
}

TEST(KeyPage, ASkinSwitchDuringARecordingEndsTheGrab) {
    PageFixture f;
    ASSERT_TRUE(f.Click(Label(3)));
    ASSERT_TRUE(f.Click("opt_MouseKey_ShortCut"));
    ASSERT_TRUE(f.Click("SetRecordKey"));
    ASSERT_TRUE(f.window.KeyboardGrabbed());
    f.router->Initialise(BuildRes() / "res_white");
    EXPECT_FALSE(f.window.KeyboardGrabbed());
    EXPECT_FALSE(f.router->Panel().Recording());
}

}  // namespace
}  // namespace mousecfg::test
