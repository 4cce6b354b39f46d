#include "skin/ListElement.h"

#include "skin/Notification.h"
#include "skin/PaintManager.h"
#include "skin/Painter.h"

namespace mousecfg::skin {

void ListElement::DoEvent(ControlEvent& event) {
    ListOwner* owner = GetOwner();
    switch (event.type) {
        case EventType::ButtonDown:
            if (owner != nullptr && IsEnabledInTree()) {
                SetPushed(true);
                owner->SelectItem(GetIndex());
            }
            return;
        case EventType::ButtonUp:
            if (IsPushed()) {
                SetPushed(false);
                if (GetPos().contains(event.point)) {
                    Notify(notify::kItemClick, static_cast<uintptr_t>(GetIndex()));
                }
            }
            return;
        case EventType::DoubleClick:
            SetPushed(true);
            Notify(notify::kItemActivate, static_cast<uintptr_t>(GetIndex()));
            return;
        case EventType::KeyDown:
            if (owner != nullptr) {
                owner->HandleItemKey(event.key);
            }
            return;
        default:
            WithChildren<Control>::DoEvent(event);
    }
}

void ListElement::SetSelectedState(bool selected) {
    if (selected_ != selected) {
        selected_ = selected;
        Invalidate();
    }
}

ListOwner* ListElement::GetOwner() const {
    for (Control* c = GetParent(); c != nullptr; c = c->GetParent()) {
        if (auto* owner = dynamic_cast<ListOwner*>(c)) {
            return owner;
        }
    }
    return nullptr;
}

int ListElement::GetIndex() const {
    const ListOwner* owner = GetOwner();
    return owner != nullptr ? owner->GetItemIndexOf(this) : -1;
}

AttributeStatus ListElement::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "selectedbkcolor") {
        return AssignColor(own_.selectedBkColor, value);
    }
    if (name == "hotbkcolor") {
        return AssignColor(own_.hotBkColor, value);
    }
    if (name == "selectedtextcolor") {
        return AssignColor(own_.selectedTextColor, value);
    }
    if (name == "hottextcolor") {
        return AssignColor(own_.hotTextColor, value);
    }
    return WithChildren<Control>::ApplyAttribute(name, value);
}

void ListElement::PaintBackground(Painter& painter) {
    const ListOwner* owner = GetOwner();
    const ListItemStyle style = owner != nullptr ? owner->GetItemStyle() : ListItemStyle{};
    const auto pick = [](Color own, Color shared) { return own != kNoColor ? own : shared; };
    Color color = GetBkColor() != kNoColor ? GetBkColor() : style.bkColor;
    if (selected_) {
        color = pick(own_.selectedBkColor, style.selectedBkColor);
    } else if (IsHot()) {
        color = pick(own_.hotBkColor, style.hotBkColor);
    }
    if (color != kNoColor) {
        painter.FillRect(GetPos(), color);
    }
    DrawImage(painter, GetBkImage());
}

Color ListElement::CurrentTextColor() const {
    const ListOwner* owner = GetOwner();
    const ListItemStyle style = owner != nullptr ? owner->GetItemStyle() : ListItemStyle{};
    const auto pick = [](Color own, Color shared) { return own != kNoColor ? own : shared; };
    Color color = kNoColor;
    if (selected_) {
        color = pick(own_.selectedTextColor, style.selectedTextColor);
    } else if (IsHot()) {
        color = pick(own_.hotTextColor, style.hotTextColor);
    }
    if (color == kNoColor && GetTextColor() == kNoColor && IsEnabledInTree()) {
        color = style.textColor;
    }
    return color != kNoColor ? color : Control::CurrentTextColor();
}

}  // namespace mousecfg::skin
