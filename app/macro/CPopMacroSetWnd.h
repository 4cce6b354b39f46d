#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "macro/ui/MacroItem.h"
#include "macro/ui/MacroItemDialog.h"
#include "macro/ui/WindowKeyGrab.h"
#include "skin/SkinWindow.h"
#include "skin/TextQuery.h"

namespace mousecfg {
class MacroStore;
}  // namespace mousecfg

namespace mousecfg::app {

class LanguageTexts;

// The macro item dialog ("popmacroset.xml", window class "CPopMacroSetWnd", title "MacroMotifyWnd"): one item
// of a macro created or changed (macroui::MacroItemDialog holds the logic). Apply sends its parent message
// 2027 (wParam the mode, lParam the address of the finished item, valid while the message is handled) and
// closes with 1; Cancel, Escape or closing the window send 2035 and close with 0. While it captures a key it
// grabs the keyboard: the key reaches no other program. Its texts come from the language's "MacroPopUI"
// section while it is shown. UI thread only; the store and the texts outlive it.
class CPopMacroSetWnd final : public skin::SkinWindow, public skin::TextQuery {
public:
    static constexpr const char* kTitle = "MacroMotifyWnd";

    CPopMacroSetWnd(const MacroStore& store, const LanguageTexts& texts, const macroui::MacroItem& item);
    ~CPopMacroSetWnd() override;

    std::string GetSkinFile() override { return "popmacroset.xml"; }
    std::string GetWindowClassName() const override { return "CPopMacroSetWnd"; }
    void InitWindow() override;
    void Notify(skin::Notification& notification) override;
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;
    std::optional<std::string> QueryControlText(std::string_view textId, std::string_view controlClass) override;

    // The keyboard layout changed: the shown key name follows it.
    void OnKeyNamesChanged() { dialog_.OnKeyNamesChanged(); }
    macroui::MacroItemDialog& Logic() { return dialog_; }

private:
    void Finish(bool apply);
    void RestoreTextSource();

    const LanguageTexts& texts_;
    macroui::MacroItem item_;
    macroui::WindowKeyGrab grab_;
    macroui::MacroItemDialog dialog_;
    skin::TextQuery* previousTextSource_ = nullptr;
    bool finished_ = false;
};

}  // namespace mousecfg::app
