#include "skin/qt/QtDropList.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "skin/Combo.h"
#include "skin/ListElement.h"
#include "skin/Notification.h"
#include "skin/PaintManager.h"
#include "skin/PopupPlacement.h"
#include "skin/qt/QtPainter.h"

namespace mousecfg::skin::qt {

QtDropList::QtDropList(Combo& combo, PaintManager& manager)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), combo_(combo), manager_(manager) {
    setMouseTracking(true);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QString::fromStdString(combo.GetName() + "_droplist"));
}

void QtDropList::Popup(const Rect& combo, const Rect& workArea) {
    manager_.UpdateLayout();
    const Size box = combo_.GetDropBoxSize();
    const Size wanted{box.cx, std::max(1, std::min(box.cy, combo_.GetDropContentHeight()))};
    const Control* first = combo_.GetItemAt(0);
    const int row = first != nullptr ? first->GetPos().height() : wanted.cy;
    const Rect placed = PlaceDropList(combo, wanted, workArea, row);
    upwards_ = placed.bottom <= combo.top;
    setGeometry(placed.left, placed.top, placed.width(), placed.height());
    show();
}

int QtDropList::ItemAt(QPoint point) const {
    const Point at{point.x(), point.y() + offset_};
    for (int i = 0; i < combo_.GetCount(); ++i) {
        const Control* item = combo_.GetItemAt(i);
        if (item->IsVisible() && item->GetPos().contains(at)) {
            return i;
        }
    }
    return -1;
}

void QtDropList::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), QtPainter::ToQColor(combo_.GetItemStyle().bkColor ? combo_.GetItemStyle().bkColor
                                                                                : 0xFFFFFFFFu));
    if (abandoned_) {
        return;
    }
    painter.translate(0, -offset_);
    QtPainter skinPainter(painter);
    for (int i = 0; i < combo_.GetCount(); ++i) {
        Control* item = combo_.GetItemAt(i);
        if (!item->IsVisible()) {
            continue;
        }
        if (i == hover_ && combo_.GetItemStyle().hotBkColor != kNoColor) {
            skinPainter.FillRect(item->GetPos(), combo_.GetItemStyle().hotBkColor);
        }
        item->Paint(skinPainter);
    }
}

void QtDropList::mouseMoveEvent(QMouseEvent* event) {
    const int hover = abandoned_ ? -1 : ItemAt(event->position().toPoint());
    if (hover != hover_) {
        hover_ = hover;
        update();
    }
}

void QtDropList::mouseReleaseEvent(QMouseEvent* event) {
    const int index = abandoned_ ? -1 : ItemAt(event->position().toPoint());
    close();
    if (index < 0) {
        return;
    }
    combo_.SelectItem(index);
    if (Control* item = combo_.GetItemAt(index)) {
        item->Notify(notify::kItemClick, static_cast<uintptr_t>(index));
    }
}

void QtDropList::wheelEvent(QWheelEvent* event) {
    const int room = std::max(0, combo_.GetDropContentHeight() - height());
    offset_ = std::clamp(offset_ - event->angleDelta().y() / 4, 0, room);
    update();
}

}  // namespace mousecfg::skin::qt
