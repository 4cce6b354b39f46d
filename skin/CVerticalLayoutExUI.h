#pragma once

#include "skin/Option.h"
#include "skin/WithChildren.h"

namespace mousecfg::skin {

// A selectable card that also holds controls (a DPI level with its switch, value and colour): an option whose
// background and state images behave as an option's, with children laid out top to bottom inside its inset.
// Floating children keep their place relative to the card wherever the card moves. Skin element
// "VerticalLayoutEx", created through a window's CreateControl.
class CVerticalLayoutExUI : public WithChildren<Option> {
public:
    CVerticalLayoutExUI() : WithChildren<Option>(LayoutKind::Vertical) {}
    std::string_view GetClass() const override { return "VerticalLayoutEx"; }
    // The index of the next child, from `start` forwards or backwards, that is a visible and enabled list item;
    // a backward search that finds none searches forwards from 0. -1 when there is none.
    int FindSelectable(int start, bool forward) const;
};

}  // namespace mousecfg::skin
