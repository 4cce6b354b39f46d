#include "tests/macro_ui/MacroPageHarness.h"

#include <gtest/gtest.h>

#include "macro/ui/ControlSearch.h"
#include "platform/KeyboardLayout.h"
#include "skin/ControlFactory.h"
#include "skin/Edit.h"
#include "skin/List.h"
#include "skin/SkinResources.h"
#include "skin/TabLayout.h"
#include "skin/Tree.h"
#include "skin/TreeNode.h"
#include "skin/WindowMessages.h"

namespace mousecfg::test {

std::unique_ptr<skin::Control> PageWindow::CreateControl(std::string_view className) {
    return skin::CreateCustomLayout(className);
}

void PageWindow::Notify(skin::Notification& notification) {
    if (listener) {
        listener(notification);
    }
}

void RecordingPageHost::OpenItemDialog(const macroui::MacroItem& item) {
    dialogs.push_back(item);
    if (answer) {
        answer(item);
    }
}

MacroPageHarness::MacroPageHarness(const std::string& skin)
    : store(MacroResourceFolder{dir.path()}, dialogs, boxes),
      recorder(store, clock, grab),
      editor(store, recorder, boxes, host),
      skinFolder(std::filesystem::path(MOUSECFG_RES_DIR) / skin) {
    skin::SkinPlatform::Set(&platform);
    skin::SkinResources::SetResourcePath(skinFolder);
    store.SetKeyNames(KeyNames(KeyboardLayout::FromNames({"", "", "us", "", ""})));
    dir.Write("MacroDock/MacroData/macroConfig.json", "{}");
    EXPECT_TRUE(store.LoadMacros());
    EXPECT_TRUE(store.AddGroup(0, u"Work"));
    EXPECT_TRUE(store.InsertMacro(0, 0, u"Alpha"));
    EXPECT_TRUE(store.InsertItem(0, 0, 0, 0x04, item::kPress, 150, ""));
    EXPECT_TRUE(store.InsertItem(0, 0, 1, 0x04, item::kRelease, 20, ""));
    EXPECT_TRUE(store.InsertMacro(0, 1, u"Beta"));
    EXPECT_TRUE(store.AddGroup(1, u"Games"));
    EXPECT_TRUE(store.InsertMacro(1, 0, u"Gamma"));
    EXPECT_TRUE(store.InsertItem(1, 0, 0, 0x05, item::kPress, 20, ""));
    MacroRecord& gamma = store.groups()[1].macros[0];
    gamma.bindings[u"Virtual Mouse"] = {{"Profile1", "btn_MouseKey_Click4"}, {"Profile2", "btn_MouseKey_Click3"}};
    gamma.bindKeys = 2;
    store.SaveAllMacros();
    EXPECT_TRUE(store.SaveMacros());
    clock.now = 10'000'000;

    window.listener = [this](skin::Notification& notification) { editor.Notify(notification); };
    EXPECT_TRUE(window.Create(nullptr, "main", skin::style::kWsPopup, 0, {0, 0, 990, 690}));
    window.ShowWindow(true, true);
    window.Find<skin::TabLayout>("tab_main")->SelectItem(1);
    grab.SetWindow(&window);
    editor.Initialise(window, skinFolder);
    platform.ProcessPending();
    window.GetPaintManager().UpdateLayout();
}

MacroPageHarness::~MacroPageHarness() {
    window.listener = nullptr;
    window.Close();
    platform.ProcessPending();
    skin::SkinPlatform::Set(nullptr);
}

void MacroPageHarness::Click(const std::string& name) {
    skin::Control* control = window.FindControl(name);
    ASSERT_NE(control, nullptr) << name;
    Click(*control);
}

void MacroPageHarness::Click(skin::Control& control) {
    window.GetPaintManager().UpdateLayout();
    const skin::Rect pos = control.GetPos();
    const skin::Point centre{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    ASSERT_TRUE(window.GetPaintManager().FindControl(centre) == &control)
        << control.GetName() << " cannot be clicked: hidden or covered";
    const intptr_t at = skin::msg::MakePointParam(centre.x, centre.y);
    window.HandleMessage(Message{skin::msg::kMouseMove, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonDown, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonUp, 0, at, {}});
    platform.ProcessPending();
}

void MacroPageHarness::RightClick(skin::Control& control) {
    window.GetPaintManager().UpdateLayout();
    const skin::Rect pos = control.GetPos();
    editor.OnRightClick({(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2});
    platform.ProcessPending();
}

void MacroPageHarness::SelectNode(int g, int m) {
    skin::TreeNode* node = Node(g, m);
    ASSERT_NE(node, nullptr) << g << "/" << m;
    Click(*node);
}

void MacroPageHarness::SelectRow(int row) {
    skin::Control* control = Row(row);
    ASSERT_NE(control, nullptr) << "row " << row;
    window.Find<skin::List>("list_Macro_KeyDisplay")->EnsureVisible(row);
    window.GetPaintManager().UpdateLayout();
    // The row's label takes no mouse input: the press lands on the row itself.
    Click(*control);
}

void MacroPageHarness::Type(const std::string& name, const std::string& text, bool pressReturn) {
    auto* edit = window.Find<skin::Edit>(name);
    ASSERT_NE(edit, nullptr) << name;
    window.GetPaintManager().SetFocus(edit);
    edit->ReplaceText(text);
    if (pressReturn) {
        edit->PressReturn();
    }
    platform.ProcessPending();
}

void MacroPageHarness::Key(int message, int scanCode, bool autoRepeat) {
    editor.OnKey(message, 0, scanCode, autoRepeat);
}

void MacroPageHarness::AnswerDialogs(std::function<void(macroui::MacroItem&)> change) {
    host.answer = [this, change = std::move(change)](const macroui::MacroItem& given) {
        macroui::MacroItem item = given;
        change(item);
        skin::Notification notification;
        notification.type = "macsetclose";
        notification.wParam = static_cast<uintptr_t>(item.mode);
        notification.lParam = reinterpret_cast<intptr_t>(&item);
        editor.Notify(notification);
    };
}

skin::TreeNode* MacroPageHarness::Node(int g, int m) const {
    const auto* tree = window.Find<skin::Tree>("tre_Macro_GroupDisplay");
    const std::vector<skin::TreeNode*> roots = tree->GetRootNodes();
    if (g < 0 || static_cast<size_t>(g) >= roots.size()) {
        return nullptr;
    }
    return m < 0 ? roots[static_cast<size_t>(g)] : roots[static_cast<size_t>(g)]->GetChildNode(m);
}

std::vector<std::string> MacroPageHarness::NodeTexts() const {
    std::vector<std::string> texts;
    const auto* tree = window.Find<skin::Tree>("tre_Macro_GroupDisplay");
    for (int i = 0; i < tree->GetCount(); ++i) {
        const auto* node = dynamic_cast<const skin::TreeNode*>(tree->GetItemAt(i));
        texts.push_back((node->GetParentNode() != nullptr ? "  " : "") + node->GetText());
    }
    return texts;
}

skin::Control* MacroPageHarness::Row(int row) const {
    return window.Find<skin::List>("list_Macro_KeyDisplay")->GetItemAt(row);
}

std::vector<std::string> MacroPageHarness::RowTexts(const char* part) const {
    std::vector<std::string> texts;
    const auto* list = window.Find<skin::List>("list_Macro_KeyDisplay");
    for (int i = 0; i < list->GetCount(); ++i) {
        const skin::Control* child = macroui::FindIn(*list->GetItemAt(i), part);
        texts.push_back(child == nullptr                                      ? "<none>"
                        : std::string_view(part) == "type" || std::string_view(part) == "option"
                            ? child->GetBkImage().file
                            : child->GetText());
    }
    return texts;
}

std::string MacroPageHarness::Text(const std::string& name) const {
    const skin::Control* control = window.FindControl(name);
    return control != nullptr ? control->GetText() : "<missing " + name + ">";
}

bool MacroPageHarness::Visible(const std::string& name) const {
    const skin::Control* control = window.FindControl(name);
    return control != nullptr && control->IsVisibleInTree();
}

bool MacroPageHarness::Enabled(const std::string& name) const {
    const skin::Control* control = window.FindControl(name);
    return control != nullptr && control->IsEnabled();
}

const MacroRecord& MacroPageHarness::Macro(int g, int m) const {
    return store.groups()[static_cast<size_t>(g)].macros[static_cast<size_t>(m)];
}

}  // namespace mousecfg::test
