#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "layout/PageBuilder.h"
#include "platform/DesktopPrograms.h"
#include "skin/ContextMenu.h"

namespace mousecfg::ui {

class KeyAssignPanel;
struct PageContext;

// The key page: the labels ("btn_MouseKey_Click" + N) and marks ("btn_MouseKey_Mark" + N) of the buttons 0..12
// drawn on the picture of the mouse, the two wheel positions ("btn_Mouse_Scr_Up", "btn_Mouse_Scr_Dn", page
// buttons 16 and 17), which of them is being edited and how that shows, the tip naming a wheel position's
// function, the "More" menu, the profile selector and the link to the desktop's mouse settings. Picking a button
// opens the assignment panel (KeyAssignPanel) for it. UI thread only.
//
// The hidden twins "btn_MouseKey2_Click" + N and "btn_MouseKey2_Mark" + N carry the look of a button that is not
// being edited (their selected text colour and selected image).
class KeyPage {
public:
    static constexpr int kDrawnButtons = layout::KeyPageMarks::kMarkCount;  // 0..12
    static constexpr int kWheelUp = 16;
    static constexpr int kWheelDown = 17;

    KeyPage(PageContext& context, KeyAssignPanel& panel);

    // The skin's controls exist: the settings link shows when the desktop has a mouse settings program.
    void Initialise();
    // The model's marks and highlight colour, prepared when its position files were placed.
    void SetMarks(const layout::KeyPageMarks& marks);

    // A label or mark of a drawn button was clicked: it becomes the edited button and the panel opens for it. A
    // name whose number names no label leaves everything as it was.
    void SelectKeyButton(std::string_view name);
    // A wheel position was clicked: page button 16 (up) or 17 (down) becomes the edited button.
    void SelectWheelButton(std::string_view name);
    // Redraws the selection look of every label and mark: the edited one highlighted while the panel is visible,
    // the others in their twins' look. For a wheel position `sender`, hides its tip.
    void RefreshKeyHighlight(std::string_view sender);
    // The cursor came over a wheel position: the tip names its function ("Unknown Key" when it has none).
    void ShowWheelTip(std::string_view sender);
    // The labels show the functions of the current profile.
    void RefreshLabels();
    // An assignment was made (2028): the edited button's setting is written to the mouse; during an apply run the
    // write waits for the run to finish (ApplyFinished).
    void OnKeyAssigned();
    // An apply run finished: the next assignment that waited for it is written.
    void ApplyFinished();
    // The profile selector shows `profile` without reacting to it.
    void ShowProfile(int profile);
    // "btn_Mouse_More": the menu with "Import", "Export" and "Reset" opens above the button; nothing while a macro
    // change is being written.
    void OpenMoreMenu();
    // "btn_MouseAdv_Sysproperties": starts the desktop's mouse settings.
    void OpenMouseSettings();
    // The key selection ends (another page was chosen): the panel hides, no button stays highlighted.
    void LeaveKeySelection();
    // The panel opens again for the edited button (the mouse page was chosen again); before any button was picked
    // only the one-page layout opens it, for button 0.
    void ReopenKeySelection();

    // The edited page button (0..19), or -1 before one was picked; its control name.
    int EditedButton() const { return editedButton_; }
    const std::string& EditedControl() const { return editedControl_; }
    const layout::KeyPageMarks& Marks() const { return marks_; }

private:
    // The text a button shows for its binding: the language's name of a built-in function, else the binding's label.
    std::string DisplayText(int button) const;
    void ShowPanel(bool show);
    void Highlight(int index);
    void UncheckWheel();
    void RequestKeyWrite(int button);

    PageContext& context_;
    KeyAssignPanel& panel_;
    layout::KeyPageMarks marks_;
    int editedButton_ = -1;
    std::string editedControl_;
    skin::ContextMenu moreMenu_;
    std::optional<ResolvedProgram> mouseSettings_;
    std::vector<int> waiting_;  // buttons assigned during an apply run, in order
};

// The number after `prefix` at the start of `name` ("btn_MouseKey_Click12" -> 12); none when there is no number.
std::optional<int> NumberAfter(std::string_view name, std::string_view prefix);

}  // namespace mousecfg::ui
