#pragma once

#include <QWidget>

#include "skin/Geometry.h"
#include "skin/ToolTipStyle.h"

namespace mousecfg::skin::qt {

// The tip of a skin window: a small borderless window in the skin's tip style that shows a text, wrapped at the
// style's width, and takes no input. Owned by the window's widget.
class QtToolTip final : public QWidget {
    Q_OBJECT

public:
    explicit QtToolTip(QWidget* owner);
    // Shows `text` for the cursor at `cursor` (screen coordinates), on the work area of the cursor's screen.
    void ShowAt(const QString& text, const ToolTipStyle& style, QPoint cursor);
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect TextRect() const;

    QString text_;
    ToolTipStyle style_;
};

}  // namespace mousecfg::skin::qt
