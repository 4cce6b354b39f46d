#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "macro/MacroRecorder.h"
#include "macro/MacroStore.h"
#include "macro/MacroSize.h"
#include "macro/ui/ControlSearch.h"
#include "macro/ui/MacroEditor.h"
#include "macro/ui/WindowKeyGrab.h"
#include "skin/HeadlessPlatform.h"
#include "skin/List.h"
#include "skin/SkinWindow.h"
#include "skin/TreeNode.h"
#include "tests/support/ManualClock.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TempDir.h"

namespace mousecfg::test {

// The main window's skin with its macro page shown; notifications go to the page under test.
class PageWindow final : public skin::SkinWindow {
public:
    std::string GetSkinFile() override { return "MainWnd.xml"; }
    std::string GetWindowClassName() const override { return "PageWindow"; }
    std::unique_ptr<skin::Control> CreateControl(std::string_view className) override;
    void Notify(skin::Notification& notification) override;

    std::function<void(skin::Notification&)> listener;
};

// What the page asks of the program: the item dialogs it opened (answered by `answer` when set) and the
// messages 2073 it sent.
class RecordingPageHost final : public macroui::MacroPageHost {
public:
    void OpenItemDialog(const macroui::MacroItem& item) override;
    void MacrosChanged() override { ++macrosChanged; }

    std::vector<macroui::MacroItem> dialogs;
    std::function<void(const macroui::MacroItem&)> answer;
    int macrosChanged = 0;
};

// The macro page on the headless platform: a macro document in a temporary resource folder (groups "Work" with
// the macros "Alpha" (a press and release of A) and "Beta", and "Games" with "Gamma", bound to two buttons of one
// device), the recorder with a manual clock and a keyboard grab of the window, and recording fakes for message
// windows, file dialogs and the page's host.
class MacroPageHarness {
public:
    explicit MacroPageHarness(const std::string& skin = "res_black");
    ~MacroPageHarness();

    // Clicks a control the way the user would (by its place: a hidden, covered or disabled control fails).
    void Click(const std::string& name);
    void Click(skin::Control& control);
    void RightClick(skin::Control& control);
    // Selects the tree node of group g (macro m, or the group itself with -1) as a click does.
    void SelectNode(int g, int m);
    void SelectRow(int row);
    // Types `text` into an edit (replacing its text) and presses Enter.
    void Type(const std::string& name, const std::string& text, bool pressReturn = true);
    // A key event as the keyboard grab delivers it.
    void Key(int message, int scanCode, bool autoRepeat = false);
    // Answers the item dialog the page opens next with `change` applied to the item it was given.
    void AnswerDialogs(std::function<void(macroui::MacroItem&)> change);

    skin::TreeNode* Node(int g, int m) const;
    std::vector<std::string> NodeTexts() const;
    std::vector<std::string> RowTexts(const char* part = "key") const;
    skin::Control* Row(int row) const;
    std::string Text(const std::string& name) const;
    bool Visible(const std::string& name) const;
    bool Enabled(const std::string& name) const;
    std::string DocumentBytes() const { return TempDir::Read(store.configPath()); }
    const MacroRecord& Macro(int g, int m) const;

    TempDir dir;
    skin::HeadlessPlatform platform;
    ScriptedFileDialogs dialogs;
    RecordingMessageBoxes boxes;
    ManualClock clock;
    MacroStore store;
    macroui::WindowKeyGrab grab;
    MacroRecorder recorder;
    RecordingPageHost host;
    macroui::MacroEditor editor;
    PageWindow window;
    std::filesystem::path skinFolder;
};

}  // namespace mousecfg::test
