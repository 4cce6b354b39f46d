// The Qt host's safety rules: messages from workers through the Qt event loop, windows that go away while a
// worker waits, native editors and drop lists whose controls disappear.
#include <QLineEdit>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "skin/Combo.h"
#include "skin/Edit.h"
#include "skin/Mailbox.h"
#include "skin/ChildList.h"
#include "skin/WindowMessages.h"
#include "skin/qt/QtEffectAnimation.h"
#include "skin/qt/QtKeys.h"
#include "tests/gui/GalleryWindow.h"

namespace mousecfg::skin::qt::test {
namespace {

class CountingWindow : public GalleryWindow {
public:
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override {
        handled = message.id == 2053 || message.id == 2031;
        if (message.id == 2031) {
            ++posts;
        }
        return message.id == 2053 ? static_cast<intptr_t>(message.wParam) + 1 : 0;
    }
    int posts = 0;
};

TEST(QtHost, WorkersPostAndSendThroughTheEventLoop) {
    CountingWindow window;
    std::atomic<intptr_t> answer{0};
    std::thread worker([&] {
        for (int i = 0; i < 10; ++i) {
            window.Post(Message{2031, 0, 0, {}});
        }
        answer = window.Send(Message{2053, 41, 0, {}});
    });
    for (int i = 0; i < 200 && answer.load() == 0; ++i) {
        GalleryWindow::Spin(5);
    }
    worker.join();
    EXPECT_EQ(answer.load(), 42);
    EXPECT_EQ(window.posts, 10);
}

TEST(QtHost, AWorkerWaitingOnAWindowThatIsDeletedGetsZero) {
    auto window = std::make_unique<CountingWindow>();
    std::shared_ptr<MessageSink> target = window->GetMessageTarget();
    std::atomic<bool> done{false};
    std::atomic<intptr_t> answer{-1};
    std::thread worker([&] {
        answer = target->Send(Message{2053, 1, 0, {}});
        done = true;
    });
    // The send waits in the window's queue; the window is deleted before the event loop runs again.
    while (static_cast<Mailbox*>(target.get())->Pending() == 0) {
        std::this_thread::yield();
    }
    window.reset();
    worker.join();
    EXPECT_TRUE(done.load());
    EXPECT_EQ(answer.load(), 0);
    GalleryWindow::Spin(20);  // the wake-up still queued in Qt finds nothing to deliver to
}

TEST(QtHost, EditorsAndDropListsCloseWhenTheirControlsGo) {
    GalleryWindow window;
    window.Click("edit_text");
    ASSERT_TRUE(window.widget().lineEdit()->isVisible());
    Control* edit = window.FindControl("edit_text");
    edit->GetParent()->Children()->Remove(edit);
    EXPECT_FALSE(window.widget().lineEdit()->isVisible());
    EXPECT_EQ(window.FindControl("edit_text"), nullptr);

    window.Click("combo_demo");
    ASSERT_NE(window.widget().dropList(), nullptr);
    Control* combo = window.FindControl("combo_demo");
    combo->GetParent()->Children()->Remove(combo);
    GalleryWindow::Spin(20);
    EXPECT_EQ(window.widget().dropList(), nullptr);
}

TEST(QtHost, ShowFramesFadeInAndHideFramesFadeOut) {
    QImage picture(4, 6, QImage::Format_ARGB32);
    picture.fill(QColor(10, 20, 30));
    const PixelBuffer start = QtEffectAnimation::Frame(picture, kEffectShow, 0.0);
    const PixelBuffer end = QtEffectAnimation::Frame(picture, kEffectShow, 1.0);
    EXPECT_EQ(start.pixels, std::vector<uint32_t>(24, 0u)) << "nothing shown at the start of a show";
    EXPECT_EQ(end.pixels, std::vector<uint32_t>(24, 0xFF0A141Eu)) << "the picture itself at the end";
    EXPECT_EQ(QtEffectAnimation::Frame(picture, kEffectHide, 0.0).pixels, end.pixels);
    EXPECT_EQ(QtEffectAnimation::Frame(picture, kEffectHide, 1.0).pixels, start.pixels);
}

TEST(QtHost, KeysMapToTheVirtualKeysTheControlsUse) {
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Return), msg::kVkReturn);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Enter), msg::kVkReturn);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Backtab), msg::kVkTab);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_A), 0x41u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_F13), 0u);
}

TEST(QtHost, NativeKeyCodesOfX11AndWaylandBecomeSet1ScanCodes) {
    struct Case {
        const char* platform;
        unsigned native;
        int scanCode;
    };
    const Case cases[] = {
        {"xcb", 38, 0x1E},        // A: evdev 30
        {"xcb", 9, 0x01},         // Escape
        {"xcb", 105, 0xE01D},     // right Control, an extended key
        {"xcb", 119, 0xE053},     // Delete
        {"wayland", 38, 0x1E},    // Wayland gives xkb key codes too
        {"wayland-egl", 36, 0x1C},  // Return
        {"xcb", 8, 0},            // below the first key code
        {"xcb", 0, 0},
        {"offscreen", 38, 0},     // no native key codes to trust
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScanCodeOfNative(c.platform, c.native), c.scanCode) << c.platform << " " << c.native;
    }
}

TEST(QtHost, AKeyboardGrabEndsWhenTheWindowHides) {
    GalleryWindow window;
    window.GrabKeyboard(true);
    EXPECT_TRUE(window.KeyboardGrabbed());
    window.ShowWindow(false);
    EXPECT_FALSE(window.KeyboardGrabbed());
    window.GrabKeyboard(true);
    EXPECT_FALSE(window.KeyboardGrabbed()) << "a hidden window cannot grab";
}

TEST(QtHost, KeyMessagesCarryModifiersScanCodeAndAutoRepeat) {
    const intptr_t param = msg::MakeKeyParam(kModShift | kModControl, 0xE01D, true);
    EXPECT_EQ(msg::ScanCodeOf(param), 0xE01D);
    EXPECT_TRUE(msg::IsAutoRepeat(param));
    EXPECT_EQ(msg::KeyModifiersOf(param), kModShift | kModControl);
    EXPECT_FALSE(msg::IsAutoRepeat(msg::MakeKeyParam(0, 0x1E)));
}

}  // namespace
}  // namespace mousecfg::skin::qt::test
