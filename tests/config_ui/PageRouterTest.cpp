// The page router: which handler each notification of the mouse pages reaches.
#include <gtest/gtest.h>

#include "config/ui/PageChangeFlags.h"
#include "device/DeviceMessages.h"
#include "skin/HeadlessPlatform.h"
#include "skin/Notification.h"
#include "skin/Combo.h"
#include "skin/Option.h"
#include "tests/config_ui/PageFixture.h"

namespace mousecfg::test {
namespace {

// A settings page that records what the router hands it, as "kind:sender".
class RecordingPage final : public ui::SettingsPage {
public:
    explicit RecordingPage(std::vector<std::string>& log, std::string prefix) : log_(log), prefix_(std::move(prefix)) {}
    void Initialise(ui::PageContext& /*context*/) override { Add("init", ""); }
    void DeviceSelected(bool ble) override { Add("device", ble ? "ble" : "hid"); }
    bool OnClick(skin::Notification& n) override {
        Add("click", n.senderName);
        return n.senderName == claimed;
    }
    void OnSelectChanged(skin::Notification& n) override { Add("selectchanged", n.senderName); }
    void OnItemSelect(skin::Notification& n) override { Add("itemselect", n.senderName); }
    void OnValueChanged(skin::Notification& n) override { Add(n.type, n.senderName); }
    void OnEditDone(skin::Notification& n) override { Add(n.type, n.senderName); }
    void OnPopupResult(skin::Notification& n) override { Add(n.type, n.senderName); }
    void OnColourPicked(const std::string& button, skin::Color colour) override {
        Add("colour", button + "=" + std::to_string(colour));
    }
    void OnDeviceEvent(const Message& message) override { Add("event", std::to_string(message.id)); }
    void Refresh(int profile) override { Add("refresh", std::to_string(profile)); }
    void ShowDpiLevel(int level) override { Add("dpilevel", std::to_string(level)); }

    std::string claimed;

private:
    void Add(const std::string& kind, const std::string& sender) { log_.push_back(prefix_ + kind + ":" + sender); }
    std::vector<std::string>& log_;
    std::string prefix_;
};

struct SeamFixture {
    SeamFixture()
        : pages("res_black", std::make_unique<RecordingPage>(log, "adv "), std::make_unique<RecordingPage>(log, "led ")) {
        log.clear();
    }
    void Raise(const std::string& type, const std::string& sender, intptr_t lParam = 0, uintptr_t wParam = 0) {
        skin::Notification n;
        n.type = type;
        n.senderName = sender;
        n.lParam = lParam;
        n.wParam = wParam;
        pages.router->Notify(n);
    }
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    std::vector<std::string> log;
    PageFixture pages;
};

using Log = std::vector<std::string>;

TEST(PageRouter, SettingsPagesGetTheirNotificationsByKind) {
    SeamFixture f;
    f.Raise("selectchanged", "opt_MouseLed_Mode3");
    f.Raise("valuechanged", "slider_MouseLed_BrightVal");
    f.Raise("movevaluechanged", "slider_MouseLed_SpeedVal");
    f.Raise("killfocus", "edit_MouseAdv_Dpi1");
    f.Raise("itemselect", "btn_MouseLed_LedMode", 0, 2);
    EXPECT_EQ(f.Take(), (Log{"adv selectchanged:opt_MouseLed_Mode3", "led selectchanged:opt_MouseLed_Mode3",
                             "adv valuechanged:slider_MouseLed_BrightVal", "led valuechanged:slider_MouseLed_BrightVal",
                             "adv movevaluechanged:slider_MouseLed_SpeedVal",
                             "led movevaluechanged:slider_MouseLed_SpeedVal", "adv killfocus:edit_MouseAdv_Dpi1",
                             "led killfocus:edit_MouseAdv_Dpi1", "adv itemselect:btn_MouseLed_LedMode",
                             "led itemselect:btn_MouseLed_LedMode"}));
}

TEST(PageRouter, TheClickTableHandsLevelAndColourSwitchesToTheirPage) {
    SeamFixture f;
    f.Raise("click", "chk_MouseAdv_PDIEn3");
    f.Raise("click", "chk_MouseLed_ColEn2");
    f.Raise("click", "lab_Mouse");
    f.Raise("click", "Chk_MouseLed_SymnetryVal");
    EXPECT_EQ(f.Take(), (Log{"adv click:chk_MouseAdv_PDIEn3", "led click:chk_MouseLed_ColEn2"}));
    // Other clicks are offered to the pages in turn until one takes it.
    dynamic_cast<RecordingPage&>(f.pages.router->Advanced()).claimed = "btn_MouseAdv_Reset";
    f.Raise("click", "btn_MouseAdv_Reset");
    f.Raise("click", "btn_MouseLed_Other");
    EXPECT_EQ(f.Take(), (Log{"adv click:btn_MouseAdv_Reset", "adv click:btn_MouseLed_Other",
                             "led click:btn_MouseLed_Other"}));
}

TEST(PageRouter, ChangesAPageMakesItselfAreNotTakenForTheUsers) {
    SeamFixture f;
    {
        auto quiet = f.pages.router->Changes().ChangingSelections();
        f.Raise("selectchanged", "opt_MouseLed_Mode3");
        f.Raise("itemselect", "btn_MouseLed_LedMode");
        f.Raise("itemselect", "btn_Mouse_SelProfile", 0, 1);
        f.Raise("click", "chk_MouseLed_ColEn2");
        f.Raise("killfocus", "edit_MouseAdv_Dpi1");  // edits are not selections
    }
    {
        auto quiet = f.pages.router->Changes().ChangingEdits();
        f.Raise("killfocus", "edit_MouseAdv_Dpi1");
        f.Raise("return", "edit_MouseAdv_Dpi1");
    }
    EXPECT_EQ(f.Take(), (Log{"adv killfocus:edit_MouseAdv_Dpi1", "led killfocus:edit_MouseAdv_Dpi1"}));
    EXPECT_TRUE(f.pages.session.selectedProfiles.empty());
    // The scopes are closed: the next change of the user is handled.
    f.Raise("selectchanged", "opt_MouseLed_Mode4");
    EXPECT_EQ(f.Take().size(), 2u);
}

TEST(PageRouter, NoOptionOrListChangeIsHandledWhileTheSkinIsRebuilt) {
    SeamFixture f;
    f.pages.router->SetRebuilding(true);
    f.Raise("selectchanged", "opt_MouseLed_Mode3");
    f.Raise("itemselect", "btn_Mouse_SelProfile", 0, 2);
    f.Raise("valuechanged", "slider_MouseLed_BrightVal");
    f.pages.router->SetRebuilding(false);
    EXPECT_EQ(f.Take(), (Log{"adv valuechanged:slider_MouseLed_BrightVal", "led valuechanged:slider_MouseLed_BrightVal"}));
    EXPECT_TRUE(f.pages.session.selectedProfiles.empty());
    f.Raise("itemselect", "btn_Mouse_SelProfile", 0, 2);
    EXPECT_EQ(f.pages.session.selectedProfiles, std::vector<int>{2});
}

TEST(PageRouter, AColourButtonTakingTheFocusOpensThePickerAndItsResultGoesBackByName) {
    SeamFixture f;
    f.Raise("setfocus", "btn_MouseLed_ColVal2");
    ASSERT_EQ(f.pages.host.pickerColours.size(), 1u);
    EXPECT_EQ(f.pages.router->ColourButton(), "btn_MouseLed_ColVal2");
    f.Raise("popcolor_ok", "popcolor_ok", 0x123456);
    EXPECT_EQ(f.Take(), (Log{"adv colour:btn_MouseLed_ColVal2=1193046", "led colour:btn_MouseLed_ColVal2=1193046"}));
    f.Raise("setfocus", "btn_MouseKey_Click1");  // not a colour button
    EXPECT_EQ(f.pages.host.pickerColours.size(), 1u);
}

TEST(PageRouter, TheMouseReportsReachTheDocumentAndThePages) {
    SeamFixture f;
    f.pages.router->OnDeviceEvent(Message{msg::kDpiLevelChanged, 0x0300 | 4, 0, {}});
    EXPECT_EQ(f.pages.session.config.profiles[0].currentDpiLevel, 3) << "level 4 of the mouse is index 3";
    f.pages.router->OnDeviceEvent(Message{msg::kProfileChanged, 2, 0, {}});
    EXPECT_EQ(f.pages.session.shownProfiles, std::vector<int>{2});
    f.pages.router->OnDeviceEvent(Message{msg::kDpiLevelChanged, 9, 0, {}});  // no level 9
    EXPECT_EQ(f.pages.session.config.profiles[0].currentDpiLevel, 3);
    EXPECT_EQ(f.Take(), (Log{"adv event:2031", "led event:2031", "adv event:2032", "led event:2032", "adv event:2031",
                             "led event:2031"}));
}

TEST(PageRouter, TheMoreMenuOpensAboveItsButtonUnlessAMacroChangeIsBeingWritten) {
    PageFixture f;
    auto& headless = static_cast<skin::HeadlessPlatform&>(skin::SkinPlatform::Get());
    f.session.macrosChanged = true;
    ASSERT_TRUE(f.Click("btn_Mouse_More"));
    EXPECT_EQ(headless.OpenMenu(), nullptr);
    f.session.macrosChanged = false;
    ASSERT_TRUE(f.Click("btn_Mouse_More"));
    const auto* menu = headless.OpenMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> items;
    for (const auto& item : *menu) {
        if (!item.separator) {
            items.push_back(item.name);
        }
    }
    EXPECT_EQ(items, (std::vector<std::string>{"Import", "Export", "Reset"}));
    const skin::Rect button = f.Find("btn_Mouse_More")->GetPos();
    EXPECT_EQ(headless.OpenMenuPosition().x, f.window.GetWindowRect().left + button.left);
    EXPECT_EQ(headless.OpenMenuPosition().y, f.window.GetWindowRect().top + button.top);
    ASSERT_TRUE(headless.ChooseMenuItem("Export"));
    f.Pump();
    EXPECT_EQ(f.session.menuItems, std::vector<std::string>{"Export"});
    EXPECT_TRUE(f.boxes.shown.empty());
}

TEST(PageRouter, AFailedMenuOperationIsShownNotSwallowed) {
    PageFixture f;
    f.session.menuFailure = Status::Error("cannot write /x.Mouse.Config");
    skin::Notification n;
    n.type = "MyMenuClick";
    n.senderName = n.text = "Export";
    f.router->Notify(n);
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_NE(f.boxes.shown[0].text.find("cannot write /x.Mouse.Config"), std::string::npos);
}

TEST(PageRouter, TheApplyButtonAndTheProfileSelectorReachTheSession) {
    PageFixture f;
    ASSERT_TRUE(f.Click("btn_Mouse_Apply"));
    EXPECT_EQ(f.session.applyButtons, 1);
    f.router->ShowProfileSelector(2);  // shown without a request
    EXPECT_TRUE(f.session.selectedProfiles.empty());
    EXPECT_EQ(f.window.Find<skin::Combo>("btn_Mouse_SelProfile")->GetCurSel(), 2);
}

}  // namespace
}  // namespace mousecfg::test
