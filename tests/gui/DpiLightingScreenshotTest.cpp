// Pictures of the advanced page and of the lighting page (in its colour cycle mode, which shows every section), in
// both skins and three languages (English, Simplified Chinese, German), drawn by Qt on the offscreen platform in
// the whole program against the virtual mouse and compared region by region with
// tests/gui/screenshots/{advanced,lighting}_<skin>_<language>.png.
#include <gtest/gtest.h>

#include <tuple>

#include "app/CKivoMainWnd.h"
#include "skin/Combo.h"
#include "skin/Option.h"
#include "tests/gui/ShellScreenshots.h"

namespace mousecfg::test {
namespace {

class DpiLightingScreenshots : public ::testing::TestWithParam<SkinAndLanguage> {};

TEST_P(DpiLightingScreenshots, BothPagesLookLikeTheirPictures) {
    const auto& [skin, language] = GetParam();
    const std::string suffix = ShotSuffix(GetParam()) + ".png";
    NoFonts fonts;
    ProgramUnderTest program(skin, language.index, fonts);
    app::CKivoMainWnd& window = program.Window();

    // The page options' clicks as the pages get them (real pointer input is the end-to-end test's): no hover look.
    ASSERT_TRUE(window.Find<skin::Option>("opt_MousePage_Adv")->Activate());
    ASSERT_TRUE(window.FindControl("ver_mouseadv")->IsVisibleInTree());
    CompareRegions(window, Grab(window), MOUSECFG_SCREENSHOTS, "advanced_" + suffix,
                   {"hor_mousehead", "lab_MouseAdv_DpiTitle", "hor_MouseAdv_Level0", "hor_MouseAdv_Level7",
                    "lab_MouseAdv_DpiSliderValue", "btn_MouseAdv_DpiSlider", "lab_MouseAdv_RateTitle",
                    "btn_MouseAdv_UsbRate4", "lab_MouseAdv_RateHint", "btn_MouseAdv_FireCtrl", "ver_MouseAdv_Sensor"});

    ASSERT_TRUE(window.Find<skin::Option>("opt_MousePage_Light")->Activate());
    window.Find<skin::Combo>("btn_MouseLed_LedMode")->SelectItem(7);
    program.WaitForApply();
    ASSERT_TRUE(window.FindControl("ver_mouselight")->IsVisibleInTree());
    CompareRegions(window, Grab(window), MOUSECFG_SCREENSHOTS, "lighting_" + suffix,
                   {"label_MouseLed_ModeTitle", "btn_MouseLed_LedMode", "LedColorButton", "LedBrightButton",
                    "LedSpeedButton", "LedDirectionButton", "hor_MouseLed_Symmetry"});
}

INSTANTIATE_TEST_SUITE_P(BothSkinsThreeLanguages, DpiLightingScreenshots, BothSkinsThreeLanguages(),
                         [](const auto& param) { return ShotSuffix(param.param); });

}  // namespace
}  // namespace mousecfg::test
