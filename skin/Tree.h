#pragma once

#include <memory>

#include "skin/List.h"

namespace mousecfg::skin {

class TreeNode;

// A list whose rows are tree nodes: nodes are added under a parent node (or at the top), a collapsed node hides
// its descendants, and child nodes are indented by "indent" pixels per level.
class Tree : public List {
public:
    std::string_view GetClass() const override { return "Tree"; }
    // Adds `node` as the last child of `parent` (a top-level node when none) and returns it.
    TreeNode* AddNode(std::unique_ptr<TreeNode> node, TreeNode* parent = nullptr);
    // Adds `node` as child number `position` of `parent` (clamped to the number of children).
    TreeNode* AddNodeAt(std::unique_ptr<TreeNode> node, TreeNode* parent, int position);
    // Removes a node with all its descendants; false when it is not a node of this tree.
    bool RemoveNode(TreeNode* node);
    void RemoveAllNodes() { RemoveAll(); }
    // The top-level nodes in order.
    std::vector<TreeNode*> GetRootNodes() const;
    void Expand(TreeNode* node, bool expanded);
    int GetIndent() const { return indent_; }

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;

private:
    // The row after the last descendant of `node`.
    int RowAfterSubtree(const TreeNode* node) const;
    void UpdateVisibility(TreeNode* node, bool shown);

    int indent_ = 16;
};

}  // namespace mousecfg::skin
