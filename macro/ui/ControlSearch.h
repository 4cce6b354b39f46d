#pragma once

#include <string_view>

#include "skin/Control.h"

namespace mousecfg::macroui {

// The first control named `name` in the subtree of `root` (root included), depth first; none when there is none.
// Rows and nodes repeat the names of their parts, so the page looks them up below the row or node.
skin::Control* FindIn(skin::Control& root, std::string_view name);

// The nearest ancestor of `control` (itself included) of class T; none when there is none.
template <class T>
T* AncestorOf(skin::Control* control) {
    for (skin::Control* c = control; c != nullptr; c = c->GetParent()) {
        if (auto* found = dynamic_cast<T*>(c)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace mousecfg::macroui
