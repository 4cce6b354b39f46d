#include "macro/MacroStore.h"

#include <algorithm>

#include "macro/MacroDataJson.h"
#include "macro/MacroRecordJson.h"
#include "platform/AtomicFile.h"
#include "platform/MessageBoxes.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;

// The first group with the GUID, and in it the first macro with the GUID.
std::optional<FoundMacro> FindIn(const std::vector<MacroGroup>& groups, std::string_view groupGuid,
                                 std::string_view macroGuid) {
    const auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.guid == groupGuid; });
    if (group == groups.end()) {
        return std::nullopt;
    }
    for (const MacroRecord& macro : group->macros) {
        if (macro.guid == macroGuid) {
            return FoundMacro{macro.name, macro.block};
        }
    }
    return std::nullopt;
}

// A copy of the groups that answers look-ups on any thread.
class SnapshotLookup final : public MacroLookup {
public:
    explicit SnapshotLookup(std::vector<MacroGroup> groups) : groups_(std::move(groups)) {}
    std::optional<FoundMacro> Find(std::string_view groupGuid, std::string_view macroGuid) const override {
        return FindIn(groups_, groupGuid, macroGuid);
    }

private:
    const std::vector<MacroGroup> groups_;
};

// Builds the model from a parsed document, adding "ForbidView": false where it is missing (it reaches the file
// with the next save). Throws the JSON library's exceptions.
std::vector<MacroGroup> BuildModel(json& document) {
    if (!document.is_object()) {
        throw json::type_error::create(302, std::string("type must be object, but is ") + document.type_name(),
                                       &document);
    }
    std::vector<MacroGroup> groups;
    if (!document.contains("MacroGrpInfo")) {
        return groups;
    }
    json& array = document.at("MacroGrpInfo");
    if (!array.is_array()) {
        throw json::type_error::create(302, std::string("type must be array, but is ") + array.type_name(), &array);
    }
    for (json& object : array) {
        groups.push_back(MacroGroupFromJson(object));
    }
    return groups;
}

}  // namespace

MacroStore::MacroStore(const std::filesystem::path& programFolder, FileDialogs& dialogs, MessageBoxes& messages,
                       KeyNames keyNames)
    : MacroStore(MacroResourceFolder{programFolder / "res"}, dialogs, messages, std::move(keyNames)) {}

MacroStore::MacroStore(const MacroResourceFolder& resources, FileDialogs& dialogs, MessageBoxes& messages,
                       KeyNames keyNames)
    : resRoot_(resources.resources.empty() ? resources.path : resources.resources),
      file_(resources.path / "MacroDock" / "MacroData" / "macroConfig.json"),
      dialogs_(dialogs),
      messages_(messages),
      keyNames_(std::move(keyNames)) {}

Status MacroStore::LoadMacros() {
    const Result<std::string> text = ReadWholeFile(file_.path());
    Status loaded = text ? ParseMacros(*text) : text.status();
    if (!loaded && text) {
        loaded = Status::Error(file_.path().string() + ": " + loaded.message());
    }
    file_.LoadFinished(loaded);
    return loaded;
}

Status MacroStore::ParseMacros(std::string_view text) {
    try {
        json document = json::parse(text);
        std::vector<MacroGroup> groups = BuildModel(document);
        document_ = std::move(document);
        groups_ = std::move(groups);
        return Status::Ok();
    } catch (const json::exception& error) {
        // A damaged file must not cost the user the macros already in memory.
        trace::Printf("%s\n", error.what());
        return Status::Error(error.what());
    }
}

Status MacroStore::SaveMacros() {
    return file_.Replace(document_.dump(4, ' ', false, json::error_handler_t::replace));
}

json& MacroStore::GroupArray() {
    if (!document_.is_object()) {
        document_ = json::object();
    }
    json& groups = document_["MacroGrpInfo"];
    if (!groups.is_array()) {
        groups = json::array();
    }
    return groups;
}

json& MacroStore::MacroArray(int g) {
    json& macros = GroupArray().at(static_cast<size_t>(g))["MacroInfo"];
    if (!macros.is_array()) {
        macros = json::array();
    }
    return macros;
}

bool MacroStore::ValidMacro(int g, int m) const {
    return g >= 0 && static_cast<size_t>(g) < groups_.size() && m >= 0 &&
           static_cast<size_t>(m) < groups_[static_cast<size_t>(g)].macros.size();
}

Status MacroStore::CheckGroup(int g) const {
    return g >= 0 && static_cast<size_t>(g) < groups_.size() ? Status::Ok()
                                                             : Status::Error("no group " + std::to_string(g));
}

Status MacroStore::CheckMacro(int g, int m) const {
    return ValidMacro(g, m) ? Status::Ok()
                            : Status::Error("no macro " + std::to_string(m) + " in group " + std::to_string(g));
}

void MacroStore::ShowFailure(const char* text) {
    messages_.Show(MessageBoxRequest{kCaption, text, "OK", "", true});
}

Status MacroStore::WriteMacroEntry(int g, int m) {
    if (Status valid = CheckMacro(g, m); !valid) {
        return valid;
    }
    try {
        json& entry = MacroArray(g).at(static_cast<size_t>(m));
        entry["MacroName"] = NameToJson(working_.name);
        entry["MacroGuid"] = working_.guid;
        entry["ForbidView"] = working_.forbidView;
        entry["macData"] = MacroBlockToJson(working_.block);
    } catch (const json::exception& error) {
        trace::Printf("%s\n", error.what());
    }
    return SaveMacros();
}

void MacroStore::SaveAllMacros() {
    json& array = GroupArray();
    array.get_ref<json::array_t&>().resize(groups_.size(), json::object());
    for (size_t g = 0; g < groups_.size(); ++g) {
        const MacroGroup& group = groups_[g];
        json& object = array[g];
        if (!object.is_object()) {
            object = json::object();
        }
        object["GrpName"] = NameToJson(group.name);
        object["GrpGuid"] = group.guid;
        object["ForbidView"] = group.forbidView;
        if (group.macros.empty() && !object.contains("MacroInfo")) {
            continue;  // a group that never had a macro has no "MacroInfo"
        }
        json macros = json::array();
        for (const MacroRecord& macro : group.macros) {
            macros.push_back({{"MacroName", NameToJson(macro.name)},
                              {"MacroGuid", macro.guid},
                              {"ForbidView", macro.forbidView},
                              {"BindKeys", macro.bindKeys},
                              {"BindKeysInfo", BindingsToJson(macro)},
                              {"macData", MacroBlockToJson(macro.block)}});
        }
        object["MacroInfo"] = std::move(macros);
    }
}

bool MacroStore::SelectMacro(int g, int m) {
    if (!ValidMacro(g, m)) {
        return false;
    }
    working_ = groups_[static_cast<size_t>(g)].macros[static_cast<size_t>(m)];
    return true;
}

std::optional<FoundMacro> MacroStore::Find(std::string_view groupGuid, std::string_view macroGuid) const {
    return FindIn(groups_, groupGuid, macroGuid);
}

std::shared_ptr<const MacroLookup> MacroStore::Snapshot() const { return std::make_shared<SnapshotLookup>(groups_); }

}  // namespace mousecfg
