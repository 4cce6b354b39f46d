#include "skin/Tree.h"

#include <algorithm>

#include "skin/TreeNode.h"

namespace mousecfg::skin {

TreeNode* Tree::AddNode(std::unique_ptr<TreeNode> node, TreeNode* parent) {
    const int position = parent != nullptr ? parent->GetChildNodeCount() : static_cast<int>(GetRootNodes().size());
    return AddNodeAt(std::move(node), parent, position);
}

TreeNode* Tree::AddNodeAt(std::unique_ptr<TreeNode> node, TreeNode* parent, int position) {
    if (!node || (parent != nullptr && parent->GetTree() != this)) {
        return nullptr;
    }
    std::vector<TreeNode*> siblings = parent != nullptr ? parent->childNodes_ : GetRootNodes();
    position = std::clamp(position, 0, static_cast<int>(siblings.size()));
    int row = 0;
    if (position < static_cast<int>(siblings.size())) {
        row = GetItemIndex(siblings[static_cast<size_t>(position)]);
    } else if (!siblings.empty()) {
        row = RowAfterSubtree(siblings.back());
    } else {
        row = parent != nullptr ? GetItemIndex(parent) + 1 : GetCount();
    }
    TreeNode* added = static_cast<TreeNode*>(AddAt(std::move(node), row));
    added->parentNode_ = parent;
    if (parent != nullptr) {
        parent->childNodes_.insert(parent->childNodes_.begin() + position, added);
        added->SetVisible(parent->IsVisible() && parent->expanded_);
    }
    return added;
}

bool Tree::RemoveNode(TreeNode* node) {
    if (node == nullptr || GetItemIndex(node) < 0) {
        return false;
    }
    while (!node->childNodes_.empty()) {
        RemoveNode(node->childNodes_.back());
    }
    // Unlinked here: while input is handled the node itself is destroyed only later.
    if (TreeNode* parent = node->parentNode_) {
        std::erase(parent->childNodes_, node);
        node->parentNode_ = nullptr;
    }
    return Remove(node);
}

std::vector<TreeNode*> Tree::GetRootNodes() const {
    std::vector<TreeNode*> roots;
    for (int i = 0; i < GetCount(); ++i) {
        auto* node = dynamic_cast<TreeNode*>(GetItemAt(i));
        if (node != nullptr && node->parentNode_ == nullptr) {
            roots.push_back(node);
        }
    }
    return roots;
}

void Tree::Expand(TreeNode* node, bool expanded) {
    if (node == nullptr || node->expanded_ == expanded) {
        return;
    }
    node->expanded_ = expanded;
    for (TreeNode* child : node->childNodes_) {
        UpdateVisibility(child, node->IsVisible() && expanded);
    }
    NeedUpdate();
}

void Tree::UpdateVisibility(TreeNode* node, bool shown) {
    node->SetVisible(shown);
    for (TreeNode* child : node->childNodes_) {
        UpdateVisibility(child, shown && node->expanded_);
    }
}

int Tree::RowAfterSubtree(const TreeNode* node) const {
    while (!node->childNodes_.empty()) {
        node = node->childNodes_.back();
    }
    return GetItemIndex(node) + 1;
}

AttributeStatus Tree::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "indent") {
        return AssignInt(indent_, value);
    }
    return List::ApplyAttribute(name, value);
}

}  // namespace mousecfg::skin
