// The settings window on the headless platform, over a parent that records what it is told: how the controls
// are filled, what each one writes and sends, the sliders, the edits, the links, and failed writes.
#include <gtest/gtest.h>

#include "app/LanguageTexts.h"
#include "app/ShellMessages.h"
#include "app/settings/Setting.h"
#include "platform/PrivateProfile.h"
#include "skin/CheckBox.h"
#include "skin/Combo.h"
#include "skin/Edit.h"
#include "skin/ListElement.h"
#include "skin/HeadlessPlatform.h"
#include "skin/Option.h"
#include "skin/SkinResources.h"
#include "skin/Slider.h"
#include "skin/TabLayout.h"
#include "skin/WindowMessages.h"
#include "tests/app/ShellHarness.h"
#include "tests/support/RecordingMessageBoxes.h"

namespace mousecfg {
namespace {

using test::RecordingParent;
using test::ShellHarness;
using test::TempDir;

constexpr const char* kSettings =
    "[Set]\nLanguage=1\nDpiPopEn=1\nAutomaticallyOpenEn=0\nAutomaticallyHideEn=1\nSoftName=mousecfg\n"
    "SavePowerSelect=0\nSleepTime=0\nPDTime=500\nLODHeight=1\nStraightLineCorrectEn=1\nRippleCtrlEn=0\n"
    "link_website=https://www.example.org/\nlink_support=javascript:alert(1)\n";

class SettingsWindow : public ::testing::Test {
protected:
    SettingsWindow() : texts_(app::LanguageTexts::Load(std::filesystem::path(MOUSECFG_RES_DIR) / "Language/lan_en.ini")) {
        skin::SkinPlatform::Set(&platform_);
        skin::SkinResources::SetResourcePath(std::filesystem::path(MOUSECFG_RES_DIR) / "res_black");
        file_ = dir_.Write("Set.ini", kSettings);
        ini::ClearCache();
        parent_.Create(nullptr, "parent");
    }
    ~SettingsWindow() override {
        window_.reset();
        parent_.Close();
        platform_.ProcessPending();
        skin::SkinPlatform::Set(nullptr);
    }
    app::Setting& Open(const std::function<void(app::SettingContext&)>& adjust = {}) {
        app::SettingContext context;
        context.settingsFile = file_;
        context.texts = &texts_;
        context.sensorOptionType = 6;
        context.busy = [this] { return busy_; };
        context.urls = &urls_;
        context.boxes = &boxes_;
        context.program = "/usr/bin/mousecfg";
        context.autostartFolder = dir_ / "autostart";
        context.version = "9.9.9";
        if (adjust) {
            adjust(context);
        }
        window_ = std::make_unique<app::Setting>(std::move(context));
        EXPECT_TRUE(window_->Create(&parent_, "setting"));
        platform_.ProcessPending();
        return *window_;
    }
    bool Selected(const char* name) { return window_->Find<skin::Option>(name)->IsSelected(); }
    std::string Text(const char* name) { return window_->FindControl(name)->GetText(); }
    std::string Stored(const char* key) {
        ini::ClearCache();
        return ini::GetPrivateProfileString("Set", key, "<missing>", file_);
    }
    std::vector<uint32_t> ReceivedIds() {
        std::vector<uint32_t> ids;
        for (const Message& message : parent_.received) {
            ids.push_back(message.id);
        }
        return ids;
    }
    void Page(const char* option) {
        ShellHarness::Click(*window_, option);
        platform_.ProcessPending();
    }
    // Drags the slider's thumb to the value `value` and, when `release`, lets it go.
    void Drag(const char* name, int value, bool release) {
        auto* slider = window_->Find<skin::Slider>(name);
        window_->GetPaintManager().UpdateLayout();
        const skin::Rect thumb = slider->ThumbRect();
        const skin::Rect track = slider->GetPos();
        const int travel = track.width() - thumb.width();
        const int x = track.left + thumb.width() / 2 +
                      travel * (value - slider->GetMinValue()) / (slider->GetMaxValue() - slider->GetMinValue());
        const int y = (thumb.top + thumb.bottom) / 2;
        window_->HandleMessage(Message{skin::msg::kLButtonDown, 0, skin::msg::MakePointParam((thumb.left + thumb.right) / 2, y), {}});
        window_->HandleMessage(Message{skin::msg::kMouseMove, 0, skin::msg::MakePointParam(x, y), {}});
        if (release) {
            window_->HandleMessage(Message{skin::msg::kLButtonUp, 0, skin::msg::MakePointParam(x, y), {}});
        }
    }
    void Type(const char* edit, const std::string& text, std::string_view how = skin::notify::kKillFocus) {
        skin::Control* control = window_->FindControl(edit);
        control->SetText(text);
        window_->GetPaintManager().SendNotify(control, how);
    }

    skin::HeadlessPlatform platform_;
    TempDir dir_;
    std::filesystem::path file_;
    app::LanguageTexts texts_;
    RecordingParent parent_;
    test::RecordingUrlOpener urls_;
    test::RecordingMessageBoxes boxes_;
    bool busy_ = false;
    std::unique_ptr<app::Setting> window_;
};

TEST_F(SettingsWindow, OpensFilledFromTheSettingsFileWithTimesHeldInTheirRanges) {
    Open([](app::SettingContext& c) {
        c.closeOption = 1;
        c.remind = 0;
    });
    EXPECT_FALSE(Selected("opt_automaticallyOpen"));
    EXPECT_FALSE(Selected("opt_automaticallyHide")) << "start hidden only with autostart";
    EXPECT_FALSE(window_->FindControl("opt_automaticallyHide")->IsEnabled());
    EXPECT_TRUE(Selected("opt_dpipopck"));
    EXPECT_TRUE(Selected("opt_lowbattery")) << "on when the key is missing";
    EXPECT_EQ(window_->Find<skin::Combo>("btn_language")->GetSelectedItem()->GetName(), "lan_en");
    EXPECT_EQ(Text("Value_Sleep_Time"), "1") << "0 is held at the slider's minimum";
    EXPECT_EQ(Text("Edit_Sleep_Time"), "1");
    EXPECT_EQ(window_->Find<skin::Slider>("Slider_PD_Time")->GetValue(), 120) << "500 is held at the maximum";
    EXPECT_TRUE(Selected("StraightLineCorrection"));
    EXPECT_FALSE(Selected("RippleControlEn"));
    EXPECT_TRUE(Selected("LODHeight2")) << "LODHeight 1 selects the second item";
    EXPECT_EQ(Text("LODHeight1"), "1mm");
    EXPECT_EQ(Text("LODHeight2"), "2mm");
    EXPECT_TRUE(Selected("Exit"));
    EXPECT_FALSE(Selected("Minimize"));
    EXPECT_FALSE(window_->Find<skin::CheckBox>("RemindAgain")->IsChecked());
    EXPECT_EQ(Text("ChargeCntLabel"), "-") << "no mouse to ask";
    EXPECT_EQ(Text("lab_version"), "9.9.9");
    EXPECT_EQ(Text("opt_automaticallyOpen"), "Start with the desktop session") << "texts of the language file";
    EXPECT_TRUE(parent_.received.empty()) << "filling the controls tells nobody";
}

TEST_F(SettingsWindow, TheSensorTypeDecidesWhichDeviceRowsAreShown) {
    struct Case {
        int type;
        bool straight, ripple, lift;
        const char* lift1;
    };
    for (const Case& c : {Case{0, false, false, false, "Low"}, Case{9, false, false, false, "Low"},
                          Case{3, true, false, false, "Low"}, Case{4, true, true, true, "Low"},
                          Case{7, true, true, true, "2mm"}, Case{8, true, true, false, "Low"},
                          Case{12, true, true, true, "Low"}}) {
        Open([&](app::SettingContext& context) { context.sensorOptionType = c.type; });
        EXPECT_EQ(window_->FindControl("StraightLine_Ver")->IsVisible(), c.straight) << c.type;
        EXPECT_EQ(window_->FindControl("RippleCtrl_Ver")->IsVisible(), c.ripple) << c.type;
        EXPECT_EQ(window_->FindControl("LODHeight_Ver")->IsVisible(), c.lift) << c.type;
        EXPECT_EQ(Text("LODHeight1"), c.lift1) << c.type;
    }
}

TEST_F(SettingsWindow, AutostartWritesTheEntryAndTurningItOffClearsStartHidden) {
    Open();
    const auto entry = dir_ / "autostart" / "mousecfg.desktop";
    ShellHarness::Click(*window_, "opt_automaticallyOpen");
    EXPECT_EQ(Stored("AutomaticallyOpenEn"), "1");
    EXPECT_TRUE(window_->FindControl("opt_automaticallyHide")->IsEnabled());
    ASSERT_TRUE(std::filesystem::exists(entry));
    EXPECT_NE(TempDir::Read(entry).find("Exec=\"/usr/bin/mousecfg\" -silent\n"), std::string::npos)
        << "start hidden is still stored as 1";
    ShellHarness::Click(*window_, "opt_automaticallyHide");
    EXPECT_TRUE(Selected("opt_automaticallyHide"));
    ShellHarness::Click(*window_, "opt_automaticallyHide");
    EXPECT_EQ(Stored("AutomaticallyHideEn"), "0");
    EXPECT_NE(TempDir::Read(entry).find("Exec=\"/usr/bin/mousecfg\"\n"), std::string::npos) << "rewritten without";
    ShellHarness::Click(*window_, "opt_automaticallyHide");
    ShellHarness::Click(*window_, "opt_automaticallyOpen");
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_EQ(Stored("AutomaticallyOpenEn"), "0");
    EXPECT_EQ(Stored("AutomaticallyHideEn"), "0") << "turning autostart off turns start hidden off";
    EXPECT_FALSE(Selected("opt_automaticallyHide"));
    EXPECT_FALSE(window_->FindControl("opt_automaticallyHide")->IsEnabled());
}

TEST_F(SettingsWindow, AnAutostartFolderThatCannotBeWrittenStillStoresTheChoiceSilently) {
    dir_.Write("blocked", "a file where a folder should be");
    Open([&](app::SettingContext& c) { c.autostartFolder = dir_ / "blocked" / "autostart"; });
    ShellHarness::Click(*window_, "opt_automaticallyOpen");
    platform_.ProcessPending();
    EXPECT_EQ(Stored("AutomaticallyOpenEn"), "1");
    EXPECT_TRUE(Selected("opt_automaticallyOpen"));
    EXPECT_TRUE(boxes_.shown.empty()) << "autostart failures are not reported to the user";
}

TEST_F(SettingsWindow, SwitchesWriteTheirKeysAndDeviceOptionsAreSentToTheMainWindow) {
    Open();
    ShellHarness::Click(*window_, "opt_dpipopck");
    ShellHarness::Click(*window_, "opt_lowbattery");
    EXPECT_EQ(Stored("DpiPopEn"), "0");
    EXPECT_EQ(Stored("LowBatteryNoticeEn"), "0");
    Page("opt_more");
    ShellHarness::Click(*window_, "opt_lightmode");
    EXPECT_EQ(Stored("OverallLightControlEn"), "1");
    ShellHarness::Click(*window_, "intell_save_power");
    ShellHarness::Click(*window_, "RippleControlEn");
    ShellHarness::Click(*window_, "LODHeight1");
    EXPECT_EQ(Stored("SavePowerSelect"), "1");
    EXPECT_EQ(Stored("RippleCtrlEn"), "1");
    EXPECT_EQ(Stored("StraightLineCorrectEn"), "1");
    EXPECT_EQ(Stored("LODHeight"), "0");
    ASSERT_EQ(ReceivedIds(), (std::vector<uint32_t>{app::msg::kRelaySavePower, app::msg::kRelaySensorByte,
                                                    app::msg::kRelayLiftOff}));
    EXPECT_EQ(parent_.received[0].wParam, 1u);
    EXPECT_EQ(parent_.received[1].wParam, 1u) << "straight-line";
    EXPECT_EQ(parent_.received[1].lParam, 1) << "ripple";
    EXPECT_EQ(parent_.received[2].wParam, 0u);
}

TEST_F(SettingsWindow, ASliderWritesWhileMovingAndTellsTheMouseOnlyOnReleaseWhenNotBusy) {
    Open();
    Page("opt_more");
    Drag("Slider_Sleep_Time", 30, false);
    EXPECT_EQ(Stored("SleepTime"), "30");
    EXPECT_EQ(Text("Value_Sleep_Time"), "30");
    EXPECT_EQ(Text("Edit_Sleep_Time"), "30");
    EXPECT_TRUE(parent_.received.empty()) << "nothing while the slider moves";
    window_->HandleMessage(Message{skin::msg::kLButtonUp, 0, 0, {}});
    ASSERT_EQ(ReceivedIds(), std::vector<uint32_t>{app::msg::kRelaySleep});
    EXPECT_EQ(parent_.received[0].wParam, 30u);

    busy_ = true;  // an apply run or a connection update: the file takes the value, the mouse waits
    Drag("Slider_PD_Time", 60, true);
    EXPECT_EQ(Stored("PDTime"), "60");
    EXPECT_EQ(parent_.received.size(), 1u);
    busy_ = false;
    Drag("Slider_PD_Time", 90, true);
    ASSERT_EQ(parent_.received.size(), 2u);
    EXPECT_EQ(parent_.received[1].id, app::msg::kRelayPowerDown);
    EXPECT_EQ(parent_.received[1].wParam, 90u);
}

TEST_F(SettingsWindow, TypedTimesAreHeldInTheirRangesAndSent) {
    Open();
    Page("opt_more");
    struct Case {
        const char* edit;
        const char* typed;
        const char* stored;
    };
    for (const Case& c : {Case{"Edit_Sleep_Time", "0", "1"}, Case{"Edit_Sleep_Time", "100", "60"},
                          Case{"Edit_Sleep_Time", "abc", "1"}, Case{"Edit_Sleep_Time", "25", "25"},
                          Case{"Edit_PD_Time", "999", "120"}, Case{"Edit_PD_Time", "45", "45"}}) {
        parent_.received.clear();
        Type(c.edit, c.typed, std::string_view(c.typed) == "25" ? skin::notify::kReturn : skin::notify::kKillFocus);
        const bool sleep = std::string_view(c.edit) == "Edit_Sleep_Time";
        EXPECT_EQ(Stored(sleep ? "SleepTime" : "PDTime"), c.stored) << c.typed;
        EXPECT_EQ(Text(c.edit), c.stored) << c.typed;
        EXPECT_EQ(Text(sleep ? "Value_Sleep_Time" : "Value_PD_Time"), c.stored) << c.typed;
        EXPECT_EQ(window_->Find<skin::Slider>(sleep ? "Slider_Sleep_Time" : "Slider_PD_Time")->GetValue(),
                  std::stoi(c.stored));
        ASSERT_EQ(parent_.received.size(), 1u) << c.typed;
        EXPECT_EQ(parent_.received[0].id, sleep ? app::msg::kRelaySleep : app::msg::kRelayPowerDown);
        EXPECT_EQ(parent_.received[0].wParam, static_cast<uintptr_t>(std::stoi(c.stored)));
    }
}

TEST_F(SettingsWindow, LanguageCloseChoiceAndRemindGoToTheMainWindow) {
    Open();
    auto* combo = window_->Find<skin::Combo>("btn_language");
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (combo->GetItemAt(i)->GetName() == "lan_de") {
            combo->SelectItem(i);
        }
    }
    ShellHarness::Click(*window_, "Exit");
    ShellHarness::Click(*window_, "RemindAgain");
    platform_.ProcessPending();
    ASSERT_EQ(parent_.received.size(), 3u);
    EXPECT_EQ(parent_.received[0].id, app::msg::kLanguageChange);
    EXPECT_EQ(parent_.received[0].text, "lan_de");
    EXPECT_EQ(parent_.received[1].id, app::msg::kCloseConfig);
    EXPECT_EQ(parent_.received[1].wParam, 1u);
    EXPECT_EQ(parent_.received[1].lParam, -1);
    EXPECT_EQ(parent_.received[2].wParam, static_cast<uintptr_t>(-1));
    EXPECT_EQ(parent_.received[2].lParam, 1) << "the box was clear: remind becomes 1";
    EXPECT_TRUE(Selected("Exit"));
    EXPECT_FALSE(Selected("Minimize"));
    EXPECT_EQ(Text("LODHeight1"), "1mm") << "the sensor's lift-off texts survive the new language";
}

TEST_F(SettingsWindow, OnlyWebAddressesAreOfferedAndOpened) {
    Open();
    Page("opt_about");
    EXPECT_TRUE(window_->FindControl("link_website")->IsVisible());
    EXPECT_FALSE(window_->FindControl("link_support")->IsVisible()) << "javascript: is not a web address";
    ShellHarness::Click(*window_, "link_website");
    EXPECT_EQ(urls_.opened, std::vector<std::string>{"https://www.example.org/"});
    window_->GetPaintManager().SendNotify(window_->FindControl("link_support"), skin::notify::kClick);
    EXPECT_EQ(urls_.opened.size(), 1u);
}

TEST_F(SettingsWindow, CloseAndUpdateTellTheMainWindowAndClose) {
    Open();
    ShellHarness::Click(*window_, "btn_close");
    platform_.ProcessPending();
    EXPECT_EQ(ReceivedIds(), std::vector<uint32_t>{app::msg::kSettingsClosed});
    EXPECT_FALSE(window_->IsVisible());

    parent_.received.clear();
    Open();
    Page("opt_about");
    ShellHarness::Click(*window_, "btn_update");
    platform_.ProcessPending();
    ASSERT_EQ(ReceivedIds(), (std::vector<uint32_t>{app::msg::kSoftwareUpdate, app::msg::kSettingsClosed}));
    EXPECT_EQ(parent_.received[0].wParam, 1u) << "start the updater at once";
    EXPECT_FALSE(window_->IsVisible());
}

TEST_F(SettingsWindow, AValueThatCannotBeWrittenIsNotSentAndTheUserIsTold) {
    const std::string before = TempDir::Read(file_);
    Open([](app::SettingContext& c) {
        c.writer = [](std::string_view, std::string_view, std::string_view, const std::filesystem::path& file) {
            return Status::Error(file.string() + ": the disk is full");
        };
    });
    ShellHarness::Click(*window_, "opt_dpipopck");
    ShellHarness::Click(*window_, "opt_automaticallyOpen");
    platform_.ProcessPending();
    ASSERT_EQ(boxes_.shown.size(), 1u) << "one message for the failures of one action";
    EXPECT_NE(boxes_.shown[0].text.find("could not be saved"), std::string::npos) << boxes_.shown[0].text;
    EXPECT_NE(boxes_.shown[0].text.find("the disk is full"), std::string::npos);
    EXPECT_TRUE(Selected("opt_dpipopck")) << "the switch shows what the file holds";
    EXPECT_FALSE(Selected("opt_automaticallyOpen"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "autostart")) << "no entry for a choice that was not stored";

    Page("opt_more");
    Drag("Slider_Sleep_Time", 40, true);
    Type("Edit_PD_Time", "20");
    ShellHarness::Click(*window_, "StraightLineCorrection");
    platform_.ProcessPending();
    EXPECT_TRUE(parent_.received.empty()) << "nothing that was not stored reaches the mouse";
    EXPECT_EQ(Text("Value_Sleep_Time"), "1");
    EXPECT_EQ(Text("Edit_PD_Time"), "120");
    EXPECT_TRUE(Selected("StraightLineCorrection"));
    EXPECT_EQ(TempDir::Read(file_), before);
}

}  // namespace
}  // namespace mousecfg
