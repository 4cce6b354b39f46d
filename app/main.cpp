// The mousecfg program: the entry with the single instance, the Qt platform services and the event loop around
// the shell (app/Shell.h). `--skin-test FILE` opens a skin file instead, for checking skins by eye.
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/CKivoMainWnd.h"
#include "app/CommandLine.h"
#include "app/DeviceLink.h"
#include "app/Shell.h"
#include "app/SkinTestWindow.h"
#include "app/XkbLayoutWatch.h"
#include "config/UserDocuments.h"
#include "layout/IUiEffectManagerImpl.h"
#include "platform/ProgramLauncher.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtFontRegistry.h"
#include "platform/qt/QtNetworkStatus.h"
#include "platform/qt/QtUrlOpener.h"
#include "platform/qt/SingleInstance.h"
#include "skin/SkinResources.h"
#include "skin/WindowHost.h"
#include "skin/qt/QtEffectAnimation.h"
#include "skin/qt/QtSkinPlatform.h"
#include "skin/qt/QtWindowHost.h"
#include "update/UpdaterLauncher.h"

namespace {

using namespace mousecfg;

// Saves a picture of the window's widget once it has been painted, then ends the program.
void GrabAfterPaint(skin::SkinWindow& window, const std::filesystem::path& file) {
    QTimer::singleShot(900, qApp, [&window, file] {
        auto* widget = static_cast<skin::qt::QtWindowHost*>(window.GetHost());
        const bool saved = widget != nullptr && widget->grab().save(QString::fromStdString(file.string()));
        std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", file.string().c_str());
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

// Prints "first-paint" on stdout once the main window has been painted (the start-up benchmark reads it).
class FirstPaintReporter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QTimer::singleShot(0, qApp, [] {
                std::printf("first-paint\n");
                std::fflush(stdout);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool reported_ = false;
};

int RunSkinTest(const app::CommandLine& line) {
    const std::filesystem::path path = std::filesystem::absolute(line.skinTest);
    skin::SkinResources::SetResourcePath(path.parent_path());
    app::SkinTestWindow window(path.string());
    window.SetOnFinal([] { QCoreApplication::quit(); });
    if (!window.Create(nullptr, "mousecfg skin test", skin::style::kWsPopup)) {
        return 1;
    }
    window.CenterWindow();
    window.ShowWindow(true, true);
    if (!line.grab.empty()) {
        GrabAfterPaint(window, line.grab);
    }
    return QApplication::exec();
}

// The folders of this start, with the per-user copy of the configuration seeded or upgraded from the resources.
Result<app::AppPaths> PreparePaths(const app::CommandLine& line) {
    Result<app::AppPaths> paths = app::AppPaths::Resolve(RunningProgramFolder(), line.resourceFolder,
                                                         line.simulate != app::Simulation::None);
    if (!paths) {
        return paths;
    }
    const Result<UserDocuments::Report> prepared = UserDocuments::Prepare(paths->resourceFolder, paths->configFolder);
    if (!prepared) {
        return prepared.status();
    }
    for (const std::string& damaged : prepared->damaged) {
        std::fprintf(stderr, "mousecfg: %s in %s is damaged and was left as it is\n", damaged.c_str(),
                     paths->configFolder.string().c_str());
    }
    return paths;
}

// A start that cannot go on: the reason on stderr and, when there is a screen, in a message box.
void ShowStartFailure(const std::string& reason) {
    std::fprintf(stderr, "mousecfg: %s\n", reason.c_str());
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        QMessageBox::critical(nullptr, QStringLiteral("mousecfg"), QString::fromStdString(reason));
    }
}

// A mouse that is there but may not be opened: said on stderr and in a message box beside the main window.
void ShowAccessProblem(const std::string& text) {
    std::fprintf(stderr, "mousecfg: %s\n", text.c_str());
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("mousecfg"), QString::fromStdString(text));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

// The file the instance name is read from when only the running instance is asked: the per-user copy, or the
// resources' own before the first start has made it.
std::filesystem::path StartupFile(const app::CommandLine& line) {
    const Result<app::AppPaths> paths = app::AppPaths::Resolve(RunningProgramFolder(), line.resourceFolder,
                                                               line.simulate != app::Simulation::None);
    if (!paths) {
        return {};
    }
    std::error_code error;
    return std::filesystem::exists(paths->FeatureFile(), error)
               ? paths->FeatureFile()
               : app::AppPaths::For(paths->programFolder, paths->resourceFolder).FeatureFile();
}

int RunProgram(const app::CommandLine& line, const app::AppPaths& paths) {
    const app::StartupDescription description = app::StartupDescription::Read(paths.FeatureFile());
    qt::SingleInstance instance(description.mutexName);
    if (instance.Claim("restore") == qt::SingleInstance::Role::Second) {
        return 0;  // the first instance comes to the front instead
    }
    QApplication::setQuitOnLastWindowClosed(false);
    // The installed theme icon when there is one, else the picture of the resource folder (a build folder).
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("mousecfg"),
                                                 QIcon(QString::fromStdString(paths.IconFile().string()))));
    qt::QtUrlOpener urls;
    qt::QtFontRegistry fonts;
    qt::QtFileDialogs dialogs;
    SystemProgramLauncher launcher;
    app::Shell shell(line, paths, urls, fonts, dialogs, [](int code) { QCoreApplication::exit(code); }, &launcher);
    qt::QtNetworkStatus network;
    shell.SetUpdateServices(&network, [] {
        return qt::SingleInstance::Send(update::kUpdaterInstanceName, qt::SingleInstance::RuntimeFolder(), "restore",
                                        std::chrono::seconds(2))
            .has_value();
    });
    instance.SetRequestHandler([&shell](const std::string& request) { return shell.HandleRequest(request); });
    if (!shell.Start()) {
        std::fprintf(stderr, "mousecfg: the main window could not be created\n");
        return 1;
    }
    app::XkbLayoutWatch layoutWatch([&shell](const KeyboardLayout::Names& names) { shell.FollowKeyboardLayout(names); });
    FirstPaintReporter reporter;
    if (qEnvironmentVariable("MOUSECFG_REPORT_FIRST_PAINT") == QLatin1String("1")) {
        static_cast<skin::qt::QtWindowHost*>(shell.Window().GetHost())->installEventFilter(&reporter);
    }
    if (!line.grab.empty()) {
        GrabAfterPaint(shell.Window(), line.grab);
    }
    if (const std::optional<std::string> problem = shell.Link().AccessProblem()) {
        ShowAccessProblem(*problem);
    }
    const int result = QApplication::exec();
    instance.SetRequestHandler({});
    shell.Shutdown();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const app::CommandLine line = app::CommandLine::Parse(argc, argv);
    if (line.help || !line.error.empty()) {
        if (!line.error.empty()) {
            std::fprintf(stderr, "mousecfg: %s\n", line.error.c_str());
        }
        std::fputs(app::CommandLine::Usage(), line.help ? stdout : stderr);
        return line.help ? 0 : 2;
    }
    if (!line.ask.empty()) {
        QCoreApplication core(argc, argv);
        const auto name = app::StartupDescription::Read(StartupFile(line)).mutexName;
        const auto answer = qt::SingleInstance::Send(name, qt::SingleInstance::RuntimeFolder(),
                                                     line.ask, std::chrono::seconds(5));
        std::printf("%s\n", answer ? answer->c_str() : "error: no running instance answered");
        return answer && !answer->starts_with("error") ? 0 : 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mousecfg"));
    skin::qt::QtSkinPlatform platform;
    skin::SkinPlatform::Set(&platform);
    skin::qt::QtEffectSource builtInEffects;
    const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    layout::IUiEffectManagerImpl effects(programFolder, &builtInEffects);
    skin::EffectSource::Set(&effects);
    int result = 1;
    if (!line.skinTest.empty()) {
        result = RunSkinTest(line);
    } else if (const Result<app::AppPaths> paths = PreparePaths(line); paths) {
        result = RunProgram(line, *paths);
    } else {
        ShowStartFailure(paths.message());
    }
    skin::EffectSource::Set(nullptr);
    skin::SkinPlatform::Set(nullptr);
    return result;
}
