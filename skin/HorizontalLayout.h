#pragma once

#include "skin/Container.h"

namespace mousecfg::skin {

// Children from left to right.
class HorizontalLayout : public Container {
public:
    HorizontalLayout() : Container(LayoutKind::Horizontal) {}
    std::string_view GetClass() const override { return "HorizontalLayout"; }
};

}  // namespace mousecfg::skin
