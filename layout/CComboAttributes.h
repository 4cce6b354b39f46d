#pragma once

#include "layout/CButtonAttributes.h"

namespace mousecfg::layout {

// Any entry type not named otherwise: dressed as a button.
class CComboAttributes : public CButtonAttributes {};

}  // namespace mousecfg::layout
