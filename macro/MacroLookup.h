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
    // False while the document the macros come from could not be read: a macro that is not found may then still
    // exist, so a binding to it is kept rather than reverted.
    virtual bool Complete() const { return true; }
};

}  // namespace mousecfg
