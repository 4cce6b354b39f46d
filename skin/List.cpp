#include "skin/List.h"

#include "skin/AttributeText.h"
#include "skin/ListElement.h"
#include "skin/Notification.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin {

namespace selection {

int CurSel(const ChildList& items) {
    for (int i = 0; i < items.GetCount(); ++i) {
        const auto* item = dynamic_cast<const ListElement*>(items.GetItemAt(i));
        if (item != nullptr && item->IsSelected()) {
            return i;
        }
    }
    return -1;
}

bool Select(ChildList& items, int index) {
    if (index < -1 || index >= items.GetCount()) {
        return false;
    }
    for (int i = 0; i < items.GetCount(); ++i) {
        if (auto* item = dynamic_cast<ListElement*>(items.GetItemAt(i))) {
            item->SetSelectedState(i == index);
        }
    }
    return true;
}

bool Change(Control& owner, ChildList& items, int index, bool notify) {
    const int old = CurSel(items);
    if (index == old) {
        return index >= -1;
    }
    if (!Select(items, index)) {
        return false;
    }
    items.EnsureVisible(items.GetItemAt(index));
    owner.Invalidate();
    if (notify) {
        owner.Notify(notify::kItemSelect, static_cast<uintptr_t>(index), old);
    }
    return true;
}

void MoveByKey(ListOwner& owner, const ChildList& items, unsigned key) {
    const int target = KeyTarget(items, owner.GetCurSel(), key);
    if (target >= 0) {
        owner.SelectItem(target);
    }
}

int KeyTarget(const ChildList& items, int current, unsigned key) {
    const int count = items.GetCount();
    const auto usable = [&items](int i) {
        const Control* item = items.GetItemAt(i);
        return item != nullptr && item->IsVisible() && item->IsEnabled();
    };
    int step = 0;
    int from = current;
    if (key == msg::kVkUp) {
        step = -1;
    } else if (key == msg::kVkDown) {
        step = 1;
    } else if (key == msg::kVkHome) {
        step = 1;
        from = -1;
    } else if (key == msg::kVkEnd) {
        step = -1;
        from = count;
    } else {
        return -1;
    }
    for (int i = from + step; i >= 0 && i < count; i += step) {
        if (usable(i)) {
            return i;
        }
    }
    return -1;
}

AttributeStatus ApplyItemStyle(ListItemStyle& style, const std::string& name, std::string_view value) {
    struct Entry {
        const char* name;
        Color ListItemStyle::*field;
    };
    static constexpr Entry kColors[] = {
        {"itemtextcolor", &ListItemStyle::textColor},
        {"itembkcolor", &ListItemStyle::bkColor},
        {"itemhotbkcolor", &ListItemStyle::hotBkColor},
        {"itemhottextcolor", &ListItemStyle::hotTextColor},
        {"itemselectedbkcolor", &ListItemStyle::selectedBkColor},
        {"itemselectedtextcolor", &ListItemStyle::selectedTextColor},
    };
    for (const auto& entry : kColors) {
        if (name == entry.name) {
            const auto color = attr::ParseColor(value);
            if (!color) {
                return AttributeStatus::Invalid;
            }
            style.*entry.field = *color;
            return AttributeStatus::Applied;
        }
    }
    if (name == "itemfont") {
        const auto font = attr::ParseInt(value);
        if (!font) {
            return AttributeStatus::Invalid;
        }
        style.font = *font;
        return AttributeStatus::Applied;
    }
    return AttributeStatus::Unknown;
}

}  // namespace selection

bool List::SelectItem(int index, bool notify) {
    return selection::Change(*this, list_, index, notify);
}

int List::GetCurSel() const {
    return selection::CurSel(list_);
}

ListElement* List::GetSelectedItem() const {
    return dynamic_cast<ListElement*>(GetItemAt(GetCurSel()));
}

void List::HandleItemKey(unsigned key) {
    selection::MoveByKey(*this, list_, key);
}

AttributeStatus List::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "selectedid") {
        const auto index = attr::ParseInt(value);
        return index && SelectItem(*index, false) ? AttributeStatus::Applied : AttributeStatus::Invalid;
    }
    const AttributeStatus status = selection::ApplyItemStyle(style_, name, value);
    return status != AttributeStatus::Unknown ? status : VerticalLayout::ApplyAttribute(name, value);
}

}  // namespace mousecfg::skin
