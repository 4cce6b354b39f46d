#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "device/MacroBlock.h"
#include "platform/Status.h"

namespace mousecfg {

// A predefined macro of the button-function lists.
struct PresetMacro {
    std::string guid;
    std::u16string name;
    MacroBlock block;
};

// The predefined macros of "res/VeruzUrir/ShortCutMac.json" (the shortcut functions) and
// "res/VeruzUrir/OtherKeyMac.json" (four further functions, the fire key among them), in file order. Both files
// hold an object whose array "MacroInfo" lists macro objects of the macro document's format. A plain value.
struct PresetMacros {
    std::vector<PresetMacro> shortCuts;
    std::vector<PresetMacro> otherKeys;
};

// The macros of one preset file's text. Fails, with the JSON library's message, when the text is not such an
// object or a macro lacks "MacroGuid", "MacroName" or "macData".
Result<std::vector<PresetMacro>> ParsePresetMacros(std::string_view text);

// Reads both files from `veruzFolder` ("res/VeruzUrir"). A file that cannot be read or parsed leaves its list
// empty (its functions then send an empty assignment); the first failure is traced and returned.
Status LoadPresetMacros(PresetMacros& presets, const std::filesystem::path& veruzFolder);

}  // namespace mousecfg
