// The small windows the Qt host opens for controls: tips after the hover delay, drop lists on the side of the
// combo that has room.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

#include "skin/qt/QtDropList.h"
#include "skin/qt/QtToolTip.h"
#include "tests/gui/GalleryWindow.h"

namespace mousecfg::skin::qt::test {
namespace {

// Spins the event loop until `done` holds, 5 s at most (the delays are short; the machine may be busy).
bool SpinUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) {
        GalleryWindow::Spin(10);
    }
    return done();
}

TEST(QtPopups, ATipShowsAfterTheHoverDelayBelowTheCursorAndGoesWithIt) {
    GalleryWindow window;
    const QPoint at = window.CenterOf("btn_close");
    window.Mouse(QEvent::MouseMove, at);
    EXPECT_EQ(window.widget().toolTip(), nullptr) << "not before the hover delay";
    ASSERT_TRUE(SpinUntil([&] { return window.widget().toolTip() != nullptr; }));
    auto* tip = static_cast<QtToolTip*>(window.widget().toolTip());
    EXPECT_EQ(tip->text(), QStringLiteral("Close"));
    const QPoint cursor = window.widget().mapToGlobal(at);
    EXPECT_TRUE(tip->geometry().top() > cursor.y() || tip->geometry().bottom() < cursor.y())
        << "the tip leaves the cursor's hot spot free";
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(tip->geometry()));

    window.Mouse(QEvent::MouseMove, window.CenterOf("title"));
    EXPECT_EQ(window.widget().toolTip(), nullptr) << "a control without a tip hides it";
    window.Mouse(QEvent::MouseMove, at);
    window.Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    GalleryWindow::Spin(QtWindowHost::kToolTipDelayMs + 200);
    EXPECT_EQ(window.widget().toolTip(), nullptr) << "pressing the control cancels its tip";
    window.Mouse(QEvent::MouseButtonRelease, at);
}

TEST(QtPopups, ADropListOpensOnTheSideOfItsComboThatHasRoom) {
    GalleryWindow window;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect combo = window.RectOf("combo_demo");
    // The combo 30 pixels above the bottom of the screen: the list opens upwards.
    const int top = area.bottom() - 30 - combo.bottom();
    window.MoveWindow({0, top, 900, top + 640});
    window.Click("combo_demo");
    auto* list = static_cast<QtDropList*>(window.widget().dropList());
    ASSERT_NE(list, nullptr);
    const QRect onScreen(window.widget().mapToGlobal(combo.topLeft()), combo.size());
    EXPECT_TRUE(list->OpensUpwards());
    EXPECT_EQ(list->geometry().bottom() + 1, onScreen.top());
    list->close();
    GalleryWindow::Spin(20);

    window.MoveWindow({0, 0, 900, 640});
    window.Click("combo_demo");
    list = static_cast<QtDropList*>(window.widget().dropList());
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->OpensUpwards());
    EXPECT_EQ(list->geometry().top(), window.widget().mapToGlobal(combo.bottomLeft()).y() + 1);
}

}  // namespace
}  // namespace mousecfg::skin::qt::test
