#include "macro/ui/ControlSearch.h"

#include "skin/ChildList.h"

namespace mousecfg::macroui {

skin::Control* FindIn(skin::Control& root, std::string_view name) {
    if (root.GetName() == name) {
        return &root;
    }
    if (skin::ChildList* children = root.Children()) {
        for (const auto& child : children->items()) {
            if (skin::Control* found = FindIn(*child, name)) {
                return found;
            }
        }
    }
    return nullptr;
}

}  // namespace mousecfg::macroui
