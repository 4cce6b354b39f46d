// The updater: a program of its own in the "AutoUpdate" folder beside mousecfg. It shows the installed version,
// asks the update server for the newest one and opens the download page. One runs per user; a second start (or
// mousecfg's update button) brings its window back through its single-instance socket.
#include <QApplication>
#include <QScreen>
#include <cstdio>

#include "platform/qt/QtUrlOpener.h"
#include "platform/qt/SingleInstance.h"
#include "update/UpdaterLauncher.h"
#include "updater/UpdaterWindow.h"

int main(int argc, char** argv) {
    using namespace mousecfg;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("AutoUpdate"));
    qt::SingleInstance instance(update::kUpdaterInstanceName);
    if (instance.Claim("restore") == qt::SingleInstance::Role::Second) {
        return 0;  // the running updater comes to the front instead
    }
    // The version description lies beside the updater: res/version/VersionInfo.json.
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString();
    qt::QtUrlOpener urls;
    updater::UpdaterWindow window(folder / "res" / "version" / "VersionInfo.json", urls);
    instance.SetRequestHandler([&window](const std::string& request) {
        if (request != "restore") {
            return std::string("error: unknown request");
        }
        window.Raise();
        return std::string("ok");
    });
    window.resize(window.sizeHint().expandedTo(QSize(480, 190)));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
    window.show();
    window.StartCheck();
    const int result = QApplication::exec();
    instance.SetRequestHandler({});
    return result;
}
