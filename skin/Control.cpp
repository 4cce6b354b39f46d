#include "skin/Control.h"

#include "platform/TextEncoding.h"
#include "platform/Trace.h"
#include "skin/AttributeText.h"
#include "skin/ChildList.h"
#include "skin/PaintManager.h"
#include "skin/Painter.h"
#include "skin/SkinResources.h"
#include "skin/TextAlign.h"

namespace mousecfg::skin {

Control::Control() : textAlign_(align::kCenter | align::kVCenter) {}

Control::~Control() {
    if (manager_ != nullptr) {
        manager_->UnregisterControl(this);
    }
}

void Control::SetName(std::string name) {
    if (name == name_) {
        return;
    }
    if (manager_ != nullptr) {
        manager_->RenameControl(this, name_, name);
    }
    name_ = std::move(name);
}

void Control::Attach(PaintManager* manager, Control* parent) {
    parent_ = parent;
    if (manager_ != manager) {
        if (manager_ != nullptr) {
            manager_->UnregisterControl(this);
        }
        manager_ = manager;
        if (manager_ != nullptr) {
            manager_->RegisterControl(this);
        }
    }
    if (ChildList* children = Children()) {
        children->AttachAll(manager);
    }
}

AttributeStatus Control::SetAttribute(std::string_view name, std::string_view value) {
    const AttributeStatus status = TrySetAttribute(name, value);
    if (status != AttributeStatus::Applied) {
        trace::Printf("skin: %s '%s': %s attribute '%.*s' = '%.*s'\n", std::string(GetClass()).c_str(),
                      name_.c_str(), status == AttributeStatus::Unknown ? "unknown" : "bad value for",
                      static_cast<int>(name.size()), name.data(), static_cast<int>(value.size()), value.data());
    }
    return status;
}

AttributeStatus Control::TrySetAttribute(std::string_view name, std::string_view value) {
    const AttributeStatus status = ApplyAttribute(ToAsciiLower(name), value);
    if (status == AttributeStatus::Applied) {
        Invalidate();
    }
    return status;
}

AttributeStatus Control::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "name") {
        SetName(std::string(value));
        return AttributeStatus::Applied;
    }
    if (name == "text") {
        SetText(std::string(value));
        // The text source wins over the skin's own text, whichever attribute comes first.
        if (!textId_.empty() && manager_ != nullptr) {
            manager_->ApplyTextQuery(*this);
        }
        return AttributeStatus::Applied;
    }
    if (name == "textid") {
        textId_ = std::string(value);
        if (manager_ != nullptr) {
            manager_->ApplyTextQuery(*this);
        }
        return AttributeStatus::Applied;
    }
    if (name == "tooltip") {
        toolTip_ = std::string(value);
        if (!toolTipId_.empty() && manager_ != nullptr) {
            manager_->ApplyTextQuery(*this);
        }
        return AttributeStatus::Applied;
    }
    if (name == "tooltipid") {
        toolTipId_ = std::string(value);
        if (manager_ != nullptr) {
            manager_->ApplyTextQuery(*this);
        }
        return AttributeStatus::Applied;
    }
    if (name == "userdata") {
        userData_ = std::string(value);
        return AttributeStatus::Applied;
    }
    if (name == "tag") {
        int tag = 0;
        const AttributeStatus status = AssignInt(tag, value);
        tag_ = static_cast<uintptr_t>(tag);
        return status;
    }
    const AttributeStatus status = ApplyPlacementAttribute(name, value);
    return status != AttributeStatus::Unknown ? status : ApplyLookAttribute(name, value);
}

AttributeStatus Control::ApplyPlacementAttribute(const std::string& name, std::string_view value) {
    if (name == "pos") {
        const auto rect = attr::ParseRect(value);
        if (!rect) {
            return AttributeStatus::Invalid;
        }
        fixedXY_ = {rect->left, rect->top};
        fixedWidth_ = rect->width();
        fixedHeight_ = rect->height();
        NeedUpdate();
        return AttributeStatus::Applied;
    }
    if (name == "visible" || name == "enabled" || name == "float" || name == "mouse") {
        const auto flag = attr::ParseBool(value);
        if (!flag) {
            return AttributeStatus::Invalid;
        }
        if (name == "visible") {
            SetVisible(*flag);
        } else if (name == "enabled") {
            SetEnabled(*flag);
        } else if (name == "float") {
            SetFloat(*flag);
        } else {
            mouseEnabled_ = *flag;
        }
        return AttributeStatus::Applied;
    }
    if (name == "mirror") {
        const auto flag = attr::ParseBool(value);
        if (!flag) {
            return AttributeStatus::Invalid;
        }
        mirror_ = *flag ? 1 : 0;
        NeedUpdate();
        return AttributeStatus::Applied;
    }
    int* const sizes[] = {&fixedWidth_, &fixedHeight_, &minWidth_, &maxWidth_, &minHeight_, &maxHeight_};
    const char* const sizeNames[] = {"width", "height", "minwidth", "maxwidth", "minheight", "maxheight"};
    for (size_t i = 0; i < std::size(sizes); ++i) {
        if (name == sizeNames[i]) {
            const AttributeStatus status = AssignInt(*sizes[i], value);
            NeedUpdate();
            return status;
        }
    }
    if (name == "padding") {
        const auto rect = attr::ParseRect(value);
        if (!rect) {
            return AttributeStatus::Invalid;
        }
        padding_ = *rect;
        NeedUpdate();
        return AttributeStatus::Applied;
    }
    return AttributeStatus::Unknown;
}

AttributeStatus Control::ApplyLookAttribute(const std::string& name, std::string_view value) {
    if (name == "bkcolor") {
        return AssignColor(bkColor_, value);
    }
    if (name == "bkcolor2") {
        return AssignColor(bkColor2_, value);
    }
    if (name == "textcolor") {
        return AssignColor(textColor_, value);
    }
    if (name == "disabledtextcolor") {
        return AssignColor(disabledTextColor_, value);
    }
    if (name == "bordercolor") {
        return AssignColor(borderColor_, value);
    }
    if (name == "bordersize") {
        return AssignInt(borderSize_, value);
    }
    if (name == "borderround") {
        return AssignInt(borderRound_, value);
    }
    if (name == "bkimage") {
        return AssignImage(bkImage_, value);
    }
    if (name == "font") {
        return AssignInt(font_, value);
    }
    if (name == "textpadding") {
        const auto rect = attr::ParseRect(value);
        if (!rect) {
            return AttributeStatus::Invalid;
        }
        textPadding_ = *rect;
        return AttributeStatus::Applied;
    }
    return ApplyTextLayoutAttribute(name, value);
}

AttributeStatus Control::ApplyTextLayoutAttribute(const std::string& name, std::string_view value) {
    if (name == "align" || name == "valign") {
        const std::string lower = ToAsciiLower(value);
        const unsigned mask = name == "align" ? align::kHorizontalMask : align::kVerticalMask;
        unsigned flag = 0;
        if (lower == "left" || lower == "top") {
            flag = 0;
        } else if (lower == "center") {
            flag = align::kCenter;
        } else if (lower == "right") {
            flag = align::kRight;
        } else if (lower == "vcenter") {
            flag = align::kVCenter;
        } else if (lower == "bottom") {
            flag = align::kBottom;
        } else {
            return AttributeStatus::Invalid;
        }
        if ((flag & ~mask) != 0) {
            return AttributeStatus::Invalid;
        }
        textAlign_ = (textAlign_ & ~mask) | flag;
        return AttributeStatus::Applied;
    }
    if (name == "wordbreak" || name == "endellipsis") {
        bool on = false;
        if (AssignBool(on, value) != AttributeStatus::Applied) {
            return AttributeStatus::Invalid;
        }
        const unsigned flag = name == "wordbreak" ? align::kWordBreak : align::kEndEllipsis;
        textAlign_ = on ? (textAlign_ | flag) : (textAlign_ & ~flag);
        return AttributeStatus::Applied;
    }
    return AttributeStatus::Unknown;
}

AttributeStatus Control::AssignImage(ImageRef& field, std::string_view value) {
    const auto image = attr::ParseImage(value);
    if (!image) {
        return AttributeStatus::Invalid;
    }
    field = *image;
    return AttributeStatus::Applied;
}

AttributeStatus Control::AssignColor(Color& field, std::string_view value) {
    const auto color = attr::ParseColor(value);
    if (!color) {
        return AttributeStatus::Invalid;
    }
    field = *color;
    return AttributeStatus::Applied;
}

AttributeStatus Control::AssignInt(int& field, std::string_view value) {
    const auto number = attr::ParseInt(value);
    if (!number) {
        return AttributeStatus::Invalid;
    }
    field = *number;
    return AttributeStatus::Applied;
}

AttributeStatus Control::AssignBool(bool& field, std::string_view value) {
    const auto flag = attr::ParseBool(value);
    if (!flag) {
        return AttributeStatus::Invalid;
    }
    field = *flag;
    return AttributeStatus::Applied;
}

void Control::SetPos(const Rect& rect) {
    pos_ = rect;
}

void Control::Move(int dx, int dy) {
    pos_ = pos_.offset(dx, dy);
    if (ChildList* children = Children()) {
        children->MoveAll(dx, dy);
    }
}

Size Control::EstimateSize(Size /*available*/) {
    return {fixedWidth_, fixedHeight_};
}

void Control::SetFixedXY(Point xy) {
    fixedXY_ = xy;
    NeedUpdate();
}

void Control::SetFixedWidth(int width) {
    fixedWidth_ = width;
    NeedUpdate();
}

void Control::SetFixedHeight(int height) {
    fixedHeight_ = height;
    NeedUpdate();
}

void Control::SetFloat(bool isFloat) {
    float_ = isFloat;
    NeedUpdate();
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    if (!visible && manager_ != nullptr) {
        manager_->ControlHidden(this);
    }
    NeedUpdate();
}

bool Control::IsVisibleInTree() const {
    for (const Control* c = this; c != nullptr; c = c->parent_) {
        if (!c->visible_) {
            return false;
        }
    }
    return true;
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    if (!enabled) {
        hot_ = false;
        pushed_ = false;
        if (manager_ != nullptr) {
            manager_->ControlHidden(this);
        }
    }
    Invalidate();
}

bool Control::IsEnabledInTree() const {
    for (const Control* c = this; c != nullptr; c = c->parent_) {
        if (!c->enabled_) {
            return false;
        }
    }
    return true;
}

void Control::SetText(std::string text) {
    if (text_ == text) {
        return;
    }
    text_ = std::move(text);
    Invalidate();
}

void Control::SetBkColor(Color color) {
    bkColor_ = color;
    Invalidate();
}

void Control::SetTextColor(Color color) {
    textColor_ = color;
    Invalidate();
}

void Control::SetBkImage(ImageRef image) {
    bkImage_ = std::move(image);
    Invalidate();
}

void Control::SetFont(int fontId) {
    font_ = fontId;
    Invalidate();
}

void Control::SetHot(bool hot) {
    if (hot_ != hot) {
        hot_ = hot;
        Invalidate();
    }
}

void Control::SetPushed(bool pushed) {
    if (pushed_ != pushed) {
        pushed_ = pushed;
        Invalidate();
    }
}

Control* Control::FindAt(Point point) {
    if (!visible_ || !pos_.contains(point)) {
        return nullptr;
    }
    if (ChildList* children = Children()) {
        if (Control* hit = children->FindAt(point)) {
            return hit;
        }
    }
    return mouseEnabled_ ? this : nullptr;
}

void Control::DoEvent(ControlEvent& event) {
    switch (event.type) {
        case EventType::MouseEnter:
            SetHot(true);
            break;
        case EventType::MouseLeave:
            SetHot(false);
            break;
        case EventType::Wheel:
            if (parent_ != nullptr) {
                parent_->DoEvent(event);
            }
            break;
        default:
            break;
    }
}

void Control::Paint(Painter& painter) {
    if (!visible_ || pos_.empty()) {
        return;
    }
    PaintBackground(painter);
    PaintStatusImages(painter);
    PaintText(painter);
    PaintBorder(painter);
    if (ChildList* children = Children()) {
        children->Paint(painter);
    }
}

void Control::PaintBackground(Painter& painter) {
    if (bkColor_ != kNoColor) {
        if (bkColor2_ != kNoColor) {
            painter.FillGradient(pos_, bkColor_, bkColor2_, true);
        } else if (borderRound_ > 0) {
            painter.FillRoundRect(pos_, bkColor_, borderRound_);
        } else {
            painter.FillRect(pos_, bkColor_);
        }
    }
    DrawImage(painter, bkImage_);
}

void Control::PaintStatusImages(Painter& /*painter*/) {}

void Control::PaintText(Painter& /*painter*/) {}

void Control::PaintBorder(Painter& painter) {
    if (borderSize_ > 0 && borderColor_ != kNoColor) {
        painter.DrawBorder(pos_, borderColor_, borderSize_, borderRound_);
    }
}

void Control::DrawImage(Painter& painter, const ImageRef& image) {
    if (image.empty()) {
        return;
    }
    ImageRef resolved = image;
    const bool mirrored = IsMirrored();
    if (resolved.dest && mirrored) {
        const Rect dest = *resolved.dest;
        resolved.dest = Rect{pos_.width() - dest.right, dest.top, pos_.width() - dest.left, dest.bottom};
    }
    resolved.mirror = image.mirror && mirrored;
    if (manager_ == nullptr) {
        painter.DrawImage(resolved, pos_);
        return;
    }
    resolved.file = manager_->ResolveImagePath(image.file);
    painter.DrawImage(resolved, pos_);
}

Rect Control::GetTextPadding() const {
    if (!IsMirrored()) {
        return textPadding_;
    }
    return {textPadding_.right, textPadding_.top, textPadding_.left, textPadding_.bottom};
}

bool Control::IsMirrored() const {
    if (!SkinResources::IsRightToLeft()) {
        return false;
    }
    for (const Control* c = this; c != nullptr; c = c->parent_) {
        if (c->mirror_ >= 0) {
            return c->mirror_ == 1;
        }
    }
    return manager_ != nullptr && manager_->windowInfo().mirror;
}

Color Control::CurrentTextColor() const {
    if (!IsEnabledInTree() && disabledTextColor_ != kNoColor) {
        return disabledTextColor_;
    }
    return textColor_ != kNoColor ? textColor_ : 0xFF000000u;
}

void Control::Invalidate() {
    if (manager_ != nullptr) {
        manager_->Invalidate(pos_);
    }
}

void Control::NeedUpdate() {
    if (manager_ != nullptr) {
        manager_->NeedUpdate();
    }
}

void Control::Notify(std::string_view type, uintptr_t wParam, intptr_t lParam, std::string text) {
    if (manager_ != nullptr) {
        manager_->SendNotify(this, type, wParam, lParam, std::move(text));
    }
}

}  // namespace mousecfg::skin
