#include "skin/CVerticalLayoutExUI.h"

#include <algorithm>

#include "skin/ListElement.h"

namespace mousecfg::skin {

int CVerticalLayoutExUI::FindSelectable(int start, bool forward) const {
    const int count = GetCount();
    if (count == 0) {
        return -1;
    }
    const auto usable = [this](int i) {
        const auto* item = dynamic_cast<const ListElement*>(GetItemAt(i));
        return item != nullptr && item->IsVisible() && item->IsEnabled();
    };
    start = std::clamp(start, 0, count - 1);
    if (forward) {
        for (int i = start; i < count; ++i) {
            if (usable(i)) {
                return i;
            }
        }
        return -1;
    }
    for (int i = start; i >= 0; --i) {
        if (usable(i)) {
            return i;
        }
    }
    return FindSelectable(0, true);
}

}  // namespace mousecfg::skin
