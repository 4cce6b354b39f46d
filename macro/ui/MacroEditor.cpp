// The macro page: its controls, the selection and the routing of its notifications.
#include "macro/ui/MacroEditor.h"

#include <algorithm>

#include "layout/PageBuilder.h"
#include "layout/PositionFile.h"
#include "macro/MacroStore.h"
#include "platform/MessageBoxes.h"
#include "platform/Trace.h"
#include "skin/Control.h"
#include "skin/Notification.h"
#include "skin/Option.h"
#include "skin/SkinWindow.h"
#include "skin/Tree.h"
#include "skin/TreeNode.h"

namespace mousecfg::macroui {

MacroEditor::MacroEditor(MacroStore& store, MacroRecorder& recorder, MessageBoxes& messages, MacroPageHost& host)
    : store_(store), recorder_(recorder), messages_(messages), host_(host) {
    SetTexts(MacroPageTexts{});
}

MacroEditor::~MacroEditor() = default;

void MacroEditor::SetTexts(MacroPageTexts texts) {
    texts_ = std::move(texts);
    store_.SetMessageTexts({texts_.error, texts_.importError, texts_.ok, texts_.cancel});
}

void MacroEditor::Initialise(skin::SkinWindow& window, const std::filesystem::path& skinFolder) {
    window_ = &window;
    skinFolder_ = skinFolder;
    renaming_ = {};
    groupMenu_.Close();
    macroMenu_.Close();
    insertMenu_.Close();
    const layout::PositionFile page = layout::PositionFile::Read(skinFolder / "MacroDock" / "Macro.json");
    if (page.opened) {
        layout::PageBuilder::ApplyPage(page, window.GetPaintManager());
    } else {
        Message(texts_.jsonWarn);
    }
    const bool wasRecording = recorder_.recording();
    BuildTree();
    if (store_.groups().empty()) {
        ShowNothing();
    } else {
        Select(std::clamp(group_, 0, static_cast<int>(store_.groups().size()) - 1), macro_);
    }
    if (wasRecording) {
        // The page's controls were rebuilt (skin switch): the recording ends with what it has.
        EndRecording(MacroRecorder::EndReason::Disconnect);
    }
}

void MacroEditor::Notify(skin::Notification& notification) {
    if (window_ == nullptr) {
        return;
    }
    const std::string& name = notification.senderName;
    const std::string_view type = notification.type;
    if (type == skin::notify::kSelectChanged && name == "btn_Macro_Record") {
        if (auto* record = dynamic_cast<skin::Option*>(notification.sender)) {
            OnRecordButton(record->IsSelected());
        }
        return;
    }
    if (recorder_.recording()) {
        // While recording nothing else of the page is heard; leaving the page ends the recording.
        if (type == skin::notify::kClick && name == "btn_Null") {
            EndRecording(MacroRecorder::EndReason::Disconnect);
        }
        return;
    }
    if (type == skin::notify::kClick) {
        OnClick(name, notification);
    } else if (type == skin::notify::kItemSelect && name == "tre_Macro_GroupDisplay") {
        OnTreeSelect();
    } else if (type == skin::notify::kTextChanged && name == "Edit_Macro_Time") {
        OnRepeatCountTyped();
    } else if ((type == skin::notify::kReturn || type == skin::notify::kKillFocus) && name == "Edit_Macro_Time") {
        ApplyRepeatCount();
        if (type == skin::notify::kReturn) {
            FocusSink();
        }
    } else if ((type == skin::notify::kReturn || type == skin::notify::kKillFocus) && name == "EditGrpNodeAll") {
        FinishRename();
    } else if (type == skin::notify::kMenuClick) {
        OnMenu(notification.text);
    } else if (type == "macsetclose" && notification.lParam != 0) {
        OnDialogResult(*reinterpret_cast<const MacroItem*>(notification.lParam), static_cast<int>(notification.wParam));
    }
}

void MacroEditor::OnClick(const std::string& name, skin::Notification& notification) {
    if (name == "btn_Macro_InsertKey") {
        OpenInsertMenu();
    } else if (name == "btn_Macro_Delete") {
        DeleteItem();
    } else if (name == "opt_Macro_AddMacGroup") {
        AddGroup();
    } else if (name == "opt_Macro_AddNewMac") {
        AddMacro();
    } else if (name == "opt_Macro_importMacGroup") {
        ImportGroups();
    } else if (name == "opt_Macro_exportMacGroup") {
        ExportGroup();
    } else if (name == "opt_Macro_CycleUntilRelease" || name == "opt_Macro_CycleUntilClick" ||
               name == "opt_Macro_CycleTimes") {
        OnLoopOption(name);
    } else if (name == "ToSave") {
        OnToSaveClicked();
    } else if (name == "modify" && notification.sender != nullptr) {
        OpenDialogForRow(*notification.sender);
    }
}

void MacroEditor::OnMenu(const std::string& item) {
    if (item == "group_rename" || item == "marco_rename") {
        StartRename(menuNode_);
    } else if (item == "GroupDelete") {
        DeleteGroup(menuNode_.group);
    } else if (item == "marco_delete") {
        DeleteMacro(menuNode_.group, menuNode_.macro);
    } else if (item == "group_import") {
        ImportGroups();
    } else if (item == "group_export") {
        ExportGroup();
    } else if (item == "group_reset") {
        ResetMacros();
    } else if (item.starts_with("menu_Macro_Insert") || item == "opt_InsertBefor" || item == "opt_InsertAfter") {
        OnInsertEntry(item);
    }
}

void MacroEditor::Refresh() {
    if (window_ == nullptr || recorder_.recording()) {
        return;
    }
    BuildTree();
    if (store_.groups().empty()) {
        ShowNothing();
    } else {
        Select(group_, macro_);
    }
}

void MacroEditor::ReloadDocument() {
    if (recorder_.recording()) {
        EndRecording(MacroRecorder::EndReason::Disconnect);
    }
    std::string groupGuid;
    std::string macroGuid;
    if (group_ >= 0 && static_cast<size_t>(group_) < store_.groups().size()) {
        groupGuid = store_.groups()[static_cast<size_t>(group_)].guid;
        if (const MacroRecord* macro = SelectedRecord()) {
            macroGuid = macro->guid;
        }
    }
    if (const Status loaded = store_.LoadMacros(); !loaded) {
        trace::Printf("macro page: %s\n", loaded.message().c_str());
    }
    // The same group and macro by identity; their places may have changed.
    int g = std::min(group_, static_cast<int>(store_.groups().size()) - 1);
    int m = -1;
    for (size_t i = 0; i < store_.groups().size(); ++i) {
        const MacroGroup& group = store_.groups()[i];
        if (group.guid != groupGuid) {
            continue;
        }
        g = static_cast<int>(i);
        for (size_t j = 0; j < group.macros.size(); ++j) {
            if (!macroGuid.empty() && group.macros[j].guid == macroGuid) {
                m = static_cast<int>(j);
            }
        }
    }
    if (window_ != nullptr) {
        RebuildAndSelect(g, m);
    }
}

bool MacroEditor::recording() const {
    return recorder_.recording();
}

void MacroEditor::OnTreeSelect() {
    skin::Tree* tree = TreeControl();
    auto* node = tree != nullptr ? dynamic_cast<skin::TreeNode*>(tree->GetItemAt(tree->GetCurSel())) : nullptr;
    if (node == nullptr) {
        return;
    }
    FinishRename();
    const NodeRef ref = RefOf(node);
    if (ref.macro < 0) {
        ShowGroup(ref.group);
    } else {
        ShowMacro(ref.group, ref.macro);
    }
}

void MacroEditor::Select(int g, int m) {
    const auto& groups = store_.groups();
    if (groups.empty()) {
        ShowNothing();
        return;
    }
    g = std::clamp(g, 0, static_cast<int>(groups.size()) - 1);
    const int count = static_cast<int>(groups[static_cast<size_t>(g)].macros.size());
    m = count == 0 ? -1 : std::min(m, count - 1);
    if (skin::Tree* tree = TreeControl()) {
        if (skin::TreeNode* node = NodeOf(g, m)) {
            if (m >= 0) {
                tree->Expand(node->GetParentNode(), true);
            }
            tree->SelectItem(tree->GetItemIndex(node), false);
            tree->EnsureVisible(tree->GetItemIndex(node));
        }
    }
    m < 0 ? ShowGroup(g) : ShowMacro(g, m);
}

void MacroEditor::ShowNothing() {
    group_ = -1;
    macro_ = -1;
    if (auto* list = dynamic_cast<skin::List*>(Find("list_Macro_KeyDisplay"))) {
        list->RemoveAll();
    }
    SetVisible("lab_Macro_ListHint", true);
    SetEnabled("opt_Macro_exportMacGroup", false);
    SetEnabled("opt_Macro_AddNewMac", true);
    for (const char* name : {"label_bindkeys", "label_bindkeys_num", "VLayout_BindKeys_Info"}) {
        SetVisible(name, false);
    }
    SetText("Edit_Macro_Time", "1");
    SetEnabled("Edit_Macro_Time", false);
}

void MacroEditor::ShowGroup(int g) {
    group_ = g;
    macro_ = -1;
    if (auto* list = dynamic_cast<skin::List*>(Find("list_Macro_KeyDisplay"))) {
        list->RemoveAll();
    }
    SetVisible("lab_Macro_ListHint", true);
    SetEnabled("opt_Macro_exportMacGroup", true);
    for (const char* name : {"label_bindkeys", "label_bindkeys_num", "VLayout_BindKeys_Info"}) {
        SetVisible(name, false);
    }
    for (const char* name : {"opt_Macro_CycleUntilRelease", "opt_Macro_CycleUntilClick", "opt_Macro_CycleTimes"}) {
        SetVisible(name, false);
    }
    SetVisible("Edit_Macro_Time", true);
    SetText("Edit_Macro_Time", "1");
    SetEnabled("Edit_Macro_Time", false);
    SetEnabled("opt_Macro_AddNewMac", !store_.groups()[static_cast<size_t>(g)].forbidView);
}

void MacroEditor::ShowMacro(int g, int m) {
    group_ = g;
    macro_ = m;
    if (!store_.SelectMacro(g, m)) {
        ShowGroup(g);
        return;
    }
    const MacroRecord& macro = store_.workingMacro();
    SetEnabled("opt_Macro_exportMacGroup", false);
    SetEnabled("opt_Macro_AddNewMac", !store_.groups()[static_cast<size_t>(g)].forbidView);
    for (const char* name : {"opt_Macro_CycleUntilRelease", "opt_Macro_CycleUntilClick", "opt_Macro_CycleTimes",
                             "Edit_Macro_Time"}) {
        SetVisible(name, true);
    }
    ShowBindings(macro);
    const bool locked = macro.forbidView;
    for (const char* name : {"opt_Macro_CycleUntilRelease", "opt_Macro_CycleUntilClick", "opt_Macro_CycleTimes",
                             "Edit_Macro_Time", "btn_Macro_InsertKey", "btn_Macro_Record", "btn_Macro_Delete"}) {
        SetEnabled(name, !locked);
    }
    if (!locked) {
        ShowLoopMode(macro);
    }
    ShowRows(-1);
}

MacroRecord* MacroEditor::SelectedRecord() const {
    auto& groups = store_.groups();
    if (group_ < 0 || static_cast<size_t>(group_) >= groups.size()) {
        return nullptr;
    }
    auto& macros = groups[static_cast<size_t>(group_)].macros;
    return macro_ >= 0 && static_cast<size_t>(macro_) < macros.size() ? &macros[static_cast<size_t>(macro_)]
                                                                       : nullptr;
}

bool MacroEditor::SelectedIsBound() const {
    const MacroRecord* macro = SelectedRecord();
    return macro != nullptr && macro->bindKeys > 0;
}

skin::Control* MacroEditor::Find(const char* name) const {
    return window_ != nullptr ? window_->FindControl(name) : nullptr;
}

void MacroEditor::SetVisible(const char* name, bool visible) {
    if (skin::Control* control = Find(name)) {
        control->SetVisible(visible);
    }
}

void MacroEditor::SetEnabled(const char* name, bool enabled) {
    if (skin::Control* control = Find(name)) {
        control->SetEnabled(enabled);
    }
}

void MacroEditor::SetText(const char* name, const std::string& text) {
    if (skin::Control* control = Find(name)) {
        control->SetText(text);
    }
}

void MacroEditor::FocusSink() {
    if (window_ != nullptr) {
        window_->GetPaintManager().SetFocus(Find("btn_Macro_Temp"));
    }
}

void MacroEditor::Message(const std::string& text, bool withCancel) {
    messages_.Show(MessageBoxRequest{texts_.tip, text, texts_.ok, withCancel ? texts_.cancel : "", true});
}

bool MacroEditor::Confirm(const std::string& text) {
    return messages_.Show(MessageBoxRequest{texts_.tip, text, texts_.ok, texts_.cancel, true}) == 1;
}

bool MacroEditor::Report(const Status& status) {
    if (status) {
        return true;
    }
    trace::Printf("macro page: %s\n", status.message().c_str());
    Message(texts_.error + "\n" + status.message(), false);
    return false;
}

}  // namespace mousecfg::macroui
