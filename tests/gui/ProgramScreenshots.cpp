#include "tests/gui/ProgramScreenshots.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "app/CKivoMainWnd.h"
#include "app/SessionConfiguration.h"
#include "platform/PrivateProfile.h"
#include "skin/WindowMessages.h"
#include "skin/qt/QtWindowHost.h"
#include "tests/gui/ReferenceImages.h"

namespace mousecfg::test {

void Spin(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

QImage Grab(skin::SkinWindow& window) {
    Spin(50);
    return static_cast<skin::qt::QtWindowHost*>(window.GetHost())->grab().toImage().convertToFormat(
        QImage::Format_ARGB32);
}

QRect RectOf(const skin::Control& control) {
    const skin::Rect r = control.GetPos();
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void Click(skin::SkinWindow& window, const skin::Control& control) {
    const QRect area = RectOf(control);
    const intptr_t at = skin::msg::MakePointParam(area.center().x(), area.center().y());
    window.HandleMessage(Message{skin::msg::kMouseMove, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonDown, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonUp, 0, at, {}});
    Spin(30);
}

void CompareWithPicture(skin::SkinWindow& window, const QImage& shot, const std::string& name,
                        const std::vector<std::string>& regions) {
    const QString path = QStringLiteral(MOUSECFG_SCREENSHOTS "/") + QString::fromStdString(name);
    if (UpdatingReferences()) {
        ASSERT_TRUE(shot.save(path));
        return;
    }
    QImage reference(path);
    ASSERT_FALSE(reference.isNull()) << "missing reference " << path.toStdString();
    reference = reference.convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(reference.size(), shot.size()) << name;
    for (const std::string& region : regions) {
        const skin::Control* control = window.FindControl(region);
        ASSERT_NE(control, nullptr) << region;
        EXPECT_LT(ImageDifference(shot, reference, RectOf(*control)), 12.0) << region << " differs from " << name;
    }
}

ProgramUnderTest::ProgramUnderTest(const std::string& skin, int language)
    : previousFolder_(std::filesystem::current_path()) {
    std::filesystem::copy(std::filesystem::path(MOUSECFG_RES_DIR), res_, std::filesystem::copy_options::recursive);
    EXPECT_TRUE(ini::WritePrivateProfileString("Set", "Language", std::to_string(language), res_ / "Set.ini"));
    EXPECT_TRUE(ini::WritePrivateProfileString("Config", "ResPath", skin,
                                               res_ / "VeruzUrir/MouseA/Config/DeviceFeature.ini"));
    ini::ClearCache();
    app::CommandLine line;
    line.simulate = app::Simulation::Receiver;
    shell_ = std::make_unique<app::Shell>(line, app::AppPaths::For(dir_.path(), res_), urls_, fonts_, dialogs_,
                                          [](int) {});
    EXPECT_TRUE(shell_->Start());
    WaitForApply();
}

ProgramUnderTest::~ProgramUnderTest() {
    shell_->Shutdown();
    shell_.reset();
    Spin(20);
    std::filesystem::current_path(previousFolder_);
}

void ProgramUnderTest::WaitForApply() {
    QElapsedTimer timer;
    timer.start();
    Spin(100);
    while (shell_->Configuration().ApplyRunning() && timer.elapsed() < 10'000) {
        Spin(20);
    }
    Spin(100);
}

}  // namespace mousecfg::test
