#include "skin/Combo.h"

#include "skin/AttributeText.h"
#include "skin/List.h"
#include "skin/ListElement.h"
#include "skin/Notification.h"
#include "skin/PaintHost.h"
#include "skin/PaintManager.h"
#include "skin/Painter.h"
#include "skin/TextAlign.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin {

bool Combo::Activate() {
    if (!IsEnabledInTree()) {
        return false;
    }
    Notify(notify::kPreDropDown);
    if (GetManager() != nullptr && GetManager()->GetHost() != nullptr) {
        GetManager()->GetHost()->OpenDropList(*this);
    }
    Notify(notify::kDropDown);
    return true;
}

void Combo::DoEvent(ControlEvent& event) {
    if (event.type == EventType::KeyDown && (event.key == msg::kVkUp || event.key == msg::kVkDown)) {
        HandleItemKey(event.key);
        return;
    }
    if (event.type == EventType::Wheel) {
        Button::DoEvent(event);
        return;
    }
    WithChildren<Button>::DoEvent(event);
}

void Combo::SetPos(const Rect& rect) {
    Button::SetPos(rect);
    contentHeight_ = 0;
    for (const auto& item : list_.items()) {
        if (item->IsVisible()) {
            contentHeight_ += item->GetFixedHeight() > 0 ? item->GetFixedHeight() : kDefaultItemHeight;
        }
    }
    // The items live in the drop list's own coordinates, starting at 0,0.
    const Size box = GetDropBoxSize();
    for (const auto& item : list_.items()) {
        if (item->IsVisible() && item->GetFixedHeight() <= 0) {
            item->SetFixedHeight(kDefaultItemHeight);
        }
    }
    list_.Place({0, 0, box.cx, contentHeight_});
}

Control* Combo::FindAt(Point point) {
    return IsVisible() && IsMouseEnabled() && GetPos().contains(point) ? this : nullptr;
}

void Combo::Paint(Painter& painter) {
    if (!IsVisible() || GetPos().empty()) {
        return;
    }
    PaintBackground(painter);
    PaintStatusImages(painter);
    painter.SetTextMirrored(IsMirrored());
    PaintText(painter);
    PaintBorder(painter);
}

void Combo::PaintText(Painter& painter) {
    const ListElement* item = GetSelectedItem();
    const std::string& text = item != nullptr ? item->GetText() : text_;
    const FontSpec font = GetManager() != nullptr ? GetManager()->GetFont(GetFont()) : FontSpec{};
    Rect area = GetPos().deflate(GetTextPadding());
    area.right -= 16;
    painter.DrawText(area, text, font, CurrentTextColor(), align::kLeft | align::kVCenter | align::kEndEllipsis);
    const Rect arrow{area.right, GetPos().top, GetPos().right - 2, GetPos().bottom};
    painter.DrawText(arrow, "\u25BE", font, CurrentTextColor(), align::kCenter | align::kVCenter);
}

bool Combo::SelectItem(int index, bool notify) {
    // The items sit in the drop list, which never scrolls the combo itself.
    return selection::Change(*this, list_, index, notify);
}

int Combo::GetCurSel() const {
    return selection::CurSel(list_);
}

ListElement* Combo::GetSelectedItem() const {
    return dynamic_cast<ListElement*>(GetItemAt(GetCurSel()));
}

void Combo::HandleItemKey(unsigned key) {
    selection::MoveByKey(*this, list_, key);
}

Size Combo::GetDropBoxSize() const {
    return {dropBox_.cx > 0 ? dropBox_.cx : GetPos().width(), dropBox_.cy};
}

AttributeStatus Combo::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "dropboxsize") {
        const auto size = attr::ParseSize(value);
        if (!size || size->cx < 0 || size->cy <= 0) {
            return AttributeStatus::Invalid;
        }
        dropBox_ = *size;
        return AttributeStatus::Applied;
    }
    if (name == "selectedid" || name == "cursel") {
        const auto index = attr::ParseInt(value);
        if (!index) {
            return AttributeStatus::Invalid;
        }
        return SelectItem(*index, false) ? AttributeStatus::Applied : AttributeStatus::Invalid;
    }
    const AttributeStatus status = selection::ApplyItemStyle(style_, name, value);
    return status != AttributeStatus::Unknown ? status : WithChildren<Button>::ApplyAttribute(name, value);
}

}  // namespace mousecfg::skin
