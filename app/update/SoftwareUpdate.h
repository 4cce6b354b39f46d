#pragma once

#include <functional>
#include <optional>

#include "app/AppPaths.h"
#include "platform/MessageSink.h"
#include "update/BackgroundJob.h"
#include "update/HttpClient.h"
#include "update/UpdaterLauncher.h"

namespace mousecfg {
class NetworkStatus;
class UrlOpener;
}  // namespace mousecfg

namespace mousecfg::app {

class CKivoMainWnd;
class SoftVersion;

// The software update of the main window: message 2037 (start the updater at once, or check for a newer version
// first, on a worker, and start it when there is one) and the version window ("modal_popwnd_btn"). UI thread.
class SoftwareUpdate {
public:
    // `raiseUpdater` asks a running updater to show its window and says whether it answered.
    SoftwareUpdate(AppPaths paths, UrlOpener& urls, std::function<bool()> raiseUpdater = {});

    // The system's network information for the version window; none: not connected.
    void SetNetworkStatus(NetworkStatus* network) { network_ = network; }
    void SetRaiseUpdater(std::function<bool()> raise) { raiseUpdater_ = std::move(raise); }
    // The bounds of the check and of the version window's downloads.
    void SetLimits(const update::HttpLimits& limits) { limits_ = limits; }

    // Message 2037 (wParam 1: start the updater now; else check first) and the check's answer (msg::kUpdateCheckDone)
    // to `window`. A check asked for while one runs is dropped.
    void OnMessage(CKivoMainWnd& window, const Message& message);
    // Opens the version window modal over `window`; returns when it has closed.
    void OpenVersionWindow(CKivoMainWnd& window);

    // For tests: the open version window, the outcome of the last start of the updater, whether a check runs.
    SoftVersion* OpenWindow() const { return open_; }
    std::optional<update::UpdaterLauncher::Outcome> LastStart() const { return lastStart_; }
    bool Checking() const { return check_.Busy(); }

private:
    void StartUpdater();

    AppPaths paths_;
    UrlOpener& urls_;
    std::function<bool()> raiseUpdater_;
    NetworkStatus* network_ = nullptr;
    update::HttpLimits limits_;
    SoftVersion* open_ = nullptr;
    std::optional<update::UpdaterLauncher::Outcome> lastStart_;
    update::BackgroundJob check_;  // last member: its worker is joined before the rest goes
};

}  // namespace mousecfg::app
