#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
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

// A language of the pictures: its index among the language files and its short name in the pictures' names.
struct PictureLanguage {
    int index;
    const char* name;
};
// The skin folder and the language of one picture of a page.
using SkinAndLanguage = std::tuple<const char*, PictureLanguage>;
// Both skins and three languages (English, Simplified Chinese, German): what every page's pictures are made in.
inline auto BothSkinsThreeLanguages() {
    return ::testing::Combine(::testing::Values("res_black", "res_white"),
                              ::testing::Values(PictureLanguage{1, "en"}, PictureLanguage{0, "cn"},
                                                PictureLanguage{4, "de"}));
}
// "black_en", ...: the test's name and the end of its pictures' names.
inline std::string PictureSuffix(const SkinAndLanguage& param) {
    return std::string(std::get<0>(param)).substr(4) + "_" + std::get<1>(param).name;
}
inline std::string PictureTestName(const ::testing::TestParamInfo<SkinAndLanguage>& test) {
    return PictureSuffix(test.param);
}

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
