#pragma once

#include <QImage>
#include <QRect>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Shell.h"
#include "platform/FileDialogs.h"
#include "platform/FontRegistry.h"
#include "platform/UrlOpener.h"
#include "tests/support/TempDir.h"

namespace mousecfg::skin {
class Control;
class SkinWindow;
}  // namespace mousecfg::skin

namespace mousecfg::test {

// Handles Qt's events for `ms` milliseconds.
void Spin(int ms);
// A picture of a window as Qt draws it.
QImage Grab(skin::SkinWindow& window);
QRect RectOf(const skin::Control& control);
// A click of the user at the centre of a control.
void Click(skin::SkinWindow& window, const skin::Control& control);
// Compares the named controls' regions of `shot` with the picture `name` in tests/gui/screenshots; with
// MOUSECFG_UPDATE_REFERENCES=1 writes the picture instead.
void CompareWithPicture(skin::SkinWindow& window, const QImage& shot, const std::string& name,
                        const std::vector<std::string>& regions);

// The whole program on Qt's offscreen platform against the virtual mouse behind its receiver, on a copy of the
// build's resource folder with the skin folder `skin` ("res_black", "res_white") and the language `language`
// (index of the language files). Started, with the run that brings the mouse in step finished.
class ProgramUnderTest {
public:
    explicit ProgramUnderTest(const std::string& skin, int language = 1);
    ~ProgramUnderTest();

    // Handles events until no apply run is under way (ten seconds at most).
    void WaitForApply();
    app::Shell& Shell() { return *shell_; }
    app::CKivoMainWnd& Window() { return shell_->Window(); }

private:
    class NoUrls final : public UrlOpener {
    public:
        bool OpenUrl(const std::string&) override { return true; }
    };
    class NoFonts final : public FontRegistry {
    public:
        int AddFont(const std::filesystem::path&) override { return -1; }
        bool RemoveFont(int) override { return false; }
    };
    class NoDialogs final : public FileDialogs {
    public:
        std::optional<std::string> SaveFile(const FileFilter&) override { return std::nullopt; }
        std::vector<std::string> OpenFiles(const FileFilter&, bool) override { return {}; }
    };

    TempDir dir_;
    std::filesystem::path res_ = dir_.path() / "res";
    std::filesystem::path previousFolder_;
    NoUrls urls_;
    NoFonts fonts_;
    NoDialogs dialogs_;
    std::unique_ptr<app::Shell> shell_;
};

}  // namespace mousecfg::test
