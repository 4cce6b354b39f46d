#pragma once

#include <functional>
#include <string>

#include "skin/SkinWindow.h"

namespace mousecfg::app {

// The texts of a message window; empty texts leave the skin's own.
struct MsgTexts {
    std::string title;
    std::string text;
    std::string confirm;
    std::string cancel;
};

// The message window: information, warnings and the no-device notice. Style 1 uses "msg.xml", style 2 (the
// no-device notice, of kind 1 "no device" or 2 "wireless mouse not reachable") "msg3.xml", any other style
// "msg2.xml". "confirm_btn" closes with 1 and ends the program for kind 1 or when quit-on-confirm is set;
// "cancel_btn" closes with 0; the close button closes, except in style 2 where it asks the parent to hide to the
// tray (message 2058). Missing controls are skipped.
class CMsgWnd final : public skin::SkinWindow {
public:
    static constexpr int kNoDevice = 1;
    static constexpr int kWireless = 2;
    // The text area is never lower than the icon beside it.
    static constexpr int kMinTextHeight = 48;

    explicit CMsgWnd(int style, int kind = 0) : style_(style), kind_(kind) {}

    std::string GetSkinFile() override;
    std::string GetWindowClassName() const override { return "MsgWnd"; }
    void InitWindow() override;
    void Notify(skin::Notification& notification) override;
    // Escape acts as the close button.
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;
    void OnFinalMessage() override;

    void SetTitle(const std::string& title);
    // Style 2: the text of the kind's label (the other one is hidden); other styles: "MessageText".
    void SetText(const std::string& text);
    void SetButtonTexts(const std::string& confirm, const std::string& cancel);
    // Fits the window's height to its text: the text area takes the height the text needs (at least the icon's
    // beside it), so that a short text leaves no gap above the buttons and a long one is not cut off. SetText
    // does it; call it again when the fonts change.
    void FitToText();
    // Shows only the confirm button.
    void HideCancel();
    void SetQuitOnConfirm(bool quit) { quitOnConfirm_ = quit; }
    // What ending the program means (the application's quit); none ends nothing.
    void SetOnQuit(std::function<void()> onQuit) { onQuit_ = std::move(onQuit); }
    // Called when the native window is gone (from the event loop, after Close).
    void SetOnFinal(std::function<void()> onFinal) { onFinal_ = std::move(onFinal); }
    int Style() const { return style_; }
    int Kind() const { return kind_; }

    // A modal message over `parent`: centred, the given texts, blocks until answered; 1 confirm, 0 otherwise.
    static int ShowModalMessage(skin::SkinWindow* parent, const MsgTexts& texts, int style,
                                std::function<void()> onQuit = {}, bool singleButton = false);
    // Creates the window as a non-modal message over `parent` with the texts ("confirm_btn" keeps the skin's
    // text) and shows it. False when it could not be created.
    bool ShowNonModal(skin::SkinWindow* parent, const MsgTexts& texts);

private:
    void SetControlText(const char* name, const std::string& text);
    void OnCloseButton();
    skin::Control* ShownText() const;

    int style_;
    int kind_;
    bool quitOnConfirm_ = false;
    skin::Control* closeButton_ = nullptr;
    std::function<void()> onQuit_;
    std::function<void()> onFinal_;
};

}  // namespace mousecfg::app
