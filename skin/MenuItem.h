#pragma once

#include <string>

#include "skin/Color.h"

namespace mousecfg::skin {

// One entry of a context menu as its skin file declares it.
struct MenuItem {
    std::string name;
    std::string text;
    std::string textId;
    std::string icon;
    std::string group;  // checkable items of one group are exclusive
    bool visible = true;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    bool separator = false;
};

// The colours of a menu, from its skin file's <Menu> attributes; kNoColor leaves the desktop's own.
struct MenuLook {
    Color background = kNoColor;
    Color text = kNoColor;
    Color hotBackground = kNoColor;  // the item under the pointer
    Color disabledText = kNoColor;
    Color border = kNoColor;
};

}  // namespace mousecfg::skin
