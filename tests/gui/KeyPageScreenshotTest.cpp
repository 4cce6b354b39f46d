// Pictures of the key page with the assignment panel open for button 3, in both skins and three languages (English,
// Simplified Chinese, German), drawn by Qt on the offscreen platform in the whole program against the virtual mouse
// and compared region by region with tests/gui/screenshots/keypage_<skin>_<language>.png.
#include <gtest/gtest.h>

#include <tuple>

#include "app/CKivoMainWnd.h"
#include "skin/Button.h"
#include "tests/gui/ShellScreenshots.h"

namespace mousecfg::test {
namespace {

class KeyPageScreenshots : public ::testing::TestWithParam<SkinAndLanguage> {};

TEST_P(KeyPageScreenshots, PageAndPanelLookLikeTheirPictures) {
    const auto& [skin, language] = GetParam();
    NoFonts fonts;
    ProgramUnderTest program(skin, language.index, fonts);
    app::CKivoMainWnd& window = program.Window();
    // The label's click as the page gets it (real pointer input is the end-to-end test's): no hover look.
    ASSERT_TRUE(window.Find<skin::Button>("btn_MouseKey_Click3")->Activate());
    ASSERT_TRUE(window.FindControl("ver_mousekeysel")->IsVisibleInTree());
    CompareRegions(window, Grab(window), MOUSECFG_SCREENSHOTS,
                   "keypage_" + ShotSuffix(GetParam()) + ".png",
                   {"hor_mousehead", "mouse_click", "lab_MouseKey_Title", "hor_keysel_categories",
                    "list_MouseKey_Mouse", "home_layout"});
}

INSTANTIATE_TEST_SUITE_P(BothSkinsThreeLanguages, KeyPageScreenshots, BothSkinsThreeLanguages(),
                         [](const auto& param) { return ShotSuffix(param.param); });

}  // namespace
}  // namespace mousecfg::test
