#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/settings/SettingStore.h"
#include "app/MsgWndBoxes.h"
#include "skin/SkinWindow.h"
#include "skin/TextQuery.h"

namespace mousecfg {
class CommandSet;
class MessageBoxes;
class UrlOpener;
}  // namespace mousecfg

namespace mousecfg::app {

class LanguageTexts;

// What the main window hands the settings window before it is created. Everything referred to outlives the
// window.
struct SettingContext {
    std::filesystem::path settingsFile;
    SettingStore::Writer writer;            // none: the private-profile write (tests put a failing one here)
    const LanguageTexts* texts = nullptr;   // the main window's texts, kept current by it; none: the skin's
    int sensorOptionType = -1;              // the model's sensor chip; -1 while no device is loaded
    int closeOption = 0;                    // "CloseConfig" values of the main window
    int remind = 0;
    std::function<bool()> busy;             // a connection update or an apply run is under way
    bool settingNotice = false;             // the marks "setting_red_point" and "setting_about_red_point"
    bool aboutNotice = false;
    CommandSet* commands = nullptr;         // reads the mouse's charge counter; none: no counter
    std::filesystem::path program;          // the autostart entry's program
    std::filesystem::path autostartFolder;  // where the entry goes; empty: no entry is written
    UrlOpener* urls = nullptr;              // opens the "link_" addresses
    MessageBoxes* boxes = nullptr;          // tells about settings that could not be saved; none: message window
    std::string version;                    // the installed version, shown on the about page
};

// The settings window: the application options (autostart, start hidden, DPI pop-up, global lighting control,
// low-battery notice, language, close behaviour) and the device options the mouse keeps (power saving, sleep
// and power-down times, straight-line correction, ripple control, lift-off height), the mouse's charge counter,
// links and the software update. Every option is written to section "Set" of the settings file at once and
// told to the main window (its parent) by a numbered message; the main window relays device options to the
// apply engine. A value that cannot be written is not sent: the controls go back to what the file holds and the
// user is told. The window is the skin library's text source while it is open. UI thread.
class Setting final : public skin::SkinWindow, public skin::TextQuery {
public:
    explicit Setting(SettingContext context);
    ~Setting() override;

    std::string GetSkinFile() override { return "setting.xml"; }
    std::string GetWindowClassName() const override { return "setting"; }
    void InitWindow() override;
    void Notify(skin::Notification& notification) override;
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;
    std::optional<std::string> QueryControlText(std::string_view textId, std::string_view controlClass) override;

    // Closes the window after telling the main window (message 2056), as its close button does.
    void CloseWindow();

    const SettingStore& Store() const { return store_; }

private:
    // SettingInit.cpp: "windowinit" and the refreshes of the pages.
    void FillControls();
    void ShowSensorRows();
    void ShowDeviceOptions();
    void ShowGeneralOptions();
    void ShowLanguage();
    void ShowChargeCount();
    void ShowCloseOption();
    void HideUnusableLinks();
    void ApplyLanguageLook();

    // Setting.cpp: notifications.
    void OnClick(const std::string& name);
    void OnSelectChanged(const std::string& name, skin::Control* sender);
    void OnPageButton(const std::string& name);
    void OnAutostart();
    void OnStartHidden();
    void OnToggle(const char* control, std::string_view key);
    void OnLanguage();
    void OnLink(const std::string& name);
    void OnUpdate();

    // SettingTimes.cpp: the sleep and power-down sliders and edits.
    struct TimeControls;
    static const TimeControls kSleepControls;
    static const TimeControls kPowerDownControls;
    void OnTimeNotification(const skin::Notification& notification);
    // The stored times, held in their sliders' ranges.
    void ShowStoredTimes();
    void OnSlider(const TimeControls& controls, bool released);
    void OnTimeEdit(const TimeControls& controls);
    void ShowTime(const TimeControls& controls, int value);
    int ClampToSlider(const TimeControls& controls, int value) const;

    // Writes one key; a failure is remembered for ReportFailures (when `report`) and false is returned.
    bool Write(std::string_view key, int value, bool report = true);
    // After a failed write: the controls show the file again and the user is told (once per failure).
    void ReportFailures();
    int SetAutostartEntry(bool enable);
    void SendToParent(uint32_t id, uintptr_t wParam, intptr_t lParam, std::string text = {});
    void SetVisible(const char* name, bool visible);
    void SetText(const char* name, const std::string& text);
    MessageBoxes& Boxes() { return context_.boxes != nullptr ? *context_.boxes : ownBoxes_; }

    SettingContext context_;
    SettingStore store_;
    MsgWndBoxes ownBoxes_;  // the program's message window over this one
    bool filling_ = false;         // the window is filling its controls: their notifications are its own
    std::string failure_;          // the last write failure not yet reported
    bool failureQueued_ = false;
    bool closing_ = false;
};

}  // namespace mousecfg::app
