#include "app/macro/MacroEditorPage.h"

#include "app/DeviceConfiguration.h"
#include "app/ShellMessages.h"
#include "app/macro/CPopMacroSetWnd.h"
#include "macro/MacroStore.h"
#include "skin/SkinWindow.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {

MacroEditorPage::MacroEditorPage(DeviceConfiguration& configuration)
    : store_(configuration.Macros()),
      recorder_(store_, clock_, grab_),
      editor_(store_, recorder_, boxes_, *this) {}

MacroEditorPage::~MacroEditorPage() = default;

void MacroEditorPage::Initialise(skin::SkinWindow& window, const std::filesystem::path& skinFolder) {
    window_ = &window;
    grab_.SetWindow(&window);
    boxes_.SetParent(&window, {});
    editor_.Initialise(window, skinFolder);
}

void MacroEditorPage::Notify(skin::Notification& notification) {
    editor_.Notify(notification);
}

void MacroEditorPage::OnKeyMessage(const Message& message) {
    editor_.OnKey(static_cast<int>(message.id), static_cast<int>(message.wParam),
                  skin::msg::ScanCodeOf(message.lParam), skin::msg::IsAutoRepeat(message.lParam));
}

void MacroEditorPage::StopRecording() {
    editor_.StopRecording();
    if (dialog_ != nullptr) {
        dialog_->Close(0);
    }
}

void MacroEditorPage::OnFocusLost() {
    editor_.StopRecording();
}

void MacroEditorPage::Refresh() {
    editor_.Refresh();
}

void MacroEditorPage::ReloadDocument() {
    editor_.ReloadDocument();
}

void MacroEditorPage::SetLanguage(const LanguageTexts& texts, int /*languageIndex*/) {
    texts_ = texts;
    const auto messages = [this](std::string_view key) -> std::optional<std::string> {
        return texts_.Find("Macro", key);
    };
    const auto controls = [this](std::string_view key) { return texts_.Lookup(key, true, true); };
    editor_.SetTexts(macroui::MacroPageTexts::From(messages, controls));
    editor_.Refresh();
}

void MacroEditorPage::OnRightClick(skin::Point client) {
    editor_.OnRightClick(client);
}

void MacroEditorPage::SetKeyNames(KeyNames keyNames) {
    store_.SetKeyNames(std::move(keyNames));
    editor_.Refresh();
    if (dialog_ != nullptr) {
        dialog_->OnKeyNamesChanged();
    }
}

void MacroEditorPage::OpenItemDialog(const macroui::MacroItem& item) {
    if (window_ == nullptr || dialog_ != nullptr) {
        return;
    }
    CPopMacroSetWnd dialog(store_, texts_, item);
    if (!dialog.Create(window_, CPopMacroSetWnd::kTitle, skin::style::kWsPopup, skin::style::kWsExToolWindow)) {
        return;
    }
    dialog.CenterWindow();
    dialog_ = &dialog;
    dialog.ShowModal();
    dialog_ = nullptr;
}

void MacroEditorPage::MacrosChanged() {
    if (window_ != nullptr) {
        window_->Post(Message{msg::kMacrosChanged, 0, 0, {}});
    }
}

}  // namespace mousecfg::app
