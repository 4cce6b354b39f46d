// Pictures of the key page with the assignment panel open for button 3, in both skins and three languages (English,
// Simplified Chinese, German), drawn by Qt on the offscreen platform in the whole program against the virtual mouse
// and compared region by region with tests/gui/screenshots/keypage_<skin>_<language>.png.
#include <gtest/gtest.h>

#include "app/CKivoMainWnd.h"
#include "skin/WindowMessages.h"
#include "tests/gui/ProgramScreenshots.h"

namespace mousecfg::test {
namespace {

class KeyPageScreenshots : public ::testing::TestWithParam<SkinAndLanguage> {};

TEST_P(KeyPageScreenshots, PageAndPanelLookLikeTheirPictures) {
    const auto& [skin, language] = GetParam();
    ProgramUnderTest program(skin, language.index);
    app::CKivoMainWnd& window = program.Window();
    Click(window, *window.FindControl("btn_MouseKey_Click3"));
    window.HandleMessage(Message{skin::msg::kMouseLeave, 0, 0, {}});  // no hover look in the picture
    ASSERT_TRUE(window.FindControl("ver_mousekeysel")->IsVisibleInTree());
    CompareWithPicture(window, Grab(window),
                       "keypage_" + PictureSuffix(GetParam()) + ".png",
                       {"hor_mousehead", "mouse_click", "lab_MouseKey_Title", "hor_keysel_categories",
                        "list_MouseKey_Mouse", "home_layout"});
}

INSTANTIATE_TEST_SUITE_P(BothSkinsThreeLanguages, KeyPageScreenshots, BothSkinsThreeLanguages(),
                         PictureTestName);

}  // namespace
}  // namespace mousecfg::test
