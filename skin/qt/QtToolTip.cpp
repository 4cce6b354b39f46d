#include "skin/qt/QtToolTip.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "skin/PopupPlacement.h"
#include "skin/qt/QtPainter.h"

namespace mousecfg::skin::qt {

QtToolTip::QtToolTip(QWidget* owner) : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("skin_tooltip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRect QtToolTip::TextRect() const {
    const Rect& pad = style_.padding;
    return rect().adjusted(pad.left, pad.top, -pad.right, -pad.bottom);
}

void QtToolTip::ShowAt(const QString& text, const ToolTipStyle& style, QPoint cursor) {
    text_ = text;
    style_ = style;
    // The tip's window carries its text as title, for tools that read windows (screen readers, tests).
    setWindowTitle(text);
    const QFontMetrics metrics(QtPainter::ToQFont(style.font));
    const QRect bounds = metrics.boundingRect(QRect(0, 0, style.maxWidth, 4096), Qt::TextWordWrap, text);
    const Size size{bounds.width() + style.padding.left + style.padding.right,
                    bounds.height() + style.padding.top + style.padding.bottom};
    const QScreen* screen = QGuiApplication::screenAt(cursor);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const Rect placed = PlaceToolTip(size, {cursor.x(), cursor.y()},
                                     {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()});
    setGeometry(placed.left, placed.top, placed.width(), placed.height());
    update();
    show();
    raise();
}

void QtToolTip::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), QtPainter::ToQColor(style_.bkColor));
    painter.setPen(QtPainter::ToQColor(style_.borderColor));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(QtPainter::ToQFont(style_.font));
    painter.setPen(QtPainter::ToQColor(style_.textColor));
    painter.drawText(TextRect(), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, text_);
}

}  // namespace mousecfg::skin::qt
