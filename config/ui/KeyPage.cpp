#include "config/ui/KeyPage.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "config/FunctionTable.h"
#include "config/MouseConfig.h"
#include "config/ui/KeyAssignPanel.h"
#include "config/ui/PageContext.h"
#include "config/ui/PageFailure.h"
#include "config/ui/PageHost.h"
#include "config/ui/PageSession.h"
#include "config/ui/PageTexts.h"
#include "device/DeviceRequest.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramLauncher.h"
#include "platform/Trace.h"
#include "skin/AttributeText.h"
#include "skin/Combo.h"
#include "skin/Option.h"
#include "skin/SkinWindow.h"
#include "skin/WindowHost.h"

namespace mousecfg::ui {
namespace {

constexpr std::string_view kLabel = "btn_MouseKey_Click";
constexpr std::string_view kMark = "btn_MouseKey_Mark";
constexpr std::string_view kLabelTwin = "btn_MouseKey2_Click";
constexpr std::string_view kMarkTwin = "btn_MouseKey2_Mark";
constexpr std::string_view kWheelUpName = "btn_Mouse_Scr_Up";
constexpr std::string_view kWheelDownName = "btn_Mouse_Scr_Dn";

std::string Numbered(std::string_view prefix, int index) {
    return std::string(prefix) + std::to_string(index);
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

void SetStateImages(skin::Option& option, const std::string& image) {
    for (const char* attribute : {"selectedimage", "hotimage", "pushedimage"}) {
        option.SetAttribute(attribute, image);
    }
}

void SetStateTextColours(skin::Option& option, skin::Color colour) {
    option.SetSelectedTextColor(colour);
    option.SetHotTextColor(colour);
    option.SetPushedTextColor(colour);
}

}  // namespace

std::optional<int> NumberAfter(std::string_view name, std::string_view prefix) {
    const size_t at = name.find(prefix);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(at + prefix.size());
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number < 0) {
        return std::nullopt;
    }
    return number;
}

KeyPage::KeyPage(PageContext& context, KeyAssignPanel& panel) : context_(context), panel_(panel) {}

void KeyPage::Initialise() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    mouseSettings_ = ChooseProgram(MouseSettingsPrograms(), desktop != nullptr ? desktop : "", context_.launcher);
    if (skin::Control* link = context_.window.FindControl("btn_MouseAdv_Sysproperties")) {
        link->SetVisible(mouseSettings_.has_value());
    }
    marks_ = {};
    editedButton_ = -1;
    editedControl_.clear();
}

void KeyPage::SetMarks(const layout::KeyPageMarks& marks) {
    marks_ = marks;
    RefreshKeyHighlight({});
}

void KeyPage::ShowPanel(bool show) {
    if (skin::Control* panel = context_.window.FindControl("ver_mousekeysel")) {
        panel->SetVisible(show);
    }
    if (skin::Control* hint = context_.window.FindControl("ver_mousehid")) {
        hint->SetVisible(!show);
    }
}

void KeyPage::UncheckWheel() {
    for (std::string_view name : {kWheelUpName, kWheelDownName}) {
        if (auto* wheel = context_.window.Find<skin::Option>(name)) {
            wheel->Selected(false, false);
        }
    }
}

void KeyPage::SelectKeyButton(std::string_view name) {
    const bool mark = Contains(name, kMark);
    const std::optional<int> index = NumberAfter(name, mark ? kMark : kLabel);
    if (!index || context_.window.FindControl(Numbered(kLabel, *index)) == nullptr) {
        return;  // a number that names no label leaves the selection as it is
    }
    UncheckWheel();
    context_.host.HideTip();
    ShowPanel(true);
    editedButton_ = *index;
    editedControl_ = Numbered(kLabel, *index);
    Highlight(*index);
    panel_.Open(editedControl_);
}

// The look of the edited button: its mark with the model's selected image in every state, its label in the
// model's highlight colour, both checked.
void KeyPage::Highlight(int index) {
    if (index < 0 || index >= kDrawnButtons) {
        return;
    }
    auto* mark = context_.window.Find<skin::Option>(Numbered(kMark, index));
    if (mark != nullptr && mark->IsVisible()) {
        SetStateImages(*mark, marks_.markImages[static_cast<size_t>(index)]);
        mark->Selected(true, false);
    }
    auto* label = context_.window.Find<skin::Option>(Numbered(kLabel, index));
    if (label != nullptr && label->IsVisible()) {
        SetStateTextColours(*label, marks_.highlightColor);
        // The edited label keeps its selected look under the cursor.
        label->SetAttribute("selectedhotimage", skin::attr::FormatImage(label->GetSelectedImage()));
        label->Selected(true, false);
    }
    RefreshKeyHighlight({});
}

void KeyPage::SelectWheelButton(std::string_view name) {
    context_.host.HideTip();
    ShowPanel(true);
    const bool up = Contains(name, "Up");
    editedButton_ = up ? kWheelUp : kWheelDown;
    editedControl_ = std::string(up ? kWheelUpName : kWheelDownName);
    if (auto* clicked = context_.window.Find<skin::Option>(editedControl_)) {
        clicked->Selected(true, false);
    }
    if (auto* other = context_.window.Find<skin::Option>(up ? kWheelDownName : kWheelUpName)) {
        other->Selected(false, false);
    }
    RefreshKeyHighlight({});
    panel_.Open(editedControl_);
}

void KeyPage::RefreshKeyHighlight(std::string_view sender) {
    if (Contains(sender, "btn_Mouse_Scr")) {
        context_.host.HideTip();
    }
    const skin::Control* panel = context_.window.FindControl("ver_mousekeysel");
    const bool panelShown = panel != nullptr && panel->IsVisible();
    for (int n = 0; n < kDrawnButtons; ++n) {
        const bool edited = panelShown && n == editedButton_;
        if (auto* mark = context_.window.Find<skin::Option>(Numbered(kMark, n))) {
            if (edited && mark->IsVisible()) {
                SetStateImages(*mark, marks_.markImages[static_cast<size_t>(n)]);
                mark->Selected(true, false);
            } else if (!panelShown || mark->IsVisible()) {
                const auto* twin = context_.window.Find<skin::Option>(Numbered(kMarkTwin, n));
                if (twin != nullptr) {
                    SetStateImages(*mark, skin::attr::FormatImage(twin->GetSelectedImage()));
                }
                mark->Selected(false, false);
            }
        }
        auto* label = context_.window.Find<skin::Option>(Numbered(kLabel, n));
        if (label == nullptr || !label->IsVisible()) {
            continue;
        }
        if (edited) {
            SetStateTextColours(*label, marks_.highlightColor);
            label->Selected(true, false);
        } else {
            if (const auto* twin = context_.window.Find<skin::Option>(Numbered(kLabelTwin, n))) {
                SetStateTextColours(*label, twin->GetSelectedTextColor());
            }
            label->Selected(false, false);
        }
    }
}

void KeyPage::ShowWheelTip(std::string_view sender) {
    const bool up = Contains(sender, "Up");
    const skin::Control* wheel = context_.window.FindControl(up ? kWheelUpName : kWheelDownName);
    if (wheel == nullptr || !wheel->IsVisible()) {
        return;
    }
    context_.host.ShowTip(DisplayText(up ? kWheelUp : kWheelDown), wheel->GetPos());
}

std::string KeyPage::DisplayText(int button) const {
    const MouseConfig* document = context_.session.Document();
    if (document == nullptr || document->currentProfile < 0 || document->currentProfile >= kKeyProfileCount) {
        return context_.texts.Find("OthersUI", kUnknownKey);
    }
    const auto& keys = document->keyProfiles[static_cast<size_t>(document->currentProfile)];
    const auto found = keys.find(ButtonName(button));
    if (found == keys.end()) {
        return context_.texts.Find("OthersUI", kUnknownKey);
    }
    const KeyBinding& binding = found->second;
    if (binding.code < kFirstMacroCode && context_.session.Functions().Contains(binding.code) &&
        binding.text == context_.session.Functions().FunctionButtonText(binding.code)) {
        if (std::optional<std::string> name = context_.texts.FunctionName(binding.code)) {
            return *name;
        }
    }
    return binding.text;
}

void KeyPage::RefreshLabels() {
    const MouseConfig* document = context_.session.Document();
    if (document == nullptr || document->currentProfile < 0 || document->currentProfile >= kKeyProfileCount) {
        return;
    }
    const auto& keys = document->keyProfiles[static_cast<size_t>(document->currentProfile)];
    for (int n = 0; n < kDrawnButtons; ++n) {
        skin::Control* label = context_.window.FindControl(Numbered(kLabel, n));
        if (label != nullptr && keys.contains(ButtonName(n))) {
            label->SetText(DisplayText(n));
        }
    }
}

void KeyPage::OnKeyAssigned() {
    if (editedButton_ < 0) {
        return;
    }
    RefreshLabels();
    if (context_.session.ApplyRunning()) {
        // A request now would be dropped by the run under way: it follows when the run has finished.
        if (std::find(waiting_.begin(), waiting_.end(), editedButton_) == waiting_.end()) {
            waiting_.push_back(editedButton_);
        }
        return;
    }
    RequestKeyWrite(editedButton_);
}

void KeyPage::RequestKeyWrite(int button) {
    const bool extra = button >= kWheelUp;  // page buttons 16..19 are the mouse's extra keys
    context_.session.SetEditedButton(button);
    context_.session.RequestApply(extra ? request::kExtraKeyAssignment : request::kKeyAssignment, false);
}

void KeyPage::ApplyFinished() {
    if (waiting_.empty() || context_.session.ApplyRunning()) {
        return;
    }
    const int button = waiting_.front();
    waiting_.erase(waiting_.begin());
    RequestKeyWrite(button);
}

void KeyPage::ShowProfile(int profile) {
    if (auto* selector = context_.window.Find<skin::Combo>("btn_Mouse_SelProfile")) {
        selector->SelectItem(profile, false);
    }
}

void KeyPage::OpenMoreMenu() {
    if (context_.session.MacrosChanged()) {
        return;
    }
    moreMenu_.Close();
    const skin::Control* button = context_.window.FindControl("btn_Mouse_More");
    skin::WindowHost* host = context_.window.GetHost();
    if (button == nullptr || host == nullptr || !moreMenu_.Load("mouse_exmenu.xml")) {
        return;
    }
    const skin::Point corner = host->ClientToScreen({button->GetPos().left, button->GetPos().top});
    moreMenu_.Popup(context_.window, corner, true);
}

void KeyPage::OpenMouseSettings() {
    if (!mouseSettings_) {
        return;
    }
    ShowFailure(context_, context_.launcher.StartDetached(mouseSettings_->file, mouseSettings_->arguments));
}

void KeyPage::LeaveKeySelection() {
    panel_.StopRecording();
    ShowPanel(false);
    UncheckWheel();
    context_.host.HideTip();
    RefreshKeyHighlight({});
}

void KeyPage::ReopenKeySelection() {
    if (editedButton_ < 0) {
        // Nothing was picked yet: only the one-page layout shows the panel at once, for button 0.
        if (context_.session.OnePageVersion() != 0) {
            SelectKeyButton(Numbered(kLabel, 0));
        }
        return;
    }
    if (editedButton_ >= kWheelUp) {
        SelectWheelButton(editedControl_);
    } else {
        SelectKeyButton(editedControl_);
    }
}

}  // namespace mousecfg::ui
