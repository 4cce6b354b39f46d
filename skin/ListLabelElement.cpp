#include "skin/ListLabelElement.h"

#include "skin/PaintManager.h"
#include "skin/Painter.h"

namespace mousecfg::skin {

ListLabelElement::ListLabelElement() {
    TrySetAttribute("align", "left");
    TrySetAttribute("textpadding", "6,0,6,0");
}

void ListLabelElement::PaintText(Painter& painter) {
    if (text_.empty()) {
        return;
    }
    const ListOwner* owner = GetOwner();
    const int fontId = GetFont() >= 0 || owner == nullptr ? GetFont() : owner->GetItemStyle().font;
    const FontSpec font = GetManager() != nullptr ? GetManager()->GetFont(fontId) : FontSpec{};
    painter.DrawText(GetPos().deflate(GetTextPadding()), text_, font, CurrentTextColor(), GetTextAlign());
}

}  // namespace mousecfg::skin
