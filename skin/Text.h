#pragma once

#include "skin/Label.h"

namespace mousecfg::skin {

// A label whose text starts at the top left and wraps at word boundaries.
class Text : public Label {
public:
    Text() {
        TrySetAttribute("wordbreak", "true");
        TrySetAttribute("align", "left");
        TrySetAttribute("valign", "top");
    }
    std::string_view GetClass() const override { return "Text"; }
};

}  // namespace mousecfg::skin
