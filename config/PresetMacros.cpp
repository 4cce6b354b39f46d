#include "config/PresetMacros.h"

#include <nlohmann/json.hpp>

#include "macro/MacroRecordJson.h"
#include "platform/AtomicFile.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;

Status LoadFile(std::vector<PresetMacro>& list, const std::filesystem::path& file) {
    list.clear();
    const Result<std::string> text = ReadWholeFile(file);
    if (!text) {
        return text.status();
    }
    Result<std::vector<PresetMacro>> macros = ParsePresetMacros(*text);
    if (!macros) {
        trace::Printf("%s: %s\n", file.string().c_str(), macros.message().c_str());
        return macros.status();
    }
    list = std::move(*macros);
    return Status::Ok();
}

}  // namespace

Result<std::vector<PresetMacro>> ParsePresetMacros(std::string_view text) {
    try {
        std::vector<PresetMacro> macros;
        const json document = json::parse(text);
        for (const json& object : document.at("MacroInfo")) {
            MacroRecord record = MacroRecordFromJson(object);
            macros.push_back({std::move(record.guid), std::move(record.name), record.block});
        }
        return macros;
    } catch (const json::exception& error) {
        return Status::Error(error.what());
    }
}

Status LoadPresetMacros(PresetMacros& presets, const std::filesystem::path& veruzFolder) {
    const Status shortCuts = LoadFile(presets.shortCuts, veruzFolder / "ShortCutMac.json");
    const Status otherKeys = LoadFile(presets.otherKeys, veruzFolder / "OtherKeyMac.json");
    return shortCuts ? otherKeys : shortCuts;
}

}  // namespace mousecfg
