#pragma once

#include "skin/Button.h"
#include "skin/ListOwner.h"
#include "skin/WithChildren.h"

namespace mousecfg::skin {

class ListElement;

// A button showing the text of its selected item; a click raises "predropdown", opens the drop list of its
// items (list label elements, laid out for the drop list, not in the window) and raises "dropdown". Choosing
// an item selects it ("itemselect" from the combo) and raises "itemclick" from the item.
class Combo : public WithChildren<Button>, public ListOwner {
public:
    Combo() : WithChildren<Button>(LayoutKind::Vertical) {}
    std::string_view GetClass() const override { return "Combo"; }
    bool Activate() override;
    void DoEvent(ControlEvent& event) override;
    void SetPos(const Rect& rect) override;
    Control* FindAt(Point point) override;
    void Paint(Painter& painter) override;

    bool SelectItem(int index, bool notify = true) override;
    int GetCurSel() const override;
    int GetItemIndexOf(const Control* item) const override { return GetItemIndex(item); }
    const ListItemStyle& GetItemStyle() const override { return style_; }
    void HandleItemKey(unsigned key) override;
    ListElement* GetSelectedItem() const;
    // The size of the drop list: its width (the combo's when 0) and its greatest height.
    Size GetDropBoxSize() const;
    // The height all items need in the drop list.
    int GetDropContentHeight() const { return contentHeight_; }

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintText(Painter& painter) override;

private:
    ListItemStyle style_;
    Size dropBox_{0, 150};
    int contentHeight_ = 0;
    static constexpr int kDefaultItemHeight = 24;
};

}  // namespace mousecfg::skin
