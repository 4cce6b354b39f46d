#pragma once

#include "skin/Control.h"
#include "skin/WithChildren.h"

namespace mousecfg::skin {

// A plain container: every child fills the inner area unless it has a fixed size or floats.
class Container : public WithChildren<Control> {
public:
    explicit Container(LayoutKind kind = LayoutKind::Stack) : WithChildren<Control>(kind) {}
    std::string_view GetClass() const override { return "Container"; }
};

}  // namespace mousecfg::skin
