#include "app/settings/SettingsOpener.h"

#include "app/CKivoMainWnd.h"
#include "app/DeviceConfiguration.h"
#include "app/ShellMessages.h"
#include "config/DeviceFeature.h"
#include "platform/Trace.h"
#include "skin/WindowStyles.h"

namespace mousecfg::app {

void SettingsOpener::Open(CKivoMainWnd& window) {
    if (open_ != nullptr) {
        open_->BringToTop();
        return;
    }
    SettingContext context;
    context.settingsFile = services_.settingsFile;
    context.writer = writer_;
    context.texts = &window.Texts();
    const DeviceFeature* feature = services_.configuration.Feature();
    context.sensorOptionType = feature != nullptr ? feature->chipNumber : -1;
    context.closeOption = window.CloseOption();
    context.remind = window.Remind();
    DeviceConfiguration& configuration = services_.configuration;
    context.busy = [&window, &configuration] { return window.ConnectionUpdating() || configuration.ApplyRunning(); };
    context.commands = &services_.commands;
    context.program = services_.program;
    context.autostartFolder = services_.autostartFolder;
    context.urls = &services_.urls;
    context.version = services_.version;

    Setting setting(std::move(context));
    if (!setting.Create(&window, "setting", skin::style::kWsPopup, skin::style::kWsExToolWindow)) {
        trace::Write("settings window: could not be created\n");
        window.Post(Message{msg::kSettingsClosed, 0, 0, {}});
        return;
    }
    setting.CenterWindow();
    open_ = &setting;
    setting.ShowModal();
    open_ = nullptr;
}

void SettingsOpener::Close() {
    if (open_ != nullptr && open_->IsCreated()) {
        open_->CloseWindow();
    }
}

}  // namespace mousecfg::app
