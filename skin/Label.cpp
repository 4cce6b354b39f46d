#include "skin/Label.h"

#include "skin/PaintManager.h"
#include "skin/Painter.h"
#include "skin/TextAlign.h"

namespace mousecfg::skin {

Size Label::EstimateSize(Size available) {
    Size size = Control::EstimateSize(available);
    if (autoWidth_) {
        size.cx = MeasureText().cx + GetTextPadding().left + GetTextPadding().right;
    }
    return size;
}

Size Label::MeasureText() const {
    if (GetManager() == nullptr) {
        return {};
    }
    return GetManager()->MeasureText(text_, GetManager()->GetFont(GetFont()));
}

AttributeStatus Label::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "autocalcwidth") {
        const AttributeStatus status = AssignBool(autoWidth_, value);
        NeedUpdate();
        return status;
    }
    return Control::ApplyAttribute(name, value);
}

void Label::PaintText(Painter& painter) {
    if (text_.empty()) {
        return;
    }
    const FontSpec font = GetManager() != nullptr ? GetManager()->GetFont(GetFont()) : FontSpec{};
    painter.DrawText(pos_.deflate(GetTextPadding()), text_, font, CurrentTextColor(), GetTextAlign());
}

}  // namespace mousecfg::skin
