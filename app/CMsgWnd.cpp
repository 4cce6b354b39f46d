#include "app/CMsgWnd.h"

#include "app/ShellMessages.h"
#include "platform/TextEncoding.h"
#include "skin/Control.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {
namespace {

constexpr uint32_t kModalStyle = skin::style::kWsPopup | skin::style::kWsClipChildren;
constexpr uint32_t kNonModalStyle = skin::style::kWsVisible | skin::style::kWsOverlappedWindow;

void ApplyTexts(CMsgWnd& window, const MsgTexts& texts) {
    window.SetTitle(texts.title);
    window.SetText(texts.text);
    window.SetButtonTexts(texts.confirm, texts.cancel);
}

}  // namespace

std::string CMsgWnd::GetSkinFile() {
    return style_ == 1 ? "msg.xml" : style_ == 2 ? "msg3.xml" : "msg2.xml";
}

void CMsgWnd::InitWindow() {
    closeButton_ = FindControl("closebtn");
}

void CMsgWnd::SetControlText(const char* name, const std::string& text) {
    if (skin::Control* control = FindControl(name); control != nullptr && !text.empty()) {
        control->SetText(text);
    }
}

void CMsgWnd::SetTitle(const std::string& title) {
    SetControlText("MessageTitle", title);
}

void CMsgWnd::SetText(const std::string& text) {
    if (text.empty()) {
        return;
    }
    if (style_ != 2) {
        SetControlText("MessageText", text);
        FitToText();
        return;
    }
    const bool noDevice = kind_ == kNoDevice;
    SetControlText(noDevice ? "MessageTextNoDevice" : "MessageTextWirelessUnconnect", text);
    if (skin::Control* other = FindControl(noDevice ? "MessageTextWirelessUnconnect" : "MessageTextNoDevice")) {
        other->SetVisible(false);
    }
    if (skin::Control* shown = FindControl(noDevice ? "MessageTextNoDevice" : "MessageTextWirelessUnconnect")) {
        shown->SetVisible(true);
    }
    FitToText();
}

skin::Control* CMsgWnd::ShownText() const {
    if (style_ != 2) {
        return FindControl("MessageText");
    }
    return FindControl(kind_ == kNoDevice ? "MessageTextNoDevice" : "MessageTextWirelessUnconnect");
}

void CMsgWnd::FitToText() {
    skin::Control* text = ShownText();
    if (text == nullptr || !IsCreated()) {
        return;
    }
    skin::PaintManager& manager = GetPaintManager();
    manager.UpdateLayout();
    const skin::Rect padding = text->GetTextPadding();
    const int width = text->GetPos().width() - padding.left - padding.right;
    if (width <= 0) {
        return;
    }
    const int textHeight = manager.MeasureWrappedText(text->GetText(), manager.GetFont(text->GetFont()), width).cy;
    const int needed = std::max(kMinTextHeight, textHeight + padding.top + padding.bottom);
    const int delta = needed - text->GetPos().height();
    if (delta != 0) {
        const skin::Rect rect = GetWindowRect();
        ResizeClient(rect.width(), rect.height() + delta);
    }
}

void CMsgWnd::SetButtonTexts(const std::string& confirm, const std::string& cancel) {
    SetControlText("confirm_btn", confirm);
    SetControlText("cancel_btn", cancel);
}

void CMsgWnd::HideCancel() {
    if (skin::Control* cancel = FindControl("cancel_btn")) {
        cancel->SetVisible(false);
    }
}

void CMsgWnd::Notify(skin::Notification& notification) {
    if (notification.type != skin::notify::kClick || notification.sender == nullptr) {
        return;
    }
    const std::string& name = notification.senderName;
    if (notification.sender == closeButton_ || EqualsIgnoringAsciiCase(name, "closebtn")) {
        OnCloseButton();
    } else if (EqualsIgnoringAsciiCase(name, "confirm_btn")) {
        const bool quit = kind_ == kNoDevice || quitOnConfirm_;
        quitOnConfirm_ = false;
        auto onQuit = onQuit_;  // the window may be gone once it is closed
        Close(1);
        if (quit && onQuit) {
            onQuit();
        }
    } else if (EqualsIgnoringAsciiCase(name, "cancel_btn")) {
        Close(0);
    }
}

void CMsgWnd::OnCloseButton() {
    if (style_ == 2 && GetParent() != nullptr) {
        GetParent()->Send(Message{msg::kNoDeviceHide, 0, 0, {}});
    } else {
        Close(0);
    }
}

intptr_t CMsgWnd::HandleCustomMessage(const Message& message, bool& handled) {
    if (message.id == skin::msg::kKeyDown && message.wParam == skin::msg::kVkEscape) {
        handled = true;
        OnCloseButton();
    }
    return 0;
}

void CMsgWnd::OnFinalMessage() {
    if (onFinal_) {
        onFinal_();
    }
}

int CMsgWnd::ShowModalMessage(skin::SkinWindow* parent, const MsgTexts& texts, int style,
                              std::function<void()> onQuit, bool singleButton) {
    CMsgWnd window(style);
    window.SetOnQuit(std::move(onQuit));
    if (!window.Create(parent, "msgwnd", kModalStyle, skin::style::kWsExToolWindow)) {
        return 0;
    }
    ApplyTexts(window, texts);
    if (singleButton) {
        window.HideCancel();
    }
    window.CenterWindow();
    return window.ShowModal() == 1 ? 1 : 0;
}

bool CMsgWnd::ShowNonModal(skin::SkinWindow* parent, const MsgTexts& texts) {
    if (!Create(parent, "msgwnd", kNonModalStyle & ~skin::style::kWsVisible, 0)) {
        return false;
    }
    SetTitle(texts.title);
    SetText(texts.text);
    SetButtonTexts({}, texts.cancel);
    CenterWindow();
    ShowWindow(true, true);
    return true;
}

}  // namespace mousecfg::app
