#pragma once

#include "layout/COptionAttributes.h"

namespace mousecfg::layout {

// A card entry ("optver", a CVerticalLayoutExUI): as an option, then its "switch", "value" and "color"
// children get fixed places relative to the card and the switch its picture from a fixed part of the page.
class VerExAuttributes : public COptionAttributes {
protected:
    void Dress(skin::Control& control, const PageImages& images) const override;
};

}  // namespace mousecfg::layout
