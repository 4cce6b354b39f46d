#include "layout/CLabelAttributes.h"

#include "skin/Control.h"

namespace mousecfg::layout {

void CLabelAttributes::Dress(skin::Control& control, const PageImages& images) const {
    if (HasPos()) {
        control.SetAttribute("pos", GetPos());
        // Without a page image there is no picture to cut; the label keeps its background.
        if (!images.normal.empty()) {
            control.SetAttribute("bkimage", ImageText(images.normal));
        }
    }
    ApplyVisibility(control, images);
}

}  // namespace mousecfg::layout
