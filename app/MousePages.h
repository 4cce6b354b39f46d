#pragma once

#include <filesystem>

#include "platform/MessageSink.h"

namespace mousecfg::skin {
class SkinWindow;
struct Notification;
}  // namespace mousecfg::skin

namespace mousecfg::app {

class LanguageTexts;

// The mouse configuration pages (key page, DPI and sensor page, lighting page) as the main window drives them.
// Their controls live in the main window's skin ("ver_mousepage", "ver_mousekeysel", "ver_mousehid", ...).
// UI thread only.
class MousePages {
public:
    virtual ~MousePages() = default;

    // Builds the pages' controls and texts from the skin folder: at "windowinit" and after a skin switch.
    virtual void Initialise(skin::SkinWindow& window, const std::filesystem::path& skinFolder) = 0;
    // A device of the model in `modelFolder` was selected (its position files are loaded here); `ble` when the
    // BLE path is active.
    virtual void SelectDevice(const std::filesystem::path& modelFolder, bool ble) = 0;
    // Every notification the page router gives the mouse pages, including "MyMenuClick" (Import, Export, Reset),
    // "WM_RecordKey", "mouseleave", "PopSetValue" and "popcolor_ok" (lParam the colour).
    virtual void Notify(skin::Notification& notification) = 0;
    // The main window's messages, before its own handling: key messages while a key is being recorded, the
    // application losing the focus, clicks and the cursor leaving. True when the pages took the message (the
    // window then does nothing more with it).
    virtual bool HandleWindowMessage(const Message& /*message*/) { return false; }
    // What the mouse reported with its own buttons: 2031 (DPI level), 2032 (profile), 2040 (lighting mode),
    // 2041 (report rate), 2069 (DPI value). Only for a linked device and not while rebuilding. Also the relays of
    // the sensor and power options (2060 .. 2074) once the main window has taken them.
    virtual void OnDeviceEvent(const Message& message) = 0;
    // The connection display ran: `connected`, and whether the link is the cable.
    virtual void OnConnectionChanged(bool connected, bool cable) = 0;
    // The language changed: message texts of section "Mouse" and the pages' texts.
    virtual void SetLanguage(const LanguageTexts& texts) = 0;
    // Set while the main window rebuilds its skin (device events and option notifications are ignored then).
    virtual void SetRebuilding(bool rebuilding) = 0;
    virtual bool Rebuilding() const = 0;
    // The macro page was chosen after the mouse page: leave the key selection.
    virtual void LeaveKeySelection() = 0;
    // The mouse page was chosen again: re-open the assignment panel for the selected key button.
    virtual void ReopenKeySelection() = 0;
};

}  // namespace mousecfg::app
