#include "app/macro/CPopMacroSetWnd.h"

#include "app/LanguageTexts.h"
#include "app/ShellMessages.h"
#include "macro/MacroStore.h"
#include "skin/SkinResources.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {
namespace {

bool IsKeyMessage(uint32_t id) {
    return id == skin::msg::kKeyDown || id == skin::msg::kKeyUp || id == skin::msg::kSysKeyDown ||
           id == skin::msg::kSysKeyUp;
}

}  // namespace

CPopMacroSetWnd::CPopMacroSetWnd(const MacroStore& store, const LanguageTexts& texts, const macroui::MacroItem& item)
    : texts_(texts),
      item_(item),
      grab_(this),
      dialog_(GetPaintManager(), [&store]() -> const KeyNames& { return store.keyNames(); }, grab_,
              [this](std::string_view key) { return QueryControlText(key, {}); }) {}

CPopMacroSetWnd::~CPopMacroSetWnd() {
    RestoreTextSource();
}

void CPopMacroSetWnd::InitWindow() {
    previousTextSource_ = skin::SkinResources::GetTextQueryInterface();
    skin::SkinResources::SetTextQueryInterface(this);
    GetPaintManager().ReloadText();
    if (!texts_.FontName().empty()) {
        GetPaintManager().SetFontFamilyForAll(texts_.FontName());  // the language's face, as the main window has
    }
    dialog_.Open(item_);
}

void CPopMacroSetWnd::RestoreTextSource() {
    if (skin::SkinResources::GetTextQueryInterface() == this) {
        skin::SkinResources::SetTextQueryInterface(previousTextSource_);
    }
}

std::optional<std::string> CPopMacroSetWnd::QueryControlText(std::string_view textId,
                                                             std::string_view /*controlClass*/) {
    if (auto text = texts_.Find("MacroPopUI", textId)) {
        return text;
    }
    return texts_.Find("OthersUI", textId);
}

void CPopMacroSetWnd::Notify(skin::Notification& notification) {
    switch (dialog_.Notify(notification)) {
        case macroui::MacroItemDialog::Outcome::Apply: Finish(true); break;
        case macroui::MacroItemDialog::Outcome::Cancel: Finish(false); break;
        case macroui::MacroItemDialog::Outcome::None: break;
    }
}

intptr_t CPopMacroSetWnd::HandleCustomMessage(const Message& message, bool& handled) {
    handled = false;
    if (IsKeyMessage(message.id)) {
        if (dialog_.OnKey(static_cast<int>(message.id), skin::msg::ScanCodeOf(message.lParam))) {
            handled = true;  // a captured key does nothing else
            return 0;
        }
        if (message.id == skin::msg::kKeyDown && message.wParam == skin::msg::kVkReturn) {
            Finish(true);
        } else if (message.id == skin::msg::kKeyDown && message.wParam == skin::msg::kVkEscape) {
            Finish(false);
        }
        // Enter and Space never press the focused control of the dialog.
        handled = message.id == skin::msg::kKeyDown &&
                  (message.wParam == skin::msg::kVkReturn || message.wParam == skin::msg::kVkSpace);
    } else if (message.id == skin::msg::kActivate && message.wParam == 0) {
        dialog_.StopCapture();
    } else if (message.id == skin::msg::kClose) {
        Finish(false);
        handled = true;
    }
    return 0;
}

void CPopMacroSetWnd::Finish(bool apply) {
    if (finished_) {
        return;
    }
    finished_ = true;
    dialog_.StopCapture();
    if (apply) {
        item_ = dialog_.Result();
    }
    if (skin::SkinWindow* parent = GetParent()) {
        parent->Send(apply ? Message{msg::kMacroItemApplied, static_cast<uintptr_t>(item_.mode),
                                     reinterpret_cast<intptr_t>(&item_), {}}
                           : Message{msg::kMacroItemCancelled, 0, 0, {}});
    }
    RestoreTextSource();
    Close(apply ? 1 : 0);
}

}  // namespace mousecfg::app
