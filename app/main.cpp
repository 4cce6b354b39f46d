// The mousecfg program. For now it opens skin files for checking (--skin-test); the main window attaches here.
#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/SkinTestWindow.h"
#include "layout/IUiEffectManagerImpl.h"
#include "skin/SkinResources.h"
#include "skin/WindowHost.h"
#include "skin/qt/QtEffectAnimation.h"
#include "skin/qt/QtSkinPlatform.h"
#include "skin/qt/QtWindowHost.h"

namespace {

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: mousecfg --skin-test FILE [--grab OUT.png]\n"
                 "  --skin-test FILE  open a skin file in a window (notifications are traced with MOUSECFG_TRACE=1)\n"
                 "  --grab OUT.png    save a picture of the window once it is shown, then quit\n");
}

// Opens the skin test window; with `grab` saves its picture after the first paint and quits.
int RunSkinTest(QApplication& app, const std::string& file, const std::string& grab) {
    using namespace mousecfg;
    const std::filesystem::path path = std::filesystem::absolute(file);
    skin::SkinResources::SetResourcePath(path.parent_path());
    app::SkinTestWindow window(path.string());
    window.SetOnFinal([] { QCoreApplication::quit(); });
    if (!window.Create(nullptr, "mousecfg skin test", skin::style::kWsPopup)) {
        return 1;
    }
    window.CenterWindow();
    window.ShowWindow(true, true);
    if (!grab.empty()) {
        QTimer::singleShot(700, &app, [&window, grab] {
            auto* widget = static_cast<skin::qt::QtWindowHost*>(window.GetHost());
            const bool saved = widget->grab().save(QString::fromStdString(grab));
            std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", grab.c_str());
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string skinFile;
    std::string grab;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--skin-test") == 0 && i + 1 < argc) {
            skinFile = argv[++i];
        } else if (std::strcmp(argv[i], "--grab") == 0 && i + 1 < argc) {
            grab = argv[++i];
        } else {
            PrintUsage();
            return 2;
        }
    }
    if (skinFile.empty()) {
        PrintUsage();
        return 2;
    }
    mousecfg::skin::qt::QtSkinPlatform platform;
    mousecfg::skin::SkinPlatform::Set(&platform);
    mousecfg::skin::qt::QtEffectSource builtInEffects;
    const std::filesystem::path programFolder =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    mousecfg::layout::IUiEffectManagerImpl effects(programFolder, &builtInEffects);
    mousecfg::skin::EffectSource::Set(&effects);
    const int result = RunSkinTest(app, skinFile, grab);
    mousecfg::skin::EffectSource::Set(nullptr);
    return result;
}
