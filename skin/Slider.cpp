#include "skin/Slider.h"

#include <cmath>

#include "skin/AttributeText.h"
#include "skin/Notification.h"
#include "skin/Painter.h"
#include "skin/SkinResources.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin {

bool Slider::IsReversed() const {
    return IsHorizontal() && !keepsDirection_ && SkinResources::IsRightToLeft();
}

Rect Slider::ThumbRect() const {
    const Rect& pos = GetPos();
    const int span = std::max(1, GetMaxValue() - GetMinValue());
    const int offset = GetValue() - GetMinValue();
    if (IsHorizontal()) {
        const int travel = static_cast<int>(int64_t{pos.width() - thumbSize_.cx} * offset / span);
        const int left = IsReversed() ? pos.right - thumbSize_.cx - travel : pos.left + travel;
        const int top = pos.top + (pos.height() - thumbSize_.cy) / 2;
        return {left, top, left + thumbSize_.cx, top + thumbSize_.cy};
    }
    const int top = pos.bottom - thumbSize_.cy - (pos.height() - thumbSize_.cy) * offset / span;
    const int left = pos.left + (pos.width() - thumbSize_.cx) / 2;
    return {left, top, left + thumbSize_.cx, top + thumbSize_.cy};
}

int Slider::ValueAt(Point point) const {
    const Rect& pos = GetPos();
    const int travel = IsHorizontal() ? pos.width() - thumbSize_.cx : pos.height() - thumbSize_.cy;
    if (travel <= 0) {
        return GetMinValue();
    }
    const int along = !IsHorizontal() ? pos.bottom - thumbSize_.cy / 2 - point.y
                      : IsReversed()  ? pos.right - thumbSize_.cx / 2 - point.x
                                      : point.x - pos.left - thumbSize_.cx / 2;
    const double fraction = std::clamp(static_cast<double>(along) / travel, 0.0, 1.0);
    const int raw = GetMinValue() + static_cast<int>(std::lround(fraction * (GetMaxValue() - GetMinValue())));
    // Values land on multiples of the step, counted from the minimum.
    return GetMinValue() + (raw - GetMinValue() + step_ / 2) / step_ * step_;
}

void Slider::Step(int steps) {
    const int before = GetValue();
    SetValue(before + steps * step_);
    if (GetValue() != before) {
        Notify(notify::kValueChanged, static_cast<uintptr_t>(GetValue()));
    }
}

int Slider::PageStep() const {
    if (pageStep_ > 0) {
        return pageStep_;
    }
    const int tenth = (GetMaxValue() - GetMinValue()) / 10;
    return std::max(step_, tenth / step_ * step_);
}

int Slider::KeyTarget(unsigned key) const {
    // The horizontal arrows move the thumb the way they point: running from the right, Left increases.
    if (IsReversed() && (key == msg::kVkLeft || key == msg::kVkRight)) {
        key = key == msg::kVkLeft ? msg::kVkRight : msg::kVkLeft;
    }
    switch (key) {
        case msg::kVkLeft:
        case msg::kVkDown: return GetValue() - step_;
        case msg::kVkRight:
        case msg::kVkUp: return GetValue() + step_;
        case msg::kVkNext: return GetValue() - PageStep();
        case msg::kVkPrior: return GetValue() + PageStep();
        case msg::kVkHome: return GetMinValue();
        case msg::kVkEnd: return GetMaxValue();
        default: return GetValue();
    }
}

void Slider::DoEvent(ControlEvent& event) {
    switch (event.type) {
        case EventType::ButtonDown:
        case EventType::DoubleClick:
            if (!IsEnabledInTree()) {
                return;
            }
            dragging_ = true;
            SetPushed(true);
            if (!ThumbRect().contains(event.point) && ValueAt(event.point) != GetValue()) {
                SetValue(ValueAt(event.point));
                Notify(notify::kMoveValueChanged, static_cast<uintptr_t>(GetValue()));
            }
            return;
        case EventType::MouseMove:
            if (dragging_ && ValueAt(event.point) != GetValue()) {
                SetValue(ValueAt(event.point));
                Notify(notify::kMoveValueChanged, static_cast<uintptr_t>(GetValue()));
            }
            return;
        case EventType::ButtonUp:
            if (dragging_) {
                dragging_ = false;
                SetPushed(false);
                Notify(notify::kValueChanged, static_cast<uintptr_t>(GetValue()));
            }
            return;
        case EventType::Wheel:
            Step(event.wheelDelta > 0 ? 1 : -1);
            return;
        case EventType::KeyDown:
            if (IsEnabledInTree() && !dragging_) {
                const int before = GetValue();
                SetValue(KeyTarget(event.key));
                if (GetValue() != before) {
                    keyMoved_ = true;
                    Notify(notify::kMoveValueChanged, static_cast<uintptr_t>(GetValue()));
                }
            }
            return;
        case EventType::KeyUp:
        case EventType::KillFocus:
            if (keyMoved_) {
                keyMoved_ = false;
                Notify(notify::kValueChanged, static_cast<uintptr_t>(GetValue()));
            }
            return;
        default:
            Progress::DoEvent(event);
    }
}

AttributeStatus Slider::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "mirror") {
        const AttributeStatus status = Progress::ApplyAttribute(name, value);
        if (status == AttributeStatus::Applied) {
            keepsDirection_ = !attr::ParseBool(value).value_or(true);
        }
        return status;
    }
    if (name == "thumbimage") {
        return AssignImage(thumbImage_, value);
    }
    if (name == "thumbhotimage") {
        return AssignImage(thumbHotImage_, value);
    }
    if (name == "thumbpushedimage") {
        return AssignImage(thumbPushedImage_, value);
    }
    if (name == "trackcolor") {
        return AssignColor(trackColor_, value);
    }
    if (name == "trackheight") {
        return AssignInt(trackHeight_, value);
    }
    if (name == "thumbcolor") {
        return AssignColor(thumbColor_, value);
    }
    if (name == "thumbsize") {
        const auto size = attr::ParseSize(value);
        if (!size || size->cx <= 0 || size->cy <= 0) {
            return AttributeStatus::Invalid;
        }
        thumbSize_ = *size;
        return AttributeStatus::Applied;
    }
    if (name == "step" || name == "pagestep") {
        const auto step = attr::ParseInt(value);
        if (!step || *step <= 0) {
            return AttributeStatus::Invalid;
        }
        (name == "step" ? step_ : pageStep_) = *step;
        return AttributeStatus::Applied;
    }
    return Progress::ApplyAttribute(name, value);
}

Rect Slider::TrackRect() const {
    Rect track = GetPos();
    if (trackHeight_ <= 0) {
        return track;
    }
    if (IsHorizontal()) {
        track.top += (track.height() - trackHeight_) / 2;
        track.bottom = track.top + trackHeight_;
    } else {
        track.left += (track.width() - trackHeight_) / 2;
        track.right = track.left + trackHeight_;
    }
    return track;
}

void Slider::PaintBackground(Painter& painter) {
    Progress::PaintBackground(painter);
    if (trackColor_ != kNoColor) {
        painter.FillRect(TrackRect(), trackColor_);
    }
}

void Slider::PaintStatusImages(Painter& painter) {
    PaintBar(painter, TrackRect(), IsReversed());
    const ImageRef& image = IsPushed() && !thumbPushedImage_.empty() ? thumbPushedImage_
                            : IsHot() && !thumbHotImage_.empty()    ? thumbHotImage_
                                                                    : thumbImage_;
    const Rect thumb = ThumbRect();
    if (image.empty()) {
        painter.FillRect(thumb, thumbColor_);
        return;
    }
    ImageRef placed = image;
    const Rect& pos = GetPos();
    Rect dest = thumb.offset(-pos.left, -pos.top);
    if (IsMirrored()) {
        // DrawImage mirrors a "dest" of a mirrored control; the thumb is already where the value puts it.
        dest = {pos.width() - dest.right, dest.top, pos.width() - dest.left, dest.bottom};
    }
    placed.dest = dest;
    DrawImage(painter, placed);
}

}  // namespace mousecfg::skin
