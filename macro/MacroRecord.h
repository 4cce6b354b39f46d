#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "device/MacroBlock.h"

namespace mousecfg {

// One button a macro is bound to: the configuration text and the key name as the button-assignment code
// stores them.
struct MacroBinding {
    std::string config;
    std::string keyName;
    bool operator==(const MacroBinding&) const = default;
};

// One macro of the macro document. Names typed by the user are kept as UTF-16 code units, exactly as the file
// stores them, so that any text (even one that is not well-formed) survives a load and a save unchanged.
struct MacroRecord {
    std::string guid;
    std::u16string name;
    bool forbidView = false;
    int bindKeys = 0;  // number of mouse buttons bound to the macro
    std::map<std::u16string, std::vector<MacroBinding>> bindings;  // device name -> bound buttons
    MacroBlock block;
    bool operator==(const MacroRecord&) const = default;
};

// One group of macros.
struct MacroGroup {
    std::string guid;
    std::u16string name;
    bool forbidView = false;
    std::vector<MacroRecord> macros;
    bool operator==(const MacroGroup&) const = default;
};

}  // namespace mousecfg
