#pragma once

#include "skin/ListElement.h"

namespace mousecfg::skin {

// A list row showing a text.
class ListLabelElement : public ListElement {
public:
    ListLabelElement();
    std::string_view GetClass() const override { return "ListLabelElement"; }

protected:
    void PaintText(Painter& painter) override;
};

}  // namespace mousecfg::skin
