#pragma once

#include <map>
#include <string>
#include <utility>

#include "macro/MacroLookup.h"

namespace mousecfg::test {

// A macro lookup over a fixed set of macros keyed by (group GUID, macro GUID).
class FakeMacroLookup final : public MacroLookup {
public:
    std::optional<FoundMacro> Find(std::string_view groupGuid, std::string_view macroGuid) const override {
        const auto found = macros.find({std::string(groupGuid), std::string(macroGuid)});
        return found != macros.end() ? std::optional<FoundMacro>(found->second) : std::nullopt;
    }
    bool Complete() const override { return complete; }

    std::map<std::pair<std::string, std::string>, FoundMacro> macros;
    bool complete = true;
};

}  // namespace mousecfg::test
