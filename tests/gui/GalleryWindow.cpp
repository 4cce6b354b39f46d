#include "tests/gui/GalleryWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include "skin/Control.h"
#include "skin/ControlFactory.h"
#include "skin/SkinResources.h"

namespace mousecfg::skin::qt::test {

GalleryWindow::GalleryWindow() {
    SkinResources::SetResourcePath(MOUSECFG_RES_DIR "/SkinGallery");
    Create(nullptr, "gallery", style::kWsPopup);
    MoveWindow({0, 0, 900, 640});
    ShowWindow(true, true);
    Spin(50);
}

GalleryWindow::~GalleryWindow() = default;

std::string GalleryWindow::GetSkinFile() {
    return MOUSECFG_RES_DIR "/SkinGallery/gallery.xml";
}

std::unique_ptr<Control> GalleryWindow::CreateControl(std::string_view className) {
    return CreateCustomLayout(className);
}

void GalleryWindow::Notify(Notification& notification) {
    events_.push_back(notification.type + ":" + notification.senderName);
}

QRect GalleryWindow::RectOf(const std::string& name) {
    GetPaintManager().UpdateLayout();
    const Control* control = FindControl(name);
    if (control == nullptr) {
        return {};
    }
    const Rect& pos = control->GetPos();
    return QRect(pos.left, pos.top, pos.width(), pos.height());
}

QPoint GalleryWindow::CenterOf(const std::string& name) {
    return RectOf(name).center();
}

void GalleryWindow::Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons, Qt::MouseButton button) {
    QMouseEvent event(type, QPointF(at), QPointF(widget().mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget(), &event);
}

void GalleryWindow::Click(const std::string& name) {
    const QPoint at = CenterOf(name);
    Mouse(QEvent::MouseMove, at);
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
}

void GalleryWindow::Spin(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

std::vector<std::string> GalleryWindow::TakeEvents() {
    auto taken = std::move(events_);
    events_.clear();
    return taken;
}

QImage GalleryWindow::Grab() {
    Spin(20);
    return widget().grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace mousecfg::skin::qt::test
