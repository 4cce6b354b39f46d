// The advanced page on the main window's skin, headless: DPI levels, typed values, the gear slider, report rates,
// the fire key and the sensor and power options, with what they write and request.
#include <gtest/gtest.h>

#include "config/ApplyMessages.h"
#include "config/ui/AdvancedPage.h"
#include "device/DeviceMessages.h"
#include "skin/Edit.h"
#include "skin/Notification.h"
#include "skin/Option.h"
#include "skin/Slider.h"
#include "skin/WindowMessages.h"
#include "tests/config_ui/PageFixture.h"

namespace mousecfg::test {
namespace {

using Requests = std::vector<FakePageSession::Request>;

// The pages with the advanced page shown and set up for the document's profile.
struct AdvancedFixture {
    explicit AdvancedFixture(int chip = 6) {
        pages.session.feature = LoadDeviceFeature(BuildRes() / "VeruzUrir/MouseA", chip);
        pages.router->RefreshPages(0);
        EXPECT_TRUE(pages.Click("opt_MousePage_Adv"));
        pages.session.requests.clear();
    }
    ProfileSettings& Profile() { return pages.session.config.profiles[0]; }
    ui::AdvancedPage& Page() { return dynamic_cast<ui::AdvancedPage&>(pages.router->Advanced()); }
    std::string Text(const std::string& name) const { return pages.Text(name); }
    bool Enabled(const std::string& name) const { return pages.Find(name)->IsEnabledInTree(); }
    skin::Slider& Slider(const std::string& name) { return *pages.window.Find<skin::Slider>(name); }

    // Types `text` into an edit and ends it with Return (or by leaving it).
    void Type(const std::string& edit, const std::string& text, bool leave = false) {
        auto* control = pages.window.Find<skin::Edit>(edit);
        ASSERT_NE(control, nullptr) << edit;
        control->SetText(text);
        skin::Notification n;
        n.type = leave ? "killfocus" : "return";
        n.senderName = edit;
        pages.router->Notify(n);
        pages.Pump();
    }
    // Presses the thumb of a slider, moves it to the values `steps` one after another (calling `during` after
    // each move) and lets it go.
    void Drag(const std::string& name, const std::vector<int>& steps, const std::function<void()>& during = {}) {
        skin::Slider& slider = Slider(name);
        const skin::Rect thumb = slider.ThumbRect();
        const int y = (thumb.top + thumb.bottom) / 2;
        Mouse(skin::msg::kLButtonDown, (thumb.left + thumb.right) / 2, y);
        int x = 0;
        for (int value : steps) {
            x = XOf(slider, value);
            Mouse(skin::msg::kMouseMove, x, y);
            if (during) {
                during();
            }
        }
        Mouse(skin::msg::kLButtonUp, x, y);
        pages.Pump();
    }
    int XOf(const skin::Slider& slider, int value) const {
        const skin::Rect pos = slider.GetPos();
        const int travel = pos.width() - slider.ThumbRect().width();
        const int span = slider.GetMaxValue() - slider.GetMinValue();
        return pos.left + slider.ThumbRect().width() / 2 + travel * (value - slider.GetMinValue()) / std::max(1, span);
    }
    void Mouse(uint32_t id, int x, int y) {
        pages.window.HandleMessage(Message{id, 0, skin::msg::MakePointParam(x, y), {}});
    }
    // The program's messages the pages posted to the main window (relays), as (message, wParam).
    std::vector<std::pair<uint32_t, uintptr_t>> Relays() const {
        std::vector<std::pair<uint32_t, uintptr_t>> relays;
        for (const Message& message : pages.window.posted) {
            if (message.id >= msg::kSavePowerChanged && message.id <= msg::kShortPressChanged) {
                relays.emplace_back(message.id, message.wParam);
            }
        }
        return relays;
    }
    std::vector<Message> Posted(uint32_t id) const {
        std::vector<Message> found;
        for (const Message& message : pages.window.posted) {
            if (message.id == id) {
                found.push_back(message);
            }
        }
        return found;
    }

    PageFixture pages;
};

TEST(AdvancedPage, SetUpShowsTheLevelsTheActiveGearAndTheSlidersRange) {
    AdvancedFixture f;
    const std::vector<std::string> dpis = {"400", "800", "1600", "3200", "6400", "12800", "20000", "26000"};
    for (int level = 0; level < 8; ++level) {
        const std::string n = std::to_string(level);
        EXPECT_EQ(f.Text("chk_MouseAdv_SelDPI" + n), dpis[static_cast<size_t>(level)]) << level;
        EXPECT_EQ(f.Text("MouseAdv_Edit" + n), dpis[static_cast<size_t>(level)]) << level;
        const bool on = level < 6;
        EXPECT_EQ(f.pages.Selected("chk_MouseAdv_PDIEn" + n), on) << level;
        EXPECT_EQ(f.Enabled("chk_MouseAdv_SelDPI" + n), on) << "a level that is off cannot be chosen";
        EXPECT_EQ(f.Enabled("btn_MouseAdv_Color" + n), on);
    }
    EXPECT_EQ(f.pages.Find("btn_MouseAdv_Color2")->GetBkColor(), 0xFF0000FFu);
    EXPECT_TRUE(f.pages.Selected("chk_MouseAdv_SelDPI1"));
    const int gears = f.pages.session.feature.gearTable.count;
    EXPECT_EQ(f.Slider("btn_MouseAdv_DpiSlider").GetMaxValue(), gears);
    EXPECT_EQ(f.Slider("btn_MouseAdv_DpiSlider").GetValue(), 16);
    EXPECT_EQ(f.Text("lab_MouseAdv_DpiSliderValue"), "800");
    EXPECT_EQ(f.Text("lab_MouseAdv_DpiSliderMin"), "50");
    EXPECT_EQ(f.Text("lab_MouseAdv_DpiSliderMax"), "/ 30000");
    EXPECT_EQ(f.Text("lab_MouseAdv_FireValue"), "10");
    EXPECT_TRUE(f.pages.session.requests.empty()) << "setting up requests nothing";

    // A model that offers six levels hides the last two rows.
    f.pages.session.feature.uiDpiLevelCount = 6;
    f.pages.router->RefreshPages(0);
    EXPECT_TRUE(f.pages.Visible("hor_MouseAdv_Level5"));
    EXPECT_FALSE(f.pages.Visible("hor_MouseAdv_Level6"));
    EXPECT_FALSE(f.pages.Visible("hor_MouseAdv_Level7"));
}

// Gears around 1600: 1550 (gear 31), 1600 (32), 1650 (33); the table ends at 30000.
TEST(AdvancedPage, TypedDpiTakesTheNearestGearAndBadTextGivesTheLevelBack) {
    AdvancedFixture f;
    struct Case {
        const char* typed;
        const char* shown;
        bool written;
    };
    const Case cases[] = {
        {"1620", "1600", true},    {"1625", "1650", true},   {"1574", "1550", true},   {"1575", "1600", true},
        {"01650", "1650", true},   {"999999", "30000", true}, {"10", "50", true},       {"1600", "1600", true},
        {"", "1600", false},       {"abc", "1600", false},    {"-5", "1600", false},    {"0", "1600", false},
        {"\t", "1600", false},     {"1600", "1600", false},  // the same gear again writes nothing
        {"99999999999999999999", "1600", false},
    };
    for (const Case& c : cases) {
        f.pages.session.requests.clear();
        f.Type("MouseAdv_Edit3", c.typed);
        EXPECT_EQ(f.Text("MouseAdv_Edit3"), c.shown) << "typed '" << c.typed << "'";
        EXPECT_EQ(f.Text("chk_MouseAdv_SelDPI3"), c.shown) << c.typed;
        const int gear = f.Profile().dpiLevels[3].gear;
        EXPECT_GE(gear, 1);
        EXPECT_LE(gear, f.pages.session.feature.gearTable.count);
        EXPECT_EQ(f.pages.session.requests, (c.written ? Requests{{6, false, -1}} : Requests{})) << c.typed;
    }
    // The typed level is the edit's own, not the active level (1): the slider stays with the active level.
    EXPECT_EQ(f.Profile().currentDpiLevel, 1);
    EXPECT_EQ(f.Text("lab_MouseAdv_DpiSliderValue"), "800");
    f.Type("MouseAdv_Edit1", "2\t000", true);  // tabs are dropped; leaving the edit takes it as Return does
    EXPECT_EQ(f.Text("lab_MouseAdv_DpiSliderValue"), "2000");
    EXPECT_EQ(f.Slider("btn_MouseAdv_DpiSlider").GetValue(), 40);
}

TEST(AdvancedPage, TheSliderShowsTheDpiWhileDraggedAndWritesOnceWhenLetGo) {
    AdvancedFixture f;
    std::vector<std::string> seen;
    f.Drag("btn_MouseAdv_DpiSlider", {60, 120, 200}, [&] {
        seen.push_back(f.Text("lab_MouseAdv_DpiSliderValue"));
        EXPECT_TRUE(f.pages.session.requests.empty()) << "nothing is written while the thumb moves";
    });
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_NE(seen[0], seen[2]) << "the value label follows the thumb";
    const int gear = f.Slider("btn_MouseAdv_DpiSlider").GetValue();
    EXPECT_EQ(f.Profile().dpiLevels[1].gear, gear);
    const std::string dpi = f.pages.session.feature.GearDpi(gear);
    EXPECT_EQ(f.Text("lab_MouseAdv_DpiSliderValue"), dpi);
    EXPECT_EQ(f.Text("chk_MouseAdv_SelDPI1"), dpi);
    EXPECT_EQ(f.Text("MouseAdv_Edit1"), dpi);
    EXPECT_EQ(f.pages.session.requests, (Requests{{6, false, -1}}));
}

TEST(AdvancedPage, ChangesMadeDuringARunWaitForItAndGoOutOnePerFinishedRun) {
    AdvancedFixture f;
    f.pages.session.applyRunning = true;
    f.Drag("btn_MouseAdv_DpiSlider", {100});
    f.Drag("btn_MouseAdv_DpiSlider", {140});  // the same request again waits once
    f.pages.PickColour("btn_MouseAdv_Color0", 0x123456);
    EXPECT_TRUE(f.pages.session.requests.empty());
    EXPECT_EQ(f.Page().WaitingRequests(), 2u);
    EXPECT_EQ(f.Profile().dpiLevels[0].colour, 0x123456) << "the document changes at once";

    f.pages.router->ApplyFinished();  // still running: nothing goes out
    EXPECT_TRUE(f.pages.session.requests.empty());
    f.pages.session.applyRunning = false;
    f.pages.router->ApplyFinished();
    EXPECT_EQ(f.pages.session.requests, (Requests{{6, false, -1}}));
    f.pages.router->ApplyFinished();
    EXPECT_EQ(f.pages.session.requests, (Requests{{6, false, -1}, {7, false, -1}}));
    f.pages.router->ApplyFinished();
    EXPECT_EQ(f.pages.session.requests.size(), 2u);
}

TEST(AdvancedPage, ActiveLevelSwitchesAndColoursChangeTheDocumentAndAskForTheirRun) {
    AdvancedFixture f;
    ASSERT_TRUE(f.pages.Click("chk_MouseAdv_SelDPI3"));
    EXPECT_EQ(f.Profile().currentDpiLevel, 3);
    EXPECT_EQ(f.Slider("btn_MouseAdv_DpiSlider").GetValue(), f.Profile().dpiLevels[3].gear);
    EXPECT_EQ(f.Text("lab_MouseAdv_DpiSliderValue"), "3200");

    ASSERT_TRUE(f.pages.Click("chk_MouseAdv_PDIEn2"));
    EXPECT_EQ(f.Profile().dpiLevels[2].enabled, 0);
    EXPECT_FALSE(f.Enabled("chk_MouseAdv_SelDPI2"));
    EXPECT_FALSE(f.Enabled("btn_MouseAdv_Color2"));
    ASSERT_TRUE(f.pages.Click("chk_MouseAdv_PDIEn6"));
    EXPECT_EQ(f.Profile().dpiLevels[6].enabled, 1);
    EXPECT_TRUE(f.Enabled("btn_MouseAdv_Color6"));

    // The colour button opens the picker with its colour; the picked colour comes back to that button.
    f.pages.PickColour("btn_MouseAdv_Color4", 0x11223344);  // the top byte is not a colour
    ASSERT_EQ(f.pages.host.pickerColours.size(), 1u);
    EXPECT_EQ(f.pages.host.pickerColours[0] & 0xFFFFFFu, 0x00FFFFu);
    EXPECT_EQ(f.Profile().dpiLevels[4].colour, 0x223344);
    EXPECT_EQ(f.pages.Find("btn_MouseAdv_Color4")->GetBkColor(), 0xFF223344u);
    EXPECT_EQ(f.pages.session.requests, (Requests{{6, false, -1}, {6, false, -1}, {6, false, -1}, {7, false, -1}}));
}

TEST(AdvancedPage, TheFireValueWritesTheFireKeysWhenLetGoAndZeroStandsForTwo) {
    AdvancedFixture f;
    f.Drag("btn_MouseAdv_FireCtrl", {30, 50}, [&] { EXPECT_TRUE(f.pages.session.requests.empty()); });
    EXPECT_EQ(f.Profile().fireValue, 50);
    EXPECT_EQ(f.Text("lab_MouseAdv_FireValue"), "50");
    EXPECT_EQ(f.pages.session.fireMarks, 1);
    EXPECT_EQ(f.pages.session.requests, (Requests{{4, false, -1}}));

    f.Slider("btn_MouseAdv_FireCtrl").SetMinValue(0);
    f.Slider("btn_MouseAdv_FireCtrl").SetValue(0);
    skin::Notification released;
    released.type = "valuechanged";
    released.senderName = "btn_MouseAdv_FireCtrl";
    f.pages.router->Notify(released);
    EXPECT_EQ(f.Profile().fireValue, 2);
    EXPECT_EQ(f.Slider("btn_MouseAdv_FireCtrl").GetValue(), 2);
}

struct RateCase {
    const char* model;
    LinkKind link;
    int storedIndex;    // usbRate and dongleRate in the document before
    int shown;          // the option selected after set-up, -1 for none
    bool highRates;     // options 5..7 shown
    bool lighting;      // the lighting page offered
};

TEST(AdvancedPage, ReportRateOptionsFollowTheLinkAndTheModel) {
    const RateCase cases[] = {
        {"Virtual Mouse", LinkKind::Cable, 2, 2, false, true},
        {"Virtual Mouse", LinkKind::Receiver, 5, 3, false, true},  // four rates: an index above is held at 3
        {"Virtual Mouse", LinkKind::Ble, 2, 0, false, true},
        {"Virtual Mouse", LinkKind::None, 2, -1, false, true},
        {"KT61", LinkKind::Cable, 5, 5, false, true},
        {"KT61", LinkKind::Receiver, 6, 6, true, false},
        {"KT62", LinkKind::Cable, 1, 1, false, false},  // its table has four rates: the three above are not offered
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " link " + std::to_string(static_cast<int>(c.link)));
        AdvancedFixture f;
        f.pages.session.deviceName = c.model;
        f.pages.session.link = c.link;
        f.Profile().usbRate = f.Profile().dongleRate = c.storedIndex;
        f.Profile().bleRate = 3;
        f.pages.router->RefreshPages(0);
        for (int option = 1; option <= 7; ++option) {
            const std::string name = "btn_MouseAdv_UsbRate" + std::to_string(option);
            EXPECT_EQ(f.pages.Selected(name), option - 1 == c.shown) << name;
            if (option >= 5) {
                EXPECT_EQ(f.pages.Visible(name), c.highRates) << name;
            }
        }
        EXPECT_EQ(f.pages.Visible("lab_MouseAdv_RateHint"), !c.highRates);
        EXPECT_EQ(f.pages.Visible("opt_MousePage_Light"), c.lighting);
        if (c.link == LinkKind::Ble) {
            EXPECT_EQ(f.Profile().bleRate, 0);
            EXPECT_FALSE(f.Enabled("btn_MouseAdv_UsbRate3")) << "over BLE the rate cannot be chosen";
            continue;
        }
        EXPECT_EQ(f.Profile().usbRate, std::min(c.storedIndex, std::string(c.model) == "KT61" ? 6 : 3));
        if (c.link == LinkKind::None) {
            continue;
        }
        f.pages.session.requests.clear();
        ASSERT_TRUE(f.pages.Click("btn_MouseAdv_UsbRate1"));
        EXPECT_EQ(c.link == LinkKind::Cable ? f.Profile().usbRate : f.Profile().dongleRate, 0);
        EXPECT_EQ(f.pages.session.requests, (Requests{{3, false, -1}}));
    }
}

TEST(AdvancedPage, TheLightingPageLeavesWhenTheModelOffersNone) {
    AdvancedFixture f;
    ASSERT_TRUE(f.pages.Click("opt_MousePage_Light"));
    f.pages.session.deviceName = "KT61";
    f.pages.router->OnConnectionChanged(true, false);
    EXPECT_FALSE(f.pages.Visible("ver_mouselight"));
    EXPECT_TRUE(f.pages.Visible("ver_mousekeypage"));
    EXPECT_TRUE(f.pages.Selected("opt_MousePage_Keys"));
    EXPECT_FALSE(f.pages.Find("opt_MouseKey_Led")->IsVisible());
    f.pages.session.link = LinkKind::Cable;
    f.pages.router->OnConnectionChanged(true, true);
    EXPECT_TRUE(f.pages.Visible("opt_MousePage_Light"));
    EXPECT_TRUE(f.pages.Find("opt_MouseKey_Led")->IsVisible());
}

TEST(AdvancedPage, TheMouseMovesTheActiveLevelAndTheRateWithoutWriting) {
    AdvancedFixture f;
    f.pages.router->OnDeviceEvent(Message{msg::kDpiLevelChanged, 5, 0, {}});
    EXPECT_TRUE(f.pages.Selected("chk_MouseAdv_SelDPI4"));
    EXPECT_EQ(f.Text("lab_MouseAdv_DpiSliderValue"), "6400");
    f.pages.router->OnDeviceEvent(Message{msg::kReportRateChanged, 0x0100 | 2, 0, {}});  // code 2 is index 2
    EXPECT_TRUE(f.pages.Selected("btn_MouseAdv_UsbRate3"));
    EXPECT_EQ(f.Profile().dongleRate, 2);
    f.pages.router->ShowDpiLevel(0);
    f.pages.router->ShowRate(0);
    EXPECT_TRUE(f.pages.Selected("chk_MouseAdv_SelDPI0"));
    EXPECT_TRUE(f.pages.Selected("btn_MouseAdv_UsbRate1"));
    EXPECT_EQ(f.Profile().currentDpiLevel, 0);
    EXPECT_TRUE(f.pages.session.requests.empty());
    EXPECT_TRUE(f.Relays().empty());
}

struct ChipCase {
    int chip;
    std::array<bool, 5> shown;  // straight line, ripple, lift-off, jitter, smooth line
    const char* lodTexts;       // the two options' texts, "" when the chip leaves them
};

TEST(AdvancedPage, EachSensorChipShowsItsOptions) {
    const ChipCase cases[] = {
        {0, {0, 0, 0, 0, 0}, ""},          {1, {0, 0, 0, 0, 0}, ""},        {2, {0, 0, 0, 0, 0}, ""},
        {11, {0, 0, 0, 0, 0}, ""},         {9, {0, 0, 0, 0, 1}, ""},        {10, {0, 0, 0, 0, 1}, ""},
        {3, {1, 0, 0, 0, 0}, ""},          {4, {1, 1, 1, 0, 0}, "Low/High"}, {6, {1, 1, 1, 0, 0}, "1mm/2mm"},
        {7, {1, 1, 1, 0, 0}, "2mm/3mm"},   {8, {1, 1, 0, 0, 0}, ""},        {12, {0, 0, 1, 1, 0}, "1mm/2mm"},
    };
    const char* containers[] = {"StraightLine_Ver", "RippleCtrl_Ver", "LODHeight_Ver", "JitterCorrect_Ver",
                                "SmoothLineVer"};
    AdvancedFixture f;
    for (const ChipCase& c : cases) {
        f.pages.session.feature.chipNumber = c.chip;
        f.pages.router->RefreshPages(0);
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(f.pages.Find(containers[i])->IsVisible(), c.shown[i]) << "chip " << c.chip << " " << containers[i];
        }
        if (*c.lodTexts != '\0') {
            EXPECT_EQ(f.Text("LODHeight1") + "/" + f.Text("LODHeight2"), c.lodTexts) << "chip " << c.chip;
        }
    }
    // A chip the table does not name leaves the four as they are and hides smooth line.
    f.pages.session.feature.chipNumber = 5;
    f.pages.router->RefreshPages(0);
    EXPECT_TRUE(f.pages.Find("JitterCorrect_Ver")->IsVisible());
    EXPECT_FALSE(f.pages.Find("SmoothLineVer")->IsVisible());
}

TEST(AdvancedPage, SensorOptionsAreStoredAtOnceAndRelayedToTheMainWindow) {
    AdvancedFixture f;
    ASSERT_TRUE(f.pages.Click("intell_save_power"));
    ASSERT_TRUE(f.pages.Click("RippleControlEn"));
    ASSERT_TRUE(f.pages.Click("LODHeight2"));
    ASSERT_TRUE(f.pages.Click("MoveWakeOption"));
    EXPECT_EQ(f.pages.session.sensorWrites,
              (std::vector<std::string>{"SavePowerSelect=1", "StraightLineCorrectEn=0", "RippleCtrlEn=1",
                                        "SmoothLineEn=0", "JitterCorrectEn=0", "LODHeight=1", "MoveWakeEn=1"}));
    EXPECT_EQ(f.Relays(), (std::vector<std::pair<uint32_t, uintptr_t>>{
                          {msg::kSavePowerChanged, 1}, {msg::kSensorFlagsChanged, 0}, {msg::kLiftOffChanged, 1},
                          {msg::kMoveWakeChanged, 1}}));

    // Times: moving shows the value, letting go stores and relays it; a typed value is held in the range.
    f.pages.window.posted.clear();
    f.pages.session.sensorWrites.clear();
    f.Drag("Slider_Sleep_Time", {20, 30}, [&] { EXPECT_TRUE(f.pages.session.sensorWrites.empty()); });
    const int sleep = f.Slider("Slider_Sleep_Time").GetValue();
    EXPECT_EQ(f.pages.session.sensor.sleepTime, sleep);
    EXPECT_EQ(f.Text("Edit_Sleep_Time"), std::to_string(sleep));
    f.Type("Edit_Sleep_Time", "500");
    EXPECT_EQ(f.pages.session.sensor.sleepTime, 60);
    EXPECT_EQ(f.Slider("Slider_Sleep_Time").GetValue(), 60);
    EXPECT_EQ(f.Text("Edit_Sleep_Time"), "60");
    f.Type("Edit_ShortPress_Time", "7", true);
    f.Type("Edit_ShortPress_Time", "x");  // not a number: the stored value again
    EXPECT_EQ(f.Text("Edit_ShortPress_Time"), "7");
    EXPECT_EQ(f.Posted(msg::kSleepTimeChanged).back().wParam, 60u);
    ASSERT_EQ(f.Posted(msg::kShortPressChanged).size(), 1u);
    EXPECT_EQ(f.Posted(msg::kShortPressChanged)[0].wParam, 7u);
}

TEST(AdvancedPage, AnOptionThatCannotBeStoredIsReportedAndShowsWhatIsStored) {
    AdvancedFixture f;
    f.pages.session.sensorWriteFails = true;
    ASSERT_TRUE(f.pages.Click("intell_save_power"));
    ASSERT_EQ(f.pages.boxes.shown.size(), 1u);
    EXPECT_NE(f.pages.boxes.shown[0].text.find("could not be saved"), std::string::npos);
    EXPECT_NE(f.pages.boxes.shown[0].text.find("Set.ini"), std::string::npos) << "the reason is given";
    EXPECT_FALSE(f.pages.Selected("intell_save_power")) << "the option shows what the file holds";
    f.Type("Edit_Sleep_Time", "25");
    EXPECT_EQ(f.Text("Edit_Sleep_Time"), "10");
    EXPECT_EQ(f.Slider("Slider_Sleep_Time").GetValue(), 10);
    EXPECT_EQ(f.pages.boxes.shown.size(), 2u);
    EXPECT_TRUE(f.Relays().empty()) << "nothing unstored reaches the mouse";
}

}  // namespace
}  // namespace mousecfg::test
