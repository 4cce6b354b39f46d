// The lighting page on the main window's skin, headless: the model's mode table, which controls each mode shows,
// and what each change writes and requests.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "config/ui/LightingModeTable.h"
#include "config/ui/LightingPage.h"
#include "device/DeviceMessages.h"
#include "skin/Combo.h"
#include "skin/Slider.h"
#include "skin/WindowMessages.h"
#include "tests/config_ui/PageFixture.h"

namespace mousecfg::test {
namespace {

using Requests = std::vector<FakePageSession::Request>;
using Table = ui::LightingModeTable;

std::string Row(const std::string& control, int shown, int flags, int count = 28) {
    std::string row = control + ",Name," + std::to_string(shown);
    for (int i = 0; i < count; ++i) {
        row += "," + std::to_string(flags);
    }
    return row;
}

TEST(LightingModeTable, ShortOrMalformedRowsAndModesWithoutACodeCannotBeChosen) {
    std::array<std::string, Table::kModeCount> rows;
    std::array<int, Table::kModeCount> codes{};
    codes.fill(0x81);
    rows[0] = Row("item0", 1, 1);
    rows[1] = Row("item1", 1, 1, 27);                     // 30 fields: short
    rows[2] = Row("item2", 1, 0) + ",junk";               // 32 fields: more is fine
    rows[3] = "item3,Name,1,1,1,x" + Row("", 0, 1, 25).substr(7);  // a flag that is not a number
    rows[4] = Row("item4", 1, 1);
    codes[4] = 0;                                          // the mouse has no code for it
    rows[5] = Row("item5", 0, 1);                          // the model does not offer it
    rows[6] = Row(" item6 ", 1, 0);
    const Table table = Table::Parse(rows, codes);
    EXPECT_TRUE(table.Selectable(0));
    EXPECT_TRUE(table.At(0).Flag(3));
    EXPECT_TRUE(table.At(0).Flag(30));
    EXPECT_FALSE(table.Selectable(1));
    EXPECT_TRUE(table.Selectable(2));
    EXPECT_FALSE(table.At(2).Flag(17));
    EXPECT_FALSE(table.Selectable(3));
    EXPECT_FALSE(table.Selectable(4));
    EXPECT_FALSE(table.Selectable(5));
    EXPECT_EQ(table.At(5).control, "item5") << "its control is hidden by it";
    EXPECT_EQ(table.At(6).control, "item6");
    EXPECT_FALSE(table.Selectable(7)) << "no entry";
    EXPECT_FALSE(table.Selectable(-1));
    EXPECT_FALSE(table.Selectable(14));
    // Why each mode the model names is not offered; a mode without an entry or offered by nobody is no problem.
    ASSERT_EQ(table.problems().size(), 3u);
    EXPECT_NE(table.problems()[0].find("lighting mode 1"), std::string::npos);
    EXPECT_NE(table.problems()[1].find("lighting mode 3"), std::string::npos);
    EXPECT_NE(table.problems()[2].find("lighting mode 4"), std::string::npos);
    EXPECT_EQ(Table::Parse({}, codes).FirstSelectable(), -1);
    EXPECT_EQ(table.FirstSelectable(), 0);
    EXPECT_EQ(Table::ShownControls(3), (std::vector<std::string_view>{"LedColorButton", "label_MouseLed_ColText"}));
    EXPECT_EQ(Table::ShownControls(17), (std::vector<std::string_view>{"chk_MouseLed_ColEn6"}));
    EXPECT_TRUE(Table::ShownControls(31).empty());
}

// The pages with the lighting page shown; the model file may have its [LEDEN] rows replaced.
struct LightingFixture {
    explicit LightingFixture(const std::map<int, std::string>& rows = {}) {
        if (!rows.empty()) {
            const auto model = pages.dir.path() / "model";
            std::filesystem::create_directories(model / "Config");
            std::ifstream in(BuildRes() / "VeruzUrir/MouseA/Config/DeviceFeature.ini");
            std::ostringstream out;
            for (std::string line; std::getline(in, line);) {
                const size_t equals = line.find('=');
                const auto replaced = equals != std::string::npos && section == "[LEDEN]"
                                          ? rows.find(std::atoi(line.substr(0, equals).c_str()))
                                          : rows.end();
                if (!line.empty() && line[0] == '[') {
                    section = line.substr(0, line.find(']') + 1);
                }
                out << (replaced != rows.end() ? line.substr(0, equals + 1) + replaced->second : line) << "\n";
            }
            std::ofstream(model / "Config/DeviceFeature.ini") << out.str();
            pages.session.feature = LoadDeviceFeature(model, 6);
        }
        pages.router->RefreshPages(0);
        EXPECT_TRUE(pages.Click("opt_MousePage_Light"));
        pages.session.requests.clear();
    }
    ui::LightingPage& Page() { return dynamic_cast<ui::LightingPage&>(pages.router->Lighting()); }
    LightingModeSettings& Record(int mode) { return pages.session.config.lighting[0][static_cast<size_t>(mode)]; }
    int Mode() { return pages.session.config.lighting[0][0].mode; }
    skin::Combo& List() { return *pages.window.Find<skin::Combo>("btn_MouseLed_LedMode"); }
    void Choose(int mode) {
        List().SelectItem(mode);  // as a click on the item does
        pages.Pump();
    }
    bool Shown(const std::string& name) { return pages.Find(name)->IsVisible(); }

    std::string section;
    PageFixture pages;
};

TEST(LightingPage, TheListOffersTheModelsModesInIndexOrder) {
    LightingFixture f;
    for (int mode = 0; mode < 14; ++mode) {
        EXPECT_EQ(f.List().GetItemAt(mode)->IsVisible(), mode < 8) << mode;
    }
    EXPECT_EQ(f.List().GetCurSel(), 2) << "the profile's mode";
    EXPECT_EQ(f.Page().CurrentMode(), 2);
    EXPECT_TRUE(f.pages.session.requests.empty());
}

TEST(LightingPage, AModeWithABrokenRowIsNotOfferedAndThePageStillWorks) {
    LightingFixture f({{3, "opt_MouseLed_Mode3,Spectrum,1,0,1"}, {4, "opt_MouseLed_Mode4,Wave,1,1,1,1,?"}});
    EXPECT_FALSE(f.List().GetItemAt(3)->IsVisible());
    EXPECT_FALSE(f.List().GetItemAt(4)->IsVisible());
    EXPECT_TRUE(f.List().GetItemAt(5)->IsVisible());
    ASSERT_EQ(f.Page().Modes().problems().size(), 2u);
    f.Choose(3);  // a hidden item chosen anyway (by the keyboard, say) is not taken
    EXPECT_EQ(f.Mode(), 2);
    EXPECT_EQ(f.List().GetCurSel(), 2);
    EXPECT_TRUE(f.pages.session.requests.empty());
    f.Choose(5);
    EXPECT_EQ(f.Mode(), 5);
    EXPECT_EQ(f.pages.session.requests, (Requests{{9, false, -1}}));
}

TEST(LightingPage, EachModeShowsTheControlsOfItsRow) {
    LightingFixture f;
    struct Case {
        int mode;
        bool colours, switches, single, brightness, speed, direction, symmetry;
    };
    const Case cases[] = {
        {0, false, false, false, false, false, false, false},  // off
        {1, true, false, true, true, false, false, false},     // static: one colour
        {2, true, false, true, true, true, false, false},      // breathing: one colour
        {3, false, false, false, true, true, false, false},    // spectrum
        {5, true, true, false, true, true, false, false},      // reactive: three slots
        {7, true, true, false, true, true, true, true},        // colour cycle
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        f.Choose(c.mode);
        EXPECT_EQ(f.Shown("LedColorButton"), c.colours);
        EXPECT_EQ(f.Shown("label_MouseLed_ColText"), c.colours);
        EXPECT_EQ(f.Shown("chk_MouseLed_ColEn0"), c.switches);
        EXPECT_EQ(f.Shown("opt_MouseLed_SingleCol0"), c.single);
        EXPECT_EQ(f.Shown("LedBrightButton"), c.brightness);
        EXPECT_EQ(f.Shown("slider_MouseLed_BrightVal"), c.brightness);
        EXPECT_EQ(f.Shown("LedSpeedButton"), c.speed);
        EXPECT_EQ(f.Shown("LedDirectionButton"), c.direction);
        EXPECT_EQ(f.Shown("Chk_MouseLed_SymnetryVal"), c.symmetry);
    }
    f.Choose(5);
    EXPECT_TRUE(f.Shown("btn_MouseLed_ColVal2"));
    EXPECT_FALSE(f.Shown("btn_MouseLed_ColVal3")) << "reactive has three colours";
    f.Choose(4);
    EXPECT_TRUE(f.Shown("opt_MouseLed_PositiveVal"));
    EXPECT_FALSE(f.Shown("opt_MouseLed_TwowayVal")) << "wave runs two ways";
    EXPECT_EQ(f.pages.session.requests.size(), 8u) << "one write per mode chosen";
}

TEST(LightingPage, TheLastEnabledColourStaysOn) {
    LightingFixture f;
    f.Choose(6);  // flicker: seven slots with switches, all on
    f.pages.session.requests.clear();
    for (int slot = 0; slot < 6; ++slot) {
        ASSERT_TRUE(f.pages.Click("chk_MouseLed_ColEn" + std::to_string(slot)));
        EXPECT_FALSE(f.pages.Find("btn_MouseLed_ColVal" + std::to_string(slot))->IsEnabled());
    }
    EXPECT_EQ(f.pages.session.requests.size(), 6u);
    ASSERT_TRUE(f.pages.Click("chk_MouseLed_ColEn6"));
    EXPECT_EQ(f.Record(6).colours[6].enabled, 1) << "the last slot stays on";
    EXPECT_TRUE(f.pages.Selected("chk_MouseLed_ColEn6"));
    EXPECT_TRUE(f.pages.Find("btn_MouseLed_ColVal6")->IsEnabled());
    EXPECT_EQ(f.pages.session.requests.size(), 6u) << "nothing changed, nothing is written";
    ASSERT_TRUE(f.pages.Click("chk_MouseLed_ColEn2"));
    ASSERT_TRUE(f.pages.Click("chk_MouseLed_ColEn6"));
    EXPECT_EQ(f.Record(6).colours[6].enabled, 0) << "with another slot on it may go";
    EXPECT_EQ(f.Record(6).colours[2].enabled, 1);
}

TEST(LightingPage, ASingleColourModeKeepsExactlyTheChosenColour) {
    LightingFixture f;
    f.Choose(1);
    EXPECT_TRUE(f.pages.Selected("opt_MouseLed_SingleCol0")) << "the lowest enabled slot";
    f.pages.session.requests.clear();
    ASSERT_TRUE(f.pages.Click("opt_MouseLed_SingleCol3"));
    for (int slot = 0; slot < 7; ++slot) {
        EXPECT_EQ(f.Record(1).colours[static_cast<size_t>(slot)].enabled, slot == 3 ? 1 : 0) << slot;
        EXPECT_EQ(f.pages.Find("btn_MouseLed_ColVal" + std::to_string(slot))->IsEnabled(), slot == 3) << slot;
    }
    EXPECT_EQ(f.pages.session.requests, (Requests{{9, false, -1}}));
    EXPECT_EQ(f.Record(2).colours[0].enabled, 1) << "other modes keep their colours";
}

TEST(LightingPage, SlidersWriteWhenLetGoAndColoursAndDirectionsAtOnce) {
    LightingFixture f;
    f.Choose(7);
    f.pages.session.requests.clear();
    auto& slider = *f.pages.window.Find<skin::Slider>("slider_MouseLed_BrightVal");
    const skin::Rect thumb = slider.ThumbRect();
    const int y = (thumb.top + thumb.bottom) / 2;
    const auto mouse = [&](uint32_t id, int x) {
        f.pages.window.HandleMessage(Message{id, 0, skin::msg::MakePointParam(x, y), {}});
    };
    mouse(skin::msg::kLButtonDown, (thumb.left + thumb.right) / 2);
    mouse(skin::msg::kMouseMove, slider.GetPos().right - 2);
    EXPECT_EQ(f.pages.Text("label_MouseLed_BrightValText"), "5");
    EXPECT_TRUE(f.pages.session.requests.empty());
    mouse(skin::msg::kLButtonUp, slider.GetPos().right - 2);
    EXPECT_EQ(f.Record(7).brightness, 5);
    EXPECT_EQ(f.pages.session.requests, (Requests{{9, false, -1}}));

    ASSERT_TRUE(f.pages.Click("opt_MouseLed_TwowayVal"));
    EXPECT_EQ(f.Record(7).direction, 2);
    f.pages.PickColour("btn_MouseLed_ColVal5", 0x00ABCDEF);
    EXPECT_EQ(f.Record(7).colours[5].colour, 0xABCDEF);
    EXPECT_EQ(f.pages.Find("btn_MouseLed_ColVal5")->GetBkColor(), 0xFFABCDEFu);
    EXPECT_EQ(f.pages.session.requests.size(), 3u);
}

TEST(LightingPage, TheMouseReportsAModeWithoutAWrite) {
    LightingFixture f;
    f.pages.router->OnDeviceEvent(Message{msg::kLightingChanged, 0x0200 | 0x80 | (4 + 1), 0, {}});
    EXPECT_EQ(f.Mode(), 4);
    EXPECT_EQ(f.List().GetCurSel(), 4);
    EXPECT_TRUE(f.Shown("LedDirectionButton"));
    f.pages.router->ShowLightingMode(1);
    EXPECT_EQ(f.List().GetCurSel(), 1);
    EXPECT_TRUE(f.pages.session.requests.empty());
}

}  // namespace
}  // namespace mousecfg::test
