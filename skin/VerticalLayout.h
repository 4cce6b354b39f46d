#pragma once

#include "skin/Container.h"

namespace mousecfg::skin {

// Children from top to bottom.
class VerticalLayout : public Container {
public:
    VerticalLayout() : Container(LayoutKind::Vertical) {}
    std::string_view GetClass() const override { return "VerticalLayout"; }
};

}  // namespace mousecfg::skin
