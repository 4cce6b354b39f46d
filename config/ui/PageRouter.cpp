#include "config/ui/PageRouter.h"

#include "config/MouseConfig.h"
#include "config/ui/PageFailure.h"
#include "config/ui/PageHost.h"
#include "config/ui/PageSession.h"
#include "config/ui/SettingsPages.h"
#include "device/DeviceMessages.h"
#include "layout/PageBuilder.h"
#include "platform/MessageBoxes.h"
#include "platform/MessageSink.h"
#include "platform/Trace.h"
#include "skin/Notification.h"
#include "skin/Option.h"
#include "skin/SkinWindow.h"
#include "skin/TabLayout.h"
#include "skin/WindowMessages.h"

namespace mousecfg::ui {
namespace {

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The options above the mouse pages and the page of "tab_mousepage" each shows. A page the skin lacks (a page not
// built yet) keeps its option hidden.
struct SubPage {
    std::string_view option;
    std::string_view page;
};
constexpr SubPage kSubPages[] = {
    {"opt_MousePage_Keys", "ver_mousekeypage"},
    {"opt_MousePage_Adv", "ver_mouseadv"},
    {"opt_MousePage_Light", "ver_mouselight"},
};

}  // namespace

PageRouter::PageRouter(skin::SkinWindow& window, PageSession& session, PageHost& host, MessageBoxes& boxes,
                       ProgramLauncher& launcher, std::unique_ptr<SettingsPage> advanced,
                       std::unique_ptr<SettingsPage> lighting)
    : context_{window, session, host, boxes, launcher, changes_, texts_},
      advanced_(advanced != nullptr ? std::move(advanced) : MakeAdvancedPage()),
      lighting_(lighting != nullptr ? std::move(lighting) : MakeLightingPage()),
      panel_(context_),
      keyPage_(context_, panel_) {}

PageRouter::~PageRouter() = default;

void PageRouter::Initialise(const std::filesystem::path& skinFolder) {
    skinFolder_ = skinFolder;
    colourButton_.clear();
    panel_.Initialise();
    keyPage_.Initialise();
    for (const SubPage& sub : kSubPages) {
        if (skin::Control* option = context_.window.FindControl(sub.option)) {
            option->SetVisible(context_.window.FindControl(sub.page) != nullptr);
        }
    }
    ForEachPage([this](SettingsPage& page) { page.Initialise(context_); });
}

void PageRouter::SelectDevice(const std::filesystem::path& modelFolder, bool ble) {
    const layout::LayoutMessages messages{texts_.Message("Tip"), texts_.Message("Json Warn"),
                                          texts_.Message("MessageOK"), texts_.Message("MessageCancel")};
    layout::PageBuilder::LoadModelLayouts(modelFolder, skinFolder_, context_.window.GetPaintManager(), context_.boxes,
                                          messages);
    const bool onePage = context_.session.OnePageVersion() != 0;
    keyPage_.SetMarks(layout::PageBuilder::PrepareKeyPageMarks(context_.window.GetPaintManager(), onePage));
    keyPage_.RefreshLabels();
    ForEachPage([ble](SettingsPage& page) { page.DeviceSelected(ble); });
}

void PageRouter::SetTexts(PageTexts texts) {
    texts_ = std::move(texts);
    panel_.LanguageChanged();
    keyPage_.RefreshLabels();
    ForEachPage([](SettingsPage& page) { page.LanguageChanged(); });
}

void PageRouter::Notify(skin::Notification& notification) {
    const std::string& type = notification.type;
    const std::string& sender = notification.senderName;
    if (type == "WM_RecordKey" || panel_.OwnsControl(notification)) {
        panel_.Notify(notification);
    } else if (type == skin::notify::kSetFocus &&
               (Contains(sender, "btn_MouseAdv_Color") || Contains(sender, "btn_MouseLed_ColVal"))) {
        OpenColourPicker(notification);
    } else if (type == skin::notify::kMouseEnter) {
        if (Contains(sender, "btn_Mouse_Scr")) {
            keyPage_.ShowWheelTip(sender);
        }
    } else if (type == skin::notify::kMouseLeave) {
        keyPage_.RefreshKeyHighlight(sender);
    } else if (type == skin::notify::kKillFocus || type == skin::notify::kReturn) {
        if (!changes_.EditsSuppressed()) {
            ForEachPage([&notification](SettingsPage& page) { page.OnEditDone(notification); });
        }
        if (type == skin::notify::kReturn) {
            context_.window.GetPaintManager().SetFocus(context_.window.FindControl("btn_Macro_Temp"));
        }
    } else if (type == skin::notify::kClick) {
        OnClick(notification);
    } else if (type == skin::notify::kSelectChanged) {
        if (!changes_.SelectionsSuppressed() && !rebuilding_) {
            ForEachPage([&notification](SettingsPage& page) { page.OnSelectChanged(notification); });
        }
    } else if (type == skin::notify::kValueChanged || type == skin::notify::kMoveValueChanged) {
        ForEachPage([&notification](SettingsPage& page) { page.OnValueChanged(notification); });
    } else if (type == skin::notify::kMenuClick) {
        OnMenuItem(notification.text.empty() ? sender : notification.text);
    } else if (type == skin::notify::kItemSelect) {
        if (!changes_.SelectionsSuppressed() && !rebuilding_) {
            OnItemSelect(notification);
        }
    } else if (type == "PopSetValue") {
        keyPage_.OnKeyAssigned();
        ForEachPage([&notification](SettingsPage& page) { page.OnPopupResult(notification); });
    } else if (type == "popcolor_ok") {
        const auto colour = static_cast<skin::Color>(notification.lParam);
        ForEachPage([this, colour](SettingsPage& page) { page.OnColourPicked(colourButton_, colour); });
    }
}

// The click table: the key page's own senders first, then the settings pages.
void PageRouter::OnClick(skin::Notification& notification) {
    const std::string& name = notification.senderName;
    if (name == "lab_Mouse" || name == "Chk_MouseLed_SymnetryVal") {
        return;
    }
    if (name == "btn_Mouse_Apply") {
        context_.session.ApplyButton();
    } else if (Contains(name, "btn_Mouse_Scr")) {
        keyPage_.SelectWheelButton(name);
    } else if (Contains(name, "btn_MouseKey_Click") || Contains(name, "btn_MouseKey_Mark")) {
        keyPage_.SelectKeyButton(name);
    } else if (Contains(name, "chk_MouseAdv_PDIEn")) {
        advanced_->OnClick(notification);
    } else if (Contains(name, "chk_MouseLed_ColEn")) {
        if (!changes_.SelectionsSuppressed()) {
            lighting_->OnClick(notification);
        }
    } else if (name == "btn_MouseAdv_Sysproperties") {
        keyPage_.OpenMouseSettings();
    } else if (name == "btn_Mouse_More") {
        keyPage_.OpenMoreMenu();
    } else {
        for (const SubPage& sub : kSubPages) {
            if (name == sub.option) {
                if (auto* pages = context_.window.Find<skin::TabLayout>("tab_mousepage")) {
                    pages->SelectItem(context_.window.FindControl(sub.page));
                }
                return;
            }
        }
        if (!advanced_->OnClick(notification)) {
            lighting_->OnClick(notification);
        }
    }
}

void PageRouter::OnMenuItem(const std::string& item) {
    Status status = Status::Ok();
    if (item == "Import") {
        status = context_.session.ImportConfiguration();
    } else if (item == "Export") {
        status = context_.session.ExportConfiguration();
    } else if (item == "Reset") {
        status = context_.session.ResetConfiguration();
    }
    ShowFailure(context_, status);
}

void PageRouter::OnItemSelect(skin::Notification& notification) {
    if (notification.senderName == "btn_Mouse_SelProfile") {
        context_.session.SelectProfile(static_cast<int>(notification.wParam));
        return;
    }
    ForEachPage([&notification](SettingsPage& page) { page.OnItemSelect(notification); });
}

// The colour button keeps the focus no longer than it takes to open the picker, so that a later click on it opens
// the picker again.
void PageRouter::OpenColourPicker(skin::Notification& notification) {
    skin::PaintManager& manager = context_.window.GetPaintManager();
    manager.SetFocus(context_.window.FindControl("btn_Mouse_Temp"));
    colourButton_ = notification.senderName;
    const skin::Control* button = notification.sender != nullptr ? notification.sender
                                                                 : context_.window.FindControl(colourButton_);
    context_.host.OpenColourPicker(button != nullptr ? button->GetBkColor() : skin::kNoColor);
}

bool PageRouter::HandleWindowMessage(const Message& message) {
    if (panel_.OnKeyMessage(message)) {
        return true;
    }
    if (message.id == skin::msg::kActivate && (message.wParam & 0xFFFF) == 0) {
        panel_.StopRecording();  // the application lost the focus: keys belong to other programs again
    } else if (message.id == skin::msg::kLButtonDown || message.id == skin::msg::kRButtonDown) {
        panel_.ClosePickerLists({skin::msg::PointParamX(message.lParam), skin::msg::PointParamY(message.lParam)});
    } else if (message.id == skin::msg::kMouseLeave) {
        context_.host.HideTip();
    }
    return false;
}

void PageRouter::OnDeviceEvent(const Message& message) {
    MouseConfig* document = context_.session.Document();
    const int value = static_cast<int>(message.wParam & 0xFF);  // the byte above is the mapped button
    if (document != nullptr && message.id == mousecfg::msg::kDpiLevelChanged && value >= 1 &&
        value <= kDpiLevelCount && document->currentProfile >= 0 && document->currentProfile < kProfileCount) {
        document->profiles[static_cast<size_t>(document->currentProfile)].currentDpiLevel = value - 1;
        context_.session.DocumentChanged();
    } else if (document != nullptr && message.id == mousecfg::msg::kProfileChanged && value < kProfileCount) {
        context_.session.ShowProfile(value);
    }
    ForEachPage([&message](SettingsPage& page) { page.OnDeviceEvent(message); });
}

void PageRouter::OnConnectionChanged(bool connected, bool cable) {
    if (!connected) {
        panel_.StopRecording();
    }
    ForEachPage([connected, cable](SettingsPage& page) { page.OnConnectionChanged(connected, cable); });
}

void PageRouter::LeaveKeySelection() {
    keyPage_.LeaveKeySelection();
}

void PageRouter::ReopenKeySelection() {
    keyPage_.ReopenKeySelection();
}

void PageRouter::ShowProfileSelector(int profile) {
    keyPage_.ShowProfile(profile);
}

void PageRouter::RefreshPages(int profile) {
    keyPage_.RefreshLabels();
    ForEachPage([profile](SettingsPage& page) { page.Refresh(profile); });
}

void PageRouter::ReinitAssignmentPopup() {
    keyPage_.RefreshLabels();
    panel_.Reopen();
}

void PageRouter::ShowLightingMode(int mode) {
    ForEachPage([mode](SettingsPage& page) { page.ShowLightingMode(mode); });
}

void PageRouter::ShowDpiLevel(int level) {
    ForEachPage([level](SettingsPage& page) { page.ShowDpiLevel(level); });
}

void PageRouter::ShowRate(int index) {
    ForEachPage([index](SettingsPage& page) { page.ShowRate(index); });
}

void PageRouter::RefreshButtonLabels() {
    keyPage_.RefreshLabels();
}

void PageRouter::ApplyFinished() {
    keyPage_.ApplyFinished();
    ForEachPage([](SettingsPage& page) { page.ApplyFinished(); });
}

}  // namespace mousecfg::ui
