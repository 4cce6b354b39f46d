#pragma once

#include <QImage>
#include <QMouseEvent>
#include <string>
#include <vector>

#include "skin/SkinWindow.h"
#include "skin/qt/QtWindowHost.h"

namespace mousecfg::skin::qt::test {

// The gallery skin in a real Qt window that records its notifications, with helpers that send real Qt input.
class GalleryWindow : public SkinWindow {
public:
    GalleryWindow();
    ~GalleryWindow() override;
    std::string GetSkinFile() override;
    std::string GetWindowClassName() const override { return "GalleryWnd"; }
    std::unique_ptr<Control> CreateControl(std::string_view className) override;
    void Notify(Notification& notification) override;

    QtWindowHost& widget() const { return *static_cast<QtWindowHost*>(GetHost()); }
    QPoint CenterOf(const std::string& name);
    QRect RectOf(const std::string& name);
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons = Qt::NoButton,
               Qt::MouseButton button = Qt::LeftButton);
    void Click(const std::string& name);
    // Processes Qt events for `ms` milliseconds (animations, posted messages).
    static void Spin(int ms);
    // "type:sender" since the last call.
    std::vector<std::string> TakeEvents();
    QImage Grab();

private:
    std::vector<std::string> events_;
};

}  // namespace mousecfg::skin::qt::test
