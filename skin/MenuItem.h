#pragma once

#include <string>

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

}  // namespace mousecfg::skin
