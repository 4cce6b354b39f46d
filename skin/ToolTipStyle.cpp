#include "skin/ToolTipStyle.h"

#include "platform/TextEncoding.h"
#include "skin/AttributeText.h"
#include "skin/PaintManager.h"

namespace mousecfg::skin {

ToolTipStyle ToolTipStyle::Of(const PaintManager& manager) {
    ToolTipStyle style;
    style.font = manager.GetDefaultFont();
    const AttributeList* attributes = manager.GetDefaultAttributes("ToolTip");
    if (attributes == nullptr) {
        return style;
    }
    for (const auto& [key, value] : *attributes) {
        const std::string name = ToAsciiLower(key);
        if (name == "bkcolor" || name == "textcolor" || name == "bordercolor") {
            if (const auto color = attr::ParseColor(value)) {
                (name == "bkcolor" ? style.bkColor : name == "textcolor" ? style.textColor : style.borderColor) = *color;
            }
        } else if (name == "font") {
            if (const auto id = attr::ParseInt(value)) {
                style.font = manager.GetFont(*id);
            }
        } else if (name == "textpadding") {
            style.padding = attr::ParseRect(value).value_or(style.padding);
        }
    }
    return style;
}

}  // namespace mousecfg::skin
