#include "tests/gui/ShellScreenshots.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "app/AppPaths.h"
#include "app/CKivoMainWnd.h"
#include "app/CommandLine.h"
#include "app/SessionConfiguration.h"
#include "app/Shell.h"
#include "platform/PrivateProfile.h"
#include "skin/qt/QtWindowHost.h"
#include "tests/gui/ReferenceImages.h"

namespace mousecfg::test {
namespace {

// The same-sized reference picture `name` of `folder`, or nothing (and a test failure) when it is missing. When
// references are being updated, `shot` is written instead and nothing is returned.
std::optional<QImage> Reference(const QImage& shot, const std::string& folder, const std::string& name) {
    const QString path = QString::fromStdString(folder + "/" + name);
    if (UpdatingReferences()) {
        EXPECT_TRUE(shot.save(path)) << path.toStdString();
        return std::nullopt;
    }
    QImage reference(path);
    EXPECT_FALSE(reference.isNull()) << "missing reference " << path.toStdString();
    EXPECT_EQ(reference.size(), shot.size()) << name;
    if (reference.isNull() || reference.size() != shot.size()) {
        return std::nullopt;
    }
    return reference.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

ProgramUnderTest::ProgramUnderTest(const std::string& skin, int language, FontRegistry& fonts)
    : previousFolder_(std::filesystem::current_path()) {
    std::filesystem::copy(std::filesystem::path(MOUSECFG_RES_DIR), res_, std::filesystem::copy_options::recursive);
    EXPECT_TRUE(ini::WritePrivateProfileString("Set", "Language", std::to_string(language), res_ / "Set.ini"));
    EXPECT_TRUE(ini::WritePrivateProfileString("Config", "ResPath", skin,
                                               res_ / "VeruzUrir/MouseA/Config/DeviceFeature.ini"));
    ini::ClearCache();
    app::CommandLine line;
    line.simulate = app::Simulation::Receiver;
    shell_ = std::make_unique<app::Shell>(line, app::AppPaths::For(dir_.path(), res_), urls_, fonts, dialogs_,
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

app::CKivoMainWnd& ProgramUnderTest::Window() {
    return shell_->Window();
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

void CompareRegions(skin::SkinWindow& window, const QImage& shot, const std::string& folder, const std::string& name,
                    const std::vector<std::string>& regions) {
    const std::optional<QImage> reference = Reference(shot, folder, name);
    if (!reference) {
        return;
    }
    for (const std::string& region : regions) {
        const skin::Control* control = window.FindControl(region);
        ASSERT_NE(control, nullptr) << region;
        EXPECT_LT(ImageDifference(shot, *reference, RectOf(*control)), 12.0) << region << " differs from " << name;
    }
}

void CompareTiles(const QImage& shot, const std::string& folder, const std::string& name, int tile) {
    const std::optional<QImage> reference = Reference(shot, folder, name);
    if (!reference) {
        return;
    }
    for (int y = 0; y < shot.height(); y += tile) {
        for (int x = 0; x < shot.width(); x += tile) {
            const QRect square = QRect(x, y, tile, tile).intersected(shot.rect());
            EXPECT_LT(ImageDifference(shot, *reference, square), 6.0)
                << name << " differs in the square at " << x << "," << y;
        }
    }
}

}  // namespace mousecfg::test
