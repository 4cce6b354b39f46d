#pragma once

#include <string>

#include "skin/Color.h"

namespace mousecfg {
struct Message;
}  // namespace mousecfg

namespace mousecfg::skin {
struct Notification;
}  // namespace mousecfg::skin

namespace mousecfg::ui {

struct PageContext;

// A page of the mouse pages that the page router drives besides the key page: the DPI, report-rate and sensor
// page and the lighting page. The router (PageRouter) hands it the notifications of the mouse pages by their type,
// as the routing table says, and what the configuration and the mouse ask of the pages; every method does nothing
// by default, so a page overrides only what it handles. Pages ignore senders that are not theirs: every page
// sees every notification of a kind. UI thread only.
//
// Plugging a page in: write the class in config/ui/ and return it from MakeAdvancedPage or MakeLightingPage
// (config/ui/SettingsPages.cpp); nothing else changes.
//
// Where the notifications come from:
//   - "click" on a sender the router's own click table does not take (its table hands "chk_MouseAdv_PDIEn..."
//     and "chk_MouseLed_ColEn..." to the pages as well; the latter not while selections are being changed);
//   - "selectchanged" and "itemselect": not while a page changes selections itself (PageChangeFlags), nor while
//     the main window rebuilds its skin ("itemselect" of the profile selector is the router's);
//   - "killfocus" and "return" of edits: not while a page changes edits itself; after "return" the router moves
//     the focus to "btn_Macro_Temp";
//   - "valuechanged" and "movevaluechanged" of sliders;
//   - "PopSetValue" (message 2028) after the key page's own handling;
//   - the colour picker: "setfocus" on a control named "btn_MouseAdv_Color..." or "btn_MouseLed_ColVal..." opens
//     it with the control's background colour; its "popcolor_ok" arrives as OnColourPicked with that name.
class SettingsPage {
public:
    virtual ~SettingsPage() = default;

    // The controls of the skin exist: at "windowinit" and again after each skin switch. `context` outlives the page.
    virtual void Initialise(PageContext& /*context*/) {}
    // A device was selected and the model's position files were placed; `ble` while the BLE path is active.
    virtual void DeviceSelected(bool /*ble*/) {}
    // The language changed (context.texts holds the new texts).
    virtual void LanguageChanged() {}

    // Notifications by kind. OnClick returns true when the click was the page's.
    virtual bool OnClick(skin::Notification& /*notification*/) { return false; }
    virtual void OnSelectChanged(skin::Notification& /*notification*/) {}
    virtual void OnItemSelect(skin::Notification& /*notification*/) {}
    virtual void OnValueChanged(skin::Notification& /*notification*/) {}
    virtual void OnEditDone(skin::Notification& /*notification*/) {}
    virtual void OnPopupResult(skin::Notification& /*notification*/) {}
    virtual void OnColourPicked(const std::string& /*button*/, skin::Color /*colour*/) {}

    // What the mouse reported with its own buttons: 2031 (DPI level; the router has already set the document's
    // current level), 2040 (lighting mode), 2041 (report rate), 2069 (DPI value). Not while rebuilding.
    virtual void OnDeviceEvent(const Message& /*message*/) {}
    // The connection display ran: `connected`, and whether the link is the cable.
    virtual void OnConnectionChanged(bool /*connected*/, bool /*cable*/) {}

    // What the configuration asks of the pages: show `profile` again (after a load, a profile switch, an import or
    // a reset), and programmatic selections that request no write.
    virtual void Refresh(int /*profile*/) {}
    virtual void ShowLightingMode(int /*mode*/) {}
    virtual void ShowDpiLevel(int /*level*/) {}
    virtual void ShowRate(int /*index*/) {}
    // An apply run finished: a change made while it ran can be written now.
    virtual void ApplyFinished() {}
};

}  // namespace mousecfg::ui
