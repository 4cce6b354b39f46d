#pragma once

#include "layout/CButtonAttributes.h"

namespace mousecfg::layout {

// An option entry: as a button, and its selected image always comes from the pressed (down) page image.
class COptionAttributes : public CButtonAttributes {
protected:
    void Dress(skin::Control& control, const PageImages& images) const override;
};

}  // namespace mousecfg::layout
