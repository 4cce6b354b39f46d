#include "app/CPopColorWnd.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/ShellMessages.h"
#include "platform/PrivateProfile.h"
#include "platform/Trace.h"
#include "skin/ColorPalette.h"
#include "skin/Control.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {
namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr std::string_view kDefaultPrefix = "def_color";
constexpr std::string_view kCustomPrefix = "cust_color";

// A decimal colour value of the file; anything that is not a number reads as 0.
uint32_t ReadColour(const char* section, int index, const std::filesystem::path& file) {
    const std::string text = ini::GetPrivateProfileString(section, std::to_string(index), "", file);
    return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10)) & 0xFFFFFFu;
}

// The swatch index after a prefix: one digit 0..7; -1 for anything else.
int SwatchIndex(const std::string& name, std::string_view prefix) {
    if (name.size() != prefix.size() + 1 || name.compare(0, prefix.size(), prefix) != 0) {
        return -1;
    }
    const int index = name.back() - '0';
    return index >= 0 && index < CPopColorWnd::kSwatches ? index : -1;
}

int Component(const std::string& text) {
    return std::clamp(ini::Atoi(text), 0, 255);
}

}  // namespace

void CPopColorWnd::InitWindow() {
    for (int i = 0; i < kSwatches; ++i) {
        defaults_[static_cast<size_t>(i)] = ReadColour("Default", i, colourFile_);
        customs_[static_cast<size_t>(i)] = ReadColour("SelfDefine", i, colourFile_);
        SetSwatch("def_color", i, defaults_[static_cast<size_t>(i)]);
        SetSwatch("cust_color", i, customs_[static_cast<size_t>(i)]);
    }
    ShowColour();
}

void CPopColorWnd::SetSwatch(const char* prefix, int index, uint32_t colour) {
    if (skin::Control* swatch = FindControl(prefix + std::to_string(index))) {
        swatch->SetBkColor(kOpaque | colour);
    }
}

void CPopColorWnd::ShowColour() {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%06X", current_ & 0xFFFFFFu);
    const auto set = [this](const char* name, const std::string& text) {
        if (skin::Control* control = FindControl(name)) {
            control->SetText(text);
        }
    };
    set("colorHex", hex);
    set("colorR", std::to_string((current_ >> 16) & 0xFF));
    set("colorG", std::to_string((current_ >> 8) & 0xFF));
    set("colorB", std::to_string(current_ & 0xFF));
    if (skin::Control* preview = FindControl("color_preview")) {
        preview->SetBkColor(kOpaque | current_);
    }
    if (auto* palette = Find<skin::ColorPalette>("Pallet")) {
        palette->SetSelectColor(kOpaque | current_);
    }
}

intptr_t CPopColorWnd::HandleCustomMessage(const Message& message, bool& handled) {
    if (message.id == skin::msg::kKeyDown && message.wParam == skin::msg::kVkEscape) {
        handled = true;
        Close(0);
    }
    return 0;
}

void CPopColorWnd::Notify(skin::Notification& notification) {
    const std::string& name = notification.senderName;
    if (notification.type == skin::notify::kClick) {
        if (name == "popok") {
            Store();
            if (SkinWindow* parent = GetParent()) {
                parent->Send(Message{msg::kColorPicked, 1, static_cast<intptr_t>(current_), {}});
            }
            Close(1);
        } else if (name == "popcancel" || name == "btn_close") {
            Close(0);
        } else {
            PickSwatch(name);
        }
    } else if (notification.type == skin::notify::kColorChanged && name == "Pallet") {
        current_ = static_cast<uint32_t>(notification.wParam) & 0xFFFFFFu;
        if (selectedCustom_ >= 0) {
            customs_[static_cast<size_t>(selectedCustom_)] = current_;
            SetSwatch("cust_color", selectedCustom_, current_);
        }
        ShowColour();
    } else if (notification.type == skin::notify::kKillFocus || notification.type == skin::notify::kReturn) {
        ReadField(name);
    }
}

void CPopColorWnd::PickSwatch(const std::string& name) {
    if (const int index = SwatchIndex(name, kDefaultPrefix); index >= 0) {
        selectedDefault_ = index;
        selectedCustom_ = -1;
        current_ = defaults_[static_cast<size_t>(index)];
    } else if (const int slot = SwatchIndex(name, kCustomPrefix); slot >= 0) {
        selectedCustom_ = slot;
        current_ = customs_[static_cast<size_t>(slot)];
    } else {
        return;
    }
    ShowColour();
}

void CPopColorWnd::ReadField(const std::string& name) {
    const skin::Control* field = FindControl(name);
    if (field == nullptr) {
        return;
    }
    const std::string& text = field->GetText();
    if (name == "colorHex") {
        current_ = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16)) & 0xFFFFFFu;
    } else if (name == "colorR") {
        current_ = (current_ & 0x00FFFFu) | static_cast<uint32_t>(Component(text)) << 16;
    } else if (name == "colorG") {
        current_ = (current_ & 0xFF00FFu) | static_cast<uint32_t>(Component(text)) << 8;
    } else if (name == "colorB") {
        current_ = (current_ & 0xFFFF00u) | static_cast<uint32_t>(Component(text));
    } else {
        return;
    }
    ShowColour();
}

void CPopColorWnd::Store() {
    for (int i = 0; i < kSwatches; ++i) {
        const Status status = ini::WritePrivateProfileString("SelfDefine", std::to_string(i),
                                                             std::to_string(customs_[static_cast<size_t>(i)]),
                                                             colourFile_);
        if (!status) {
            trace::Printf("%s\n", status.message().c_str());
            return;
        }
    }
}

}  // namespace mousecfg::app
