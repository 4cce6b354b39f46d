#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/MsgWndBoxes.h"
#include "skin/SkinWindow.h"
#include "skin/TextQuery.h"
#include "update/BackgroundJob.h"
#include "update/HttpClient.h"

namespace mousecfg {
class MessageBoxes;
class NetworkStatus;
class UrlOpener;
}  // namespace mousecfg

namespace mousecfg::app {

class LanguageTexts;

// What the version window works with. Everything referred to outlives the window.
struct SoftVersionContext {
    std::filesystem::path localVersionFile;    // "Version/LocalVersion.json"
    std::filesystem::path serverVersionFile;   // where "SeverCenterURL" is downloaded to
    std::filesystem::path testDownloadFolder;  // where the server's test file is downloaded to
    std::filesystem::path upgradeProgram;
    NetworkStatus* network = nullptr;          // none: not connected
    UrlOpener* urls = nullptr;
    MessageBoxes* boxes = nullptr;             // none: the program's message window over this one
    const LanguageTexts* texts = nullptr;      // the main window's; none: the skin's texts
    update::HttpLimits limits;                 // of the downloads
    // Ends the program the normal way (configuration saved) once the upgrade program has started.
    std::function<void()> exitProgram;
};

// The version window: internet connectivity, the server's version description downloaded and compared with the
// installed version, the separate upgrade program, a test download and the manual. Downloads run on a worker
// and are written atomically; the window reports only through its message boxes and a status line. UI thread.
class SoftVersion final : public skin::SkinWindow, public skin::TextQuery {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 572;

    explicit SoftVersion(SoftVersionContext context);
    ~SoftVersion() override;

    std::string GetSkinFile() override { return "SoftVersion.xml"; }
    std::string GetWindowClassName() const override { return "SoftVersion"; }
    void InitWindow() override;
    void Notify(skin::Notification& notification) override;
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;
    std::optional<std::string> QueryControlText(std::string_view textId, std::string_view controlClass) override;

    // True while a download runs.
    bool Downloading() const { return job_.Busy(); }

private:
    void OnOnline();
    void OnDownload(const std::string& url, const std::filesystem::path& file);
    void OnIndexVersion();
    void OnStartUpgrade();
    void OnOpenDocument();
    void ShowStatus(const char* textId, const std::string& fallback);
    void Tell(const std::string& text);
    MessageBoxes& Boxes() { return context_.boxes != nullptr ? *context_.boxes : ownBoxes_; }

    SoftVersionContext context_;
    MsgWndBoxes ownBoxes_;  // the program's message window over this one
    update::BackgroundJob job_;  // last member: its worker is joined before the rest goes
};

}  // namespace mousecfg::app
