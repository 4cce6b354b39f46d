#pragma once

#include <filesystem>

#include "platform/MessageSink.h"
#include "skin/Geometry.h"

namespace mousecfg::skin {
class SkinWindow;
struct Notification;
}  // namespace mousecfg::skin

namespace mousecfg::app {

class LanguageTexts;

// The macro editor page of the main window ("tab_main" page 1). UI thread only.
class MacroPage {
public:
    virtual ~MacroPage() = default;

    virtual void Initialise(skin::SkinWindow& window, const std::filesystem::path& skinFolder) = 0;
    // Notifications routed to the macro page, including "macsetclose" and "macsetcancel" of the item dialog.
    virtual void Notify(skin::Notification& notification) = 0;
    // Key messages (and 2029, the Tab key) for the recorder while a macro is being recorded.
    virtual void OnKeyMessage(const Message& message) = 0;
    // The mouse is gone: a recording ends, the item dialog closes.
    virtual void StopRecording() = 0;
    // The application lost the focus (message kActivate with wParam 0): a recording ends.
    virtual void OnFocusLost() = 0;
    // A right button release at a client point of the main window while the macro page is shown.
    virtual void OnRightClick(skin::Point client) = 0;
    // Skin or language change: rebuild the tree and the list.
    virtual void Refresh() = 0;
    // Message 2047: the macro document changed on disk (import, reset); reload it and keep the selection.
    virtual void ReloadDocument() = 0;
    virtual void SetLanguage(const LanguageTexts& texts, int languageIndex) = 0;
};

}  // namespace mousecfg::app
