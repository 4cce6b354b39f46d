#include "skin/qt/QtKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <Qt>
#include <cstring>

#include "platform/KeyboardLayout.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin::qt {

unsigned VirtualKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Backspace: return msg::kVkBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return msg::kVkTab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return msg::kVkReturn;
        case Qt::Key_Escape: return msg::kVkEscape;
        case Qt::Key_Space: return msg::kVkSpace;
        case Qt::Key_PageUp: return msg::kVkPrior;
        case Qt::Key_PageDown: return msg::kVkNext;
        case Qt::Key_End: return msg::kVkEnd;
        case Qt::Key_Home: return msg::kVkHome;
        case Qt::Key_Left: return msg::kVkLeft;
        case Qt::Key_Up: return msg::kVkUp;
        case Qt::Key_Right: return msg::kVkRight;
        case Qt::Key_Down: return msg::kVkDown;
        case Qt::Key_Delete: return msg::kVkDelete;
        default:
            // Letters and digits keep their ASCII codes, as virtual keys do.
            if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
                return static_cast<unsigned>(qtKey);
            }
            return 0;
    }
}

int ScanCodeOfNative(const char* platformName, unsigned nativeScanCode) {
    constexpr unsigned kXkbOffset = 8;  // xkb key codes are the evdev codes shifted by 8
    const bool xkbCodes = std::strcmp(platformName, "xcb") == 0 || std::strncmp(platformName, "wayland", 7) == 0;
    if (!xkbCodes || nativeScanCode <= kXkbOffset) {
        return 0;
    }
    return EvdevToScanCode(static_cast<int>(nativeScanCode - kXkbOffset)).value_or(0);
}

int ScanCodeOf(const QKeyEvent& event) {
    const QByteArray platform = QGuiApplication::platformName().toLatin1();
    return ScanCodeOfNative(platform.constData(), event.nativeScanCode());
}

}  // namespace mousecfg::skin::qt
