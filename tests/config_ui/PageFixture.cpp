#include "tests/config_ui/PageFixture.h"

#include <gtest/gtest.h>

#include "config/ui/PageMessages.h"
#include "platform/KeyboardLayout.h"
#include "skin/ControlFactory.h"
#include "skin/HeadlessPlatform.h"
#include "skin/List.h"
#include "skin/Option.h"
#include "skin/SkinResources.h"
#include "skin/WindowMessages.h"

namespace mousecfg::test {
namespace {

skin::HeadlessPlatform& Headless() {
    return static_cast<skin::HeadlessPlatform&>(skin::SkinPlatform::Get());
}

std::filesystem::path SourceRes() {
    return MOUSECFG_SOURCE_RES;
}

}  // namespace

std::filesystem::path BuildRes() {
    return MOUSECFG_RES_DIR;
}

FakePageSession::FakePageSession(const std::filesystem::path& folder)
    : keys(std::shared_ptr<const KeyboardLayout>(KeyboardLayout::FromNames({}))) {
    const std::filesystem::path res = folder / "res";
    std::filesystem::create_directories(res);
    std::filesystem::copy(SourceRes() / "MacroDock", res / "MacroDock", std::filesystem::copy_options::recursive);
    macros = std::make_unique<MacroStore>(MacroResourceFolder{res}, dialogs, macroBoxes, keys);
    EXPECT_TRUE(macros->LoadMacros());
    const std::filesystem::path model = SourceRes() / "VeruzUrir/MouseA";
    EXPECT_TRUE(LoadMouseConfig(config, model / "Config/MouseConfig.json"));
    feature = LoadDeviceFeature(model, 0);
    EXPECT_TRUE(functions.Load(SourceRes() / "VeruzUrir/Language/LanguageText.json"));
    ResolveKeyTexts(config, feature, functions, *macros, keys);
}

Status FakePageSession::SetSensorOption(std::string_view key, int value) {
    if (sensorWriteFails) {
        return Status::Error("cannot write Set.ini: read-only file system");
    }
    int* option = sensor.Find(key);
    if (option == nullptr) {
        return Status::Error("no option " + std::string(key));
    }
    *option = value;
    sensorWrites.push_back(std::string(key) + "=" + std::to_string(value));
    return Status::Ok();
}

std::unique_ptr<skin::Control> PageWindow::CreateControl(std::string_view className) {
    return skin::CreateCustomLayout(className);
}

void PageWindow::Notify(skin::Notification& notification) {
    if (router != nullptr) {
        router->Notify(notification);
    }
}

intptr_t PageWindow::HandleCustomMessage(const Message& message, bool& handled) {
    handled = router != nullptr && router->HandleWindowMessage(message);
    if (handled || message.id < skin::msg::kUser) {
        return 0;
    }
    posted.push_back(message);
    skin::Notification raised;
    raised.wParam = message.wParam;
    raised.lParam = message.lParam;
    if (message.id == ui::msg::kRecordKey) {
        raised.type = raised.senderName = "WM_RecordKey";
    } else if (message.id == ui::msg::kKeyAssigned) {
        raised.type = raised.senderName = "PopSetValue";
    }
    if (!raised.type.empty() && router != nullptr) {
        router->Notify(raised);
    }
    handled = true;
    return 0;
}

PageFixture::PageFixture(const std::string& skin, std::unique_ptr<ui::SettingsPage> advanced,
                         std::unique_ptr<ui::SettingsPage> lighting, std::filesystem::path modelFolder)
    : model(modelFolder.empty() ? BuildRes() / "VeruzUrir/MouseA" : std::move(modelFolder)),
      session(dir.path()),
      window(BuildRes() / skin / "MainWnd.xml") {
    skin::SkinResources::SetResourcePath(BuildRes() / skin);
    router = std::make_unique<ui::PageRouter>(window, session, host, boxes, launcher, std::move(advanced),
                                              std::move(lighting));
    window.router = router.get();
    EXPECT_TRUE(window.Create(nullptr, "pages", skin::style::kWsPopup, 0, {0, 0, 990, 690}));
    window.ShowWindow(true);
    Pump();
    router->Initialise(BuildRes() / skin);
    SelectDevice();
}

PageFixture::~PageFixture() {
    window.router = nullptr;
}

void PageFixture::SelectDevice() {
    router->SelectDevice(model, session.ble);
    Pump();
}

void PageFixture::Pump() {
    Headless().ProcessPending();
    window.GetPaintManager().UpdateLayout();
}

void PageFixture::PickColour(const std::string& button, int colour) {
    skin::Notification focus;
    focus.type = "setfocus";
    focus.senderName = button;
    router->Notify(focus);
    skin::Notification picked;
    picked.type = picked.senderName = "popcolor_ok";
    picked.lParam = colour;
    router->Notify(picked);
}

bool PageFixture::Click(const std::string& name) {
    return ClickControl(window.FindControl(name));
}

bool PageFixture::ClickControl(skin::Control* control) {
    window.GetPaintManager().UpdateLayout();
    if (control == nullptr) {
        return false;
    }
    const skin::Rect pos = control->GetPos();
    const skin::Point centre{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    if (window.GetPaintManager().FindControl(centre) != control) {
        return false;  // hidden or covered
    }
    const intptr_t at = skin::msg::MakePointParam(centre.x, centre.y);
    window.HandleMessage(Message{skin::msg::kMouseMove, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonDown, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonUp, 0, at, {}});
    Pump();
    return true;
}

bool PageFixture::ClickItem(const std::string& name) {
    window.GetPaintManager().UpdateLayout();
    skin::Control* item = window.FindControl(name);
    if (auto* list = item != nullptr ? dynamic_cast<skin::List*>(item->GetParent()) : nullptr) {
        list->EnsureVisible(list->GetItemIndex(item));
        window.GetPaintManager().UpdateLayout();
    }
    return ClickControl(item);
}

void PageFixture::TypeKey(int scanCode, unsigned virtualKey) {
    window.HandleMessage(Message{skin::msg::kKeyDown, virtualKey, skin::msg::MakeKeyParam(0, scanCode), {}});
    window.HandleMessage(Message{skin::msg::kKeyUp, virtualKey, skin::msg::MakeKeyParam(0, scanCode), {}});
    Pump();
}

bool PageFixture::Visible(const std::string& name) const {
    const skin::Control* control = window.FindControl(name);
    return control != nullptr && control->IsVisibleInTree();
}

bool PageFixture::Selected(const std::string& name) const {
    const auto* option = window.Find<skin::Option>(name);
    return option != nullptr && option->IsSelected();
}

std::string PageFixture::Text(const std::string& name) const {
    const skin::Control* control = window.FindControl(name);
    return control != nullptr ? control->GetText() : std::string();
}

int PageFixture::Announcements() const {
    int count = 0;
    for (const Message& message : window.posted) {
        count += message.id == ui::msg::kKeyAssigned ? 1 : 0;
    }
    return count;
}

}  // namespace mousecfg::test
