#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "config/MousePages.h"
#include "config/ui/KeyAssignPanel.h"
#include "config/ui/KeyPage.h"
#include "config/ui/PageChangeFlags.h"
#include "config/ui/PageContext.h"
#include "config/ui/PageTexts.h"
#include "config/ui/SettingsPage.h"
#include "platform/Status.h"

namespace mousecfg {
struct Message;
}  // namespace mousecfg

namespace mousecfg::skin {
struct Notification;
}  // namespace mousecfg::skin

namespace mousecfg::ui {

// The mouse pages as one object: the key page (KeyPage) with the button assignment panel (KeyAssignPanel), the
// DPI/sensor page and the lighting page (SettingsPage seams, see SettingsPages.h). The main window hands it every
// notification of the mouse pages; Notify distributes them by type and sender name, first match wins:
//
//   any notification of a panel control, and "WM_RecordKey"  -> the assignment panel
//   "setfocus" on "btn_MouseAdv_Color..." / "btn_MouseLed_ColVal..." -> the colour picker opens
//   "mouseenter", "mouseleave"                               -> the key page (highlight, the wheel's tip)
//   "killfocus", "return"                                    -> the pages' edit handlers
//   "click"                                                  -> the click table (OnClick)
//   "selectchanged"                                          -> the pages' option handlers
//   "valuechanged", "movevaluechanged"                       -> the pages' slider handlers
//   "MyMenuClick"                                            -> import, export, reset ("More" menu)
//   "itemselect"                                             -> the profile selector, the pages' list handlers
//   "PopSetValue", "popcolor_ok"                             -> the popup results
//
// While a page changes its own controls (PageChangeFlags) the notifications those changes raise are dropped; while
// the main window rebuilds its skin (SetRebuilding) no option or list notification is handled.
//
// It is also what the mouse configuration shows itself in (mousecfg::MousePages), and it places a device's
// position files when the device is selected. UI thread only.
class PageRouter final : public mousecfg::MousePages {
public:
    // Everything must outlive the router. The DPI/sensor page and the lighting page are those of SettingsPages.h
    // unless others are given.
    PageRouter(skin::SkinWindow& window, PageSession& session, PageHost& host, MessageBoxes& boxes,
               ProgramLauncher& launcher, std::unique_ptr<SettingsPage> advanced = nullptr,
               std::unique_ptr<SettingsPage> lighting = nullptr);
    ~PageRouter() override;

    // The skin's controls exist (at "windowinit" and after a skin switch); `skinFolder` is the skin in use.
    void Initialise(const std::filesystem::path& skinFolder);
    // A device of the model in `modelFolder` was selected: its position files are placed (a missing one shows the
    // "Json Warn" message and the skin's layout stays) and the key page takes the model's marks. `ble` while the
    // BLE path is active.
    void SelectDevice(const std::filesystem::path& modelFolder, bool ble);
    void Notify(skin::Notification& notification);
    // Messages of the main window the pages take before it: key messages while a key is being recorded, the
    // application losing the focus, the cursor leaving the controls. True when handled (not to be handled
    // further).
    bool HandleWindowMessage(const Message& message);
    // 2031, 2032, 2040, 2041, 2069: what the mouse reported with its own buttons.
    void OnDeviceEvent(const Message& message);
    void OnConnectionChanged(bool connected, bool cable);
    void SetTexts(PageTexts texts);
    void SetRebuilding(bool rebuilding) { rebuilding_ = rebuilding; }
    bool Rebuilding() const { return rebuilding_; }
    // The macro page was chosen: the key selection ends. The mouse page was chosen again: the panel re-opens for
    // the selected button.
    void LeaveKeySelection();
    void ReopenKeySelection();

    // mousecfg::MousePages
    void ShowProfileSelector(int profile) override;
    void RefreshPages(int profile) override;
    void ReinitAssignmentPopup() override;
    void ShowLightingMode(int mode) override;
    void ShowDpiLevel(int level) override;
    void ShowRate(int index) override;
    void RefreshButtonLabels() override;
    void ApplyFinished() override;

    KeyPage& Keys() { return keyPage_; }
    KeyAssignPanel& Panel() { return panel_; }
    SettingsPage& Advanced() { return *advanced_; }
    SettingsPage& Lighting() { return *lighting_; }
    PageChangeFlags& Changes() { return changes_; }
    const PageContext& Context() const { return context_; }
    // The colour button whose picker is open ("" when none was opened).
    const std::string& ColourButton() const { return colourButton_; }

private:
    void OnClick(skin::Notification& notification);
    void OnMenuItem(const std::string& item);
    void OnItemSelect(skin::Notification& notification);
    void OpenColourPicker(skin::Notification& notification);
    template <class Call>
    void ForEachPage(Call call) {
        call(*advanced_);
        call(*lighting_);
    }

    PageChangeFlags changes_;
    PageTexts texts_;
    PageContext context_;
    std::unique_ptr<SettingsPage> advanced_;
    std::unique_ptr<SettingsPage> lighting_;
    KeyAssignPanel panel_;
    KeyPage keyPage_;
    std::filesystem::path skinFolder_;
    std::string colourButton_;
    bool rebuilding_ = false;
};

}  // namespace mousecfg::ui
