#pragma once

#include "skin/ListOwner.h"
#include "skin/VerticalLayout.h"

namespace mousecfg::skin {

class ListElement;

// A scrollable column of list elements with one selected item. Item colours come from the list's
// "item..." attributes unless an item sets its own.
class List : public VerticalLayout, public ListOwner {
public:
    std::string_view GetClass() const override { return "List"; }
    bool SelectItem(int index, bool notify = true) override;
    int GetCurSel() const override;
    int GetItemIndexOf(const Control* item) const override { return GetItemIndex(item); }
    const ListItemStyle& GetItemStyle() const override { return style_; }
    void HandleItemKey(unsigned key) override;
    // The selected item; none when nothing is selected.
    ListElement* GetSelectedItem() const;
    void EnsureVisible(int index) { list_.EnsureVisible(GetItemAt(index)); }

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;

private:
    ListItemStyle style_;
};

// Selection over the items of a child list, shared by lists, trees and combos.
namespace selection {
int CurSel(const ChildList& items);
// Marks item `index` selected and the others not; false when `index` is neither -1 nor an item.
bool Select(ChildList& items, int index);
// The selection change of a list owner: selects `index` among `items`, lets the owner show it, and raises
// "itemselect" from the owner (wParam new index, lParam old one) when the selection changed and `notify` is set.
bool Change(Control& owner, ChildList& items, int index, bool notify);
// Moves the selection of `owner` as an arrow, Home or End key asks.
void MoveByKey(ListOwner& owner, const ChildList& items, unsigned key);
// The index that an arrow, Home or End key moves the selection to; -1 for other keys.
int KeyTarget(const ChildList& items, int current, unsigned key);
AttributeStatus ApplyItemStyle(ListItemStyle& style, const std::string& name, std::string_view value);
}  // namespace selection

}  // namespace mousecfg::skin
