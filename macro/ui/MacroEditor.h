#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "macro/MacroRecorder.h"
#include "macro/ui/MacroItem.h"
#include "macro/ui/MacroPageTexts.h"
#include "platform/Status.h"
#include "skin/ContextMenu.h"
#include "skin/Geometry.h"

namespace mousecfg {
class MacroStore;
class MessageBoxes;
struct MacroBlock;
struct MacroRecord;
}  // namespace mousecfg

namespace mousecfg::skin {
class Control;
class SkinWindow;
class Tree;
class TreeNode;
struct Notification;
}  // namespace mousecfg::skin

namespace mousecfg::macroui {

// What the macro page needs from the program around it.
class MacroPageHost {
public:
    virtual ~MacroPageHost() = default;
    // Opens the item dialog for `item` (its mode says insert before, after, or edit); the dialog's answer comes
    // back as the notification "macsetclose" (wParam the mode, lParam the address of a MacroItem) or
    // "macsetcancel".
    virtual void OpenItemDialog(const MacroItem& item) = 0;
    // Message 2073 to the main window: macros the mouse holds changed, a full run must write them.
    virtual void MacrosChanged() = 0;
};

// The macro page of the main window: the tree of groups and macros ("tre_Macro_GroupDisplay"), the items of the
// selected macro ("list_Macro_KeyDisplay"), the loop mode with its repeat count, record, insert and delete, the
// buttons the macro is bound to, new group and new macro, import and export of a group, the context menus and
// in-place renaming. Its controls live in the main window's skin and are found by their skin names; it changes
// macros only through the macro store (every change is written at once) and never talks to the mouse: when a
// macro bound to buttons changes it shows the macro's "ToSave" mark, and a click on a mark (or a change the
// mouse must follow at once) sends message 2073 through the host.
//
// Recording: the record button starts the recorder (which grabs the keyboard through its key source); every
// control of the page but the record button is disabled until the recording ends (record button, a full macro,
// the mouse gone, the application losing the focus, or the user leaving the page).
//
// UI thread only. The store, recorder, message boxes and host outlive the editor.
class MacroEditor {
public:
    MacroEditor(MacroStore& store, MacroRecorder& recorder, MessageBoxes& messages, MacroPageHost& host);
    ~MacroEditor();

    // The language texts; the store gets its message texts from them.
    void SetTexts(MacroPageTexts texts);
    const MacroPageTexts& texts() const { return texts_; }

    // Places the page from "MacroDock/Macro.json" of `skinFolder` and builds the tree from the store (which
    // holds the document already). Called at "windowinit" and again after a skin switch.
    void Initialise(skin::SkinWindow& window, const std::filesystem::path& skinFolder);
    // A notification of the page, including "MyMenuClick" of the page's menus and "macsetclose"/"macsetcancel".
    void Notify(skin::Notification& notification);
    // A key message (256, 257, 260, 261) for the recorder; auto-repeated presses are dropped here.
    void OnKey(int message, int virtualKey, int scanCode, bool autoRepeat);
    // A right button release at a client point of the window: a node of the tree opens its context menu.
    void OnRightClick(skin::Point client);
    // Ends a running recording (the mouse is gone, the application lost the focus).
    void StopRecording();
    // Skin, language or keyboard layout changed: tree and list are rebuilt, the selection kept.
    void Refresh();
    // The document changed on disk (import or reset from the mouse pages): reload it, keep the selection.
    void ReloadDocument();

    bool recording() const;
    int selectedGroup() const { return group_; }
    int selectedMacro() const { return macro_; }
    int insertPlacement() const { return placement_; }
    // Set when a bound macro changed since its "ToSave" mark was last clicked.
    bool needsApply() const { return needsApply_; }
    const std::set<std::string>& marked() const { return marked_; }

private:
    // MacroEditor.cpp: controls, selection, notifications
    skin::Control* Find(const char* name) const;
    void SetVisible(const char* name, bool visible);
    void SetEnabled(const char* name, bool enabled);
    void SetText(const char* name, const std::string& text);
    void Message(const std::string& text, bool withCancel = true);
    bool Confirm(const std::string& text);
    // Tells the user about a failed store operation; true when `status` is a success.
    bool Report(const Status& status);
    void OnClick(const std::string& name, skin::Notification& notification);
    void OnMenu(const std::string& item);
    void OnTreeSelect();
    void ShowGroup(int g);
    void ShowMacro(int g, int m);
    void ShowNothing();
    // Selects the node of (g, m) (m = -1: the group) without a notification and shows it.
    void Select(int g, int m);
    MacroRecord* SelectedRecord() const;
    bool SelectedIsBound() const;
    void FocusSink();

    // MacroEditorTree.cpp: tree, menus, renaming, groups and macros
    struct NodeRef {
        int group = -1;
        int macro = -1;
    };
    skin::Tree* TreeControl() const;
    void BuildTree();
    std::unique_ptr<skin::Control> MakeNode(const char* file, int tag);
    NodeRef RefOf(const skin::TreeNode* node) const;
    skin::TreeNode* NodeOf(int g, int m) const;
    void ShowMarks();
    void MarkToSave();
    void OnToSaveClicked();
    void OpenNodeMenu(const skin::TreeNode& node);
    void StartRename(const NodeRef& ref);
    void FinishRename();
    void AddGroup();
    void AddMacro();
    void DeleteGroup(int g);
    void DeleteMacro(int g, int m);
    void ImportGroups();
    void ExportGroup();
    void ResetMacros();
    void RebuildAndSelect(int g, int m);

    // MacroEditorItems.cpp: rows, loop mode, repeat count, items, bindings
    void ShowRows(int selectRow);
    std::unique_ptr<skin::Control> MakeRow(int index);
    void ShowBindings(const MacroRecord& macro);
    void ShowLoopMode(const MacroRecord& macro);
    void OnLoopOption(const std::string& option);
    void OnRepeatCountTyped();
    void ApplyRepeatCount();
    void OpenInsertMenu();
    void OnInsertEntry(const std::string& entry);
    void OpenDialogForRow(skin::Control& modify);
    void OnDialogResult(const MacroItem& item, int mode);
    bool StoreEdit(const MacroBlock& before, int row);
    void DeleteItem();
    int SelectedRow() const;
    void SendMacrosChanged();

    // MacroEditorRecording.cpp
    void OnRecordButton(bool checked);
    void StartRecording();
    void EndRecording(MacroRecorder::EndReason reason);
    void ShowRecordedItem(const std::string& status);
    void SetPageLocked(bool locked);

    MacroStore& store_;
    MacroRecorder& recorder_;
    MessageBoxes& messages_;
    MacroPageHost& host_;
    MacroPageTexts texts_;
    skin::SkinWindow* window_ = nullptr;
    std::filesystem::path skinFolder_;
    skin::ContextMenu groupMenu_;
    skin::ContextMenu macroMenu_;
    skin::ContextMenu insertMenu_;
    skin::Point insertMenuAt_;
    int group_ = 0;
    int macro_ = -1;
    int placement_ = 0xFF;  // 0 before the selected row, 1 after it; 0xFF until the insert menu first opens
    NodeRef menuNode_;      // the node the open context menu acts on
    NodeRef renaming_;      // the node being renamed; group -1 when none
    std::set<std::string> marked_;  // GUIDs of macros whose "ToSave" mark shows
    bool needsApply_ = false;
};

}  // namespace mousecfg::macroui
