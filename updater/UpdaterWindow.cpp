#include "updater/UpdaterWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMetaObject>
#include <QVBoxLayout>

#include "platform/UrlOpener.h"
#include "update/VersionFiles.h"

namespace mousecfg::updater {
namespace {

constexpr uint32_t kCheckDone = 1;

// Hands the worker's message to the window's thread. The window outlives every post: it joins the worker first.
class QueuedSink final : public MessageSink {
public:
    QueuedSink(QObject* context, std::function<void(const Message&)> handler)
        : context_(context), handler_(std::move(handler)) {}
    void Post(Message message) override {
        QMetaObject::invokeMethod(context_, [handler = handler_, message] { handler(message); }, Qt::QueuedConnection);
    }
    intptr_t Send(Message message) override {
        Post(std::move(message));
        return 0;
    }

private:
    QObject* context_;
    std::function<void(const Message&)> handler_;
};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

UpdaterWindow::UpdaterWindow(std::filesystem::path versionFile, UrlOpener& urls)
    : versionFile_(std::move(versionFile)),
      urls_(urls),
      product_(new QLabel(this)),
      installed_(new QLabel(this)),
      latest_(new QLabel(QStringLiteral("–"), this)),
      status_(new QLabel(this)),
      download_(new QPushButton(QStringLiteral("Open the download page"), this)),
      again_(new QPushButton(QStringLiteral("Check again"), this)) {
    setWindowTitle(QStringLiteral("AutoUpdate"));
    setObjectName(QStringLiteral("CKivoMainWnd"));
    setMinimumWidth(420);
    QFont heading = product_->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    heading.setBold(true);
    product_->setFont(heading);
    status_->setWordWrap(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Installed version:"), this), 0, 0);
    grid->addWidget(installed_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Newest version:"), this), 1, 0);
    grid->addWidget(latest_, 1, 1);
    grid->setColumnStretch(1, 1);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(again_);
    buttons->addStretch();
    buttons->addWidget(download_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->setSpacing(12);
    layout->addWidget(product_);
    layout->addLayout(grid);
    layout->addWidget(status_);
    layout->addStretch();
    layout->addLayout(buttons);

    const auto text = update::ReadVersionFile(versionFile_);
    const auto info = text ? update::ParseVersionInfo(*text) : std::nullopt;
    product_->setText(info ? Text(info->productName) : QStringLiteral("mousecfg"));
    installed_->setText(info ? Text(info->version) : QStringLiteral("–"));
    download_->setEnabled(false);
    connect(download_, &QPushButton::clicked, this, [this] { urls_.OpenUrl(downloadUrl_); });
    connect(again_, &QPushButton::clicked, this, [this] { StartCheck(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    sink_ = std::make_shared<QueuedSink>(this, [this](const Message& message) {
        ShowResult(update::UpdateCheckResult::FromMessage(message));
    });
}

UpdaterWindow::~UpdaterWindow() = default;

void UpdaterWindow::Raise() {
    showNormal();
    raise();
    activateWindow();
}

void UpdaterWindow::StartCheck() {
    const std::filesystem::path file = versionFile_;
    const bool started = check_.Start(
        [file](const std::atomic<bool>& cancel) {
            return update::CheckForUpdate(file, update::HttpLimits{}, &cancel).ToMessage(kCheckDone);
        },
        sink_);
    if (started) {
        again_->setEnabled(false);
        status_->setText(QStringLiteral("Asking the update server…"));
    }
}

void UpdaterWindow::ShowResult(const update::UpdateCheckResult& result) {
    again_->setEnabled(true);
    downloadUrl_ = result.downloadUrl;
    download_->setEnabled(result.newer && IsWebAddress(downloadUrl_));
    latest_->setText(result.latestVersion.empty() ? QStringLiteral("–") : Text(result.latestVersion));
    if (result.newer) {
        status_->setText(QStringLiteral("A newer version is available."));
    } else if (!result.latestVersion.empty() || result.currentVersion.empty()) {
        status_->setText(result.currentVersion.empty() ? QStringLiteral("The version description is missing.")
                                                        : QStringLiteral("This is the newest version."));
    } else {
        status_->setText(QStringLiteral("No newer version was found (or the update server could not be reached)."));
    }
}

}  // namespace mousecfg::updater
