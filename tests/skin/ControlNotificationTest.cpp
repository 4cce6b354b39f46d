#include <gtest/gtest.h>

#include "skin/CheckBox.h"
#include "skin/ColorPalette.h"
#include "skin/Combo.h"
#include "skin/Edit.h"
#include "skin/HeadlessWindowHost.h"
#include "skin/List.h"
#include "skin/Option.h"
#include "skin/SkinResources.h"
#include "skin/Slider.h"
#include "skin/TabLayout.h"
#include "skin/Tree.h"
#include "skin/TreeNode.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/TempDir.h"

namespace mousecfg::skin::test {
namespace {

using Events = std::vector<std::string>;

class ControlNotificationTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_.Open();
        window_.TakeEvents();
    }
    HeadlessWindowHost& host() { return static_cast<HeadlessWindowHost&>(*window_.GetHost()); }
    RecordingWindow window_{mousecfg::test::TestDataPath("skin/controls.xml")};
};

TEST_F(ControlNotificationTest, ButtonClickFocusesThenClicksAndDisabledButtonsStaySilent) {
    window_.ClickControl("btn_ok");
    EXPECT_EQ(window_.TakeEvents(), (Events{"mouseenter:btn_ok", "setfocus:btn_ok", "click:btn_ok"}));
    window_.ClickControl("btn_off");
    EXPECT_EQ(window_.TakeEvents(), (Events{"mouseleave:btn_ok", "killfocus:btn_ok"}));
    // Released outside the button: no click.
    window_.SendMouse(msg::kLButtonDown, window_.CenterOf("btn_ok"));
    window_.SendMouse(msg::kLButtonUp, window_.CenterOf("title"));
    EXPECT_EQ(window_.TakeEvents(), (Events{"mouseenter:btn_ok", "setfocus:btn_ok", "mouseleave:btn_ok"}));
    // Enter on the focused button clicks it.
    window_.HandleMessage(Message{msg::kKeyDown, msg::kVkReturn, 0, {}});
    EXPECT_EQ(window_.TakeEvents(), (Events{"click:btn_ok"}));
}

TEST_F(ControlNotificationTest, OptionGroupSelectsOneAndNotifiesAfterTheClick) {
    auto* a = window_.Find<Option>("opt_a");
    auto* b = window_.Find<Option>("opt_b");
    ASSERT_EQ(window_.GetPaintManager().GetOptionGroup("g").size(), 2u);
    window_.ClickControl("opt_a");
    EXPECT_TRUE(a->IsSelected());
    EXPECT_FALSE(b->IsSelected());
    const Events events = window_.TakeEvents();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(Events(events.end() - 2, events.end()), (Events{"click:opt_a", "selectchanged:opt_a"}))
        << "the deselected option raises nothing";
    window_.ClickControl("opt_a");
    EXPECT_TRUE(a->IsSelected()) << "a click on the selected option of a group keeps it";
    EXPECT_EQ(window_.TakeEvents().back(), "click:opt_a");
    b->Selected(true);
    EXPECT_EQ(window_.TakeEvents(), (Events{"selectchanged:opt_b"})) << "selection from code notifies too";
    EXPECT_FALSE(a->IsSelected());
    b->Selected(false, false);
    EXPECT_TRUE(window_.TakeEvents().empty());
}

TEST_F(ControlNotificationTest, CheckBoxTogglesAndNotifiesBothWays) {
    auto* check = window_.Find<CheckBox>("chk");
    bool stateAtClick = true;
    window_.onNotify = [&](Notification& n) {
        if (n.type == "click") {
            stateAtClick = check->IsChecked();
        }
    };
    window_.ClickControl("chk");
    EXPECT_FALSE(stateAtClick) << "a click handler sees the state before the click";
    EXPECT_TRUE(check->IsChecked());
    window_.ClickControl("chk");
    EXPECT_FALSE(check->IsChecked());
    const Events events = window_.TakeEvents();
    EXPECT_EQ(std::count(events.begin(), events.end(), "selectchanged:chk"), 2);
}

TEST_F(ControlNotificationTest, SliderDragReportsMovesAndTheReleaseOnce) {
    auto* slider = window_.Find<Slider>("slider");
    const Rect track = slider->GetPos();  // 270..380, thumb 10 wide: 100 px for 0..10
    const int y = (track.top + track.bottom) / 2;
    ASSERT_TRUE(slider->ThumbRect().contains({290, y}));
    window_.SendMouse(msg::kLButtonDown, {290, y});
    window_.SendMouse(msg::kMouseMove, {track.left + 5 + 50, y});
    window_.SendMouse(msg::kMouseMove, {track.left + 5 + 52, y});  // still 5: no new notification
    window_.SendMouse(msg::kMouseMove, {track.left + 5 + 80, y});
    window_.SendMouse(msg::kLButtonUp, {track.left + 5 + 80, y});
    Events values;
    for (const auto& e : window_.TakeEvents()) {
        if (e.find("valuechanged") != std::string::npos) {
            values.push_back(e);
        }
    }
    EXPECT_EQ(values, (Events{"movevaluechanged:slider", "movevaluechanged:slider", "valuechanged:slider"}));
    EXPECT_EQ(slider->GetValue(), 8);
    slider->SetValue(99);
    EXPECT_EQ(slider->GetValue(), 10) << "held in range";
    EXPECT_TRUE(window_.TakeEvents().empty()) << "a value from code raises nothing";
}

TEST_F(ControlNotificationTest, SliderKeysDragLiveAndCommitOnceWhenLetGo) {
    auto* slider = window_.Find<Slider>("slider");
    slider->SetAttribute("pagestep", "3");
    window_.ClickControl("slider");
    slider->SetValue(2);
    window_.TakeEvents();
    const auto key = [&](uint32_t id, unsigned vk, bool repeat = false) {
        window_.HandleMessage(Message{id, vk, msg::MakeKeyParam(0, 0, repeat), {}});
    };
    // A held arrow key: the press and two repeats move the thumb, the releases between repeats change nothing.
    key(msg::kKeyDown, msg::kVkRight);
    key(msg::kKeyUp, msg::kVkRight, true);
    key(msg::kKeyDown, msg::kVkRight, true);
    key(msg::kKeyUp, msg::kVkRight, true);
    key(msg::kKeyDown, msg::kVkRight, true);
    EXPECT_EQ(window_.TakeEvents(), (Events(3, "movevaluechanged:slider")));
    EXPECT_EQ(slider->GetValue(), 5);
    key(msg::kKeyUp, msg::kVkRight);
    EXPECT_EQ(window_.TakeEvents(), (Events{"valuechanged:slider"})) << "one commit when the key is let go";

    struct Case {
        unsigned key;
        int from;
        int to;
    } cases[] = {{msg::kVkPrior, 5, 8}, {msg::kVkPrior, 9, 10}, {msg::kVkNext, 5, 2}, {msg::kVkHome, 5, 0},
                 {msg::kVkEnd, 5, 10},  {msg::kVkUp, 5, 6},     {msg::kVkDown, 5, 4}, {msg::kVkLeft, 0, 0}};
    for (const Case& c : cases) {
        slider->SetValue(c.from);
        key(msg::kKeyDown, c.key);
        key(msg::kKeyUp, c.key);
        EXPECT_EQ(slider->GetValue(), c.to) << "key " << c.key << " from " << c.from;
        EXPECT_EQ(window_.TakeEvents().size(), c.from == c.to ? 0u : 2u) << "no notification without a change";
    }
    // The focus leaves while a key still holds the thumb: the value is committed then.
    key(msg::kKeyDown, msg::kVkRight);
    window_.ClickControl("btn_ok");
    const Events events = window_.TakeEvents();
    EXPECT_EQ(std::count(events.begin(), events.end(), "valuechanged:slider"), 1);
}

// Right to left: the slider's minimum is at its right end, whatever the layout of its window.
TEST_F(ControlNotificationTest, SliderRunsFromTheRightInARightToLeftLanguage) {
    struct RightToLeft {
        RightToLeft() { SkinResources::SetRightToLeft(true); }
        ~RightToLeft() { SkinResources::SetRightToLeft(false); }
    } rightToLeft;
    auto* slider = window_.Find<Slider>("slider");
    ASSERT_TRUE(slider->IsReversed());
    const Rect track = slider->GetPos();  // 100 px of travel for 0..10, thumb 10 wide
    const int y = (track.top + track.bottom) / 2;
    slider->SetValue(0);
    EXPECT_EQ(slider->ThumbRect().right, track.right) << "the minimum sits at the right end";
    slider->SetValue(10);
    EXPECT_EQ(slider->ThumbRect().left, track.left);

    window_.SendMouse(msg::kLButtonDown, {track.right - 3, y});
    window_.SendMouse(msg::kLButtonUp, {track.right - 3, y});
    EXPECT_EQ(slider->GetValue(), 0) << "a click near the right end gives the minimum";
    window_.SendMouse(msg::kLButtonDown, {track.right - 5 - 30, y});
    window_.SendMouse(msg::kLButtonUp, {track.right - 5 - 30, y});
    EXPECT_EQ(slider->GetValue(), 3);
    // Dragging the thumb to the left increases the value, back to the right decreases it.
    const Rect thumb = slider->ThumbRect();
    window_.SendMouse(msg::kLButtonDown, {(thumb.left + thumb.right) / 2, y});
    window_.SendMouse(msg::kMouseMove, {track.right - 5 - 70, y});
    EXPECT_EQ(slider->GetValue(), 7);
    window_.SendMouse(msg::kMouseMove, {track.right - 5 - 10, y});
    window_.SendMouse(msg::kLButtonUp, {track.right - 5 - 10, y});
    EXPECT_EQ(slider->GetValue(), 1);
    window_.TakeEvents();

    const auto press = [&](unsigned vk) {
        window_.HandleMessage(Message{msg::kKeyDown, vk, 0, {}});
        window_.HandleMessage(Message{msg::kKeyUp, vk, 0, {}});
        return slider->GetValue();
    };
    slider->SetValue(5);
    EXPECT_EQ(press(msg::kVkLeft), 6) << "Left moves the thumb left: up";
    EXPECT_EQ(press(msg::kVkRight), 5);
    EXPECT_EQ(press(msg::kVkUp), 6) << "the vertical keys keep their meaning";
    EXPECT_EQ(press(msg::kVkHome), 0);
    EXPECT_EQ(press(msg::kVkEnd), 10);
    EXPECT_EQ(window_.TakeEvents().back(), "valuechanged:slider");

    slider->SetAttribute("mirror", "false");
    EXPECT_FALSE(slider->IsReversed()) << "a slider may keep its direction";
    slider->SetValue(0);
    EXPECT_EQ(slider->ThumbRect().left, track.left);
    EXPECT_EQ(press(msg::kVkLeft), 0);
    slider->SetAttribute("mirror", "true");
    EXPECT_TRUE(slider->IsReversed());
    slider->SetAttribute("hor", "false");
    EXPECT_FALSE(slider->IsReversed()) << "an upright slider still grows upwards";
}

TEST_F(ControlNotificationTest, EditFiltersTypingAndReportsReturnAndFocusLoss) {
    auto* edit = window_.Find<Edit>("edit");
    window_.ClickControl("edit");
    EXPECT_EQ(host().editing(), edit) << "the native editor covers the focused edit";
    for (char32_t c : std::u32string(U"1a23456")) {
        window_.HandleMessage(Message{msg::kChar, c, 0, {}});
    }
    EXPECT_EQ(edit->GetText(), "1234") << "digits only, four characters at most";
    window_.HandleMessage(Message{msg::kKeyDown, msg::kVkReturn, 0, {}});
    window_.ClickControl("title");
    EXPECT_EQ(host().editing(), nullptr);
    Events relevant;
    for (const auto& e : window_.TakeEvents()) {
        if (e.ends_with(":edit")) {
            relevant.push_back(e);
        }
    }
    EXPECT_EQ(relevant, (Events{"setfocus:edit", "textchanged:edit", "textchanged:edit", "textchanged:edit",
                                "textchanged:edit", "return:edit", "killfocus:edit"}));
}

TEST_F(ControlNotificationTest, ListSelectsOnPressAndClicksOnRelease) {
    auto* list = window_.Find<List>("list");
    window_.ClickControl("row1");
    EXPECT_EQ(list->GetCurSel(), 1);
    Events events = window_.TakeEvents();
    const auto select = std::find(events.begin(), events.end(), "itemselect:list");
    const auto click = std::find(events.begin(), events.end(), "itemclick:row1");
    ASSERT_NE(select, events.end());
    ASSERT_NE(click, events.end());
    EXPECT_LT(select, click);
    // The item raising the click may be removed by the handler; the rest of the input still runs safely.
    window_.onNotify = [&](Notification& n) {
        if (n.type == "itemclick") {
            list->RemoveAll();
        }
    };
    window_.ClickControl("row0");
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(ControlNotificationTest, TreeNodesKnowTheirFamilyAndCollapseHidesDescendants) {
    auto* tree = window_.Find<Tree>("tree");
    auto* group = window_.Find<TreeNode>("group");
    auto* macro = window_.Find<TreeNode>("macro");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(macro->GetParentNode(), group);
    EXPECT_EQ(group->GetChildNode(0), macro);
    EXPECT_EQ(macro->GetTag(), 2u);
    EXPECT_NE(window_.FindControl("ToSave"), nullptr) << "child controls of a node";
    auto added = tree->AddNodeAt(std::make_unique<TreeNode>(), group, 0);
    EXPECT_EQ(tree->GetItemIndex(added), 1);
    tree->Expand(group, false);
    EXPECT_FALSE(macro->IsVisible());
    window_.ClickControl("group");
    EXPECT_EQ(tree->GetCurSel(), 0);
    EXPECT_TRUE(tree->RemoveNode(group));
    EXPECT_EQ(tree->GetCount(), 0);
    EXPECT_EQ(window_.FindControl("macro"), nullptr);
}

TEST_F(ControlNotificationTest, ComboDropsItsListAndSelectsTheChosenItem) {
    auto* combo = window_.Find<Combo>("combo");
    window_.ClickControl("combo");
    EXPECT_EQ(host().droppedCombo(), combo);
    combo->SelectItem(1);
    const Events events = window_.TakeEvents();
    EXPECT_EQ(Events(events.end() - 3, events.end()),
              (Events{"predropdown:combo", "dropdown:combo", "itemselect:combo"}));
    EXPECT_EQ(combo->GetSelectedItem()->GetText(), "one");
    EXPECT_FALSE(combo->SelectItem(5));
}

TEST_F(ControlNotificationTest, TabsPaletteAndTextIdsBehave) {
    auto* tabs = window_.Find<TabLayout>("tabs");
    EXPECT_FALSE(window_.FindControl("page1")->IsVisible());
    tabs->SelectItem(1);
    EXPECT_TRUE(window_.FindControl("page1")->IsVisible());
    EXPECT_FALSE(window_.FindControl("page0")->IsVisible());
    EXPECT_EQ(window_.TakeEvents(), (Events{"tabselect:tabs"}));

    auto* palette = window_.Find<ColorPalette>("palette");
    palette->SetSelectColor(0xFF00FF00u);
    EXPECT_TRUE(window_.TakeEvents().empty());
    const Rect pos = palette->GetPos();
    window_.SendMouse(msg::kLButtonDown, {pos.left, pos.top});
    window_.SendMouse(msg::kLButtonUp, {pos.left, pos.top});
    EXPECT_EQ(window_.TakeEvents().back(), "colorchanged:palette");
    EXPECT_EQ(palette->GetSelectColor(), 0xFFFFFFFFu) << "no saturation, full brightness";
    EXPECT_EQ(ColorPalette::FromHsv(0, 255, 255), 0xFFFF0000u);
    EXPECT_EQ(ColorPalette::FromHsv(240, 255, 255), 0xFF0000FFu);
}

}  // namespace
}  // namespace mousecfg::skin::test
