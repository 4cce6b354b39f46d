#include "skin/Progress.h"

#include <algorithm>

#include "skin/Painter.h"

namespace mousecfg::skin {

void Progress::SetValue(int value) {
    value = std::clamp(value, min_, std::max(min_, max_));
    if (value != value_) {
        value_ = value;
        Invalidate();
    }
}

void Progress::SetMinValue(int min) {
    min_ = min;
    SetValue(value_);
    Invalidate();
}

void Progress::SetMaxValue(int max) {
    max_ = max;
    SetValue(value_);
    Invalidate();
}

void Progress::SetForeColor(Color color) {
    foreColor_ = color;
    Invalidate();
}

AttributeStatus Progress::ApplyAttribute(const std::string& name, std::string_view value) {
    int number = 0;
    if (name == "min" || name == "max" || name == "value") {
        if (AssignInt(number, value) != AttributeStatus::Applied) {
            return AttributeStatus::Invalid;
        }
        name == "min" ? SetMinValue(number) : name == "max" ? SetMaxValue(number) : SetValue(number);
        return AttributeStatus::Applied;
    }
    if (name == "hor" || name == "horizontal") {
        return AssignBool(horizontal_, value);
    }
    if (name == "forecolor") {
        return AssignColor(foreColor_, value);
    }
    if (name == "foreimage") {
        return AssignImage(foreImage_, value);
    }
    return Label::ApplyAttribute(name, value);
}

Rect Progress::FilledRect(const Rect& bar) const {
    const int span = std::max(1, max_ - min_);
    Rect filled = bar;
    if (horizontal_) {
        filled.right = filled.left + static_cast<int>(int64_t{bar.width()} * (value_ - min_) / span);
    } else {
        filled.top = filled.bottom - static_cast<int>(int64_t{bar.height()} * (value_ - min_) / span);
    }
    return filled;
}

// A plain bar laid out right to left fills from its right end, as those languages read it.
void Progress::PaintStatusImages(Painter& painter) {
    PaintBar(painter, GetPos(), horizontal_ && IsMirrored());
}

void Progress::PaintBar(Painter& painter, const Rect& bar, bool fromRight) {
    Rect filled = FilledRect(bar);
    if (fromRight) {
        filled = {bar.right - filled.width(), filled.top, bar.right, filled.bottom};
    }
    if (filled.empty()) {
        return;
    }
    if (foreColor_ != kNoColor) {
        // A disabled bar shows its value at half strength.
        const Color fore = IsEnabledInTree() ? foreColor_ : ((foreColor_ & 0x00FFFFFFu) | ((foreColor_ >> 1) & 0x7F000000u));
        painter.FillRect(filled, fore);
    }
    if (!foreImage_.empty()) {
        painter.PushClip(filled);
        DrawImage(painter, foreImage_);
        painter.PopClip();
    }
}

}  // namespace mousecfg::skin
