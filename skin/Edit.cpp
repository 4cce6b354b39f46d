#include "skin/Edit.h"

#include "platform/TextEncoding.h"
#include "skin/Notification.h"
#include "skin/PaintHost.h"
#include "skin/PaintManager.h"
#include "skin/Painter.h"
#include "skin/TextAlign.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin {
namespace {

// Removes the last UTF-8 character of `text`.
void PopCharacter(std::string& text) {
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((byte & 0xC0) != 0x80) {
            break;
        }
    }
}

std::string CharacterToUtf8(char32_t c) {
    std::u16string units;
    if (c > 0xFFFF) {
        c -= 0x10000;
        units = {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
    } else {
        units = {static_cast<char16_t>(c)};
    }
    return Utf16ToUtf8(units);
}

PaintHost* HostOf(const Control& control) {
    return control.GetManager() != nullptr ? control.GetManager()->GetHost() : nullptr;
}

}  // namespace

Edit::Edit() {
    TrySetAttribute("align", "left");
    TrySetAttribute("textpadding", "4,0,4,0");
}

std::string Edit::Filter(std::string_view text) const {
    std::string kept;
    for (const char c : text) {
        if (numberOnly_ && (c < '0' || c > '9')) {
            continue;
        }
        if (c == '\r' || c == '\n') {
            continue;
        }
        kept.push_back(c);
    }
    return std::string(CutToUtf16Units(kept, static_cast<size_t>(std::max(0, maxChar_))));
}

const std::string& Edit::ReplaceText(std::string text) {
    if (readOnly_) {
        return text_;
    }
    std::string kept = Filter(text);
    if (kept != text_) {
        text_ = std::move(kept);
        Invalidate();
        Notify(notify::kTextChanged, 0, 0, text_);
    }
    return text_;
}

void Edit::PressReturn() {
    Notify(notify::kReturn, 0, 0, text_);
}

void Edit::SetText(std::string text) {
    Label::SetText(std::move(text));
    // A handler that rewrites the text while the user types must see the native editor follow.
    if (IsFocused()) {
        if (PaintHost* host = HostOf(*this)) {
            host->BeginTextEdit(*this);
        }
    }
}

void Edit::DoEvent(ControlEvent& event) {
    switch (event.type) {
        case EventType::SetFocus:
            if (PaintHost* host = HostOf(*this)) {
                host->BeginTextEdit(*this);
            }
            Notify(notify::kSetFocus);
            return;
        case EventType::KillFocus:
            if (PaintHost* host = HostOf(*this)) {
                host->EndTextEdit(*this);
            }
            Notify(notify::kKillFocus, 0, 0, text_);
            return;
        case EventType::KeyDown:
            if (event.key == msg::kVkReturn) {
                PressReturn();
            } else if (event.key == msg::kVkBack && !text_.empty()) {
                std::string shorter = text_;
                PopCharacter(shorter);
                ReplaceText(std::move(shorter));
            }
            return;
        case EventType::Char:
            if (event.character >= 0x20 && event.character != 0x7F) {
                ReplaceText(text_ + CharacterToUtf8(event.character));
            }
            return;
        default:
            Label::DoEvent(event);
    }
}

AttributeStatus Edit::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "maxchar") {
        return AssignInt(maxChar_, value);
    }
    if (name == "numberonly") {
        return AssignBool(numberOnly_, value);
    }
    if (name == "password") {
        return AssignBool(password_, value);
    }
    if (name == "readonly") {
        return AssignBool(readOnly_, value);
    }
    if (name == "nativebkcolor") {
        return AssignColor(nativeBkColor_, value);
    }
    if (name == "prompttext") {
        promptText_ = std::string(value);
        return AttributeStatus::Applied;
    }
    if (name == "promptcolor") {
        return AssignColor(promptColor_, value);
    }
    return Label::ApplyAttribute(name, value);
}

void Edit::PaintText(Painter& painter) {
    const FontSpec font = GetManager() != nullptr ? GetManager()->GetFont(GetFont()) : FontSpec{};
    const Rect area = GetPos().deflate(GetTextPadding());
    const unsigned flags = (GetTextAlign() & ~align::kVerticalMask) | align::kVCenter;
    if (text_.empty()) {
        if (!promptText_.empty() && !IsFocused()) {
            painter.DrawText(area, promptText_, font, promptColor_, flags);
        }
        return;
    }
    const std::string shown = password_ ? std::string(CountUtf16Units(text_), '*') : text_;
    painter.DrawText(area, shown, font, CurrentTextColor(), flags);
}

}  // namespace mousecfg::skin
