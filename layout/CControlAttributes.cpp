#include "layout/CControlAttributes.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include "platform/JsonNumbers.h"
#include "skin/AttributeText.h"
#include "skin/Control.h"
#include "skin/PaintManager.h"

namespace mousecfg::layout {

void CControlAttributes::Parse(const nlohmann::json& entry) {
    name_ = entry.at("ctrlname").get<std::string>();
    if (entry.contains("visible")) {
        visible_ = entry.at("visible").get<std::string>();
    }
    if (entry.contains("pos")) {
        const nlohmann::json& pos = entry.at("pos");
        if (!pos.is_array() || pos.size() != 4) {
            throw nlohmann::json::type_error::create(302, "\"pos\" must be an array of 4 integers", &pos);
        }
        std::array<int, 4> rect{};
        for (size_t i = 0; i < 4; ++i) {
            if (!pos[i].is_number_integer()) {
                throw nlohmann::json::type_error::create(302, "\"pos\" must hold integers", &pos);
            }
            rect[i] = NarrowNumber<int>(pos[i]);
        }
        char text[64];
        std::snprintf(text, sizeof text, "%d,%d,%d,%d", rect[0], rect[1], rect[2], rect[3]);
        if (!skin::attr::ParseRect(text)) {
            throw nlohmann::json::type_error::create(302, "\"pos\" holds a number out of range", &pos);
        }
        rect_ = rect;
        posText_ = text;
    }
}

bool CControlAttributes::Apply(skin::PaintManager& manager, const PageImages& images) const {
    skin::Control* control = manager.FindControl(name_);
    if (control == nullptr) {
        return false;
    }
    Dress(*control, images);
    return true;
}

std::string CControlAttributes::ImageText(const std::string& file) const {
    char source[64];
    std::snprintf(source, sizeof source, "%d,%d,%d,%d", rect_[0], rect_[1], rect_[2], rect_[3]);
    return "file='" + file + "' source='" + source + "'";
}

void CControlAttributes::ApplyButtonLook(skin::Control& control, const PageImages& images) const {
    if (!HasPos()) {
        return;
    }
    control.SetAttribute("pos", posText_);
    if (!images.normal.empty()) {
        control.SetAttribute("normalimage", ImageText(images.normal));
        control.SetAttribute("hotimage", ImageText(images.hot));
        control.SetAttribute("pushedimage", ImageText(images.down));
    }
}

void CControlAttributes::ApplyVisibility(skin::Control& control, const PageImages& images) const {
    if (!images.normal.empty() && visible_ != kVisNoChange) {
        control.SetAttribute("visible", visible_);
    }
}

}  // namespace mousecfg::layout
