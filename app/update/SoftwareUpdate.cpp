#include "app/update/SoftwareUpdate.h"

#include "app/CKivoMainWnd.h"
#include "app/ShellMessages.h"
#include "app/update/SoftVersion.h"
#include "platform/Trace.h"
#include "skin/SkinResources.h"
#include "skin/WindowMessages.h"
#include "update/UpdateCheck.h"

namespace mousecfg::app {

SoftwareUpdate::SoftwareUpdate(AppPaths paths, UrlOpener& urls, std::function<bool()> raiseUpdater)
    : paths_(std::move(paths)), urls_(urls), raiseUpdater_(std::move(raiseUpdater)) {}

void SoftwareUpdate::OnMessage(CKivoMainWnd& window, const Message& message) {
    if (message.id == msg::kSoftwareUpdate) {
        if (message.wParam == 1) {
            StartUpdater();
            return;
        }
        const std::filesystem::path versionFile = paths_.UpdaterVersionFile();
        const update::HttpLimits limits = limits_;
        const bool started = check_.Start(
            [versionFile, limits](const std::atomic<bool>& cancel) {
                return update::CheckForUpdate(versionFile, limits, &cancel).ToMessage(msg::kUpdateCheckDone);
            },
            window.GetMessageTarget());
        if (!started) {
            trace::Write("update check: one runs already\n");
        }
    } else if (message.id == msg::kUpdateCheckDone) {
        const update::UpdateCheckResult result = update::UpdateCheckResult::FromMessage(message);
        trace::Printf("update check: %s (installed %s, latest %s)\n", result.newer ? "newer version" : "no update",
                      result.currentVersion.c_str(), result.latestVersion.c_str());
        if (result.newer) {
            StartUpdater();
        }
    }
}

void SoftwareUpdate::StartUpdater() {
    update::UpdaterLauncher launcher(paths_.UpdaterProgram(), raiseUpdater_);
    lastStart_ = launcher.Start();
}

void SoftwareUpdate::OpenVersionWindow(CKivoMainWnd& window) {
    if (open_ != nullptr) {
        open_->BringToTop();
        return;
    }
    SoftVersionContext context;
    context.localVersionFile = paths_.LocalVersionFile();
    context.serverVersionFile = paths_.ServerVersionFile();
    context.testDownloadFolder = paths_.TestDownloadFolder();
    context.upgradeProgram = paths_.UpgradeProgram();
    context.network = network_;
    context.urls = &urls_;
    context.texts = &window.Texts();
    context.limits = limits_;
    context.limits.maxBytes = 32 * 1024 * 1024;  // a download may be larger than a check's reply
    context.exitProgram = [&window] { window.Post(Message{skin::msg::kClose, 0, 0, {}}); };
    SoftVersion version(std::move(context));
    if (version.Create(&window, "SoftVersion", skin::style::kWsPopup | skin::style::kWsVisible,
                       skin::style::kWsExToolWindow, {0, 0, SoftVersion::kWidth, SoftVersion::kHeight})) {
        version.CenterWindow();
        open_ = &version;
        version.ShowModal();
        open_ = nullptr;
    } else {
        trace::Write("version window: could not be created\n");
    }
    // The main window is the text source again.
    skin::SkinResources::SetTextQueryInterface(&window);
    skin::SkinResources::ReloadText();
}

}  // namespace mousecfg::app
