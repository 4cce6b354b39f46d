#include "app/update/SoftVersion.h"

#include "app/LanguageTexts.h"
#include "app/MsgWndBoxes.h"
#include "platform/DetachedProcess.h"
#include "platform/MessageBoxes.h"
#include "platform/NetworkStatus.h"
#include "platform/Trace.h"
#include "platform/UrlOpener.h"
#include "skin/SkinResources.h"
#include "update/VersionFiles.h"

namespace mousecfg::app {
namespace {

// The window's own message: a download ended (wParam 1 when the file was written; text the failure).
constexpr uint32_t kDownloadDone = 2096;

// The message boxes' fixed texts.
constexpr const char* kTitle = "提示框";
constexpr const char* kOnline = "有网";
constexpr const char* kOffline = "无网";
constexpr const char* kNoFile = "文件不存在";
constexpr const char* kNoUpgrade = "找不到 Upgrade.exe";

// The file name of an address: the text after its last "/" (without a query); "download" when that is empty.
std::string FileNameOf(const std::string& url) {
    std::string name = url.substr(url.rfind('/') + 1);
    name = name.substr(0, name.find_first_of("?#"));
    if (name.empty() || name == "." || name == "..") {
        return "download";
    }
    return name;
}

}  // namespace

SoftVersion::SoftVersion(SoftVersionContext context) : context_(std::move(context)) {
    ownBoxes_.SetParent(this, {});
}

SoftVersion::~SoftVersion() {
    if (skin::SkinResources::GetTextQueryInterface() == this) {
        skin::SkinResources::SetTextQueryInterface(nullptr);
    }
}

void SoftVersion::InitWindow() {
    skin::SkinResources::SetTextQueryInterface(this);
    GetPaintManager().ReloadText();
    if (context_.texts != nullptr && !context_.texts->FontName().empty()) {
        GetPaintManager().SetFontFamilyForAll(context_.texts->FontName());
    }
}

std::optional<std::string> SoftVersion::QueryControlText(std::string_view textId, std::string_view /*cls*/) {
    return context_.texts != nullptr ? context_.texts->Lookup(textId, false, true) : std::nullopt;
}

void SoftVersion::Notify(skin::Notification& notification) {
    if (notification.type != skin::notify::kClick) {
        return;
    }
    const std::string& name = notification.senderName;
    if (name == "closebtn") {
        Close(0);
    } else if (name == "btn_Online") {
        OnOnline();
    } else if (name == "btn_DownVersion") {
        const auto text = update::ReadVersionFile(context_.localVersionFile);
        const auto local = text ? update::ParseLocalVersion(*text) : std::nullopt;
        OnDownload(local ? local->serverCenterUrl : std::string(), context_.serverVersionFile);
    } else if (name == "btn_IndexVersion") {
        OnIndexVersion();
    } else if (name == "btn_StartUpdata") {
        OnStartUpgrade();
    } else if (name == "btn_TempBtn") {
        const auto text = update::ReadVersionFile(context_.localVersionFile);
        const auto local = text ? update::ParseLocalVersion(*text) : std::nullopt;
        const std::string url = local ? local->testFileUrl : std::string();
        OnDownload(url, context_.testDownloadFolder / FileNameOf(url));
    } else if (name == "btn_OpenPdf") {
        OnOpenDocument();
    }
}

intptr_t SoftVersion::HandleCustomMessage(const Message& message, bool& handled) {
    if (message.id == kDownloadDone) {
        handled = true;
        if (message.wParam == 1) {
            ShowStatus("DownloadDone", "Downloaded.");
        } else {
            trace::Printf("version window: %s\n", message.text.c_str());
            ShowStatus("DownloadFailed", "The download failed.");
        }
    }
    return 0;
}

void SoftVersion::OnOnline() {
    const bool online = context_.network != nullptr && context_.network->IsConnectedToInternet();
    Tell(online ? kOnline : kOffline);
}

// Downloads `url` into `file` on the worker; the window learns the outcome by kDownloadDone.
void SoftVersion::OnDownload(const std::string& url, const std::filesystem::path& file) {
    if (!IsWebAddress(url)) {
        trace::Printf("version window: no web address to download (%s)\n", url.c_str());
        ShowStatus("DownloadFailed", "The download failed.");
        return;
    }
    const update::HttpLimits limits = context_.limits;
    const bool started = job_.Start(
        [url, file, limits](const std::atomic<bool>& cancel) {
            const Status written = update::HttpDownload(url, file, limits, &cancel);
            return Message{kDownloadDone, written ? 1u : 0u, 0, written.message()};
        },
        GetMessageTarget());
    if (started) {
        ShowStatus("Downloading", "Downloading…");
    }
}

void SoftVersion::OnIndexVersion() {
    const auto server = update::ReadVersionFile(context_.serverVersionFile);
    if (!server) {
        Tell(kNoFile);
        return;
    }
    const std::string latest = update::ParseServerVersion(*server).value_or("");
    const auto local = update::ReadVersionFile(context_.localVersionFile);
    const auto parsed = local ? update::ParseLocalVersion(*local) : std::nullopt;
    const std::string current = parsed ? parsed->curVersion : std::string();
    if (skin::Control* label = FindControl("lab_IndexVersion")) {
        label->SetText("当前版本" + current + "，最新版本：" + latest);
    }
}

// The upgrade program replaces this one: once it runs, the program ends (after saving, as every exit does).
void SoftVersion::OnStartUpgrade() {
    const Status started = StartDetached(context_.upgradeProgram, {}, context_.upgradeProgram.parent_path());
    if (!started) {
        trace::Printf("version window: %s\n", started.message().c_str());
        Tell(kNoUpgrade);
        return;
    }
    Close(0);
    if (context_.exitProgram) {
        context_.exitProgram();
    }
}

void SoftVersion::OnOpenDocument() {
    const skin::Control* button = FindControl("btn_OpenPdf");
    const std::string target = button != nullptr ? button->GetText() : std::string();
    if (!IsWebAddress(target) || context_.urls == nullptr) {
        trace::Printf("version window: %s is no web address; nothing opened\n", target.c_str());
        return;
    }
    context_.urls->OpenUrl(target);
}

void SoftVersion::ShowStatus(const char* textId, const std::string& fallback) {
    if (skin::Control* status = FindControl("lab_DownState")) {
        const auto text = context_.texts != nullptr ? context_.texts->Lookup(textId, false, true) : std::nullopt;
        status->SetText(text.value_or(fallback));
    }
}

void SoftVersion::Tell(const std::string& text) {
    MessageBoxRequest request;
    request.title = kTitle;
    request.text = text;
    request.confirmText = context_.texts != nullptr && !context_.texts->Message("MessageOK").empty()
                              ? context_.texts->Message("MessageOK")
                              : "OK";
    Boxes().Show(request);
}

}  // namespace mousecfg::app
