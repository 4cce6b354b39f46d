// The button assignment panel: categories and code ranges, assignments, the one-left-button rule, macros and
// binding counts, BLE restrictions, the wheel and key recording.
#include <gtest/gtest.h>

#include "config/ui/FunctionCategory.h"
#include "skin/List.h"
#include "skin/ListLabelElement.h"
#include "skin/TabLayout.h"
#include "tests/config_ui/PageFixture.h"

namespace mousecfg::test {
namespace {

using ui::Category;

TEST(FunctionCategory, ItemNamesCarryTheirCode) {
    struct Case {
        const char* name;
        Category category;
        std::optional<int> code;
        bool named;
    };
    const Case cases[] = {
        {"ItemValue10_ReportRate", Category::Mouse, 10, true},
        {"ItemValue10", Category::Mouse, 10, false},
        {"ItemValue117_PageUp", Category::Mouse, 117, true},
        {"ItemValue22_ProfileCycle", Category::Mode, 22, true},
        {"ItemValue5_x", Category::Mode, 5, true},
        {"ItemValueX_Broken", Category::Mouse, std::nullopt, false},
        {"ItemValue", Category::Mouse, std::nullopt, false},
        {"mac_list_items", Category::Mouse, std::nullopt, false},
    };
    for (const Case& c : cases) {
        const auto parsed = ui::ParseItemName(c.name, c.category);
        ASSERT_EQ(parsed.has_value(), c.code.has_value()) << c.name;
        if (parsed) {
            EXPECT_EQ(parsed->code, *c.code) << c.name;
            EXPECT_EQ(parsed->named, c.named) << c.name;
        }
    }
}

TEST(FunctionCategory, EveryCodeRangeHasItsCategory) {
    const std::pair<int, Category> cases[] = {
        {0, Category::Mouse},     {1, Category::Mouse},    {5, Category::Mouse},     {101, Category::Mouse},
        {102, Category::Mouse},   {7, Category::Mouse},    {117, Category::Mouse},   {100, Category::ShortCut},
        {103, Category::ShortCut}, {110, Category::ShortCut}, {120, Category::Macro}, {259, Category::Macro},
        {29, Category::Media},    {39, Category::Media},   {6, Category::Dpi},       {11, Category::Dpi},
        {12, Category::Dpi},      {22, Category::Mode},    {26, Category::Mode},     {50, Category::Mode},
        {51, Category::Mode},     {16, Category::Led},     {21, Category::Led},      {260, Category::ShortCut},
        {300, Category::ShortCut},
    };
    for (const auto& [code, category] : cases) {
        EXPECT_EQ(ui::CategoryOfCode(code), category) << code;
    }
    EXPECT_EQ(ui::WheelCategoryOfCode(58), Category::Scroll);
    EXPECT_EQ(ui::WheelCategoryOfCode(120), Category::Macro);
}

}  // namespace
}  // namespace mousecfg::test

namespace mousecfg::test {
namespace {

// The category lists offer the codes of their category: the skin and the code ranges agree.
TEST(AssignPanel, EveryListItemBelongsToTheCategoryOfItsList) {
    PageFixture f;
    for (int i = 0; i < ui::kCategoryCount; ++i) {
        const auto category = static_cast<Category>(i);
        const auto* list = f.window.Find<skin::List>(ui::ControlsOf(category).list);
        if (category == Category::Macro) {
            EXPECT_EQ(list, nullptr);
            continue;
        }
        ASSERT_NE(list, nullptr) << ui::ControlsOf(category).list;
        ASSERT_GT(list->GetCount(), 0);
        for (int n = 0; n < list->GetCount(); ++n) {
            const std::string& name = list->GetItemAt(n)->GetName();
            const auto parsed = ui::ParseItemName(name, category);
            ASSERT_TRUE(parsed && parsed->named) << name;
            EXPECT_TRUE(f.session.functions.Contains(parsed->code)) << name;
            if (category != Category::Scroll) {
                EXPECT_EQ(ui::CategoryOfCode(parsed->code), category) << name;
            } else {
                EXPECT_LT(parsed->code, kFirstMacroCode) << name;
            }
        }
    }
}

TEST(AssignPanel, OpensOnTheCategoryAndItemOfTheButtonsFunction) {
    struct Case {
        int code;
        const char* option;
        const char* item;  // selected in the category's list; none for a macro or a key
    };
    const Case cases[] = {
        {3, "opt_MouseKey_Mouse", "ItemValue3_RightClick"},
        {104, "opt_MouseKey_ShortCut", "ItemValue104_Paste"},
        {34, "opt_MouseKey_Media", "ItemValue34_PreviousTrack"},
        {12, "opt_MouseKey_DPI", "ItemValue12_DpiMinus"},
        {24, "opt_MouseKey_Mode", "ItemValue24_Profile2"},
        {21, "opt_MouseKey_Led", "ItemValue21_LightingOnOff"},
        {7, "opt_MouseKey_Mouse", nullptr},  // a code no list offers: its category, nothing selected
        {264, "opt_MouseKey_ShortCut", nullptr},
    };
    for (const Case& c : cases) {
        PageFixture f;
        f.session.Binding(3).code = c.code;
        ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
        EXPECT_TRUE(f.Selected(c.option)) << c.code;
        const auto category = *ui::CategoryOfOption(c.option);
        EXPECT_EQ(f.window.Find<skin::TabLayout>("MouseKey_switch")->GetCurSel(), static_cast<int>(category)) << c.code;
        const auto* list = f.window.Find<skin::List>(ui::ControlsOf(category).list);
        const skin::ListElement* selected = list->GetSelectedItem();
        if (c.item != nullptr) {
            ASSERT_NE(selected, nullptr) << c.code;
            EXPECT_EQ(selected->GetName(), c.item);
        } else {
            EXPECT_EQ(selected, nullptr) << c.code;
        }
    }
    PageFixture f;
    f.session.Binding(3).code = 264;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    EXPECT_EQ(f.Text("SetRecordKey"), "E") << "a recorded key shows its name";
}

TEST(AssignPanel, AListItemAssignsItsCodeAndAnnouncesIt) {
    PageFixture f;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    ASSERT_TRUE(f.Click("opt_MouseKey_Media"));
    ASSERT_TRUE(f.ClickItem("ItemValue32_VolumePlus"));
    EXPECT_EQ(f.session.Binding(3).code, 32);
    EXPECT_EQ(f.session.Binding(3).text, "Volume +");
    EXPECT_EQ(f.Announcements(), 1);
    EXPECT_EQ(f.Text("btn_MouseKey_Click3"), "Volume +");
    using R = FakePageSession::Request;
    EXPECT_EQ(f.session.requests, (std::vector<R>{{4, false, 3}})) << "2028 comes back as PopSetValue";
    ASSERT_TRUE(f.Click("opt_MouseKey_Mode"));
    ASSERT_TRUE(f.ClickItem("ItemValue50_ProfilePlus"));
    EXPECT_EQ(f.session.Binding(3).code, 50);
    EXPECT_EQ(f.session.Binding(3).text, "Profile +");
}

TEST(AssignPanel, AnItemWithoutAFunctionNameStillWritesItsCode) {
    PageFixture f;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    auto* list = f.window.Find<skin::List>("list_MouseKey_Mouse");
    auto item = std::make_unique<skin::ListLabelElement>();
    item->SetName("ItemValue7");
    item->SetText("Seven");
    item->SetFixedHeight(30);
    list->AddAt(std::move(item), 0);
    f.Pump();
    ASSERT_TRUE(f.ClickItem("ItemValue7"));
    EXPECT_EQ(f.session.Binding(3).code, 7);
    EXPECT_EQ(f.session.Binding(3).text, "Unknown Key");
    EXPECT_EQ(f.Announcements(), 1);
}

TEST(AssignPanel, TheOnlyLeftClickButtonKeepsItsFunction) {
    PageFixture f;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click0"));  // the model's only left click
    ASSERT_TRUE(f.Click("opt_MouseKey_Media"));
    EXPECT_TRUE(f.Selected("opt_MouseKey_Mouse")) << "the category of its function is shown again";
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].text, "At least one button must keep the left click.");
    ASSERT_TRUE(f.ClickItem("ItemValue3_RightClick"));
    EXPECT_EQ(f.session.Binding(0).code, 1);
    EXPECT_EQ(f.boxes.shown.size(), 2u);
    EXPECT_EQ(f.Announcements(), 0);
    ASSERT_TRUE(f.ClickItem("ItemValue1_LeftClick"));  // choosing the left click again is no change
    EXPECT_EQ(f.boxes.shown.size(), 2u);
}

TEST(AssignPanel, WithTwoLeftClickButtonsEitherMayBeReassigned) {
    PageFixture f;
    f.session.Binding(4).code = 1;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click0"));
    ASSERT_TRUE(f.Click("opt_MouseKey_Media"));
    ASSERT_TRUE(f.ClickItem("ItemValue36_Mute"));
    EXPECT_EQ(f.session.Binding(0).code, 36);
    ASSERT_TRUE(f.Click("btn_MouseKey_Click4"));
    ASSERT_TRUE(f.Click("opt_MouseKey_Media"));
    EXPECT_TRUE(f.Selected("opt_MouseKey_Mouse")) << "now button 4 is the only left click";
    EXPECT_EQ(f.boxes.shown.size(), 1u);
}

// Picks macro `m` of group `g` with the pickers, as the user does.
void PickMacro(PageFixture& f, int g, int m) {
    ASSERT_TRUE(f.Click("opt_KBSet_Macro"));
    ASSERT_TRUE(f.Click("btn_MouseKey_MacroGroupVal"));
    ASSERT_TRUE(f.Visible("macrogrp_list_layout"));
    auto* groups = f.window.Find<skin::List>("macrogrp_list_layout");
    ASSERT_GT(groups->GetCount(), g);
    ASSERT_TRUE(f.ClickControl(groups->GetItemAt(g)));
    EXPECT_FALSE(f.Visible("macrogrp_list_layout"));
    ASSERT_TRUE(f.Click("btn_MouseKey_MacroVal"));
    auto* macros = f.window.Find<skin::List>("macro_list_layout");
    ASSERT_GT(macros->GetCount(), m);
    ASSERT_TRUE(f.ClickControl(macros->GetItemAt(m)));
}

}  // namespace
}  // namespace mousecfg::test

namespace mousecfg::test {
namespace {

int BindKeys(PageFixture& f, int g, int m) {
    return f.session.macros->groups()[static_cast<size_t>(g)].macros[static_cast<size_t>(m)].bindKeys;
}

TEST(AssignPanel, BindingCountsFollowAMacroFromButtonToButton) {
    PageFixture f;
    ASSERT_GE(f.session.macros->groups().at(0).macros.size(), 2u);
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    PickMacro(f, 0, 0);
    EXPECT_EQ(f.session.Binding(3).code, kFirstMacroCode);
    EXPECT_EQ(f.session.Binding(3).text.rfind("M:", 0), 0u);
    EXPECT_EQ(BindKeys(f, 0, 0), 1);
    EXPECT_EQ("M:" + f.Text("btn_MouseKey_MacroVal"), f.session.Binding(3).text) << "the picker shows the choice";
    ASSERT_TRUE(f.Click("btn_MouseKey_Click4"));
    PickMacro(f, 0, 0);
    EXPECT_EQ(BindKeys(f, 0, 0), 2) << "the same macro on two buttons";
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    EXPECT_TRUE(f.Selected("opt_KBSet_Macro"));
    EXPECT_FALSE(f.Text("btn_MouseKey_MacroVal").empty()) << "the pickers show the bound macro";
    PickMacro(f, 0, 0);
    EXPECT_EQ(BindKeys(f, 0, 0), 2) << "binding the macro a button already has changes no count";
    PickMacro(f, 0, 1);
    EXPECT_EQ(BindKeys(f, 0, 0), 1);
    EXPECT_EQ(BindKeys(f, 0, 1), 1);
    ASSERT_TRUE(f.Click("opt_MouseKey_Mouse"));
    ASSERT_TRUE(f.ClickItem("ItemValue5_Forward"));
    EXPECT_EQ(BindKeys(f, 0, 1), 0);
    EXPECT_TRUE(f.session.Binding(3).macroGuid.empty());
    // What the file says agrees with the configuration.
    MacroStore reloaded(MacroResourceFolder{f.dir.path() / "res"}, f.session.dialogs, f.session.macroBoxes);
    ASSERT_TRUE(reloaded.LoadMacros());
    EXPECT_EQ(reloaded.groups()[0].macros[0].bindKeys, 1);
    EXPECT_EQ(reloaded.groups()[0].macros[1].bindKeys, 0);
}

TEST(AssignPanel, AMacroNeedsAGroupAndAMacro) {
    PageFixture f;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    ASSERT_TRUE(f.Click("opt_KBSet_Macro"));
    ASSERT_TRUE(f.Click("btn_MouseKey_MacroVal"));
    EXPECT_FALSE(f.Visible("macro_list_layout")) << "no group chosen yet";
    EXPECT_EQ(f.Announcements(), 0);
    EXPECT_EQ(f.session.Binding(3).code, 4);
}

TEST(AssignPanel, OverBleTheReportRateAndTheMacrosAreNotOffered) {
    PageFixture f;
    f.session.ble = true;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    EXPECT_FALSE(f.Visible("ItemValue10_ReportRate"));
    EXPECT_FALSE(f.Find("btn_MouseKey_MacroGroupVal")->IsEnabled());
    EXPECT_FALSE(f.Find("btn_MouseKey_MacroVal")->IsEnabled());
    ASSERT_TRUE(f.Click("opt_KBSet_Macro"));
    EXPECT_FALSE(f.Click("btn_MouseKey_MacroGroupVal") && f.Visible("macrogrp_list_layout"));
    f.session.ble = false;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click4"));
    EXPECT_TRUE(f.Find("ItemValue10_ReportRate")->IsVisible()) << "back on the cable both are offered again";
    EXPECT_TRUE(f.Find("btn_MouseKey_MacroGroupVal")->IsEnabled());
}

TEST(AssignPanel, AWheelPositionOffersOnlyTheScrollFunctions) {
    PageFixture f;
    ASSERT_TRUE(f.Click("btn_Mouse_Scr_Up"));
    for (int i = 0; i < ui::kCategoryCount; ++i) {
        const auto category = static_cast<Category>(i);
        EXPECT_EQ(f.Find(std::string(ui::ControlsOf(category).option))->IsVisible(), category == Category::Scroll) << i;
    }
    EXPECT_FALSE(f.Visible("hor_keysel_categories")) << "one category needs no choice";
    EXPECT_TRUE(f.Selected("opt_ScrollKey_Base"));
    EXPECT_EQ(f.window.Find<skin::List>("list_ScrollKey_Base")->GetSelectedItem()->GetName(), "ItemValue58_ScrollUp");
    auto* scroll = f.window.Find<skin::List>("list_ScrollKey_Base");
    ASSERT_TRUE(f.ClickControl(scroll->GetItemAt(4)));  // Volume +
    EXPECT_EQ(f.session.Binding(16).code, 98);
    using R = FakePageSession::Request;
    EXPECT_EQ(f.session.requests, (std::vector<R>{{5, false, 16}}));
    // A macro bound by an older configuration shows the scroll page with nothing chosen.
    f.session.Binding(17).code = kFirstMacroCode;
    ASSERT_TRUE(f.Click("btn_Mouse_Scr_Dn"));
    EXPECT_TRUE(f.Selected("opt_ScrollKey_Base"));
    EXPECT_EQ(scroll->GetSelectedItem(), nullptr);
    ASSERT_TRUE(f.Click("btn_MouseKey_Click2"));
    EXPECT_FALSE(f.Visible("opt_ScrollKey_Base"));
    EXPECT_TRUE(f.Visible("opt_KBSet_Macro"));
    EXPECT_TRUE(f.Visible("hor_keysel_categories"));
}

TEST(AssignPanel, ALightingCategoryFollowsTheModel) {
    PageFixture f;
    f.session.ledVisible = false;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    EXPECT_FALSE(f.Visible("opt_MouseKey_Led"));
    f.session.ledVisible = true;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click4"));
    EXPECT_TRUE(f.Visible("opt_MouseKey_Led"));
}

TEST(AssignPanel, AKeyIsRecordedWhileTheKeyboardIsGrabbedAndConfirmedByItsButton) {
    PageFixture f;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    ASSERT_TRUE(f.Click("opt_MouseKey_ShortCut"));
    ASSERT_TRUE(f.Click("SetRecordKey"));
    EXPECT_TRUE(f.window.KeyboardGrabbed());
    f.TypeKey(0xE048, 0x26);  // Up arrow (extended)
    EXPECT_EQ(f.Text("SetRecordKey"), "↑");
    f.TypeKey(30);  // A
    EXPECT_EQ(f.Text("SetRecordKey"), "A");
    f.TypeKey(0x54);  // a key without a keyboard usage: the previous one stays
    EXPECT_EQ(f.Text("SetRecordKey"), "A");
    EXPECT_EQ(f.session.Binding(3).code, 4) << "nothing is assigned before the confirmation";
    ASSERT_TRUE(f.Click("BtnRecordConfirm"));
    EXPECT_FALSE(f.window.KeyboardGrabbed());
    EXPECT_FALSE(f.Selected("SetRecordKey"));
    EXPECT_EQ(f.session.Binding(3).code, kFirstKeyCode + 4);
    EXPECT_EQ(f.session.Binding(3).text, "A");
    EXPECT_EQ(f.Announcements(), 1);
}

TEST(AssignPanel, TheGrabEndsWithAnotherCategoryADeselectionOrAHiddenWindow) {
    PageFixture f;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    ASSERT_TRUE(f.Click("opt_MouseKey_ShortCut"));
    ASSERT_TRUE(f.Click("SetRecordKey"));
    ASSERT_TRUE(f.Click("opt_MouseKey_Media"));
    EXPECT_FALSE(f.window.KeyboardGrabbed()) << "another category";
    ASSERT_TRUE(f.Click("opt_MouseKey_ShortCut"));
    ASSERT_TRUE(f.Click("SetRecordKey"));
    ASSERT_TRUE(f.Click("SetRecordKey"));
    EXPECT_FALSE(f.window.KeyboardGrabbed()) << "deselected";
    ASSERT_TRUE(f.Click("SetRecordKey"));
    ASSERT_TRUE(f.window.KeyboardGrabbed());
    f.window.ShowWindow(false);
    f.TypeKey(30);
    EXPECT_FALSE(f.router->Panel().Recording()) << "the window hid: recording ended";
    EXPECT_NE(f.Text("SetRecordKey"), "A");
    EXPECT_EQ(f.Announcements(), 0);
}

TEST(AssignPanel, TheOnlyLeftClickCannotBeReplacedByARecordedKey) {
    PageFixture f;
    ASSERT_TRUE(f.Click("btn_MouseKey_Click0"));
    f.session.Binding(4).code = 1;  // a second left click lets the category change
    ASSERT_TRUE(f.Click("opt_MouseKey_ShortCut"));
    f.session.Binding(4).code = 5;
    ASSERT_TRUE(f.Click("SetRecordKey"));
    f.TypeKey(30);
    ASSERT_TRUE(f.Click("BtnRecordConfirm"));
    EXPECT_EQ(f.session.Binding(0).code, 1);
    EXPECT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.Announcements(), 0);
}

TEST(AssignPanel, TheOnScreenKeyboardStartsWhenInstalledAndIsDisabledWithATipOtherwise) {
    PageFixture f;
    EXPECT_FALSE(f.Find("PopSoftKB")->IsEnabled());
    EXPECT_EQ(f.Find("PopSoftKB")->GetToolTip(), "No on-screen keyboard is installed.");
    f.launcher.installed = {"onboard"};
    f.router->Initialise(BuildRes() / "res_black");
    ASSERT_TRUE(f.Click("btn_MouseKey_Click3"));
    ASSERT_TRUE(f.Click("opt_MouseKey_ShortCut"));
    ASSERT_TRUE(f.Click("PopSoftKB"));
    ASSERT_EQ(f.launcher.started.size(), 1u);
    EXPECT_EQ(f.launcher.started[0].first, "/usr/bin/onboard");
    f.launcher.failStarts = true;
    ASSERT_TRUE(f.Click("PopSoftKB"));
    ASSERT_EQ(f.boxes.shown.size(), 1u) << "a start that fails is told";
    EXPECT_NE(f.boxes.shown[0].text.find("could not be started"), std::string::npos);
}

}  // namespace
}  // namespace mousecfg::test
