// Real Qt input on the rendered gallery: clicks, typing into the native editor, drags, drop lists, the wheel and
// the built-in animation.
#include <QLineEdit>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

#include "skin/AnimLayout.h"
#include "skin/Combo.h"
#include "skin/Edit.h"
#include "skin/List.h"
#include "skin/Slider.h"
#include "tests/gui/GalleryWindow.h"

namespace mousecfg::skin::qt::test {
namespace {

using Events = std::vector<std::string>;

Events Matching(const Events& events, const std::string& sender) {
    Events matching;
    for (const auto& e : events) {
        if (e.ends_with(":" + sender) && !e.starts_with("mouse")) {
            matching.push_back(e);
        }
    }
    return matching;
}

TEST(GalleryInput, ClickingAButtonRaisesSetFocusAndClick) {
    GalleryWindow window;
    window.TakeEvents();
    window.Click("btn_live");
    EXPECT_EQ(Matching(window.TakeEvents(), "btn_live"), (Events{"setfocus:btn_live", "click:btn_live"}));
    window.Click("opt_slow");
    EXPECT_EQ(Matching(window.TakeEvents(), "opt_slow"),
              (Events{"setfocus:opt_slow", "click:opt_slow", "selectchanged:opt_slow"}));
}

TEST(GalleryInput, TypingGoesThroughTheNativeEditor) {
    GalleryWindow window;
    window.Click("edit_number");
    QLineEdit* line = window.widget().lineEdit();
    ASSERT_TRUE(line->isVisible());
    EXPECT_EQ(line->geometry().center().y(), window.CenterOf("edit_number").y());
    line->selectAll();
    QTest::keyClicks(line, "9a87654");
    auto* edit = window.Find<Edit>("edit_number");
    EXPECT_EQ(edit->GetText(), "98765") << "digits only, at most five";
    EXPECT_EQ(line->text().toStdString(), edit->GetText());
    QTest::keyClick(line, Qt::Key_Return);
    window.Click("title");
    EXPECT_FALSE(line->isVisible());
    const Events events = Matching(window.TakeEvents(), "edit_number");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "setfocus:edit_number");
    EXPECT_EQ(events.back(), "killfocus:edit_number");
    EXPECT_NE(std::find(events.begin(), events.end(), "return:edit_number"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "textchanged:edit_number"), events.end());
}

// Rewrites the number field on every change as the program's number fields do: plain decimal, so an emptied
// field reads 0 and leading zeros go.
class RewritingWindow : public GalleryWindow {
public:
    void Notify(Notification& notification) override {
        if (notification.type == "textchanged" && notification.senderName == "edit_number") {
            Control* field = FindControl("edit_number");
            const std::string plain = std::to_string(std::atoi(field->GetText().c_str()));
            if (plain != field->GetText()) {
                field->SetText(plain);
            }
        }
        GalleryWindow::Notify(notification);
    }
};

TEST(GalleryInput, TypingGoesOnWhereItWasAfterTheWindowRewritesTheField) {
    RewritingWindow window;
    window.Click("edit_number");
    QLineEdit* line = window.widget().lineEdit();
    ASSERT_TRUE(line->isVisible());
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Backspace);
    EXPECT_EQ(line->text(), "0");
    QTest::keyClicks(line, "100");
    EXPECT_EQ(window.FindControl("edit_number")->GetText(), "100") << "the 0 put into the emptied field is replaced";
    QTest::keyClick(line, Qt::Key_Home);
    QTest::keyClicks(line, "05");
    EXPECT_EQ(window.FindControl("edit_number")->GetText(), "5100") << "the dropped zero leaves the cursor in front";
    EXPECT_EQ(line->text().toStdString(), window.FindControl("edit_number")->GetText());
}

TEST(GalleryInput, DraggingTheSliderReportsWhileMovingAndOnRelease) {
    GalleryWindow window;
    auto* slider = window.Find<Slider>("slider_demo");
    const Rect thumb = slider->ThumbRect();
    const QPoint start((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
    window.TakeEvents();
    window.Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    const QRect track = window.RectOf("slider_demo");
    window.Mouse(QEvent::MouseMove, QPoint(track.left() + track.width() * 3 / 4, start.y()), Qt::LeftButton);
    window.Mouse(QEvent::MouseMove, QPoint(track.right() + 40, start.y()), Qt::LeftButton);
    window.Mouse(QEvent::MouseButtonRelease, QPoint(track.right() + 40, start.y()));
    EXPECT_EQ(slider->GetValue(), 100);
    Events values = Matching(window.TakeEvents(), "slider_demo");
    std::erase(values, "setfocus:slider_demo");
    EXPECT_EQ(values, (Events{"movevaluechanged:slider_demo", "movevaluechanged:slider_demo",
                              "valuechanged:slider_demo"}));
}

TEST(GalleryInput, TheComboDropListSelectsTheClickedItem) {
    GalleryWindow window;
    window.Click("combo_demo");
    QWidget* drop = window.widget().dropList();
    ASSERT_NE(drop, nullptr);
    ASSERT_TRUE(drop->isVisible());
    QTest::mouseMove(drop, QPoint(20, 24 * 2 + 12));
    QTest::mouseClick(drop, Qt::LeftButton, {}, QPoint(20, 24 * 2 + 12));
    auto* combo = window.Find<Combo>("combo_demo");
    EXPECT_EQ(combo->GetCurSel(), 2);
    const Events events = window.TakeEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), "itemselect:combo_demo"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "itemclick:combo_item2"), events.end());
    GalleryWindow::Spin(20);
    EXPECT_EQ(window.widget().dropList(), nullptr);
}

TEST(GalleryInput, TheWheelScrollsTheListAndClicksSelectRows) {
    GalleryWindow window;
    auto* list = window.Find<List>("list_demo");
    const QPoint at = window.CenterOf("list_demo");
    QWheelEvent wheel(QPointF(at), QPointF(window.widget().mapToGlobal(at)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&window.widget(), &wheel);
    EXPECT_GT(list->GetScrollPos().y, 0);
    window.Click("list_d");
    EXPECT_EQ(list->GetCurSel(), 3);
}

TEST(GalleryInput, TheBuiltInShowAnimationRunsToItsEnd) {
    GalleryWindow window;
    auto* anim = window.Find<AnimLayout>("anim_demo");
    ASSERT_TRUE(anim->StartEffect(kEffectShow, true));
    EXPECT_TRUE(anim->IsAnimating());
    GalleryWindow::Spin(150);
    const QImage midway = window.Grab();
    EXPECT_TRUE(anim->IsAnimating());
    EXPECT_FALSE(anim->StartEffect(kEffectHide, false));
    GalleryWindow::Spin(600);
    EXPECT_FALSE(anim->IsAnimating());
    const QImage done = window.Grab();
    const QRect area = window.RectOf("anim_demo");
    EXPECT_NE(midway.copy(area), done.copy(area)) << "the frames differ from the final picture";
}

}  // namespace
}  // namespace mousecfg::skin::qt::test
