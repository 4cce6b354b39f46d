#pragma once

#include "layout/CControlAttributes.h"

namespace mousecfg::layout {

// A label entry: position and the normal page image cut at its rectangle as background.
class CLabelAttributes : public CControlAttributes {
protected:
    void Dress(skin::Control& control, const PageImages& images) const override;
};

}  // namespace mousecfg::layout
