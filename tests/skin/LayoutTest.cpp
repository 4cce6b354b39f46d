#include <gtest/gtest.h>

#include <memory>

#include "skin/CVerticalLayoutExUI.h"
#include "skin/Container.h"
#include "skin/HorizontalLayout.h"
#include "skin/ListElement.h"
#include "skin/PaintManager.h"
#include "skin/VerticalLayout.h"
#include "tests/support/TempDir.h"
#include "skin/SkinResources.h"
#include "skin/SkinBuilder.h"
#include "tests/skin/RecordingPainter.h"

namespace mousecfg::skin {
namespace {

using test::RecordingPainter;

template <class T = Control>
T* AddChild(Control& parent, std::initializer_list<std::pair<const char*, const char*>> attributes) {
    auto child = std::make_unique<T>();
    for (const auto& [name, value] : attributes) {
        EXPECT_EQ(child->SetAttribute(name, value), AttributeStatus::Applied) << name;
    }
    return static_cast<T*>(parent.Children()->Add(std::move(child)));
}

TEST(Layout, VerticalSharesTheRestAmongStretchingChildrenWithinTheirLimits) {
    VerticalLayout layout;
    layout.SetAttribute("inset", "10,5,10,5");
    layout.SetAttribute("childpadding", "4");
    Control* fixed = AddChild(layout, {{"height", "30"}});
    Control* capped = AddChild(layout, {{"maxheight", "20"}});
    Control* stretch = AddChild(layout, {});
    Control* padded = AddChild(layout, {{"height", "10"}, {"padding", "2,3,4,5"}, {"width", "50"}});
    Control* hidden = AddChild(layout, {{"height", "500"}, {"visible", "false"}});
    layout.SetPos({0, 0, 200, 200});
    // Inner height 190; fixed 30 + 10 + 3 + 5 padding + 3 gaps of 4 = 60; 130 left: the capped child keeps 20,
    // the other stretching child takes the remaining 110.
    EXPECT_EQ(fixed->GetPos(), (Rect{10, 5, 190, 35}));
    EXPECT_EQ(capped->GetPos(), (Rect{10, 39, 190, 59}));
    EXPECT_EQ(stretch->GetPos(), (Rect{10, 63, 190, 173}));
    EXPECT_EQ(padded->GetPos(), (Rect{12, 180, 62, 190}));
    EXPECT_EQ(hidden->GetPos(), Rect{}) << "invisible children take no room";
}

TEST(Layout, HorizontalAlignsFixedChildrenAcrossAndFloatsKeepTheirPlace) {
    HorizontalLayout layout;
    layout.SetAttribute("childvalign", "vcenter");
    Control* left = AddChild(layout, {{"width", "40"}, {"height", "20"}});
    Control* rest = AddChild(layout, {});
    Control* floating = AddChild(layout, {{"float", "true"}, {"pos", "5,6,25,16"}});
    layout.SetPos({100, 100, 300, 160});
    EXPECT_EQ(left->GetPos(), (Rect{100, 120, 140, 140}));
    EXPECT_EQ(rest->GetPos(), (Rect{140, 100, 300, 160}));
    EXPECT_EQ(floating->GetPos(), (Rect{105, 106, 125, 116})) << "relative to the container's corner";
}

TEST(Layout, ScrollingMovesLaidOutChildrenButNotFloatingOnes) {
    PaintManager manager;
    auto owned = std::make_unique<VerticalLayout>();
    VerticalLayout& layout = *owned;
    manager.SetRoot(std::move(owned));
    layout.SetAttribute("vscrollbar", "true");
    layout.SetAttribute("scrollstepsize", "10");
    Control* first = AddChild(layout, {{"height", "40"}});
    AddChild(layout, {{"height", "40"}});
    Control* badge = AddChild(layout, {{"float", "true"}, {"pos", "0,0,10,10"}});
    manager.SetClientSize({100, 50});
    manager.UpdateLayout();
    EXPECT_EQ(layout.Children()->GetScrollRange().cy, 30);
    std::vector<uintptr_t> scrolls;
    struct Listener : NotifyListener {
        std::vector<uintptr_t>* out;
        void Notify(Notification& n) override {
            if (n.type == "scroll") {
                out->push_back(n.wParam);
            }
        }
    } listener;
    listener.out = &scrolls;
    manager.AddNotifier(&listener);
    layout.Children()->LineDown();
    EXPECT_EQ(first->GetPos().top, -10);
    EXPECT_EQ(badge->GetPos().top, 0);
    layout.Children()->SetScrollPos({0, 500});
    EXPECT_EQ(layout.Children()->GetScrollPos().y, 30) << "held at the range";
    EXPECT_EQ(first->GetPos().top, -30);
    EXPECT_EQ(scrolls, (std::vector<uintptr_t>{2})) << "only scrolling by the user notifies: (10 + 10) / 10";
    manager.RemoveNotifier(&listener);
}

TEST(Layout, ARowWiderThanItsRoomShowsAHorizontalScrollBarThatScrollsIt) {
    PaintManager manager;
    auto owned = std::make_unique<HorizontalLayout>();
    HorizontalLayout& row = *owned;
    manager.SetRoot(std::move(owned));
    row.SetAttribute("hscrollbar", "true");
    row.SetAttribute("hscrollbarstyle", "width='8' thumbcolor='#FF445566' bkcolor='#FF112233'");
    row.SetAttribute("scrollstepsize", "20");
    Control* first = AddChild(row, {{"width", "100"}});
    AddChild(row, {{"width", "100"}});
    AddChild(row, {{"width", "100"}});
    manager.SetClientSize({200, 50});
    manager.UpdateLayout();
    ChildList& list = *row.Children();
    ASSERT_EQ(list.GetScrollRange(), (Size{100, 0}));
    EXPECT_EQ(list.ScrollBarTrack(false), (Rect{0, 42, 200, 50}));
    EXPECT_EQ(first->GetPos().bottom, 42) << "the bar takes its height from the row";
    EXPECT_EQ(list.ScrollBarThumb(false), (Rect{0, 42, 133, 50})) << "two thirds of the content are shown";
    EXPECT_TRUE(list.ScrollBarTrack(true).empty());

    RecordingPainter painter;
    manager.Paint(painter);
    EXPECT_EQ(painter.With("fill 0,42,200,50").size(), 1u) << "the track is drawn";
    EXPECT_EQ(painter.With("fill 0,42,133,50 #FF445566").size(), 1u) << "the thumb is drawn";
    EXPECT_EQ(manager.FindControl(Point{150, 46}), &row) << "the bar takes the clicks on it";

    // Dragging the thumb by half its travel (67 pixels) scrolls half the range.
    manager.HandleButtonDown({60, 46});
    manager.HandleMouseMove({60 + 33, 46});
    manager.HandleButtonUp({60 + 33, 46});
    EXPECT_EQ(list.GetScrollPos().x, 49);
    EXPECT_EQ(first->GetPos().left, -49);
    // A click on the track beyond the thumb goes a page on, the wheel a step back.
    manager.HandleButtonDown({195, 46});
    manager.HandleButtonUp({195, 46});
    EXPECT_EQ(list.GetScrollPos().x, 100);
    manager.HandleWheel({100, 20}, 120);
    EXPECT_EQ(list.GetScrollPos().x, 80);
}

TEST(Layout, RightToLeftMirrorsWhatTheSkinAllowsAndNothingElse) {
    mousecfg::test::TempDir dir;
    PaintManager manager;
    SkinBuilder builder(manager, nullptr);
    ASSERT_TRUE(builder.LoadWindow(dir.Write(
        "rtl.xml", "<Window size='300,100' mirror='true'><HorizontalLayout name='row' inset='10,0,0,0'>"
                   "<Label name='a' width='50' textpadding='30,0,5,0'"
                   " normalimage=\"file='r.png' dest='0,0,20,20'\" bkimage=\"file='r.png' dest='0,0,20,20'\"/>"
                   "<Label name='b' width='70'/>"
                   "<Control name='badge' float='true' pos='10,10,30,30'/>"
                   "<Container name='fixed' width='100' mirror='false'>"
                   "<Control name='inside' float='true' pos='5,0,15,10'/></Container>"
                   "</HorizontalLayout></Window>")));
    manager.SetClientSize({300, 100});
    const auto place = [&manager](const char* name) {
        manager.UpdateLayout();
        return manager.FindControl(name)->GetPos();
    };
    EXPECT_EQ(place("a"), (Rect{10, 0, 60, 100}));
    SkinResources::SetRightToLeft(true);
    EXPECT_EQ(place("a"), (Rect{240, 0, 290, 100})) << "the row runs from the right, the inset on the right";
    EXPECT_EQ(place("b"), (Rect{170, 0, 240, 100}));
    EXPECT_EQ(place("badge"), (Rect{270, 10, 290, 30}));
    EXPECT_EQ(place("fixed"), (Rect{70, 0, 170, 100})) << "a part that opts out still moves with its row";
    EXPECT_EQ(place("inside"), (Rect{75, 0, 85, 10})) << "but keeps its own layout";
    EXPECT_EQ(manager.FindControl("a")->GetTextPadding(), (Rect{5, 0, 30, 0}));
    RecordingPainter painter;
    manager.FindControl("a")->Paint(painter);
    EXPECT_EQ(painter.With("image").front(), "image file='r.png' dest='30,0,50,20' at 240,0,290,100")
        << "pictures placed by dest move to the other side";
    SkinResources::SetRightToLeft(false);
    EXPECT_EQ(place("a"), (Rect{10, 0, 60, 100}));
    EXPECT_EQ(manager.FindControl("a")->GetTextPadding(), (Rect{30, 0, 5, 0}));
}

TEST(Layout, RightToLeftInsetsChangeSidesForHitsAsForPlaces) {
    mousecfg::test::TempDir dir;
    PaintManager manager;
    SkinBuilder builder(manager, nullptr);
    ASSERT_TRUE(builder.LoadWindow(dir.Write(
        "rtl.xml", "<Window size='100,40' mirror='true'><HorizontalLayout inset='30,0,5,0'>"
                   "<Label name='title'/><Button name='close' width='20'/></HorizontalLayout></Window>")));
    manager.SetClientSize({100, 40});
    SkinResources::SetRightToLeft(true);
    manager.UpdateLayout();
    EXPECT_EQ(manager.FindControl("close")->GetPos(), (Rect{5, 0, 25, 40}));
    EXPECT_EQ(manager.FindControl(Point{10, 20}), manager.FindControl("close"))
        << "the whole button takes clicks, in what is the wide inset left to right";
    SkinResources::SetRightToLeft(false);
    manager.UpdateLayout();
    EXPECT_EQ(manager.FindControl(Point{76, 20}), manager.FindControl("close"));
}

TEST(Layout, CardChildrenPlacedByPositionStayWithTheCardWhenItMoves) {
    CVerticalLayoutExUI card;
    Control* toggle = AddChild(card, {{"float", "true"}, {"pos", "34,9,67,15"}});
    Control* value = AddChild(card, {{"height", "30"}});
    card.SetPos({200, 100, 300, 200});
    EXPECT_EQ(toggle->GetPos(), (Rect{234, 109, 267, 115}));
    card.Move(-50, 20);
    EXPECT_EQ(toggle->GetPos(), (Rect{184, 129, 217, 135}));
    EXPECT_EQ(value->GetPos(), (Rect{150, 120, 250, 150}));
    card.SetPos({0, 0, 100, 100});
    EXPECT_EQ(toggle->GetPos(), (Rect{34, 9, 67, 15}));
}

TEST(Layout, FindSelectableSkipsHiddenDisabledAndNonListItems) {
    CVerticalLayoutExUI card;
    AddChild(card, {});                                 // 0: not a list item
    AddChild<ListElement>(card, {{"visible", "false"}});  // 1
    AddChild<ListElement>(card, {});                    // 2
    AddChild<ListElement>(card, {{"enabled", "false"}});  // 3
    EXPECT_EQ(card.FindSelectable(0, true), 2);
    EXPECT_EQ(card.FindSelectable(3, true), -1);
    EXPECT_EQ(card.FindSelectable(9, false), 2) << "the start is clamped to the last index";
    EXPECT_EQ(card.FindSelectable(1, false), 2) << "nothing backwards: forwards from 0";
}

}  // namespace
}  // namespace mousecfg::skin
