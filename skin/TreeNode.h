#pragma once

#include <vector>

#include "skin/ListLabelElement.h"

namespace mousecfg::skin {

class Tree;

// A node of a tree: a list row with a text, optional child controls (marks, buttons) and child nodes. The tree
// keeps all nodes as its rows in display order; a node knows its parent node and its child nodes.
class TreeNode : public ListLabelElement {
public:
    ~TreeNode() override;
    std::string_view GetClass() const override { return "TreeNode"; }
    void DoEvent(ControlEvent& event) override;

    TreeNode* GetParentNode() const { return parentNode_; }
    int GetChildNodeCount() const { return static_cast<int>(childNodes_.size()); }
    TreeNode* GetChildNode(int index) const;
    const std::vector<TreeNode*>& GetChildNodes() const { return childNodes_; }
    // 0 for a top-level node.
    int GetDepth() const;
    bool IsExpanded() const { return expanded_; }
    Tree* GetTree() const;

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintText(Painter& painter) override;

private:
    friend class Tree;
    TreeNode* parentNode_ = nullptr;
    std::vector<TreeNode*> childNodes_;
    bool expanded_ = true;
};

}  // namespace mousecfg::skin
