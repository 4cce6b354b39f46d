// Group and macro operations of the macro store.
#include <algorithm>

#include "macro/MacroDataJson.h"
#include "macro/MacroRecordJson.h"
#include "macro/MacroStore.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;

// `position` when it lies inside a list of `count` entries, else the end (append).
size_t InsertionPoint(int position, size_t count) {
    return position >= 0 && static_cast<size_t>(position) < count ? static_cast<size_t>(position) : count;
}

}  // namespace

Result<int> MacroStore::AddGroup(int position, const std::u16string& name) {
    const Result<std::string> guid = NewGuid();
    if (!guid) {
        return guid.status();
    }
    const size_t at = InsertionPoint(position, groups_.size());
    json& array = GroupArray();
    array.insert(array.begin() + static_cast<std::ptrdiff_t>(at),
                 json{{"GrpName", NameToJson(name)}, {"GrpGuid", *guid}, {"ForbidView", false}});
    groups_.insert(groups_.begin() + static_cast<std::ptrdiff_t>(at), MacroGroup{*guid, name, false, {}});
    const Status saved = SaveMacros();
    if (!saved) {
        return saved;
    }
    return static_cast<int>(at);
}

Status MacroStore::RenameGroup(int g, const std::u16string& name) {
    if (Status valid = CheckGroup(g); !valid) {
        return valid;
    }
    groups_[static_cast<size_t>(g)].name = name;
    GroupArray().at(static_cast<size_t>(g))["GrpName"] = NameToJson(name);
    return SaveMacros();
}

Status MacroStore::DeleteGroup(int g) {
    if (Status valid = CheckGroup(g); !valid) {
        return valid;
    }
    GroupArray().erase(static_cast<size_t>(g));
    groups_.erase(groups_.begin() + g);
    return SaveMacros();
}

Result<int> MacroStore::InsertMacro(int g, int position, const std::u16string& name) {
    if (Status valid = CheckGroup(g); !valid) {
        return valid;
    }
    const Result<std::string> guid = NewGuid();
    if (!guid) {
        return guid.status();
    }
    // A new macro starts empty and unbound; it plays once until the user chooses a loop mode.
    MacroRecord macro;
    macro.guid = *guid;
    macro.name = name;
    macro.block.macRpt = 1;
    auto& macros = groups_[static_cast<size_t>(g)].macros;
    const size_t at = InsertionPoint(position, macros.size());
    json& array = MacroArray(g);
    array.insert(array.begin() + static_cast<std::ptrdiff_t>(at),
                 json{{"MacroName", NameToJson(name)},
                      {"MacroGuid", macro.guid},
                      {"BindKeys", 0},
                      {"ForbidView", false},
                      {"macData", MacroBlockToJson(macro.block)}});
    macros.insert(macros.begin() + static_cast<std::ptrdiff_t>(at), macro);
    working_ = std::move(macro);
    const Status saved = SaveMacros();
    if (!saved) {
        return saved;
    }
    return static_cast<int>(at);
}

Status MacroStore::RenameMacro(int g, int m, const std::u16string& name) {
    if (Status valid = CheckMacro(g, m); !valid) {
        return valid;
    }
    MacroRecord& stored = groups_[static_cast<size_t>(g)].macros[static_cast<size_t>(m)];
    stored.name = name;
    if (working_.guid == stored.guid) {
        working_.name = name;
    }
    // Only the name changes: the entry keeps its own data even when another macro is being edited.
    MacroArray(g).at(static_cast<size_t>(m))["MacroName"] = NameToJson(name);
    return SaveMacros();
}

Status MacroStore::DeleteMacro(int g, int m) {
    if (Status valid = CheckGroup(g); !valid) {
        return valid;
    }
    auto& macros = groups_[static_cast<size_t>(g)].macros;
    if (macros.empty()) {
        ShowFailure(" DeleteMacro  !");
        return Status::Error("the group has no macros");
    }
    if (m < 0 || static_cast<size_t>(m) >= macros.size()) {
        return Status::Error("no macro " + std::to_string(m));
    }
    MacroArray(g).erase(static_cast<size_t>(m));
    macros.erase(macros.begin() + m);
    return SaveMacros();
}

}  // namespace mousecfg
