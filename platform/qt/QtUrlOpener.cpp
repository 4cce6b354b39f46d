#include "platform/qt/QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/Trace.h"

namespace mousecfg::qt {

bool QtUrlOpener::OpenUrl(const std::string& url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    if (!address.isValid() || (address.scheme() != QLatin1String("https") && address.scheme() != QLatin1String("http"))) {
        trace::Printf("not a web address, not opened: %s\n", url.c_str());
        return false;
    }
    return QDesktopServices::openUrl(address);
}

bool QtUrlOpener::OpenFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        trace::Printf("no such document, not opened: %s\n", file.string().c_str());
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

}  // namespace mousecfg::qt
