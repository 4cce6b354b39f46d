#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/MessageSink.h"
#include "update/BackgroundJob.h"
#include "update/UpdateCheck.h"

namespace mousecfg {
class UrlOpener;
}

namespace mousecfg::updater {

// The updater's window: the product and its installed version, the newest version the update server names, and
// a button that opens the server's download page in the browser. The check runs on a worker when the window
// opens and again on request. Qt thread.
class UpdaterWindow final : public QWidget {
public:
    UpdaterWindow(std::filesystem::path versionFile, UrlOpener& urls);
    ~UpdaterWindow() override;

    // Brings the window to the front (a second start of the updater asks for it).
    void Raise();
    void StartCheck();

private:
    void ShowResult(const update::UpdateCheckResult& result);

    std::filesystem::path versionFile_;
    UrlOpener& urls_;
    std::string downloadUrl_;
    QLabel* product_;
    QLabel* installed_;
    QLabel* latest_;
    QLabel* status_;
    QPushButton* download_;
    QPushButton* again_;
    std::shared_ptr<MessageSink> sink_;  // where the worker's answer arrives: queued to this window's thread
    update::BackgroundJob check_;        // last member: its worker is joined before the window goes
};

}  // namespace mousecfg::updater
