#include "app/CKivoMainWnd.h"

#include "app/CCloseWnd.h"
#include "app/CMsgWnd.h"
#include "app/LanguageTable.h"
#include "app/MacroPage.h"
#include "app/MousePages.h"
#include "app/ShellMessages.h"
#include "device/BleLink.h"
#include "device/CommandSet.h"
#include "device/ConnectionMonitor.h"
#include "device/DeviceMessages.h"
#include "device/FindDev.h"
#include "layout/PageBuilder.h"
#include "platform/Autostart.h"
#include "platform/FontRegistry.h"
#include "platform/PrivateProfile.h"
#include "platform/TextEncoding.h"
#include "platform/Trace.h"
#include "platform/UrlOpener.h"
#include "skin/ControlFactory.h"
#include "skin/Option.h"
#include "skin/SkinResources.h"
#include "skin/TabLayout.h"
#include "skin/WindowHost.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {
namespace {

constexpr uint32_t kMainStyle = skin::style::kWsPopup | skin::style::kWsClipSiblings | skin::style::kWsClipChildren |
                                skin::style::kWsCaption | skin::style::kWsSysMenu | skin::style::kWsMinimizeBox;

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> items) {
    for (std::string_view item : items) {
        if (text == item) {
            return true;
        }
    }
    return false;
}

}  // namespace

CKivoMainWnd::CKivoMainWnd(ShellServices services)
    : services_(std::move(services)),
      settings_(services_.paths.SettingsFile()),
      skinPrefix_(services_.skinPrefix) {
    boxes_.SetParent(this, [this](const MsgTexts& texts, bool singleButton) {
        if (CMsgWnd* window = ShowMessageWindow(texts, 0, 0); window != nullptr && singleButton) {
            window->HideCancel();
        }
    });
    monitor_ = std::make_unique<ConnectionMonitor>(
        MonitorServices{services_.catalogue, services_.commands, *this, *this, boxes_,
                        services_.configuration.StateModel(), services_.bleRegistrationCheck});
    services_.configuration.Attach(ApplyContext{*this, GetMessageTarget(), *this, boxes_, *monitor_});
}

CKivoMainWnd::~CKivoMainWnd() {
    Shutdown();
    if (skin::SkinResources::GetTextQueryInterface() == this) {
        skin::SkinResources::SetTextQueryInterface(nullptr);
    }
}

bool CKivoMainWnd::CreateMainWindow() {
    // The window is 990 x 690 whatever its skin file says, and centred on the screen.
    if (!Create(nullptr, services_.instanceName, kMainStyle, 0, {0, 0, kWidth, kHeight})) {
        return false;
    }
    CenterWindow();
    ShowWindow(true, true);
    return true;
}

void CKivoMainWnd::Shutdown() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    if (services_.stopDeviceChanges) {
        services_.stopDeviceChanges();
    }
    // Workers that wait in a send to this window are released (with 0) before they are joined.
    DetachMessages();
    monitor_->Shutdown();
    tray_.Delete();
    trayMenu_.Close();
    msgWnd_.reset();
    closedWindows_.clear();
    dpiPopup_.reset();
}

std::unique_ptr<skin::Control> CKivoMainWnd::CreateControl(std::string_view className) {
    return skin::CreateCustomLayout(className);
}

void CKivoMainWnd::InitWindow() {
    CreateDpiPopup();
    languageIndex_ = settings_.Language();
    languageWritten_ = languageIndex_;
    publicLed_ = settings_.PublicLed();
    fonts_.Register(services_.paths.ExtraFontsFile(), services_.paths.programFolder, services_.fonts);
    ApplyLanguage(languageIndex_);
    ShowBanner();
}

void CKivoMainWnd::Notify(skin::Notification& notification) {
    RouteToPages(notification);
    if (notification.type == skin::notify::kWindowInit) {
        OnWindowInit();
    } else if (notification.type == skin::notify::kClick) {
        OnClick(notification);
    } else if (notification.type == skin::notify::kTabSelect && notification.senderName == "tab_main") {
        skin::SkinResources::SetTextQueryInterface(this);
        skin::SkinResources::ReloadText();
    }
}

void CKivoMainWnd::RouteToPages(skin::Notification& notification) {
    const std::string& sender = notification.senderName;
    if (IsSelected("btn_Mac") && sender != "btn_Mouse_SelProfile" && sender != "btn_Mouse_More") {
        if (notification.type == skin::notify::kMenuClick && IsOneOf(notification.text, {"Import", "Export", "Reset"})) {
            services_.mousePages.Notify(notification);
        } else {
            services_.macroPage.Notify(notification);
        }
    } else if (!sender.empty() || notification.type == "WM_RecordKey") {
        services_.mousePages.Notify(notification);
    }
}

void CKivoMainWnd::OnClick(skin::Notification& notification) {
    const std::string& name = notification.senderName;
    const bool busy = services_.configuration.MacrosChanged();
    if (EqualsIgnoringAsciiCase(name, "btn_set")) {
        if (!busy) {
            OnSettingsButton();
        }
    } else if (name == "guideButton") {
        OpenManual();
    } else if (name == "MacroShareButton") {
        OpenServerPage("/ovikmacro/Macro.html");
    } else if (name == "ChangeSkin") {
        SwitchSkin();
    } else if (name == "btn_close") {
        if (!busy) {
            CloseMessageWindow();
            OnCloseButton();
        }
    } else if (name == "btn_min") {
        if (!busy) {
            OnMinimizeButton();
        }
    } else if (name.find("btn_display") != std::string::npos) {
        OnDisplayButton();
    } else if (name == "btn_Mac") {
        OnPageButtonMac();
    } else if (name == "btn_Null") {
        OnPageButtonNull();
    } else if (name == "modal_popwnd_btn" && services_.openVersionWindow) {
        services_.openVersionWindow(*this);
    }
}

void CKivoMainWnd::OnWindowInit() {
    BuildPages();
    monitor_->StartEventThread();
    silentStart_ = services_.commandLine == "-silent";
    StartDevices();
    if (auto* tabs = Find<skin::TabLayout>("tab_main")) {
        tabs->SelectItem(0);
    }
    if (auto* mouse = Find<skin::Option>("btn_Null")) {
        mouse->Selected(true);
    }
    Post(Message{msg::kSilentStart, 0, 0, {}});
    silentStart_ = false;
    const bool onePage = settings_.OnePageLayout();
    if (onePage) {
        services_.mousePages.ReopenKeySelection();
    }
    SetVisible("btn_Null", !onePage);
    monitor_->StartReaders();
    if (!services_.autostartFolder.empty()) {
        SetAutostart(settings_.AutomaticallyOpen(), settings_.SoftName(), settings_.AutomaticallyHide(),
                     services_.programFile, services_.autostartFolder);
    }
    ReadWindowSettings();
}

// Enumerates the devices, chooses the connection and the first device, registers with the BLE link when no
// mouse is online, and shows the first connection state.
void CKivoMainWnd::StartDevices() {
    services_.catalogue.LoadBleList();
    services_.catalogue.LoadCatalogue();
    if (services_.startDeviceChanges) {
        services_.startDeviceChanges(*this);
    }
    monitor_->SelectActiveDevice(true);
    ClickDevice(monitor_->State().selectedIndex);
    if (monitor_->State().online == 0 && !monitor_->State().bleRegistered) {
        monitor_->BleRegister();
    }
    if (!monitor_->BleActive()) {
        Send(Message{mousecfg::msg::kConnectionRefresh, 0, 1, {}});
    }
}

void CKivoMainWnd::ReadWindowSettings() {
    const std::filesystem::path feature = services_.paths.FeatureFile();
    const std::string ledVisible = ini::GetPrivateProfileString("Config", "KeySelLedVis", "1", feature);
    keySelLedVisible_ = ini::Atoi(ledVisible) != 0;
    preResPath1_ = ini::GetPrivateProfileString("Config", "PreResPath1", "", feature);
    preResPath2_ = ini::GetPrivateProfileString("Config", "PreResPath2", "", feature);
    if (auto* change = Find<skin::Option>("ChangeSkin")) {
        change->Selected(!preResPath2_.empty() && SkinFolderName() == preResPath2_, false);
    }
    closeOption_ = settings_.CloseOption();
    remind_ = settings_.Remind();
    ShowLinkButtons();
}

void CKivoMainWnd::ClickDevice(int index) {
    if (index < 0 || static_cast<size_t>(index) >= services_.catalogue.Count()) {
        return;
    }
    const DeviceRecord record = services_.catalogue.Record(static_cast<size_t>(index));
    if (record.kind != 1) {
        return;
    }
    currentDevice_ = index;
    const bool rebuilding = services_.mousePages.Rebuilding();
    const bool ble = monitor_->BleActive();
    // A mouse that connects over BLE after the model was loaded for the cable or the receiver loads it again:
    // only a load over BLE asks the mouse for its chip, and the pages take their BLE rules from it.
    if (record.folder != currentFolder_ || rebuilding || (ble && !folderLoadedOverBle_)) {
        currentFolder_ = record.folder;
        folderLoadedOverBle_ = ble;
        services_.mousePages.SelectDevice(services_.paths.ModelFolder(record.folder), ble);
        SetVisible("ver_mousepage", true);
        Send(Message{msg::kDeviceConfig, 1, rebuilding ? 3 : 1, {}});
    }
}

void CKivoMainWnd::OnDisplayButton() {
    if (services_.catalogue.Kind(static_cast<size_t>(currentDevice_)) != 1) {
        return;
    }
    SetVisible("btn_Null", true);
    if (auto* mouse = Find<skin::Option>("btn_Null")) {
        mouse->Selected(true);
    }
    currentPageButton_ = "btn_Null";
    if (auto* tabs = Find<skin::TabLayout>("tab_main")) {
        tabs->SelectItem(0);
    }
    ClickDevice(currentDevice_);
}

void CKivoMainWnd::OnPageButtonMac() {
    if (settings_.OnePageLayout()) {
        SetVisible("btn_Mac", false);
        SetVisible("btn_Null", true);
    }
    if (currentPageButton_ == "btn_Null") {
        services_.mousePages.LeaveKeySelection();
    }
    currentPageButton_ = "btn_Mac";
    if (auto* tabs = Find<skin::TabLayout>("tab_main")) {
        tabs->SelectItem(1);
    }
}

void CKivoMainWnd::OnPageButtonNull() {
    currentPageButton_ = "btn_Null";
    ClickDevice(currentDevice_);
    if (settings_.OnePageLayout()) {
        SetVisible("btn_Mac", true);
        SetVisible("btn_Null", false);
    }
    if (auto* tabs = Find<skin::TabLayout>("tab_main")) {
        tabs->SelectItem(0);
    }
    services_.mousePages.ReopenKeySelection();
}

void CKivoMainWnd::OnSettingsButton() {
    if (!services_.openSettings) {
        trace::Write("settings window: not available in this build\n");
        return;
    }
    SetVisible("tranWnd_setting", true);
    services_.openSettings(*this);
}

void CKivoMainWnd::OpenServerPage(const std::string& path) {
    const std::string server = settings_.ServerAddress();
    if (server.empty()) {
        trace::Printf("%s: no usable ServerAddress in [Set]; nothing opened\n", settings_.File().string().c_str());
        return;
    }
    services_.urls.OpenUrl(server + path);
}

// The manual server's page when a server is configured, else the manual installed with the program.
void CKivoMainWnd::OpenManual() {
    if (!settings_.ServerAddress().empty()) {
        OpenServerPage("/ovikmanual/");
    } else if (!services_.urls.OpenFile(services_.paths.ManualFile())) {
        trace::Printf("the manual %s could not be opened\n", services_.paths.ManualFile().string().c_str());
    }
}

// The link buttons show only where they lead somewhere: macro sharing needs the server; the manual needs the
// server or the installed manual.
void CKivoMainWnd::ShowLinkButtons() {
    const bool server = !settings_.ServerAddress().empty();
    std::error_code error;
    SetVisible("guideButton", server || std::filesystem::is_regular_file(services_.paths.ManualFile(), error));
    SetVisible("MacroShareButton", server);
}

std::optional<std::string> CKivoMainWnd::QueryControlText(std::string_view textId, std::string_view /*cls*/) {
    const auto* tabs = Find<skin::TabLayout>("tab_main");
    const bool macroPage = tabs != nullptr && tabs->GetCurSel() == 1;
    const bool mouse = services_.catalogue.Kind(static_cast<size_t>(currentDevice_)) == 1 ||
                       services_.catalogue.Count() == 0;
    return texts_.Lookup(textId, macroPage, mouse);
}

std::string CKivoMainWnd::ModelName() const {
    return services_.catalogue.Record(static_cast<size_t>(currentDevice_)).ModelName();
}

std::string CKivoMainWnd::CurrentDeviceName() const {
    const DeviceRecord record = services_.catalogue.Record(static_cast<size_t>(currentDevice_));
    if (!record.productName.empty()) {
        return record.productName;
    }
    return !record.name.empty() ? record.name : (record.names.empty() ? std::string() : record.names.front());
}

void CKivoMainWnd::SetVisible(const char* name, bool visible) {
    if (skin::Control* control = FindControl(name)) {
        control->SetVisible(visible);
    }
}

void CKivoMainWnd::SetEnabled(const char* name, bool enabled) {
    if (skin::Control* control = FindControl(name)) {
        control->SetEnabled(enabled);
    }
}

bool CKivoMainWnd::IsSelected(const char* name) const {
    const auto* option = Find<skin::Option>(name);
    return option != nullptr && option->IsSelected();
}

}  // namespace mousecfg::app
