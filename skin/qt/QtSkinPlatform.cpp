#include "skin/qt/QtSkinPlatform.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include "skin/SkinWindow.h"
#include "skin/WindowMessages.h"
#include "skin/qt/QtWindowHost.h"

namespace mousecfg::skin::qt {
namespace {

class QtMenuHost final : public MenuHost {
public:
    explicit QtMenuHost(QMenu* menu) : menu_(menu) {}
    ~QtMenuHost() override {
        if (menu_) {
            menu_->close();
            menu_->deleteLater();
        }
    }
    QMenu* menu() const { return menu_.data(); }

private:
    QPointer<QMenu> menu_;
};

class QtTrayHost final : public TrayHost {
public:
    explicit QtTrayHost(QSystemTrayIcon* icon) : icon_(icon) {}
    ~QtTrayHost() override { delete icon_; }
    void SetToolTip(const std::string& text) override { icon_->setToolTip(QString::fromStdString(text)); }
    void SetIcon(const std::string& file) override { icon_->setIcon(QIcon(QString::fromStdString(file))); }
    void ShowMessage(const std::string& title, const std::string& text) override {
        icon_->showMessage(QString::fromStdString(title), QString::fromStdString(text), QSystemTrayIcon::Warning);
    }

private:
    QSystemTrayIcon* icon_;
};

class QtTicker final : public Ticker {
public:
    QtTicker(std::chrono::milliseconds interval, std::function<void()> tick) {
        QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(tick)] { tick(); });
        timer_.start(static_cast<int>(interval.count()));
    }

private:
    QTimer timer_;
};

}  // namespace

std::unique_ptr<Ticker> QtSkinPlatform::StartTicker(std::chrono::milliseconds interval, std::function<void()> tick) {
    return std::make_unique<QtTicker>(interval, std::move(tick));
}

void QtSkinPlatform::SetRightToLeft(bool rightToLeft) {
    QGuiApplication::setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

bool QtSkinPlatform::IsTrayAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

std::unique_ptr<WindowHost> QtSkinPlatform::CreateWindowHost(SkinWindow& window, const WindowCreateParams& params) {
    return std::make_unique<QtWindowHost>(window, params);
}

void QtSkinPlatform::RunOnUiThread(std::function<void()> task) {
    QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
}

std::unique_ptr<MenuHost> QtSkinPlatform::ShowMenu(const std::vector<MenuItem>& items, Point screen, bool above,
                                                   std::function<void(const std::string&)> chosen) {
    auto* menu = new QMenu();
    menu->setObjectName(QStringLiteral("skin_menu"));
    for (const MenuItem& item : items) {
        if (!item.visible) {
            continue;
        }
        if (item.separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(item.text));
        action->setObjectName(QString::fromStdString(item.name));
        action->setEnabled(item.enabled);
        action->setCheckable(item.checkable);
        action->setChecked(item.checked);
        if (!item.icon.empty()) {
            action->setIcon(QIcon(QString::fromStdString(item.icon)));
        }
        const std::string name = item.name;
        QObject::connect(action, &QAction::triggered, menu, [chosen, name] { chosen(name); });
    }
    QPoint at(screen.x, screen.y);
    if (above) {
        at.ry() -= menu->sizeHint().height();
    }
    menu->popup(at);
    return std::make_unique<QtMenuHost>(menu);
}

std::unique_ptr<TrayHost> QtSkinPlatform::CreateTray(const std::string& iconFile, const std::string& toolTip,
                                                     std::function<void(uint32_t)> clicked) {
    auto* icon = new QSystemTrayIcon(QIcon(QString::fromStdString(iconFile)));
    icon->setToolTip(QString::fromStdString(toolTip));
    QObject::connect(icon, &QSystemTrayIcon::activated, icon, [clicked](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
            case QSystemTrayIcon::Trigger: clicked(msg::kLButtonUp); break;
            case QSystemTrayIcon::DoubleClick: clicked(msg::kLButtonDblClk); break;
            case QSystemTrayIcon::Context: clicked(msg::kRButtonUp); break;
            default: break;
        }
    });
    icon->show();
    return std::make_unique<QtTrayHost>(icon);
}

}  // namespace mousecfg::skin::qt
