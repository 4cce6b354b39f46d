#include "skin/TreeNode.h"

#include <algorithm>

#include "skin/PaintManager.h"
#include "skin/Painter.h"
#include "skin/Tree.h"

namespace mousecfg::skin {

TreeNode::~TreeNode() {
    // A node removed on its own (not through Tree::RemoveNode) unlinks itself so no node keeps a stale pointer.
    if (parentNode_ != nullptr) {
        auto& siblings = parentNode_->childNodes_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (TreeNode* child : childNodes_) {
        child->parentNode_ = nullptr;
    }
}

TreeNode* TreeNode::GetChildNode(int index) const {
    if (index < 0 || index >= GetChildNodeCount()) {
        return nullptr;
    }
    return childNodes_[static_cast<size_t>(index)];
}

int TreeNode::GetDepth() const {
    int depth = 0;
    for (const TreeNode* node = parentNode_; node != nullptr; node = node->parentNode_) {
        ++depth;
    }
    return depth;
}

Tree* TreeNode::GetTree() const {
    return dynamic_cast<Tree*>(GetOwner());
}

void TreeNode::DoEvent(ControlEvent& event) {
    if (event.type == EventType::DoubleClick && !childNodes_.empty()) {
        if (Tree* tree = GetTree()) {
            tree->Expand(this, !expanded_);
        }
    }
    ListLabelElement::DoEvent(event);
}

AttributeStatus TreeNode::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "expanded") {
        bool expanded = true;
        if (AssignBool(expanded, value) != AttributeStatus::Applied) {
            return AttributeStatus::Invalid;
        }
        if (Tree* tree = GetTree()) {
            tree->Expand(this, expanded);
        } else {
            expanded_ = expanded;
        }
        return AttributeStatus::Applied;
    }
    return ListLabelElement::ApplyAttribute(name, value);
}

void TreeNode::PaintText(Painter& painter) {
    const Tree* tree = GetTree();
    const int indent = GetDepth() * (tree != nullptr ? tree->GetIndent() : 16);
    const FontSpec font = GetManager() != nullptr ? GetManager()->GetFont(GetFont()) : FontSpec{};
    Rect area = GetPos().deflate(GetTextPadding());
    area.left += indent;
    if (!childNodes_.empty()) {
        // A small triangle tells expandable nodes apart: pointing down when expanded.
        Rect mark{area.left, area.top, area.left + 12, area.bottom};
        painter.DrawText(mark, expanded_ ? "\u25BE" : "\u25B8", font, CurrentTextColor(), 0x1 | 0x4);
        area.left += 14;
    }
    if (!text_.empty()) {
        painter.DrawText(area, text_, font, CurrentTextColor(), GetTextAlign());
    }
}

}  // namespace mousecfg::skin
