// Reset, export and import of the macro store.
#include "macro/MacroRecordJson.h"
#include "macro/MacroStore.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;

const FileFilter kExchangeFilter{"Config Flie(*.Macro.Config)", "*.Macro.Config", "Config"};

std::string Dump(const json& value) { return value.dump(4, ' ', false, json::error_handler_t::replace); }

// The parsed text of an exchange file. Throws the JSON library's exceptions.
json ReadExchangeFile(const std::filesystem::path& file) {
    const Result<std::string> text = ReadWholeFile(file);
    if (!text) {
        throw json::other_error::create(501, text.message(), static_cast<const json*>(nullptr));
    }
    return json::parse(*text);
}

}  // namespace

Status MacroStore::ResetMacros() {
    const auto resetPath = resRoot_ / "MacroDock" / "MacroDataReset" / "macroConfigReset.json";
    const auto backupPath = std::filesystem::path(file_.path().string() + ".bak");
    // A damaged document is kept aside by the replacement instead of in the backup, where it would take the
    // place of the last good one.
    const bool backUp = !file_.damaged();
    Status result = Status::Ok();
    if (const Result<std::string> factory = ReadWholeFile(resetPath)) {
        if (const Result<std::string> current = ReadWholeFile(file_.path()); current && backUp) {
            result = WriteFileAtomically(backupPath, *current);
        }
        if (result) {
            result = file_.Replace(*factory);
        }
    } else {
        if (backUp) {
            result = WriteFileAtomically(backupPath, Dump(document_));
        }
        if (document_.is_object()) {
            document_.erase("MacroGrpInfo");
        }
        if (result) {
            result = SaveMacros();
        }
    }
    const Status loaded = LoadMacros();
    return result ? loaded : result;
}

Status MacroStore::ExportGroup(int g) {
    if (Status valid = CheckGroup(g); !valid) {
        return valid;
    }
    const std::optional<std::string> file = dialogs_.SaveFile(kExchangeFilter);
    if (!file) {
        return Status::Ok();
    }
    json group = GroupArray().at(static_cast<size_t>(g));
    // An exported group is unbound: the buttons it names belong to this installation's devices.
    if (group.contains("MacroInfo") && group["MacroInfo"].is_array()) {
        for (json& macro : group["MacroInfo"]) {
            if (macro.is_object()) {
                macro["BindKeys"] = 0;
                macro.erase("BindKeysInfo");
            }
        }
    }
    return WriteFileAtomically(*file, Dump(group));
}

bool MacroStore::ImportGroups(int position) {
    const std::vector<std::string> files = dialogs_.OpenFiles(kExchangeFilter, true);
    if (files.empty()) {
        return false;
    }
    std::vector<std::u16string> names;
    for (const MacroGroup& group : groups_) {
        names.push_back(group.name);
    }
    json& array = GroupArray();
    size_t at = position >= 0 && static_cast<size_t>(position) < array.size() ? static_cast<size_t>(position)
                                                                               : array.size();
    std::string refused;
    int imported = 0;
    for (const std::string& file : files) {
        try {
            json group = ReadExchangeFile(file);
            const Result<std::string> guid = NewGuid();
            if (!guid) {
                throw json::other_error::create(501, guid.message(), static_cast<const json*>(nullptr));
            }
            const std::u16string name = UniqueName(NameFromJson(group.at("GrpName")), names);
            group["GrpName"] = NameToJson(name);
            group["GrpGuid"] = *guid;
            // The loader's own conversion: a group it would not load never enters the document, where it would
            // make the file unreadable and the model disagree with it.
            MacroGroup model = MacroGroupFromJson(group);
            // Several files keep the order in which they were chosen.
            array.insert(array.begin() + static_cast<std::ptrdiff_t>(at), std::move(group));
            groups_.insert(groups_.begin() + static_cast<std::ptrdiff_t>(at), std::move(model));
            ++at;
            ++imported;
            names.push_back(name);
        } catch (const json::exception& error) {
            trace::Printf("%s: %s\n", file.c_str(), error.what());
            refused += "\n" + file;
        }
    }
    if (!refused.empty()) {
        messages_.Show(MessageBoxRequest{kCaption, texts_.importError + refused, texts_.ok, "", true});
    }
    if (imported == 0) {
        return true;  // nothing changed
    }
    const Status saved = SaveMacros();
    if (!saved) {
        trace::Printf("%s\n", saved.message().c_str());
        messages_.Show(MessageBoxRequest{kCaption, texts_.error + "\n" + saved.message(), texts_.ok, "", true});
    }
    // The document as the file holds it: without the imported groups when they could not be saved.
    LoadMacros();
    return true;
}

}  // namespace mousecfg
