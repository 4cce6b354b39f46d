// Runs the GUI tests inside one QApplication on the platform the environment names (offscreen in CTest).
#include <QApplication>
#include <gtest/gtest.h>

#include "layout/IUiEffectManagerImpl.h"
#include "skin/qt/QtEffectAnimation.h"
#include "skin/qt/QtSkinPlatform.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The tests draw off screen unless told otherwise (CTest lists them without its test environment).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    mousecfg::skin::qt::QtSkinPlatform platform;
    mousecfg::skin::SkinPlatform::Set(&platform);
    mousecfg::skin::qt::QtEffectSource builtIn;
    mousecfg::layout::IUiEffectManagerImpl effects(QCoreApplication::applicationDirPath().toStdString(), &builtIn);
    mousecfg::skin::EffectSource::Set(&effects);
    const int result = RUN_ALL_TESTS();
    mousecfg::skin::EffectSource::Set(nullptr);
    mousecfg::skin::SkinPlatform::Set(nullptr);
    return result;
}
