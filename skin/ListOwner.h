#pragma once

#include "skin/Color.h"

namespace mousecfg::skin {

class Control;

// The look of the items of a list, a tree or a combo, unless an item sets its own colours.
struct ListItemStyle {
    Color textColor = kNoColor;
    Color bkColor = kNoColor;
    Color hotBkColor = kNoColor;
    Color hotTextColor = kNoColor;
    Color selectedBkColor = kNoColor;
    Color selectedTextColor = kNoColor;
    int font = -1;
};

// What list items need from the control that holds them (list, tree or combo).
class ListOwner {
public:
    virtual ~ListOwner() = default;
    // Selects the item at `index` (-1: none); raises "itemselect" from the owner when the selection changed
    // and `notify` is set. Returns false when there is no such item.
    virtual bool SelectItem(int index, bool notify = true) = 0;
    virtual int GetCurSel() const = 0;
    // The index of an item, -1 when it is not one of the owner's items.
    virtual int GetItemIndexOf(const Control* item) const = 0;
    virtual const ListItemStyle& GetItemStyle() const = 0;
    // Keys that reach an item go to its owner (arrow keys move the selection).
    virtual void HandleItemKey(unsigned key) = 0;
};

}  // namespace mousecfg::skin
