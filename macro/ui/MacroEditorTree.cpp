// The tree of the macro page: groups and macros, their context menus, renaming in place, the "ToSave" marks,
// new, deleted, imported, exported and reset groups and macros.
#include <algorithm>
#include <cstdio>

#include "macro/MacroStore.h"
#include "macro/ui/ControlSearch.h"
#include "macro/ui/MacroEditor.h"
#include "platform/TextEncoding.h"
#include "platform/Trace.h"
#include "skin/Edit.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinWindow.h"
#include "skin/Tree.h"
#include "skin/TreeNode.h"
#include "skin/WindowHost.h"

namespace mousecfg::macroui {
namespace {

constexpr int kGroupTag = 1;
constexpr int kMacroTag = 2;

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::u16string> GroupNames(const std::vector<MacroGroup>& groups, int except = -1) {
    std::vector<std::u16string> names;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (static_cast<int>(g) != except) {
            names.push_back(groups[g].name);
        }
    }
    return names;
}

std::vector<std::u16string> MacroNames(const MacroGroup& group, int except = -1) {
    std::vector<std::u16string> names;
    for (size_t m = 0; m < group.macros.size(); ++m) {
        if (static_cast<int>(m) != except) {
            names.push_back(group.macros[m].name);
        }
    }
    return names;
}

bool AnyBound(const MacroGroup& group) {
    return std::any_of(group.macros.begin(), group.macros.end(), [](const MacroRecord& m) { return m.bindKeys > 0; });
}

}  // namespace

skin::Tree* MacroEditor::TreeControl() const {
    return dynamic_cast<skin::Tree*>(Find("tre_Macro_GroupDisplay"));
}

std::unique_ptr<skin::Control> MacroEditor::MakeNode(const char* file, int tag) {
    skin::SkinBuilder builder(window_->GetPaintManager(), window_);
    std::unique_ptr<skin::Control> node = builder.BuildPartControl(skinFolder_ / file);
    if (dynamic_cast<skin::TreeNode*>(node.get()) == nullptr) {
        // Without its part file the tree still shows plain nodes.
        node = std::make_unique<skin::TreeNode>();
        node->SetFixedHeight(28);
    }
    node->SetTag(static_cast<uintptr_t>(tag));
    return node;
}

void MacroEditor::BuildTree() {
    skin::Tree* tree = TreeControl();
    if (tree == nullptr) {
        return;
    }
    // Groups the user folded stay folded (by name: names are unique among groups).
    std::set<std::string> folded;
    for (const skin::TreeNode* node : tree->GetRootNodes()) {
        if (!node->IsExpanded()) {
            folded.insert(node->GetText());
        }
    }
    tree->RemoveAllNodes();
    for (const MacroGroup& group : store_.groups()) {
        std::unique_ptr<skin::Control> node = MakeNode("node.xml", kGroupTag);
        node->SetText(Utf16ToUtf8(group.name));
        auto* groupNode = tree->AddNode(std::unique_ptr<skin::TreeNode>(static_cast<skin::TreeNode*>(node.release())));
        for (const MacroRecord& macro : group.macros) {
            std::unique_ptr<skin::Control> child = MakeNode("node2.xml", kMacroTag);
            child->SetText(Utf16ToUtf8(macro.name));
            tree->AddNode(std::unique_ptr<skin::TreeNode>(static_cast<skin::TreeNode*>(child.release())), groupNode);
        }
        if (folded.count(groupNode->GetText()) != 0) {
            tree->Expand(groupNode, false);
        }
    }
    ShowMarks();
}

MacroEditor::NodeRef MacroEditor::RefOf(const skin::TreeNode* node) const {
    NodeRef ref;
    const skin::Tree* tree = TreeControl();
    if (tree == nullptr || node == nullptr) {
        return ref;
    }
    const std::vector<skin::TreeNode*> roots = tree->GetRootNodes();
    const skin::TreeNode* groupNode = node->GetParentNode() != nullptr ? node->GetParentNode() : node;
    const auto root = std::find(roots.begin(), roots.end(), groupNode);
    if (root == roots.end()) {
        return ref;
    }
    ref.group = static_cast<int>(root - roots.begin());
    if (groupNode != node) {
        const auto& children = groupNode->GetChildNodes();
        ref.macro = static_cast<int>(std::find(children.begin(), children.end(), node) - children.begin());
    }
    return ref;
}

skin::TreeNode* MacroEditor::NodeOf(int g, int m) const {
    const skin::Tree* tree = TreeControl();
    if (tree == nullptr) {
        return nullptr;
    }
    const std::vector<skin::TreeNode*> roots = tree->GetRootNodes();
    if (g < 0 || static_cast<size_t>(g) >= roots.size()) {
        return nullptr;
    }
    return m < 0 ? roots[static_cast<size_t>(g)] : roots[static_cast<size_t>(g)]->GetChildNode(m);
}

void MacroEditor::ShowMarks() {
    const auto& groups = store_.groups();
    for (size_t g = 0; g < groups.size(); ++g) {
        for (size_t m = 0; m < groups[g].macros.size(); ++m) {
            skin::TreeNode* node = NodeOf(static_cast<int>(g), static_cast<int>(m));
            skin::Control* mark = node != nullptr ? FindIn(*node, "ToSave") : nullptr;
            if (mark != nullptr) {
                mark->SetVisible(marked_.count(groups[g].macros[m].guid) != 0);
            }
        }
    }
}

// A bound macro changed: its mark shows until the mouse is given the macros again.
void MacroEditor::MarkToSave() {
    if (const MacroRecord* macro = SelectedRecord(); macro != nullptr && macro->bindKeys > 0) {
        marked_.insert(macro->guid);
        needsApply_ = true;
        ShowMarks();
    }
}

void MacroEditor::OnToSaveClicked() {
    SendMacrosChanged();
}

void MacroEditor::SendMacrosChanged() {
    marked_.clear();
    needsApply_ = false;
    ShowMarks();
    host_.MacrosChanged();
}

void MacroEditor::OnRightClick(skin::Point client) {
    if (window_ == nullptr || recorder_.recording()) {
        return;
    }
    skin::Control* control = window_->GetPaintManager().FindControl(client);
    auto* node = AncestorOf<skin::TreeNode>(control);
    if (node != nullptr && node->GetTree() == TreeControl()) {
        OpenNodeMenu(*node);
    }
}

void MacroEditor::OpenNodeMenu(const skin::TreeNode& node) {
    const NodeRef ref = RefOf(&node);
    if (ref.group < 0 || recorder_.recording()) {
        return;
    }
    FinishRename();
    Select(ref.group, ref.macro);
    menuNode_ = ref;
    skin::ContextMenu& menu = ref.macro < 0 ? groupMenu_ : macroMenu_;
    if (!menu.Load(skinFolder_ / (ref.macro < 0 ? "marco_group_menu.xml" : "marco_menu.xml"))) {
        return;
    }
    if (ref.macro >= 0 && store_.groups()[static_cast<size_t>(ref.group)].macros[static_cast<size_t>(ref.macro)]
                              .forbidView) {
        if (skin::MenuItem* rename = menu.FindItem("marco_rename")) {
            rename->visible = false;
        }
    }
    menu.Popup(*window_, window_->GetHost() != nullptr ? window_->GetHost()->GetCursorPos() : skin::Point{});
}

void MacroEditor::StartRename(const NodeRef& ref) {
    skin::TreeNode* node = NodeOf(ref.group, ref.macro);
    auto* edit = dynamic_cast<skin::Edit*>(Find("EditGrpNodeAll"));
    if (node == nullptr || edit == nullptr) {
        return;
    }
    renaming_ = ref;
    edit->SetText(node->GetText());
    window_->GetPaintManager().UpdateLayout();
    // The edit floats in its container: over the node's text, right of the node's indent.
    const skin::Rect area = edit->GetParent() != nullptr ? edit->GetParent()->GetPos() : skin::Rect{};
    const skin::Rect row = node->GetPos();
    const int indent = node->GetTree() != nullptr ? node->GetTree()->GetIndent() * node->GetDepth() : 0;
    char pos[64];
    std::snprintf(pos, sizeof pos, "%d,%d,%d,%d", row.left - area.left + indent, row.top - area.top,
                  row.right - area.left - 4, row.bottom - area.top);
    edit->SetAttribute("pos", pos);
    edit->SetVisible(true);
    window_->GetPaintManager().SetFocus(edit);
}

void MacroEditor::FinishRename() {
    if (renaming_.group < 0) {
        return;
    }
    const NodeRef ref = renaming_;
    renaming_ = {};
    auto* edit = dynamic_cast<skin::Edit*>(Find("EditGrpNodeAll"));
    if (edit == nullptr) {
        return;
    }
    const std::string typed = Trimmed(edit->GetText());
    edit->SetVisible(false);
    auto& groups = store_.groups();
    if (static_cast<size_t>(ref.group) >= groups.size()) {
        return;
    }
    MacroGroup& group = groups[static_cast<size_t>(ref.group)];
    if (ref.macro >= 0 && static_cast<size_t>(ref.macro) >= group.macros.size()) {
        return;
    }
    const std::u16string old = ref.macro < 0 ? group.name : group.macros[static_cast<size_t>(ref.macro)].name;
    // An empty name keeps the old one; a name taken on the same level gets the lowest free number.
    if (typed.empty() || Utf8ToUtf16(typed) == old) {
        return;
    }
    const std::u16string name = UniqueName(
        Utf8ToUtf16(typed), ref.macro < 0 ? GroupNames(groups, ref.group) : MacroNames(group, ref.macro));
    const Status renamed =
        ref.macro < 0 ? store_.RenameGroup(ref.group, name) : store_.RenameMacro(ref.group, ref.macro, name);
    if (Report(renamed)) {
        if (skin::TreeNode* node = NodeOf(ref.group, ref.macro)) {
            node->SetText(Utf16ToUtf8(name));
        }
    }
}

void MacroEditor::AddGroup() {
    const auto& groups = store_.groups();
    const int position = group_ >= 0 && static_cast<size_t>(group_) < groups.size() ? group_ + 1 : 0;
    const Result<int> added = store_.AddGroup(position, UniqueName(Utf8ToUtf16(texts_.newGroup), GroupNames(groups)));
    if (!Report(added.status())) {
        BuildTree();
        return;
    }
    group_ = *added;
    macro_ = -1;
    AddMacro();
}

void MacroEditor::AddMacro() {
    if (store_.groups().empty()) {
        const Result<int> added = store_.AddGroup(0, Utf8ToUtf16(texts_.newGroup));
        if (!Report(added.status())) {
            return;
        }
        group_ = 0;
        macro_ = -1;
    }
    const int g = std::clamp(group_, 0, static_cast<int>(store_.groups().size()) - 1);
    const MacroGroup& group = store_.groups()[static_cast<size_t>(g)];
    if (group.forbidView) {
        return;
    }
    // With no macro selected the new one goes after the group's last.
    const int position = macro_ >= 0 ? macro_ + 1 : static_cast<int>(group.macros.size());
    const Result<int> inserted =
        store_.InsertMacro(g, position, UniqueName(Utf8ToUtf16(texts_.newMacro), MacroNames(group)));
    if (!Report(inserted.status())) {
        RebuildAndSelect(g, macro_);
        return;
    }
    SetText("Edit_Macro_Time", "1");
    Report(store_.SetLoopMode(g, *inserted, "opt_Macro_CycleTimes", 1));
    RebuildAndSelect(g, *inserted);
}

void MacroEditor::DeleteGroup(int g) {
    const auto& groups = store_.groups();
    if (g < 0 || static_cast<size_t>(g) >= groups.size()) {
        return;
    }
    const bool bound = AnyBound(groups[static_cast<size_t>(g)]);
    if (bound && !Confirm(texts_.delMacro)) {
        return;
    }
    for (const MacroRecord& macro : groups[static_cast<size_t>(g)].macros) {
        marked_.erase(macro.guid);
    }
    if (!Report(store_.DeleteGroup(g))) {
        return;
    }
    RebuildAndSelect(std::min(g, static_cast<int>(store_.groups().size()) - 1), -1);
    if (bound) {
        SendMacrosChanged();  // the mouse must not keep running macros that are gone
    }
}

void MacroEditor::DeleteMacro(int g, int m) {
    const auto& groups = store_.groups();
    if (g < 0 || static_cast<size_t>(g) >= groups.size()) {
        return;
    }
    const auto& macros = groups[static_cast<size_t>(g)].macros;
    const bool bound = m >= 0 && static_cast<size_t>(m) < macros.size() && macros[static_cast<size_t>(m)].bindKeys > 0;
    if (bound && !Confirm(texts_.delMacro)) {
        return;
    }
    if (m >= 0 && static_cast<size_t>(m) < macros.size()) {
        marked_.erase(macros[static_cast<size_t>(m)].guid);
    }
    if (!Report(store_.DeleteMacro(g, m))) {
        return;
    }
    // The macro that took its place, or the one before it when it was the last.
    RebuildAndSelect(g, std::min(m, static_cast<int>(store_.groups()[static_cast<size_t>(g)].macros.size()) - 1));
    if (bound) {
        SendMacrosChanged();
    }
}

void MacroEditor::ImportGroups() {
    const size_t before = store_.groups().size();
    const int position = before == 0 ? 0 : group_ + 1;
    if (!store_.ImportGroups(position)) {
        return;  // nothing chosen
    }
    if (store_.groups().size() == before) {
        Message(texts_.importError, false);
    }
    RebuildAndSelect(group_, macro_);
}

void MacroEditor::ExportGroup() {
    const auto& groups = store_.groups();
    if (!groups.empty()) {
        Report(store_.ExportGroup(std::clamp(group_, 0, static_cast<int>(groups.size()) - 1)));
    }
}

void MacroEditor::ResetMacros() {
    const auto anyBound = [this] {
        const auto& groups = store_.groups();
        return std::any_of(groups.begin(), groups.end(), AnyBound);
    };
    const bool boundBefore = anyBound();
    Report(store_.ResetMacros());
    marked_.clear();
    RebuildAndSelect(0, -1);
    if (boundBefore || anyBound()) {
        SendMacrosChanged();  // bindings may name macros the reset removed
    }
}

void MacroEditor::RebuildAndSelect(int g, int m) {
    BuildTree();
    if (store_.groups().empty()) {
        ShowNothing();
    } else {
        Select(g, m);
    }
}

}  // namespace mousecfg::macroui
