#include "layout/SliderAttributes.h"

#include <nlohmann/json.hpp>

#include "skin/Control.h"

namespace mousecfg::layout {

void SliderAttributes::Parse(const nlohmann::json& entry) {
    CControlAttributes::Parse(entry);
    if (entry.contains("thumbimage")) {
        thumbImage_ = entry.at("thumbimage").get<std::string>();
    }
}

void SliderAttributes::Dress(skin::Control& control, const PageImages& /*images*/) const {
    if (HasPos()) {
        control.SetAttribute("pos", GetPos());
    }
}

}  // namespace mousecfg::layout
