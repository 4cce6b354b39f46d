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

// A style sheet for the colours the skin gives; the desktop's own look for the rest.
QString MenuStyleSheet(const MenuLook& look) {
    const auto css = [](Color colour) {
        return QStringLiteral("rgba(%1,%2,%3,%4)")
            .arg(RedOf(colour))
            .arg(GreenOf(colour))
            .arg(BlueOf(colour))
            .arg(AlphaOf(colour));
    };
    QString menu;
    if (look.background != kNoColor) {
        menu += QStringLiteral("background-color:%1;").arg(css(look.background));
    }
    if (look.text != kNoColor) {
        menu += QStringLiteral("color:%1;").arg(css(look.text));
    }
    if (look.border != kNoColor) {
        menu += QStringLiteral("border:1px solid %1;").arg(css(look.border));
    }
    if (menu.isEmpty() && look.hotBackground == kNoColor && look.disabledText == kNoColor) {
        return {};
    }
    QString sheet = QStringLiteral("QMenu{%1padding:4px;}QMenu::item{padding:5px 20px;background:transparent;}"
                                   "QMenu::separator{height:1px;margin:4px 8px;background:%2;}")
                        .arg(menu, look.border != kNoColor ? css(look.border) : QStringLiteral("palette(mid)"));
    if (look.hotBackground != kNoColor) {
        sheet += QStringLiteral("QMenu::item:selected{background-color:%1;}").arg(css(look.hotBackground));
    }
    if (look.disabledText != kNoColor) {
        sheet += QStringLiteral("QMenu::item:disabled{color:%1;}").arg(css(look.disabledText));
    }
    return sheet;
}

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

std::unique_ptr<MenuHost> QtSkinPlatform::ShowMenu(const std::vector<MenuItem>& items, const MenuLook& look,
                                                   Point screen, bool above,
                                                   std::function<void(const std::string&)> chosen) {
    auto* menu = new QMenu();
    menu->setObjectName(QStringLiteral("skin_menu"));
    menu->setStyleSheet(MenuStyleSheet(look));
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
