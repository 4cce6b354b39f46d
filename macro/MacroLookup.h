#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "device/MacroBlock.h"

namespace mousecfg {

// A macro found by its group and macro GUIDs: a copy of its name and data block.
struct FoundMacro {
    std::u16string name;
    MacroBlock block;
};

// Finds macros by group GUID and macro GUID. The macro store answers from its live document on the
// user-interface thread; a snapshot of it (MacroStore::Snapshot) answers from a copy on any thread.
class MacroLookup {
public:
    virtual ~MacroLookup() = default;
    virtual std::optional<FoundMacro> Find(std::string_view groupGuid, std::string_view macroGuid) const = 0;
};

}  // namespace mousecfg
