#include "skin/Button.h"

#include "skin/Notification.h"
#include "skin/Painter.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin {

void Button::DoEvent(ControlEvent& event) {
    switch (event.type) {
        case EventType::MouseEnter:
            SetHot(true);
            Notify(notify::kMouseEnter);
            return;
        case EventType::MouseLeave:
            SetHot(false);
            Notify(notify::kMouseLeave);
            return;
        case EventType::ButtonDown:
        case EventType::DoubleClick:
            SetPushed(IsEnabledInTree());
            return;
        case EventType::MouseMove:
            if (IsPushed() != GetPos().contains(event.point) && IsEnabledInTree()) {
                // While the button is held, leaving it releases the pushed look and coming back restores it.
                SetHot(GetPos().contains(event.point));
            }
            return;
        case EventType::ButtonUp: {
            const bool wasPushed = IsPushed();
            SetPushed(false);
            if (wasPushed && GetPos().contains(event.point)) {
                Activate();
            }
            return;
        }
        case EventType::KeyDown:
            if (event.key == msg::kVkSpace || event.key == msg::kVkReturn) {
                Activate();
                return;
            }
            break;
        case EventType::SetFocus:
            Notify(notify::kSetFocus);
            return;
        case EventType::KillFocus:
            Notify(notify::kKillFocus);
            return;
        default:
            break;
    }
    Label::DoEvent(event);
}

bool Button::Activate() {
    if (!IsEnabledInTree()) {
        return false;
    }
    Notify(notify::kClick);
    return true;
}

AttributeStatus Button::ApplyAttribute(const std::string& name, std::string_view value) {
    struct ImageAttribute {
        const char* name;
        ImageRef Button::*field;
    };
    static constexpr ImageAttribute kImages[] = {
        {"normalimage", &Button::normalImage_},   {"hotimage", &Button::hotImage_},
        {"pushedimage", &Button::pushedImage_},   {"focusedimage", &Button::focusedImage_},
        {"disabledimage", &Button::disabledImage_}, {"foreimage", &Button::foreImage_},
    };
    for (const auto& image : kImages) {
        if (name == image.name) {
            return AssignImage(this->*image.field, value);
        }
    }
    struct ColorAttribute {
        const char* name;
        Color Button::*field;
    };
    static constexpr ColorAttribute kColors[] = {
        {"hottextcolor", &Button::hotTextColor_},         {"pushedtextcolor", &Button::pushedTextColor_},
        {"focusedtextcolor", &Button::focusedTextColor_}, {"hotbkcolor", &Button::hotBkColor_},
        {"pushedbkcolor", &Button::pushedBkColor_},
    };
    for (const auto& color : kColors) {
        if (name == color.name) {
            return AssignColor(this->*color.field, value);
        }
    }
    if (name == "keyboard") {
        return AssignBool(focusable_, value);
    }
    return Label::ApplyAttribute(name, value);
}

void Button::PaintBackground(Painter& painter) {
    Label::PaintBackground(painter);
    const Color state = IsPushed() && pushedBkColor_ != kNoColor ? pushedBkColor_
                        : IsHot() && hotBkColor_ != kNoColor    ? hotBkColor_
                                                                : kNoColor;
    if (state != kNoColor) {
        painter.FillRect(GetPos(), state);
    }
}

const ImageRef& Button::CurrentImage() const {
    if (!IsEnabledInTree() && !disabledImage_.empty()) {
        return disabledImage_;
    }
    if (IsPushed() && !pushedImage_.empty()) {
        return pushedImage_;
    }
    if (IsHot() && !hotImage_.empty()) {
        return hotImage_;
    }
    if (IsFocused() && !focusedImage_.empty()) {
        return focusedImage_;
    }
    return normalImage_;
}

void Button::PaintStatusImages(Painter& painter) {
    DrawImage(painter, CurrentImage());
    DrawImage(painter, foreImage_);
}

Color Button::CurrentTextColor() const {
    if (IsEnabledInTree()) {
        if (IsPushed() && pushedTextColor_ != kNoColor) {
            return pushedTextColor_;
        }
        if (IsHot() && hotTextColor_ != kNoColor) {
            return hotTextColor_;
        }
        if (IsFocused() && focusedTextColor_ != kNoColor) {
            return focusedTextColor_;
        }
    }
    return Label::CurrentTextColor();
}

}  // namespace mousecfg::skin
