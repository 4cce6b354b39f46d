#include "layout/COptionAttributes.h"

#include "skin/Control.h"

namespace mousecfg::layout {

void COptionAttributes::Dress(skin::Control& control, const PageImages& images) const {
    ApplyButtonLook(control, images);
    if (HasPos() && !images.normal.empty()) {
        control.SetAttribute("Selectedimage", ImageText(images.down));
    }
    ApplyVisibility(control, images);
}

}  // namespace mousecfg::layout
