#include "skin/TabLayout.h"

#include "skin/AttributeText.h"
#include "skin/Notification.h"

namespace mousecfg::skin {

bool TabLayout::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    const int old = current_;
    current_ = index;
    ShowCurrent();
    if (old != index) {
        Notify(notify::kTabSelect, static_cast<uintptr_t>(index), old);
    }
    return true;
}

void TabLayout::SetPos(const Rect& rect) {
    // Pages added since the last selection show up hidden unless they are the selected one.
    ShowCurrent();
    Container::SetPos(rect);
}

void TabLayout::ShowCurrent() {
    for (int i = 0; i < GetCount(); ++i) {
        Control* page = GetItemAt(i);
        if (page->IsVisible() != (i == current_)) {
            page->SetVisible(i == current_);
        }
    }
    Invalidate();
}

AttributeStatus TabLayout::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "selectedid") {
        const auto index = attr::ParseInt(value);
        if (!index || *index < 0) {
            return AttributeStatus::Invalid;
        }
        current_ = *index;
        NeedUpdate();
        return AttributeStatus::Applied;
    }
    return Container::ApplyAttribute(name, value);
}

}  // namespace mousecfg::skin
