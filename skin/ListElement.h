#pragma once

#include "skin/Control.h"
#include "skin/ListOwner.h"
#include "skin/WithChildren.h"

namespace mousecfg::skin {

// One row of a list, a tree or a combo; it may hold controls laid out left to right. Pressing it selects it
// ("itemselect" from the owner), releasing it over itself raises "itemclick" from the item, a double click
// "itemactivate".
class ListElement : public WithChildren<Control> {
public:
    ListElement() : WithChildren<Control>(LayoutKind::Horizontal) {}
    std::string_view GetClass() const override { return "ListElement"; }
    bool IsInteractive() const override { return true; }
    bool IsFocusable() const override { return true; }
    void DoEvent(ControlEvent& event) override;

    bool IsSelected() const { return selected_; }
    // Sets the look only; owners call it from SelectItem.
    void SetSelectedState(bool selected);
    // The list, tree or combo holding the item (the nearest ancestor that is one).
    ListOwner* GetOwner() const;
    int GetIndex() const;

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintBackground(Painter& painter) override;
    Color CurrentTextColor() const override;

private:
    bool selected_ = false;
    ListItemStyle own_;
};

}  // namespace mousecfg::skin
