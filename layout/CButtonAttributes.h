#pragma once

#include "layout/CControlAttributes.h"

namespace mousecfg::layout {

// A button entry: position and the three page images cut at the button's own rectangle.
class CButtonAttributes : public CControlAttributes {
protected:
    void Dress(skin::Control& control, const PageImages& images) const override {
        ApplyButtonLook(control, images);
        ApplyVisibility(control, images);
    }
};

}  // namespace mousecfg::layout
