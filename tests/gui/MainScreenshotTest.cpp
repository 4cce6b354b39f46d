// Screenshots of the main window against the virtual mouse in both skins and in languages of three scripts and
// both directions, drawn by Qt on the offscreen platform with the faces fontconfig chooses for each language, and
// compared square by square with the pictures in tests/gui/screenshots (MOUSECFG_UPDATE_REFERENCES=1 rewrites
// them).
#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

#include "app/CKivoMainWnd.h"
#include "app/LanguageTable.h"
#include "platform/qt/QtFontRegistry.h"
#include "tests/gui/ShellScreenshots.h"

namespace mousecfg {
namespace {

using Shot = std::tuple<const char*, int>;  // skin folder, language index

std::string PictureName(const Shot& shot) {
    const std::string skin = std::string(std::get<0>(shot)).substr(4);                       // "black", "white"
    const std::string language = std::string(app::LanguageName(std::get<1>(shot))).substr(4);  // "en", "ar"
    return "main_" + skin + "_" + language + ".png";
}

class MainScreenshots : public ::testing::TestWithParam<Shot> {
protected:
    qt::QtFontRegistry fonts_;
    test::ProgramUnderTest program_{std::get<0>(GetParam()), std::get<1>(GetParam()), fonts_};
};

// 32-pixel squares: a clipped line of text, a wrong face, a missing icon or a control laid out the other way round
// changes a square past the tolerance, while the renderer's small differences between machines do not.
TEST_P(MainScreenshots, WindowLooksLikeItsPicture) {
    test::CompareTiles(test::Grab(program_.Window()), MOUSECFG_SCREENSHOTS, PictureName(GetParam()), 32);
}

INSTANTIATE_TEST_SUITE_P(SkinsAndLanguages, MainScreenshots,
                         ::testing::Combine(::testing::Values("res_black", "res_white"),
                                            ::testing::Values(1, 0, 4, 13)),
                         [](const ::testing::TestParamInfo<Shot>& shot) {
                             const std::string name = PictureName(shot.param);
                             return name.substr(5, name.size() - 9);  // "black_en"
                         });

}  // namespace
}  // namespace mousecfg
