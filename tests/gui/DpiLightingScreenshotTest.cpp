// Pictures of the advanced page and of the lighting page (in its colour cycle mode, which shows every section), in
// both skins and three languages (English, Simplified Chinese, German), drawn by Qt on the offscreen platform in
// the whole program against the virtual mouse and compared region by region with
// tests/gui/screenshots/{advanced,lighting}_<skin>_<language>.png.
#include <gtest/gtest.h>

#include "app/CKivoMainWnd.h"
#include "skin/Combo.h"
#include "skin/WindowMessages.h"
#include "tests/gui/ProgramScreenshots.h"

namespace mousecfg::test {
namespace {

class DpiLightingScreenshots : public ::testing::TestWithParam<SkinAndLanguage> {};

TEST_P(DpiLightingScreenshots, BothPagesLookLikeTheirPictures) {
    const auto& [skin, language] = GetParam();
    const std::string suffix = PictureSuffix(GetParam()) + ".png";
    ProgramUnderTest program(skin, language.index);
    app::CKivoMainWnd& window = program.Window();

    Click(window, *window.FindControl("opt_MousePage_Adv"));
    window.HandleMessage(Message{skin::msg::kMouseLeave, 0, 0, {}});  // no hover look in the picture
    ASSERT_TRUE(window.FindControl("ver_mouseadv")->IsVisibleInTree());
    CompareWithPicture(window, Grab(window), "advanced_" + suffix,
                       {"hor_mousehead", "lab_MouseAdv_DpiTitle", "hor_MouseAdv_Level0", "hor_MouseAdv_Level7",
                        "lab_MouseAdv_DpiSliderValue", "btn_MouseAdv_DpiSlider", "lab_MouseAdv_RateTitle",
                        "btn_MouseAdv_UsbRate4", "lab_MouseAdv_RateHint", "btn_MouseAdv_FireCtrl",
                        "ver_MouseAdv_Sensor"});

    Click(window, *window.FindControl("opt_MousePage_Light"));
    window.Find<skin::Combo>("btn_MouseLed_LedMode")->SelectItem(7);
    program.WaitForApply();
    window.HandleMessage(Message{skin::msg::kMouseLeave, 0, 0, {}});
    ASSERT_TRUE(window.FindControl("ver_mouselight")->IsVisibleInTree());
    CompareWithPicture(window, Grab(window), "lighting_" + suffix,
                       {"label_MouseLed_ModeTitle", "btn_MouseLed_LedMode", "LedColorButton", "LedBrightButton",
                        "LedSpeedButton", "LedDirectionButton", "hor_MouseLed_Symmetry"});
}

INSTANTIATE_TEST_SUITE_P(BothSkinsThreeLanguages, DpiLightingScreenshots, BothSkinsThreeLanguages(),
                         PictureTestName);

}  // namespace
}  // namespace mousecfg::test
