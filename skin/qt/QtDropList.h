#pragma once

#include <QWidget>

#include "skin/Geometry.h"

namespace mousecfg::skin {
class Combo;
class PaintManager;
}  // namespace mousecfg::skin

namespace mousecfg::skin::qt {

// The drop list of a combo: a popup that paints the combo's items (laid out by the combo at 0,0), highlights
// the one under the cursor, scrolls with the wheel and selects the clicked item. Closes when it loses the mouse.
class QtDropList final : public QWidget {
    Q_OBJECT

public:
    QtDropList(Combo& combo, PaintManager& manager);
    // Shows the list below the combo at `combo` (screen coordinates), or above it when the work area has no
    // room below.
    void Popup(const Rect& combo, const Rect& workArea);
    // Whether the list opened above its combo.
    bool OpensUpwards() const { return upwards_; }
    Combo& combo() const { return combo_; }
    // The combo is going away: the list must not touch it any more.
    void Abandon() { abandoned_ = true; }
    // The item index at a point of the list, -1 when none.
    int ItemAt(QPoint point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    Combo& combo_;
    PaintManager& manager_;
    int hover_ = -1;
    int offset_ = 0;
    bool abandoned_ = false;
    bool upwards_ = false;
};

}  // namespace mousecfg::skin::qt
