#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/FileDialogs.h"
#include "platform/FontRegistry.h"
#include "platform/UrlOpener.h"
#include "skin/Control.h"
#include "skin/SkinWindow.h"
#include "tests/support/TempDir.h"

// What the screenshot tests of the whole program share: services that do nothing, the event loop run for a
// while, a window drawn into a picture, and comparison with the pictures in the screenshot folder.
namespace mousecfg::app {
class CKivoMainWnd;
class Shell;
}  // namespace mousecfg::app

namespace mousecfg::test {

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

// The whole program against the virtual mouse (on a receiver) with a copy of the built resource folder, in the
// skin folder `skin` ("res_black", "res_white") and the language `language`, started and settled: its first
// configuration written to the mouse.
class ProgramUnderTest {
public:
    ProgramUnderTest(const std::string& skin, int language, FontRegistry& fonts);
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    app::Shell& Shell() { return *shell_; }
    app::CKivoMainWnd& Window();
    // Runs the event loop until no configuration is being written to the mouse (10 seconds at most).
    void WaitForApply();

private:
    TempDir dir_;
    std::filesystem::path res_ = dir_.path() / "res";
    std::filesystem::path previousFolder_;
    NoUrls urls_;
    NoDialogs dialogs_;
    std::unique_ptr<app::Shell> shell_;
};

// A language of the page pictures: its index in the language list and its short name in the pictures' file names.
struct ShotLanguage {
    int index;
    const char* name;
};
using SkinAndLanguage = std::tuple<const char*, ShotLanguage>;

// The page pictures' parameters: both skins and three languages (English, Simplified Chinese, German).
inline auto BothSkinsThreeLanguages() {
    return ::testing::Combine(::testing::Values("res_black", "res_white"),
                              ::testing::Values(ShotLanguage{1, "en"}, ShotLanguage{0, "cn"}, ShotLanguage{4, "de"}));
}

// "black_en" for the dark skin in English: the test name and the pictures' file name ending.
inline std::string ShotSuffix(const SkinAndLanguage& parameters) {
    return std::string(std::get<0>(parameters)).substr(4) + "_" + std::get<1>(parameters).name;
}

// Runs the event loop for `ms` milliseconds.
void Spin(int ms);

// The window as drawn by its Qt host.
QImage Grab(skin::SkinWindow& window);

QRect RectOf(const skin::Control& control);

// Compares the named controls' areas of `shot` with the picture `name` of `folder`, or rewrites the picture when
// references are being updated (MOUSECFG_UPDATE_REFERENCES=1).
void CompareRegions(skin::SkinWindow& window, const QImage& shot, const std::string& folder, const std::string& name,
                    const std::vector<std::string>& regions);

// Compares `shot` with the picture `name` of `folder` square by square (`tile` pixels a side), so that a change
// to a small part of the picture, a clipped line of text or another font, is not lost in the mean of the whole;
// each square may differ by a mean of 6 (of 255) for the renderer's small differences between machines.
void CompareTiles(const QImage& shot, const std::string& folder, const std::string& name, int tile);

}  // namespace mousecfg::test
