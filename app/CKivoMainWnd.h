#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CMsgWnd.h"
#include "app/CPopPush.h"
#include "app/DeviceConfiguration.h"
#include "app/ExtraFonts.h"
#include "app/LanguageTexts.h"
#include "app/MsgWndBoxes.h"
#include "app/ShellServices.h"
#include "app/ShellSettings.h"
#include "app/settings/BatteryNotice.h"
#include "device/ConnectionRefresh.h"
#include "skin/ContextMenu.h"
#include "skin/SkinWindow.h"
#include "skin/TextQuery.h"
#include "skin/TrayIcon.h"

namespace mousecfg {
class ConnectionMonitor;
}  // namespace mousecfg

namespace mousecfg::app {

class CCloseWnd;

// The program's one top-level window: the main skin with the connection indicator, battery and charge state and
// the page buttons; the device selection; the mouse and macro pages behind the page router; the tray icon and
// its menu; the popups; the single receiver of the program's private messages, which it routes to the pages,
// the connection monitor and the device configuration. It also decides what closing means (hide to the tray or
// exit) and how a silent start behaves. Everything runs on the UI thread.
//
// Its handlers are spread over several files: CKivoMainWnd.cpp (creation, notifications, start-up),
// MainWndMessages.cpp (window messages), MainWndConnection.cpp (connection, battery, DPI pop-up),
// MainWndTray.cpp (tray, close, exit), MainWndSkin.cpp (skin switch, language, fonts).
class CKivoMainWnd final : public skin::SkinWindow, public skin::TextQuery, public ApplyHost {
public:
    static constexpr int kWidth = 990;
    static constexpr int kHeight = 690;

    explicit CKivoMainWnd(ShellServices services);
    ~CKivoMainWnd() override;

    std::string GetSkinFile() override { return "MainWnd.xml"; }
    std::string GetWindowClassName() const override { return services_.instanceName; }
    std::unique_ptr<skin::Control> CreateControl(std::string_view className) override;
    void InitWindow() override;
    void Notify(skin::Notification& notification) override;
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;
    std::optional<std::string> QueryControlText(std::string_view textId, std::string_view controlClass) override;
    void ShowApplyProgress(bool show, bool full) override;
    void ShowApplySteps(int done, int total) override;

    // Creates the window, 990 x 690 whatever the skin says, centred on the screen, and shows it.
    bool CreateMainWindow();
    // Ends the device threads and the device-change notification; afterwards the window drops messages. Called
    // before the window goes (the destructor does it too).
    void Shutdown();

    // State, for the start-up and for tests.
    bool HiddenToTray() const { return hiddenToTray_; }
    int CloseOption() const { return closeOption_; }
    int Remind() const { return remind_; }
    int LanguageIndex() const { return languageIndex_; }
    const std::string& SkinPrefix() const { return skinPrefix_; }
    const LanguageTexts& Texts() const { return texts_; }
    const std::string& FontFace() const { return fontFace_; }
    const ExtraFonts& Fonts() const { return fonts_; }
    const std::map<std::string, int>& PublicLed() const { return publicLed_; }
    ConnectionMonitor& Monitor() { return *monitor_; }
    CMsgWnd* MessageWindow() const { return msgWnd_.get(); }
    CPopPush* DpiPopup() const { return dpiPopup_.get(); }
    CCloseWnd* ClosePopup() const { return closePopup_; }
    bool ConnectionUpdating() const { return connectionUpdating_; }
    std::string CurrentDeviceName() const;
    // The selected device's name as the catalogue gives it: what configuration files and macro bindings name.
    std::string ModelName() const;

private:
    // CKivoMainWnd.cpp
    void RouteToPages(skin::Notification& notification);
    void OnClick(skin::Notification& notification);
    void OnWindowInit();
    void StartDevices();
    void ReadWindowSettings();
    void ClickDevice(int index);
    void OnPageButtonMac();
    void OnPageButtonNull();
    void OnDisplayButton();
    void OnSettingsButton();
    void OpenServerPage(const std::string& path);
    void OpenManual();
    void ShowLinkButtons();
    void SetVisible(const char* name, bool visible);
    void SetEnabled(const char* name, bool enabled);
    bool IsSelected(const char* name) const;

    // MainWndMessages.cpp
    bool HandleStandardMessage(const Message& message, intptr_t& result);
    bool HandlePrivateMessage(const Message& message, intptr_t& result);
    bool HandleRelayMessage(const Message& message);
    void OnDeviceEvent(const Message& message);
    void OnApplyRequest(const Message& message);
    void Relay(int item, PendingSetting setting);
    void RelayHeldSettings();
    void OnDeviceConfig(const Message& message);
    void OnLanguageChange(const std::string& name);
    void OnCloseConfig(const Message& message);
    void OnSettingsClosed();
    void OnSoftwareUpdate(const Message& message);
    void OnKeyMessage(const Message& message);
    void RaiseToPages(const char* type, const Message& message);

    // MainWndConnection.cpp
    intptr_t OnConnectionRefresh(uintptr_t wParam, intptr_t lParam);
    void ShowBattery(const BatteryDisplay& battery);
    void ClearBattery();
    void RunConnectionDisplay(bool reloadPages);
    void ShowConnected(bool reloadPages);
    void ShowDisconnected();
    void SetConnectionImage();
    void ShowNoDeviceMessage();
    void OnBleMessage(const Message& message);
    void NotifyLowBattery(int percent);
    bool IsLinked(intptr_t deviceIndex) const;
    bool IsLinkUp() const;
    void ShowDpiPopup(bool onlyRefresh);
    std::optional<DpiPopupValues> CurrentDpiValues() const;

    // MainWndTray.cpp
    void CreateTrayIcon();
    void OnTrayIcon(intptr_t mouseMessage);
    void OnTrayMenu(const std::string& item);
    void RestoreFromTray(bool sendRefresh, bool raise);
    void OnCloseButton();
    void OnMinimizeButton();
    void CloseNow();
    void Exit();
    void HideToTray();
    void HideOrMinimize();
    void SaveConfiguration();
    void CloseMessageWindow();
    CMsgWnd* ShowMessageWindow(const MsgTexts& texts, int style, int kind);
    void MessageWindowGone(CMsgWnd* window);
    void OnSilentStart();
    void SetOverlay(bool show);

    // MainWndSkin.cpp
    void SwitchSkin();
    void BuildPages();
    void CreateDpiPopup();
    void ApplyLanguage(int index);
    void ApplyControlFonts();
    void ChooseFontFace();
    void ApplyFontFace();
    void ApplyFontFace(skin::SkinWindow& window) const;
    void ShowBanner();
    std::string SkinFolderName() const;

    ShellServices services_;
    ShellSettings settings_;
    MsgWndBoxes boxes_;
    std::unique_ptr<ConnectionMonitor> monitor_;
    LanguageTexts texts_;
    ExtraFonts fonts_;
    skin::TrayIcon tray_;
    skin::ContextMenu trayMenu_;
    std::unique_ptr<CPopPush> dpiPopup_;
    // The non-modal message window (at most one), and those closed whose native window is going: they are
    // destroyed from the event loop, never inside one of their own handlers.
    std::unique_ptr<CMsgWnd> msgWnd_;
    std::vector<std::unique_ptr<CMsgWnd>> closedWindows_;
    CCloseWnd* closePopup_ = nullptr;  // while the modal close popup runs
    std::string skinPrefix_;
    std::string preResPath1_;
    std::string preResPath2_;
    bool keySelLedVisible_ = true;
    int closeOption_ = 0;
    int remind_ = 0;
    bool silentStart_ = false;
    bool hiddenToTray_ = false;
    int languageIndex_ = 1;
    std::string fontFace_;  // the faces chosen for the language, comma-separated
    int languageWritten_ = -1;
    std::map<std::string, int> publicLed_;
    int currentDevice_ = 0;
    std::string currentFolder_ = "NULL";
    bool folderLoadedOverBle_ = false;  // the model was loaded with the BLE path active
    std::string currentPageButton_ = "btn_Null";
    bool connectionUpdating_ = false;
    // Settings relayed while an apply run was under way: they are in Set.ini and reach the mouse after the run.
    std::vector<std::pair<int, PendingSetting>> heldRelays_;
    bool centredOnce_ = false;
    bool charging_ = false;
    skin::Rect savedRect_;
    skin::Color batteryColour_ = 0;
    std::optional<BatteryDisplay> lastBattery_;
    BatteryNotice batteryNotice_;
    bool shutDown_ = false;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // expires with the window; guards deferred tasks
};

}  // namespace mousecfg::app
