#pragma once

#include <memory>

#include "app/LanguageTexts.h"
#include "app/MacroPage.h"
#include "app/MsgWndBoxes.h"
#include "macro/MacroRecorder.h"
#include "macro/ui/MacroEditor.h"
#include "macro/ui/MonotonicClock.h"
#include "macro/ui/WindowKeyGrab.h"

namespace mousecfg {
class KeyNames;
class MacroStore;
}  // namespace mousecfg

namespace mousecfg::app {

class CPopMacroSetWnd;
class DeviceConfiguration;

// The macro page of the main window: the macro editor (macro/ui) on the main window's controls, working on the
// macro document of the device configuration, recording with a keyboard grab of the main window and a monotonic
// clock, the item dialog (CPopMacroSetWnd) as a modal window over the main window, and message 2073 to the main
// window when the mouse must be given the macros again. UI thread only.
class MacroEditorPage final : public MacroPage, private macroui::MacroPageHost {
public:
    explicit MacroEditorPage(DeviceConfiguration& configuration);
    ~MacroEditorPage() override;

    void Initialise(skin::SkinWindow& window, const std::filesystem::path& skinFolder) override;
    void Notify(skin::Notification& notification) override;
    void OnKeyMessage(const Message& message) override;
    // Ends a recording and closes the item dialog: the mouse is gone or the application lost the focus.
    void StopRecording() override;
    void OnFocusLost() override;
    void Refresh() override;
    void ReloadDocument() override;
    void SetLanguage(const LanguageTexts& texts, int languageIndex) override;
    void OnRightClick(skin::Point client) override;
    // The keyboard layout changed: item texts and the dialog's key name follow `keyNames`.
    void SetKeyNames(KeyNames keyNames);

    macroui::MacroEditor& Editor() { return editor_; }
    // The item dialog while it is open; none otherwise.
    CPopMacroSetWnd* ItemDialog() const { return dialog_; }

private:
    void OpenItemDialog(const macroui::MacroItem& item) override;
    void MacrosChanged() override;

    MacroStore& store_;
    skin::SkinWindow* window_ = nullptr;
    LanguageTexts texts_;
    macroui::MonotonicClock clock_;
    macroui::WindowKeyGrab grab_;
    MacroRecorder recorder_;
    MsgWndBoxes boxes_;
    macroui::MacroEditor editor_;
    CPopMacroSetWnd* dialog_ = nullptr;
};

}  // namespace mousecfg::app
