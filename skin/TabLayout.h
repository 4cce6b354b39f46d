#pragma once

#include "skin/Container.h"

namespace mousecfg::skin {

// Pages on top of each other; only the selected child is visible. Selecting another page raises "tabselect"
// with wParam = the new index and lParam = the old one.
class TabLayout : public Container {
public:
    TabLayout() : Container(LayoutKind::Stack) {}
    std::string_view GetClass() const override { return "TabLayout"; }

    int GetCurSel() const { return current_; }
    // Shows page `index`; false when there is no such page.
    bool SelectItem(int index);
    bool SelectItem(Control* page) { return SelectItem(GetItemIndex(page)); }
    void SetPos(const Rect& rect) override;

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;

private:
    void ShowCurrent();
    int current_ = 0;
};

}  // namespace mousecfg::skin
