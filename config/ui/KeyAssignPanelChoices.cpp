// What the user does in the assignment panel: categories, list items, the macro pickers, key recording.
#include "config/FunctionTable.h"
#include "config/KeyAssignment.h"
#include "config/MouseConfig.h"
#include "config/ui/KeyAssignPanel.h"
#include "config/ui/PageContext.h"
#include "config/ui/PageFailure.h"
#include "config/ui/PageHost.h"
#include "config/ui/PageMessages.h"
#include "config/ui/PanelControls.h"
#include "config/ui/PageSession.h"
#include "config/ui/PageTexts.h"
#include "macro/KeyNames.h"
#include "macro/KeyTables.h"
#include "macro/MacroStore.h"
#include "platform/MessageBoxes.h"
#include "platform/MessageSink.h"
#include "platform/ProgramLauncher.h"
#include "platform/TextEncoding.h"
#include "platform/Trace.h"
#include "skin/List.h"
#include "skin/ListElement.h"
#include "skin/ListLabelElement.h"
#include "skin/Notification.h"
#include "skin/Option.h"
#include "skin/SkinWindow.h"
#include "skin/WindowMessages.h"

namespace mousecfg::ui {
namespace {

using namespace panel;

constexpr uint8_t kNoHidUsage = 0xFF;

bool IsKeyDown(uint32_t id) {
    return id == skin::msg::kKeyDown || id == skin::msg::kSysKeyDown;
}

bool IsKeyMessage(uint32_t id) {
    return IsKeyDown(id) || id == skin::msg::kKeyUp || id == skin::msg::kSysKeyUp;
}

}  // namespace

void KeyAssignPanel::Notify(skin::Notification& notification) {
    const std::string& type = notification.type;
    if (type == "WM_RecordKey") {
        if (recording_) {
            OnRecordKey(static_cast<int>(notification.lParam));
        }
    } else if (type == skin::notify::kClick) {
        OnClick(notification);
    } else if (type == skin::notify::kItemClick) {
        OnItemClick(notification);
    } else if (type == skin::notify::kItemSelect) {
        OnItemSelect(notification);
    } else if (type == skin::notify::kSelectChanged) {
        OnSelectChanged(notification);
    }
}

void KeyAssignPanel::OnClick(skin::Notification& notification) {
    const std::string& name = notification.senderName;
    if (name == kGroupPicker) {
        OpenGroupList();
    } else if (name == kMacroPicker) {
        OpenMacroList();
    } else if (name == kRecordConfirm) {
        StopRecording();
        if (AssignRecordedKey()) {
            Announce();
        }
    } else if (name == kSoftKeyboard) {
        OpenSoftKeyboard();
    }
}

void KeyAssignPanel::OnItemClick(skin::Notification& notification) {
    const std::string& name = notification.senderName;
    if (name == kGroupItem) {
        auto* list = context_.window.Find<skin::List>(kGroupList);
        group_ = list != nullptr ? list->GetItemIndex(notification.sender) : -1;
        SetText(kGroupPicker, notification.sender != nullptr ? notification.sender->GetText() : std::string());
        if (list != nullptr) {
            list->SetVisible(false);
        }
        if (auto* macros = context_.window.Find<skin::List>(kMacroList)) {
            macros->SelectItem(-1, false);
        }
        SetText(kMacroPicker, {});
        macro_ = -1;
        return;
    }
    if (name == kMacroItem) {
        auto* list = context_.window.Find<skin::List>(kMacroList);
        macro_ = list != nullptr ? list->GetItemIndex(notification.sender) : -1;
        if (list != nullptr) {
            list->SetVisible(false);
        }
        SetText(kMacroPicker, notification.sender != nullptr ? notification.sender->GetText() : std::string());
        if (!RefuseIfOnlyLeftClick() && AssignMacro()) {
            Announce();
        }
        return;
    }
    const auto* item = dynamic_cast<const skin::ListElement*>(notification.sender);
    const auto* list = item != nullptr ? dynamic_cast<const skin::List*>(item->GetParent()) : nullptr;
    if (name.starts_with("ItemValue") && (list == nullptr || list->GetSelectedItem() == item)) {
        Assign();  // an item whose selection was refused is not assigned
    }
}

// A list selection is a change of the button's function: the only left-click button keeps its function.
void KeyAssignPanel::OnItemSelect(skin::Notification& notification) {
    if (!initialised_ || refusing_ || notification.sender == nullptr) {
        return;
    }
    const std::string& list = notification.senderName;
    std::optional<Category> category;
    for (int i = 0; i < kCategoryCount; ++i) {
        if (ControlsOf(static_cast<Category>(i)).list == list) {
            category = static_cast<Category>(i);
        }
    }
    if (!category) {
        return;  // the macro group list: picking a group changes nothing yet
    }
    const auto* control = dynamic_cast<const skin::List*>(notification.sender);
    const skin::ListElement* item = control != nullptr ? control->GetSelectedItem() : nullptr;
    const std::optional<ParsedItem> parsed =
        item != nullptr ? ParseItemName(item->GetName(), *category) : std::nullopt;
    if (parsed && parsed->code == kLeftClickCode) {
        return;  // choosing the left click again changes nothing
    }
    RefuseIfOnlyLeftClick();
}

void KeyAssignPanel::OnSelectChanged(skin::Notification& notification) {
    const std::string& name = notification.senderName;
    if (name == kRecordKey) {
        const auto* record = dynamic_cast<const skin::Option*>(notification.sender);
        if (record != nullptr && record->IsSelected()) {
            StartRecording();
        } else {
            StopRecording();
        }
        return;
    }
    const std::optional<Category> category = CategoryOfOption(name);
    const auto* option = dynamic_cast<const skin::Option*>(notification.sender);
    if (!category || option == nullptr || !option->IsSelected() || refusing_) {
        return;
    }
    StopRecording();
    if (initialised_ && RefuseIfOnlyLeftClick()) {
        return;
    }
    SelectCategory(*category, false);
}

bool KeyAssignPanel::RefuseIfOnlyLeftClick() {
    const MouseConfig* document = context_.session.Document();
    const int profile = ProfileIndex();
    if (document == nullptr || profile < 0 || !IsOnlyLeftClick(*document, profile, ButtonIndexOfEdited())) {
        return false;
    }
    refusing_ = true;
    initialised_ = false;
    ShowCurrentFunction();
    initialised_ = true;
    refusing_ = false;
    const PageTexts& texts = context_.texts;
    context_.boxes.Show({texts.Message("Tip"), texts.Message("OnlyOneKey"), texts.Message("MessageOK"),
                         texts.Message("MessageCancel"), true});
    return true;
}

void KeyAssignPanel::Assign() {
    const std::optional<Category> category = SelectedCategory();
    if (!category) {
        return;
    }
    const bool assigned =
        *category == Category::Macro ? !RefuseIfOnlyLeftClick() && AssignMacro() : AssignFromList(*category);
    if (assigned) {
        Announce();
    }
}

bool KeyAssignPanel::AssignFromList(Category category) {
    if (category == Category::Scroll ? !wheel_ : wheel_) {
        return false;  // a wheel position takes the scroll functions only, and they belong to it alone
    }
    const auto* list = context_.window.Find<skin::List>(ControlsOf(category).list);
    const skin::ListElement* item = list != nullptr ? list->GetSelectedItem() : nullptr;
    const std::optional<ParsedItem> parsed = item != nullptr ? ParseItemName(item->GetName(), category) : std::nullopt;
    MouseConfig* document = context_.session.Document();
    const int profile = ProfileIndex();
    if (!parsed || document == nullptr || profile < 0 || !item->IsVisible()) {
        return false;
    }
    const int code = parsed->code;
    if (code >= kFirstMacroCode || (code != kLeftClickCode && RefuseIfOnlyLeftClick())) {
        return false;  // lists offer built-in functions only
    }
    const bool hadMacro = IsUserMacroCode(currentCode_);
    const Status assigned = AssignFunction(*document, context_.session.Macros(), profile, ButtonIndexOfEdited(), code,
                                           context_.session.Functions(), context_.session.Keys());
    if (!assigned) {
        trace::Printf("assignment: %s\n", assigned.message().c_str());
        return false;
    }
    if (!parsed->named) {
        document->keyProfiles[static_cast<size_t>(profile)][editedButton_].text = std::string(kUnknownKey);
    }
    ClearMacroPickers();
    currentCode_ = code;
    if (hadMacro) {
        SaveMacroBindings();
    }
    return true;
}

bool KeyAssignPanel::AssignMacro() {
    MouseConfig* document = context_.session.Document();
    const int profile = ProfileIndex();
    if (group_ < 0 || macro_ < 0 || document == nullptr || profile < 0 || wheel_ || context_.session.BleActive()) {
        return false;
    }
    const Status assigned =
        mousecfg::AssignMacro(*document, context_.session.Macros(), profile, ButtonIndexOfEdited(), group_, macro_);
    if (!assigned) {
        trace::Printf("assignment: %s\n", assigned.message().c_str());
        return false;
    }
    currentCode_ = kUserMacroCode;
    SaveMacroBindings();
    return true;
}

bool KeyAssignPanel::AssignRecordedKey() {
    MouseConfig* document = context_.session.Document();
    const int profile = ProfileIndex();
    if (!recordedCode_ || document == nullptr || profile < 0 || wheel_ || RefuseIfOnlyLeftClick()) {
        return false;
    }
    const bool hadMacro = IsUserMacroCode(currentCode_);
    const Status assigned = AssignFunction(*document, context_.session.Macros(), profile, ButtonIndexOfEdited(),
                                           *recordedCode_, context_.session.Functions(), context_.session.Keys());
    if (!assigned) {
        trace::Printf("assignment: %s\n", assigned.message().c_str());
        return false;
    }
    ClearMacroPickers();
    currentCode_ = *recordedCode_;
    if (hadMacro) {
        SaveMacroBindings();
    }
    return true;
}

// The macro document's binding lists and counts follow the configuration at once, so that the macro page and the
// file agree with what the mouse is about to hold.
void KeyAssignPanel::SaveMacroBindings() {
    const MouseConfig* document = context_.session.Document();
    ShowFailure(context_, RebuildMacroBindings(context_.session.Macros(), *document, context_.session.DeviceName()));
}

void KeyAssignPanel::Announce() {
    context_.session.DocumentChanged();
    context_.window.Post(Message{msg::kKeyAssigned, 1, 1, {}});
}

void KeyAssignPanel::OpenGroupList() {
    std::vector<std::u16string> names;
    for (const MacroGroup& group : context_.session.Macros().groups()) {
        names.push_back(group.name);
    }
    OpenPickerList(kGroupList, kGroupPicker, kGroupItem, names, group_);
}

void KeyAssignPanel::OpenMacroList() {
    const auto& groups = context_.session.Macros().groups();
    if (group_ < 0 || static_cast<size_t>(group_) >= groups.size()) {
        return;  // no group chosen yet
    }
    std::vector<std::u16string> names;
    for (const MacroRecord& macro : groups[static_cast<size_t>(group_)].macros) {
        names.push_back(macro.name);
    }
    OpenPickerList(kMacroList, kMacroPicker, kMacroItem, names, macro_);
}

// Fills the list below a picker with one row per name, each of the picker's size, and shows it; the other picker's
// list closes.
void KeyAssignPanel::OpenPickerList(std::string_view listName, std::string_view pickerName, std::string_view itemName,
                                    const std::vector<std::u16string>& names, int selected) {
    auto* list = context_.window.Find<skin::List>(listName);
    const skin::Control* picker = context_.window.FindControl(pickerName);
    if (list == nullptr || picker == nullptr || !picker->IsEnabled()) {
        return;
    }
    if (auto* other = context_.window.Find<skin::List>(listName == kGroupList ? kMacroList : kGroupList)) {
        other->SetVisible(false);
    }
    list->RemoveAll();
    for (const std::u16string& name : names) {
        auto item = std::make_unique<skin::ListLabelElement>();
        item->SetName(std::string(itemName));
        item->SetText(Utf16ToUtf8(name));
        item->SetFixedWidth(picker->GetPos().width());
        item->SetFixedHeight(picker->GetPos().height());
        list->Add(std::move(item));
    }
    list->SelectItem(selected, false);
    list->SetVisible(true);
}

void KeyAssignPanel::ClosePickerLists(skin::Point point) {
    for (std::string_view name : {kGroupList, kMacroList}) {
        skin::Control* list = context_.window.FindControl(name);
        if (list != nullptr && list->IsVisible() && !list->GetPos().contains(point)) {
            list->SetVisible(false);
        }
    }
}

void KeyAssignPanel::StartRecording() {
    if (wheel_) {
        return;
    }
    recording_ = true;
    context_.window.GrabKeyboard(true);
    grabbed_ = context_.window.KeyboardGrabbed();
    SetText(kRecordKey, context_.texts.Find("MouseUI", "RecordKeyPress"));
}

void KeyAssignPanel::StopRecording() {
    if (!recording_) {
        return;
    }
    recording_ = false;
    context_.window.GrabKeyboard(false);
    if (auto* record = context_.window.Find<skin::Option>(kRecordKey)) {
        record->Selected(false, false);
    }
    if (!recordedCode_) {
        SetText(kRecordKey, context_.texts.Find("MouseUI", "RecordKeyHint"));
    }
}

bool KeyAssignPanel::OnKeyMessage(const Message& message) {
    if (!recording_ || !IsKeyMessage(message.id)) {
        return false;
    }
    if (grabbed_ && !context_.window.KeyboardGrabbed()) {
        StopRecording();  // the grab ended without the panel (the window was hidden)
        return false;
    }
    const int scanCode = skin::msg::ScanCodeOf(message.lParam);
    if (IsKeyDown(message.id) && scanCode != 0 && !skin::msg::IsAutoRepeat(message.lParam)) {
        context_.window.Send(Message{msg::kRecordKey, 0, scanCode, {}});
    }
    return true;  // while recording no key presses a control of the window
}

// A key pressed while recording: its scan code becomes the key's code for the mouse and its name is shown.
void KeyAssignPanel::OnRecordKey(int scanCode) {
    const uint8_t hid = ScanToHid(scanCode);
    if (hid == kNoHidUsage || hid == 0) {
        return;  // a key the mouse cannot send (no keyboard usage): the previous choice stays
    }
    recordedCode_ = kFirstKeyCode + hid;
    SetText(kRecordKey, context_.session.Keys().ItemKeyName(hid));
}

void KeyAssignPanel::OpenSoftKeyboard() {
    if (!softKeyboard_) {
        return;
    }
    ShowFailure(context_, context_.launcher.StartDetached(softKeyboard_->file, softKeyboard_->arguments));
}

}  // namespace mousecfg::ui
