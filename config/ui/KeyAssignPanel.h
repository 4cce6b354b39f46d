#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/ui/FunctionCategory.h"
#include "platform/DesktopPrograms.h"
#include "skin/Geometry.h"

namespace mousecfg {
struct Message;
}  // namespace mousecfg

namespace mousecfg::skin {
class Control;
struct Notification;
}  // namespace mousecfg::skin

namespace mousecfg::ui {

struct PageContext;

// The button assignment panel: the part "ver_mousekeysel" of the main window where the user gives the edited
// button of the key page a function. Eight categories (option group "PopMouseKey", pages of "MouseKey_switch")
// with lists whose items carry their function code in their names ("ItemValue10_ReportRate"), the macro group and
// macro pickers, and a key recorded from the keyboard ("SetRecordKey", confirmed by "BtnRecordConfirm"). A choice
// is written into the button's binding in the current profile and announced to the main window with message 2028
// (wParam 1, lParam 1).
//
// Rules it keeps: the only left-click button of a profile keeps its function (the "OnlyOneKey" message); over BLE
// the report-rate function is not offered and no macro can be picked; a wheel position offers the scroll functions
// only (a macro there would need macro slot 16 or 17, which the mouse does not have).
//
// While "SetRecordKey" is selected the main window grabs the keyboard: every key goes to the panel and to no other
// program. The grab ends when "SetRecordKey" is deselected, another category is chosen, "BtnRecordConfirm" is
// clicked, the application loses the focus or the window hides. UI thread only.
class KeyAssignPanel {
public:
    explicit KeyAssignPanel(PageContext& context);

    // The skin's controls exist: learns the names of its controls; the on-screen keyboard button is enabled when
    // the desktop has one.
    void Initialise();
    // The language changed: the list items show the language's function names (the skin's texts when it has none).
    void LanguageChanged();
    // Whether a notification belongs to the panel: its sender lies in "ver_mousekeysel" or has one of the panel's
    // names.
    bool OwnsControl(const skin::Notification& notification) const;
    // Opens the panel for a key-page button ("btn_MouseKey_Click" + N, "btn_MouseKey_Mark" + N, or a wheel
    // position): the categories it offers, the category and item of its current function.
    void Open(std::string_view button);
    // Opens it again for the same button (profile switch, import, reset); nothing before the first Open.
    void Reopen();
    void Notify(skin::Notification& notification);
    // A key message of the main window while a key is being recorded: its scan code becomes the recorded key.
    // True when the panel took the message (it must reach nothing else).
    bool OnKeyMessage(const Message& message);
    // Recording ends without an assignment (focus lost, window hidden, key selection left).
    void StopRecording();
    // A click at `point` (client coordinates): an open macro group or macro list elsewhere closes.
    void ClosePickerLists(skin::Point point);

    // The edited button's name as the document keys it ("btn_MouseKey_Click" + N, 16 and 17 for the wheel).
    const std::string& EditedButton() const { return editedButton_; }
    bool IsWheel() const { return wheel_; }
    bool Recording() const { return recording_; }
    // The recorded key as a function code (256 + key code), none before a key was pressed.
    std::optional<int> RecordedCode() const { return recordedCode_; }
    int OnePageVersion() const { return onePageVersion_; }

private:
    void ApplyLinkRestrictions();
    void ShowCategories();
    void ShowCurrentFunction();
    void SelectCategory(Category category, bool notify);
    void SelectListItem(std::string_view list, int code);
    void ClearMacroPickers();
    void ShowMacroNames(int code);
    // Assignment of the selected item, macro or recorded key; 2028 follows.
    void Assign();
    bool AssignFromList(Category category);
    bool AssignMacro();
    bool AssignRecordedKey();
    void Announce();
    void SaveMacroBindings();
    // The one-left-button rule: true when the change was refused (the panel shows the button's function again).
    bool RefuseIfOnlyLeftClick();
    void OnItemSelect(skin::Notification& notification);
    void OnSelectChanged(skin::Notification& notification);
    void OnClick(skin::Notification& notification);
    void OnItemClick(skin::Notification& notification);
    void OpenGroupList();
    void OpenMacroList();
    void OpenPickerList(std::string_view listName, std::string_view pickerName, std::string_view itemName,
                        const std::vector<std::u16string>& names, int selected);
    void OnRecordKey(int scanCode);
    void StartRecording();
    void OpenSoftKeyboard();
    std::optional<Category> SelectedCategory() const;
    int ProfileIndex() const;
    int ButtonIndexOfEdited() const;
    void SetText(std::string_view control, std::string text);

    PageContext& context_;
    std::set<std::string, std::less<>> names_;  // the panel's control names
    skin::Control* root_ = nullptr;             // "ver_mousekeysel"
    std::string editedButton_;
    bool wheel_ = false;
    bool opened_ = false;
    bool initialised_ = false;
    int currentCode_ = 0;
    int group_ = -1;
    int macro_ = -1;
    std::optional<int> recordedCode_;
    bool recording_ = false;
    bool grabbed_ = false;  // the window took the keyboard for the recording
    bool refusing_ = false;  // a refusal is showing the button's function again
    int onePageVersion_ = 0;
    std::optional<ResolvedProgram> softKeyboard_;
};

}  // namespace mousecfg::ui
