#pragma once

#include <string>

namespace mousecfg {

// The function assigned to one page button in one key profile.
struct KeyBinding {
    int defaultCode = 0;           // the button's default function code, filled by the label pass
    int code = 0;                  // the assigned function code
    std::string text = "InitNull"; // label shown on the button
    std::string macroGuid;         // the bound macro's GUID; empty when none
    std::string groupGuid;         // the bound macro's group GUID; empty when none
    bool operator==(const KeyBinding&) const = default;
};

}  // namespace mousecfg
