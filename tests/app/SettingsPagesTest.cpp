// The advanced and lighting pages in the whole program against the virtual mouse: what the user does on them
// reaches the mouse in one single run, and a change made while a run is under way follows it.
#include <gtest/gtest.h>

#include "app/SessionConfiguration.h"
#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"
#include "config/MouseSession.h"
#include "platform/PrivateProfile.h"
#include "skin/Button.h"
#include "skin/Combo.h"
#include "skin/Edit.h"
#include "skin/Notification.h"
#include "skin/PaintManager.h"
#include "skin/SkinResources.h"
#include "skin/Slider.h"
#include "skin/WindowMessages.h"
#include "tests/app/ShellHarness.h"

namespace mousecfg {
namespace {

using app::Simulation;
using test::ShellHarness;

constexpr uint8_t kDpiTableCode = 0x06;
constexpr uint8_t kDpiColoursCode = 0x07;
constexpr uint8_t kSystemCode = 0x02;
constexpr uint8_t kLightCode = 0x09;

MouseConfig& Document(ShellHarness& h) {
    return *h.shell->Configuration().Document();
}

const DeviceFeature& Feature(ShellHarness& h) {
    return *h.shell->Configuration().Feature();
}

// Frames the mouse received by command code since its log was cleared.
std::map<int, int> Frames(ShellHarness& h) {
    std::map<int, int> frames;
    for (int code : {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A}) {
        if (const int count = h.Mouse().CountFrames(static_cast<uint8_t>(code))) {
            frames[code] = count;
        }
    }
    return frames;
}

// The mouse's 16-bit sensor value of DPI level `level` of its active profile.
int MouseSensorValue(ShellHarness& h, int level) {
    const auto table = h.Mouse().Profile(h.Mouse().System().activeProfile).dpiTable;
    return table[static_cast<size_t>(2 + 2 * level)] | table[static_cast<size_t>(3 + 2 * level)] << 8;
}

void Mouse(ShellHarness& h, uint32_t id, int x, int y) {
    h.Window().HandleMessage(Message{id, 0, skin::msg::MakePointParam(x, y), {}});
}

// Drags the thumb of a slider of the main window to its right end, and lets it go only when `release`.
void DragToEnd(ShellHarness& h, const std::string& name, bool release) {
    h.Window().GetPaintManager().UpdateLayout();
    auto* slider = h.Window().Find<skin::Slider>(name);
    ASSERT_NE(slider, nullptr) << name;
    const skin::Rect thumb = slider->ThumbRect();
    const int y = (thumb.top + thumb.bottom) / 2;
    Mouse(h, skin::msg::kLButtonDown, (thumb.left + thumb.right) / 2, y);
    for (int x = thumb.right; x <= slider->GetPos().right; x += 7) {
        Mouse(h, skin::msg::kMouseMove, x, y);
    }
    if (release) {
        Mouse(h, skin::msg::kLButtonUp, slider->GetPos().right, y);
    }
}

void Type(ShellHarness& h, const std::string& edit, const std::string& text) {
    auto* control = h.Window().Find<skin::Edit>(edit);
    ASSERT_NE(control, nullptr) << edit;
    h.Window().GetPaintManager().SetFocus(control);
    control->ReplaceText(text);
    control->PressReturn();
    h.Pump();
}

TEST(SettingsPages, ADpiChangeReachesTheMouseInOneSingleRun) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    ShellHarness::Click(h.Window(), "opt_MousePage_Adv");
    h.Mouse().ClearLog();

    // Another active level: the DPI table and the new tag, each sent once on the cable.
    ShellHarness::Click(h.Window(), "chk_MouseAdv_SelDPI3");
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Mouse().Profile(0).dpiTable[1], 4) << "the mouse holds level 4 as the active one";
    EXPECT_EQ(Frames(h), (std::map<int, int>{{kDpiTableCode, 1}, {kSystemCode, 1}}));

    // A typed value for level 0: the nearest gear.
    h.Mouse().ClearLog();
    Type(h, "MouseAdv_Edit0", "1625");
    ASSERT_TRUE(h.WaitForApply());
    const int gear = *Feature(h).FindGearByDpi("1650");
    EXPECT_EQ(Document(h).profiles[0].dpiLevels[0].gear, gear);
    EXPECT_EQ(MouseSensorValue(h, 0), Feature(h).GearSensorValue(gear));
    EXPECT_EQ(Frames(h), (std::map<int, int>{{kDpiTableCode, 1}, {kSystemCode, 1}}));

    // The slider: nothing while it moves, one DPI table when it is let go.
    h.Mouse().ClearLog();
    DragToEnd(h, "btn_MouseAdv_DpiSlider", false);
    h.Pump();
    EXPECT_TRUE(Frames(h).empty()) << "a drag writes nothing";
    EXPECT_EQ(h.Text("lab_MouseAdv_DpiSliderValue"), "30000");
    DragToEnd(h, "btn_MouseAdv_DpiSlider", true);
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(MouseSensorValue(h, 3), Feature(h).GearSensorValue(Feature(h).gearTable.count));
    EXPECT_EQ(Frames(h), (std::map<int, int>{{kDpiTableCode, 1}, {kSystemCode, 1}}));
}

TEST(SettingsPages, ADragWhileARunIsUnderWayIsWrittenAfterIt) {
    ShellHarness h(Simulation::Receiver);
    h.Start();
    ShellHarness::Click(h.Window(), "opt_MousePage_Adv");
    h.shell->Configuration().RequestApply(6, true, 0);  // a full run of the profile
    ASSERT_TRUE(h.shell->Configuration().ApplyRunning());
    DragToEnd(h, "btn_MouseAdv_DpiSlider", true);
    EXPECT_EQ(h.Text("lab_MouseAdv_DpiSliderValue"), "30000") << "the page follows at once";
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(MouseSensorValue(h, 1), Feature(h).GearSensorValue(Feature(h).gearTable.count))
        << "the change made during the run reached the mouse after it";
}

TEST(SettingsPages, AColourPickedForALevelReachesTheMouse) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    ShellHarness::Click(h.Window(), "opt_MousePage_Adv");
    h.Mouse().ClearLog();
    // The picker runs modally: choose its fourth default colour (0x34D399) and confirm.
    h.Platform().RunOnUiThread([] {
        for (skin::PaintManager* manager : skin::SkinResources::Managers()) {
            if (auto* swatch = dynamic_cast<skin::Button*>(manager->FindControl("def_color3"))) {
                swatch->Activate();
                dynamic_cast<skin::Button*>(manager->FindControl("popok"))->Activate();
            }
        }
    });
    skin::Notification focus;
    focus.type = "setfocus";
    focus.senderName = "btn_MouseAdv_Color2";
    h.Window().Notify(focus);
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(Document(h).profiles[0].dpiLevels[2].colour, 0x34D399);
    const auto colours = h.Mouse().Profile(0).dpiColours;
    EXPECT_EQ((std::array<int, 3>{colours[6], colours[7], colours[8]}), (std::array<int, 3>{0xD3, 0x34, 0x99}))
        << "green, red, blue";
    EXPECT_EQ(Frames(h), (std::map<int, int>{{kDpiColoursCode, 1}, {kSystemCode, 1}}));
}

TEST(SettingsPages, ALightingModeAndASleepTimeReachTheMouse) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    ShellHarness::Click(h.Window(), "opt_MousePage_Light");
    h.Mouse().ClearLog();
    auto* list = h.Window().Find<skin::Combo>("btn_MouseLed_LedMode");
    ASSERT_NE(list, nullptr);
    list->SelectItem(4);  // wave
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Mouse().Profile(0).light[0][0] & 0xBF, 129 + 4);
    EXPECT_EQ(Frames(h), (std::map<int, int>{{kLightCode, 2}, {kSystemCode, 1}})) << "the header and the effect";

    ShellHarness::Click(h.Window(), "opt_MousePage_Adv");
    Type(h, "Edit_Sleep_Time", "25");
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Mouse().System().sleepSeconds, 25 * 60);
    ini::ClearCache();
    EXPECT_EQ(h.Setting("Set", "SleepTime"), "25");
}

TEST(SettingsPages, AfterASkinSwitchThePagesShowTheProfileAgainAndStillWrite) {
    ShellHarness h(Simulation::Cable);
    h.Start();
    Document(h).profiles[0].dpiLevels[0].colour = 0x102030;
    ShellHarness::Click(h.Window(), "ChangeSkin");
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(h.Text("chk_MouseAdv_SelDPI1"), "800");
    EXPECT_EQ(h.Window().FindControl("btn_MouseAdv_Color0")->GetBkColor(), 0xFF102030u);
    EXPECT_EQ(h.Text("lab_MouseAdv_DpiSliderValue"), "800");
    EXPECT_EQ(h.Text("LODHeight1"), "1mm") << "the virtual mouse's chip 6 names the lift-off heights";
    ShellHarness::Click(h.Window(), "opt_MousePage_Light");
    h.Mouse().ClearLog();
    ShellHarness::Click(h.Window(), "opt_MouseLed_SingleCol4");
    ASSERT_TRUE(h.WaitForApply());
    EXPECT_EQ(Frames(h), (std::map<int, int>{{kLightCode, 2}, {kSystemCode, 1}}));
    EXPECT_EQ(h.Mouse().Profile(0).light[3][3], 1 << 4) << "breathing (code 131, record 3) lights in colour 5 only";
}

}  // namespace
}  // namespace mousecfg
