#include "app/Shell.h"

#include <system_error>

#include "app/CKivoMainWnd.h"
#include "app/DeviceLink.h"
#include "app/MouseConfigPages.h"
#include "app/ShellMessages.h"
#include "app/SessionConfiguration.h"
#include "app/macro/MacroEditorPage.h"
#include "app/settings/SettingsOpener.h"
#include "app/update/SoftwareUpdate.h"
#include "device/BleLink.h"
#include "platform/KeyboardLayout.h"
#include "platform/Autostart.h"
#include "platform/ProgramLauncher.h"
#include "platform/Trace.h"
#include "skin/Option.h"
#include "skin/SkinResources.h"
#include "skin/WindowHost.h"

namespace mousecfg::app {
namespace {

// Without a launcher the desktop has no programs to offer.
class NoPrograms final : public ProgramLauncher {
public:
    std::optional<std::filesystem::path> FindProgram(std::string_view /*name*/) const override { return std::nullopt; }
    Status StartDetached(const std::filesystem::path& program, const std::vector<std::string>& /*arguments*/) override {
        return Status::Error(program.string() + ": starting programs is not available");
    }
};

std::string DescribeControl(CKivoMainWnd& window, const std::string& name) {
    window.GetPaintManager().UpdateLayout();
    const skin::Control* control = window.FindControl(name);
    if (control == nullptr || window.GetHost() == nullptr) {
        return "error: no control " + name;
    }
    const skin::Rect pos = control->GetPos();
    const skin::Point corner = window.GetHost()->ClientToScreen({pos.left, pos.top});
    const auto* option = dynamic_cast<const skin::Option*>(control);
    return "x=" + std::to_string(corner.x) + " y=" + std::to_string(corner.y) + " w=" + std::to_string(pos.width()) +
           " h=" + std::to_string(pos.height()) + " visible=" + (control->IsVisibleInTree() ? "1" : "0") +
           " enabled=" + (control->IsEnabledInTree() ? "1" : "0") +
           " selected=" + (option != nullptr && option->IsSelected() ? "1" : "0") + " text=" + control->GetText();
}

}  // namespace

Shell::Shell(CommandLine commandLine, AppPaths paths, UrlOpener& urls, FontRegistry& fonts, FileDialogs& dialogs,
             std::function<void(int)> quit, ProgramLauncher* launcher)
    : commandLine_(std::move(commandLine)),
      paths_(std::move(paths)),
      description_(StartupDescription::Read(paths_.FeatureFile())),
      urls_(urls),
      fonts_(fonts),
      dialogs_(dialogs),
      quit_(std::move(quit)),
      noPrograms_(launcher == nullptr ? std::make_unique<NoPrograms>() : nullptr),
      launcher_(launcher != nullptr ? *launcher : *noPrograms_),
      update_(std::make_unique<SoftwareUpdate>(paths_, urls_)) {}

void Shell::SetUpdateServices(NetworkStatus* network, std::function<bool()> raiseUpdater) {
    update_->SetNetworkStatus(network);
    update_->SetRaiseUpdater(std::move(raiseUpdater));
}

Shell::~Shell() {
    Shutdown();
    window_.reset();
}

bool Shell::Start() {
    skin::SkinResources::SetResourcePath(paths_.SkinFolder(description_.resPath));
    std::error_code error;
    std::filesystem::current_path(paths_.programFolder, error);
    if (error) {
        trace::Printf("cannot change to the program folder %s: %s\n", paths_.programFolder.string().c_str(),
                      error.message().c_str());
    }
    link_ = std::make_unique<DeviceLink>(commandLine_.simulate, paths_.resourceFolder);
    // Key names in labels follow the keyboard layout the desktop's XKB settings name (US when none).
    KeyNames keyNames(KeyboardLayout::FromNames({}));
    configuration_ = std::make_unique<SessionConfiguration>(paths_.resourceFolder, paths_.configFolder,
                                                            link_->Commands(), dialogs_, std::move(keyNames));
    mousePages_ = std::make_unique<MouseConfigPages>(*configuration_, paths_, launcher_);
    macroPage_ = std::make_unique<MacroEditorPage>(*configuration_);
    DeviceLink* link = link_.get();
    ShellServices services{paths_,
                           description_.mutexName,
                           description_.SkinPrefix(),
                           commandLine_.text,
                           link_->Catalogue(),
                           link_->Commands(),
                           *configuration_,
                           *mousePages_,
                           *macroPage_,
                           urls_,
                           fonts_,
                           [link](MessageSink& window) { link->StartDeviceChanges(window); },
                           [link] { link->StopDeviceChanges(); },
                           quit_,
                           paths_.programFolder / "mousecfg",
                           DefaultAutostartFolder(),
                           SimulationName(commandLine_.simulate),
                           {},
                           CheckBleRegistration(),
                           {},
                           {},
                           {}};
    settings_ = std::make_unique<SettingsOpener>(SettingsServices{paths_.SettingsFile(), *configuration_,
                                                                  link_->Commands(), urls_, services.programFile,
                                                                  services.autostartFolder, MOUSECFG_VERSION});
    SettingsOpener* settings = settings_.get();
    SoftwareUpdate* update = update_.get();
    services.openSettings = [settings](CKivoMainWnd& window) { settings->Open(window); };
    services.closeSettings = [settings] { settings->Close(); };
    services.softwareUpdate = [update](CKivoMainWnd& window, const Message& message) { update->OnMessage(window, message); };
    services.openVersionWindow = [update](CKivoMainWnd& window) { update->OpenVersionWindow(window); };
    window_ = std::make_unique<CKivoMainWnd>(std::move(services));
    return window_->CreateMainWindow();
}

std::string Shell::HandleRequest(const std::string& request) {
    if (!window_) {
        return "error: starting";
    }
    if (request == "restore") {
        window_->Post(Message{msg::kRestoreRequest, 0, 0, {}});
        return "ok";
    }
    if (request == "status") {
        return std::string("visible=") + (window_->IsVisible() ? "1" : "0") +
               " hidden_to_tray=" + (window_->HiddenToTray() ? "1" : "0") +
               " minimized=" + (window_->IsMinimized() ? "1" : "0");
    }
    if (request.starts_with("sim ")) {
        return link_->SimCommand(request.substr(4));
    }
    if (request.starts_with("control ")) {
        return DescribeControl(*window_, request.substr(8));
    }
    return "error: unknown request";
}

void Shell::FollowKeyboardLayout(const KeyboardLayout::Names& names) {
    std::shared_ptr<const KeyboardLayout> layout = KeyboardLayout::FromNames(names);
    if (layout == nullptr) {
        trace::Printf("keyboard layout %s does not compile; key names stay as they are\n", names.layout.c_str());
        return;
    }
    if (macroPage_) {
        macroPage_->SetKeyNames(KeyNames(std::move(layout)));
    }
}

void Shell::Shutdown() {
    if (window_) {
        window_->Shutdown();
    }
}

}  // namespace mousecfg::app
