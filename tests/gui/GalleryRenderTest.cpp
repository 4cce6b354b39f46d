// Screenshots of the gallery compared with the references in tests/gui/reference, region by region within a
// tolerance (fonts render slightly differently between machines). MOUSECFG_UPDATE_REFERENCES=1 rewrites them.
#include <QImage>
#include <gtest/gtest.h>

#include "tests/gui/GalleryWindow.h"
#include "tests/gui/ReferenceImages.h"

namespace mousecfg::skin::qt::test {
namespace {

using mousecfg::test::ImageDifference;

// The controls whose areas are compared: every class in its shown states.
const char* const kRegions[] = {
    "title",         "btn_state_normal", "btn_state_hot", "btn_state_pushed", "btn_state_disabled",
    "btn_live",      "opt_slow",         "opt_fast",      "opt_off",          "chk_on",
    "chk_off",       "chk_disabled",     "tab_one",       "tab_two",          "tab_pages",
    "slider_demo",   "slider_disabled",  "progress_low",  "progress_high",    "edit_text",
    "edit_prompt",   "edit_number",      "edit_password", "edit_disabled",    "combo_demo",
    "palette",       "list_demo",        "tree_demo",     "card0",            "card1",
    "anim_demo",
};

void CompareWithReference(GalleryWindow& window, const QImage& shot, const QString& name,
                          const std::vector<const char*>& regions) {
    mousecfg::test::CompareWithReference(shot, QStringLiteral(MOUSECFG_GUI_REFERENCES "/") + name,
                                         std::vector<std::string>(regions.begin(), regions.end()),
                                         [&window](const std::string& region) { return window.RectOf(region); });
}

TEST(GalleryRender, EveryControlLooksLikeItsReference) {
    GalleryWindow window;
    const QImage shot = window.Grab();
    ASSERT_EQ(shot.size(), QSize(900, 640));
    CompareWithReference(window, shot, "gallery.png", std::vector<const char*>(std::begin(kRegions), std::end(kRegions)));
}

TEST(GalleryRender, HotAndPressedStatesLookLikeTheirReference) {
    GalleryWindow window;
    // Press and hold the live button; then hover the unchecked box.
    window.Mouse(QEvent::MouseMove, window.CenterOf("btn_live"));
    window.Mouse(QEvent::MouseButtonPress, window.CenterOf("btn_live"), Qt::LeftButton);
    const QImage pressed = window.Grab();
    window.Mouse(QEvent::MouseMove, window.CenterOf("chk_off"), Qt::LeftButton);
    window.Mouse(QEvent::MouseButtonRelease, window.CenterOf("chk_off"));
    const QImage hot = window.Grab();
    QImage combined = pressed.copy();
    const QRect box = window.RectOf("chk_off");
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            combined.setPixel(x, y, hot.pixel(x, y));
        }
    }
    CompareWithReference(window, combined, "gallery_states.png", {"btn_live", "chk_off"});
    EXPECT_GT(ImageDifference(pressed, window.Grab(), window.RectOf("btn_live")), 3.0)
        << "the pressed look differs from the released one";
}

}  // namespace
}  // namespace mousecfg::skin::qt::test
