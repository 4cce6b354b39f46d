// Tips of controls (hover, text from the language, when they go) and where tips and drop lists go on the screen.
#include <gtest/gtest.h>

#include "skin/HeadlessWindowHost.h"
#include "skin/PopupPlacement.h"
#include "skin/SkinResources.h"
#include "skin/TextQuery.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/TempDir.h"

namespace mousecfg::skin::test {
namespace {

struct Language : TextQuery {
    std::string close = "Schließen";
    std::optional<std::string> QueryControlText(std::string_view id, std::string_view) override {
        if (id == "TipClose") {
            return close;
        }
        return std::nullopt;
    }
};

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        SkinResources::SetTextQueryInterface(&language_);
        const auto file = dir_.Write(
            "w.xml", "<Window size='400,100'><HorizontalLayout name='root'>"
                     "<Button name='close' width='100' tooltipid='TipClose' tooltip='Close'/>"
                     "<Button name='manual' width='100' tooltipid='TipUnknown' tooltip='Manual'/>"
                     "<Button name='plain' width='100'/>"
                     "</HorizontalLayout></Window>");
        window_ = std::make_unique<RecordingWindow>(file);
        window_->Open();
    }
    void TearDown() override { SkinResources::SetTextQueryInterface(nullptr); }
    HeadlessWindowHost& host() { return *static_cast<HeadlessWindowHost*>(window_->GetHost()); }
    void MoveTo(const std::string& name) { window_->SendMouse(msg::kMouseMove, window_->CenterOf(name)); }

    Language language_;
    mousecfg::test::TempDir dir_;
    std::unique_ptr<RecordingWindow> window_;
};

TEST_F(ToolTipTest, RestingOnAControlAsksForItsTipInTheLanguage) {
    MoveTo("close");
    EXPECT_EQ(host().toolTip(), "Schließen");
    EXPECT_EQ(host().toolTipAnchor(), window_->FindControl("close")->GetPos());
    MoveTo("manual");
    EXPECT_EQ(host().toolTip(), "Manual") << "an id the language lacks keeps the skin's text";
    MoveTo("plain");
    EXPECT_EQ(host().toolTip(), "") << "a control without a tip hides the last one";

    language_.close = "Fermer";
    SkinResources::ReloadText();
    MoveTo("close");
    EXPECT_EQ(host().toolTip(), "Fermer") << "a language change reaches the tips";
}

TEST_F(ToolTipTest, PressingScrollingTypingOrLeavingEndsTheTipUntilTheCursorMovesOn) {
    MoveTo("close");
    const int asked = host().toolTipRequests();
    window_->SendMouse(msg::kLButtonDown, window_->CenterOf("close"));
    EXPECT_EQ(host().toolTip(), "");
    window_->SendMouse(msg::kLButtonUp, window_->CenterOf("close"));
    MoveTo("close");
    EXPECT_EQ(host().toolTip(), "") << "no tip again while the cursor stays on the clicked control";

    MoveTo("plain");
    MoveTo("close");
    EXPECT_GT(host().toolTipRequests(), asked);
    window_->HandleMessage(Message{msg::kMouseWheel, static_cast<uintptr_t>(120) << 16, 0, {}});
    EXPECT_EQ(host().toolTip(), "");

    MoveTo("plain");
    MoveTo("manual");
    window_->HandleMessage(Message{msg::kMouseLeave, 0, 0, {}});
    EXPECT_EQ(host().toolTip(), "");

    MoveTo("close");
    window_->FindControl("close")->SetVisible(false);
    EXPECT_EQ(host().toolTip(), "") << "a tip goes with its control";
}

TEST(PopupPlacement, TipsStayOnTheWorkArea) {
    const Rect area{0, 0, 1280, 800};
    const Size tip{200, 30};
    struct Case {
        Point cursor;
        Rect expected;
    } cases[] = {
        {{100, 100}, {100, 100 + kCursorHeight, 300, 130 + kCursorHeight}},  // below, starting at the cursor
        {{1200, 100}, {1080, 120, 1280, 150}},                               // moved left at the right edge
        {{100, 790}, {100, 758, 300, 788}},                                  // above at the bottom
        {{1279, 799}, {1080, 767, 1280, 797}},                               // the corner: left and above
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceToolTip(tip, c.cursor, area), c.expected) << c.cursor.x << "," << c.cursor.y;
    }
    // A work area that does not start at 0,0 (a panel on the left and at the top).
    EXPECT_EQ(PlaceToolTip(tip, {10, 5}, {48, 32, 1280, 800}).left, 48);
    EXPECT_EQ(PlaceToolTip({200, 900}, {10, 5}, area).top, 0) << "a tip taller than the screen starts at its top";
}

TEST(PopupPlacement, DropListsOpenUpwardsWhenThereIsNoRoomBelow) {
    const Rect area{0, 0, 1280, 800};
    const Rect combo{100, 400, 260, 430};
    EXPECT_EQ(PlaceDropList(combo, {160, 150}, area, 24), (Rect{100, 430, 260, 580})) << "room below";
    const Rect low{100, 700, 260, 730};
    EXPECT_EQ(PlaceDropList(low, {160, 150}, area, 24), (Rect{100, 550, 260, 700})) << "above the combo";
    // Room on neither side: the side with more room, as high as it allows.
    const Rect middle{100, 420, 260, 450};
    EXPECT_EQ(PlaceDropList(middle, {160, 500}, area, 24), (Rect{100, 0, 260, 420}));
    EXPECT_EQ(PlaceDropList({100, 330, 260, 360}, {160, 500}, area, 24), (Rect{100, 360, 260, 800}));
    // A combo at the very bottom still shows one row; a wide list moves left at the right edge.
    EXPECT_EQ(PlaceDropList({100, 0, 260, 800}, {160, 150}, area, 24).height(), 24);
    EXPECT_EQ(PlaceDropList({1200, 100, 1270, 130}, {160, 150}, area, 24).right, 1280);
}

}  // namespace
}  // namespace mousecfg::skin::test
