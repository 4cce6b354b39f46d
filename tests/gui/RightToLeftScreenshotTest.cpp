// The advanced page in Arabic with the DPI pop-up and the colour picker open, drawn by Qt on the offscreen platform
// in the whole program against the virtual mouse: the pop-ups run from the right (the level badge and the pop-up's
// accent bar on the right, the close button on the left), the colour field keeps its picture. In both skins,
// compared square by square with tests/gui/screenshots/rtl_{advanced,colour}_<skin>_ar.png
// (MOUSECFG_UPDATE_REFERENCES=1 rewrites them); the page picture carries the DPI pop-up in its bottom-right
// corner, where the pop-up shows on the screen.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/CKivoMainWnd.h"
#include "app/CPopColorWnd.h"
#include "app/CPopPush.h"
#include "app/Shell.h"
#include "platform/qt/QtFontRegistry.h"
#include "skin/Option.h"
#include "tests/gui/ShellScreenshots.h"

namespace mousecfg::test {
namespace {

constexpr int kArabic = 13;

// How far a pixel's colour is from that of the pop-up's card (sampled in the middle of its bottom part): the accent
// bar is a strong colour on a dark or a white card.
int FromCard(const QImage& image, int x, int y) {
    const QColor pixel(image.pixel(x, y));
    const QColor card(image.pixel(150, 100));
    return std::abs(pixel.red() - card.red()) + std::abs(pixel.green() - card.green()) +
           std::abs(pixel.blue() - card.blue());
}

class RightToLeftScreenshots : public ::testing::TestWithParam<const char*> {};

TEST_P(RightToLeftScreenshots, TheAdvancedPageWithTheDpiPopupAndTheColourPickerInArabic) {
    const std::string skin = GetParam();
    const std::string suffix = skin.substr(4) + "_ar.png";  // "black_ar.png"
    qt::QtFontRegistry fonts;
    ProgramUnderTest program(skin, kArabic, fonts);
    app::CKivoMainWnd& window = program.Window();
    ASSERT_TRUE(window.Find<skin::Option>("opt_MousePage_Adv")->Activate());
    // The mouse's own DPI button: the pop-up shows as it does on the desktop.
    ASSERT_EQ(program.Shell().HandleRequest("sim dpi-button 3"), "ok");
    app::CPopPush* popup = window.DpiPopup();
    ASSERT_NE(popup, nullptr);
    for (int waited = 0; waited < 5000 && !popup->IsShown(); waited += 20) {
        Spin(20);
    }
    ASSERT_TRUE(popup->IsShown());
    Spin(400);  // the show animation ends
    const QImage pop = Grab(*popup);
    ASSERT_EQ(pop.size(), QSize(300, 112));
    EXPECT_GT(FromCard(pop, 297, 56), 120) << "the accent bar is on the right edge";
    EXPECT_LT(FromCard(pop, 3, 56), 30) << "and not on the left";

    QImage page = Grab(window);
    {
        QPainter painter(&page);
        painter.drawImage(page.width() - pop.width() - 16, page.height() - pop.height() - 16, pop);
    }
    CompareTiles(page, MOUSECFG_SCREENSHOTS, "rtl_advanced_" + suffix, 32);

    app::CPopColorWnd picker(std::filesystem::path(MOUSECFG_RES_DIR) / "VeruzUrir/MouseA/Config/PopColor.ini",
                             0x22D3EE);
    ASSERT_TRUE(picker.Create(&window, "colour"));
    picker.ShowWindow(true, false);
    CompareTiles(Grab(picker), MOUSECFG_SCREENSHOTS, "rtl_colour_" + suffix, 32);
    picker.Close();
}

INSTANTIATE_TEST_SUITE_P(BothSkins, RightToLeftScreenshots, ::testing::Values("res_black", "res_white"),
                         [](const auto& param) { return std::string(param.param).substr(4); });

}  // namespace
}  // namespace mousecfg::test
