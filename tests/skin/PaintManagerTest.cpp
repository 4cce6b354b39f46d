#include "skin/PaintManager.h"

#include <gtest/gtest.h>

#include "skin/Button.h"
#include "skin/Edit.h"
#include "skin/HeadlessWindowHost.h"
#include "skin/List.h"
#include "skin/ListLabelElement.h"
#include "skin/Option.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/TempDir.h"

namespace mousecfg::skin::test {
namespace {

class PaintManagerTest : public ::testing::Test {
protected:
    void Open(const std::string& body) {
        const auto file = dir_.Write("w.xml", "<Window size='300,100'><HorizontalLayout name='root'>" + body +
                                                  "</HorizontalLayout></Window>");
        window_ = std::make_unique<RecordingWindow>(file);
        window_->Open();
        window_->TakeEvents();
    }
    PaintManager& manager() { return window_->GetPaintManager(); }
    void Key(unsigned key, unsigned modifiers = 0) {
        window_->HandleMessage(Message{msg::kKeyDown, key, static_cast<intptr_t>(modifiers), {}});
    }

    mousecfg::test::TempDir dir_;
    std::unique_ptr<RecordingWindow> window_;
};

TEST_F(PaintManagerTest, TabMovesTheFocusAmongVisibleEnabledFocusableControls) {
    Open("<Button name='a' width='50'/><Label name='l' width='50'/><Button name='b' width='50' enabled='false'/>"
         "<Edit name='e' width='50'/><Button name='h' width='50' visible='false'/><Button name='k' keyboard='false'/>");
    Key(msg::kVkTab);
    EXPECT_EQ(manager().GetFocus()->GetName(), "a");
    Key(msg::kVkTab);
    EXPECT_EQ(manager().GetFocus()->GetName(), "e");
    EXPECT_EQ(static_cast<HeadlessWindowHost*>(window_->GetHost())->editing(), manager().GetFocus());
    Key(msg::kVkTab);
    EXPECT_EQ(manager().GetFocus()->GetName(), "a") << "round again";
    Key(msg::kVkTab, kModShift);
    EXPECT_EQ(manager().GetFocus()->GetName(), "e");
}

TEST_F(PaintManagerTest, HiddenOrRemovedControlsLoseFocusHotAndCapture) {
    Open("<Edit name='e' width='100'/><Button name='b' width='100'/>");
    window_->ClickControl("e");
    auto* host = static_cast<HeadlessWindowHost*>(window_->GetHost());
    ASSERT_NE(host->editing(), nullptr);
    manager().FindControl("e")->SetVisible(false);
    EXPECT_EQ(manager().GetFocus(), nullptr);
    EXPECT_EQ(host->editing(), nullptr) << "the native editor goes with it";
    EXPECT_EQ(manager().GetHot(), nullptr);
    // Pressed and removed before the release: the release reaches nobody.
    window_->SendMouse(msg::kLButtonDown, window_->CenterOf("b"));
    auto* root = manager().FindControl("root");
    root->Children()->Remove(manager().FindControl("b"));
    window_->SendMouse(msg::kLButtonUp, {150, 50});
    EXPECT_EQ(manager().FindControl("b"), nullptr);
    const auto events = window_->TakeEvents();
    EXPECT_EQ(std::count(events.begin(), events.end(), "click:b"), 0);
}

TEST_F(PaintManagerTest, DisabledContainersBlockTheirChildrenAndMouseChildFalseTakesTheirClicks) {
    Open("<HorizontalLayout name='off' width='100' enabled='false'><Button name='inner'/></HorizontalLayout>"
         "<HorizontalLayout name='card' width='100' mousechild='false'><Button name='child'/></HorizontalLayout>");
    window_->ClickControl("inner");
    EXPECT_TRUE(window_->TakeEvents().empty());
    EXPECT_EQ(manager().FindControl(window_->CenterOf("child"))->GetName(), "card");
}

TEST_F(PaintManagerTest, RowsRemovedWhileTheirNotificationRunsAreFreedAfterwards) {
    Open("<List name='list' width='300'/>");
    auto* list = window_->Find<List>("list");
    for (int i = 0; i < 3; ++i) {
        auto row = std::make_unique<ListLabelElement>();
        row->SetAttribute("name", "row" + std::to_string(i));
        row->SetAttribute("height", "20");
        list->Add(std::move(row));
    }
    // Rebuilding the list from "itemselect", as pages refill lists when a selection changes.
    window_->onNotify = [&](Notification& n) {
        if (n.type == "itemselect" && list->GetCount() == 3) {
            list->RemoveAll();
            auto row = std::make_unique<ListLabelElement>();
            row->SetAttribute("name", "fresh");
            list->Add(std::move(row));
        }
    };
    window_->ClickControl("row1");
    EXPECT_EQ(list->GetCount(), 1);
    EXPECT_EQ(list->GetItemAt(0)->GetName(), "fresh");
    EXPECT_EQ(manager().FindControl("row1"), nullptr);
}

TEST_F(PaintManagerTest, FontsAreLookedUpByIdAndTakeTheLanguageFace) {
    Open("<Label name='l'/>");
    manager().AddFont(2, FontSpec{"Sans", 18, true, false, false});
    EXPECT_EQ(manager().GetFont(2).size, 18);
    EXPECT_EQ(manager().GetFont(77), manager().GetDefaultFont()) << "unknown ids use the default font";
    manager().SetFontFamilyForAll("Noto Sans CJK SC");
    EXPECT_EQ(manager().GetFont(2).family, "Noto Sans CJK SC");
    EXPECT_EQ(manager().GetFont(-1).family, "Noto Sans CJK SC");
    EXPECT_TRUE(manager().GetFont(2).bold);
}

}  // namespace
}  // namespace mousecfg::skin::test
