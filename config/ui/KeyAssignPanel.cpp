#include "config/ui/KeyAssignPanel.h"

#include <cstdlib>

#include "config/DeviceFeature.h"
#include "config/FunctionTable.h"
#include "config/KeyAssignment.h"
#include "config/MouseConfig.h"
#include "config/ui/PageContext.h"
#include "config/ui/PageHost.h"
#include "config/ui/PageMessages.h"
#include "config/ui/PanelControls.h"
#include "config/ui/PageSession.h"
#include "config/ui/PageTexts.h"
#include "macro/KeyNames.h"
#include "macro/KeyTables.h"
#include "macro/MacroStore.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramLauncher.h"
#include "platform/TextEncoding.h"
#include "platform/Trace.h"
#include "skin/ChildList.h"
#include "skin/List.h"
#include "skin/ListElement.h"
#include "skin/Notification.h"
#include "skin/Option.h"
#include "skin/SkinWindow.h"
#include "skin/TabLayout.h"

namespace mousecfg::ui {
namespace {

using namespace panel;

void CollectNames(const skin::Control& control, std::set<std::string, std::less<>>& names) {
    if (!control.GetName().empty()) {
        names.insert(control.GetName());
    }
    if (const skin::ChildList* children = control.Children()) {
        for (const auto& child : children->items()) {
            CollectNames(*child, names);
        }
    }
}

}  // namespace

KeyAssignPanel::KeyAssignPanel(PageContext& context) : context_(context) {}

void KeyAssignPanel::Initialise() {
    StopRecording();  // the skin is built again: a recording of the old one ends with its grab
    names_.clear();
    root_ = context_.window.FindControl(kRoot);
    if (root_ != nullptr) {
        CollectNames(*root_, names_);
    }
    names_.insert(std::string(kGroupItem));
    names_.insert(std::string(kMacroItem));
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    softKeyboard_ = ChooseProgram(OnScreenKeyboards(), desktop != nullptr ? desktop : "", context_.launcher);
    if (skin::Control* keyboard = context_.window.FindControl(kSoftKeyboard)) {
        keyboard->SetEnabled(softKeyboard_.has_value());
        keyboard->SetAttribute("tooltip", softKeyboard_ ? "" : context_.texts.Message("NoSoftKeyboard"));
    }
    opened_ = false;
    recording_ = false;
    recordedCode_.reset();
    LanguageChanged();
}

void KeyAssignPanel::LanguageChanged() {
    for (int i = 0; i < kCategoryCount; ++i) {
        const auto category = static_cast<Category>(i);
        auto* list = context_.window.Find<skin::List>(ControlsOf(category).list);
        for (int n = 0; list != nullptr && n < list->GetCount(); ++n) {
            skin::Control* item = list->GetItemAt(n);
            if (item->GetUserData().empty()) {
                item->SetUserData(item->GetText());  // the skin's text, for languages without their own
            }
            const std::optional<ParsedItem> parsed = ParseItemName(item->GetName(), category);
            const std::optional<std::string> name = parsed ? context_.texts.FunctionName(parsed->code) : std::nullopt;
            item->SetText(name.value_or(item->GetUserData()));
        }
    }
    if (!recordedCode_ && !recording_) {
        SetText(kRecordKey, context_.texts.Find("MouseUI", "RecordKeyHint"));
    }
}

bool KeyAssignPanel::OwnsControl(const skin::Notification& notification) const {
    if (notification.sender != nullptr && root_ != nullptr && notification.sender->IsSelfOrDescendantOf(root_)) {
        return true;
    }
    return names_.contains(notification.senderName);
}

int KeyAssignPanel::ProfileIndex() const {
    const MouseConfig* document = context_.session.Document();
    if (document == nullptr || document->currentProfile < 0 || document->currentProfile >= kProfileCount) {
        return -1;
    }
    return document->currentProfile;
}

int KeyAssignPanel::ButtonIndexOfEdited() const {
    return ButtonIndex(editedButton_);
}

void KeyAssignPanel::SetText(std::string_view control, std::string text) {
    if (skin::Control* found = context_.window.FindControl(control)) {
        found->SetText(std::move(text));
    }
}

void KeyAssignPanel::Open(std::string_view button) {
    StopRecording();
    // The document keys marks and wheel positions by the label names of their page buttons.
    std::string name(button);
    if (const size_t mark = name.find("btn_MouseKey_Mark"); mark != std::string::npos) {
        name = std::string(kButtonNamePrefix) + name.substr(mark + 17);
    } else if (name == "btn_Mouse_Scr_Up") {
        name = ButtonName(16);
    } else if (name == "btn_Mouse_Scr_Dn") {
        name = ButtonName(17);
    }
    editedButton_ = name;
    wheel_ = button.find("btn_Mouse_Scr") != std::string_view::npos;
    opened_ = true;
    ApplyLinkRestrictions();
    ShowCategories();
    initialised_ = false;
    ShowCurrentFunction();
    initialised_ = true;
    onePageVersion_ = context_.session.OnePageVersion();
}

void KeyAssignPanel::Reopen() {
    if (opened_) {
        Open(editedButton_ == ButtonName(16)   ? "btn_Mouse_Scr_Up"
             : editedButton_ == ButtonName(17) ? "btn_Mouse_Scr_Dn"
                                               : editedButton_);
    }
}

// Over BLE the report rate cannot be set from a button, and macros cannot be written.
void KeyAssignPanel::ApplyLinkRestrictions() {
    const bool ble = context_.session.BleActive();
    if (skin::Control* rate = context_.window.FindControl(kReportRateItem)) {
        rate->SetVisible(!ble);
    }
    for (std::string_view picker : {kGroupPicker, kMacroPicker}) {
        if (skin::Control* control = context_.window.FindControl(picker)) {
            control->SetEnabled(!ble);
        }
    }
}

void KeyAssignPanel::ShowCategories() {
    const auto show = [this](Category category, bool visible) {
        if (skin::Control* option = context_.window.FindControl(ControlsOf(category).option)) {
            option->SetVisible(visible);
        }
    };
    for (Category category : {Category::Mouse, Category::ShortCut, Category::Macro, Category::Media, Category::Dpi,
                              Category::Mode}) {
        show(category, !wheel_);
    }
    if (context_.session.DeviceName() != "KT61") {
        show(Category::Led, !wheel_ && context_.session.KeySelectLedVisible());
    } else if (wheel_) {
        show(Category::Led, false);
    }
    show(Category::Scroll, wheel_);
    // A wheel position has one category: its page alone says what it offers.
    if (skin::Control* categories = context_.window.FindControl(kCategories)) {
        categories->SetVisible(!wheel_);
    }
}

void KeyAssignPanel::ShowCurrentFunction() {
    currentCode_ = 0;
    const int profile = ProfileIndex();
    if (profile >= 0) {
        const auto& keys = context_.session.Document()->keyProfiles[static_cast<size_t>(profile)];
        if (auto binding = keys.find(editedButton_); binding != keys.end()) {
            currentCode_ = binding->second.code;
        }
    }
    ClearMacroPickers();
    recordedCode_.reset();
    SetText(kRecordKey, context_.texts.Find("MouseUI", "RecordKeyHint"));
    const Category category = wheel_ ? Category::Scroll : CategoryOfCode(currentCode_);
    SelectCategory(category, false);
    if (category == Category::Macro) {
        ShowMacroNames(currentCode_);
    } else if (category == Category::ShortCut && currentCode_ >= kFirstKeyCode) {
        SetText(kRecordKey, context_.session.Keys().ItemKeyName(currentCode_ - kFirstKeyCode));
    }
    for (int i = 0; i < kCategoryCount; ++i) {
        const std::string_view list = ControlsOf(static_cast<Category>(i)).list;
        if (!list.empty()) {
            SelectListItem(list, static_cast<Category>(i) == category ? currentCode_ : -1);
        }
    }
}

void KeyAssignPanel::SelectCategory(Category category, bool notify) {
    if (auto* option = context_.window.Find<skin::Option>(ControlsOf(category).option)) {
        option->Selected(true, notify);
    }
    if (auto* pages = context_.window.Find<skin::TabLayout>(kPages)) {
        pages->SelectItem(static_cast<int>(category));
    }
}

// Selects the item of `list` that carries `code` (none for -1 or a code the list does not offer).
void KeyAssignPanel::SelectListItem(std::string_view list, int code) {
    auto* control = context_.window.Find<skin::List>(list);
    if (control == nullptr) {
        return;
    }
    const std::optional<Category> category = [list]() -> std::optional<Category> {
        for (int i = 0; i < kCategoryCount; ++i) {
            if (ControlsOf(static_cast<Category>(i)).list == list) {
                return static_cast<Category>(i);
            }
        }
        return std::nullopt;
    }();
    int index = -1;
    for (int i = 0; i < control->GetCount() && code >= 0; ++i) {
        const std::optional<ParsedItem> item = ParseItemName(control->GetItemAt(i)->GetName(), *category);
        if (item && item->code == code && control->GetItemAt(i)->IsVisible()) {
            index = i;
            break;
        }
    }
    control->SelectItem(index, false);
    if (index >= 0) {
        control->EnsureVisible(index);
    }
}

void KeyAssignPanel::ClearMacroPickers() {
    SetText(kGroupPicker, {});
    SetText(kMacroPicker, {});
    for (std::string_view list : {kGroupList, kMacroList}) {
        if (auto* control = context_.window.Find<skin::List>(list)) {
            control->SelectItem(-1, false);
            control->SetVisible(false);
        }
    }
    group_ = -1;
    macro_ = -1;
}

// The group and macro names of the button's macro binding in the pickers.
void KeyAssignPanel::ShowMacroNames(int code) {
    const int profile = ProfileIndex();
    if (profile < 0 || !IsUserMacroCode(code)) {
        return;
    }
    const auto& keys = context_.session.Document()->keyProfiles[static_cast<size_t>(profile)];
    const auto binding = keys.find(editedButton_);
    if (binding == keys.end()) {
        return;
    }
    const auto& groups = context_.session.Macros().groups();
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].guid != binding->second.groupGuid) {
            continue;
        }
        for (size_t m = 0; m < groups[g].macros.size(); ++m) {
            if (groups[g].macros[m].guid == binding->second.macroGuid) {
                group_ = static_cast<int>(g);
                macro_ = static_cast<int>(m);
                SetText(kGroupPicker, Utf16ToUtf8(groups[g].name));
                SetText(kMacroPicker, Utf16ToUtf8(groups[g].macros[m].name));
                return;
            }
        }
    }
}

std::optional<Category> KeyAssignPanel::SelectedCategory() const {
    for (const skin::Option* option : context_.window.GetPaintManager().GetOptionGroup("PopMouseKey")) {
        if (option->IsSelected()) {
            return CategoryOfOption(option->GetName());
        }
    }
    return std::nullopt;
}

}  // namespace mousecfg::ui
