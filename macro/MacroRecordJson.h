#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "macro/MacroRecord.h"

namespace mousecfg {

// Macro objects and names in the macro document, its exchange files and the preset macro files. User-typed
// names are arrays of UTF-16 code units; numbers are narrowed to the field widths (JsonNumbers.h). The readers
// throw the JSON library's exceptions on a missing member or a wrong type.

// A name from its array of code units. A unit outside 0..65535 is damaged contents and throws.
std::u16string NameFromJson(const nlohmann::json& units);
nlohmann::json NameToJson(const std::u16string& name);

// "ForbidView" of a group or macro object: false when absent, otherwise true when non-zero.
bool ForbidViewFromJson(const nlohmann::json& object);

// A macro object: "MacroName", "MacroGuid", "ForbidView" (optional), "BindKeys" and "BindKeysInfo" (optional),
// "macData".
MacroRecord MacroRecordFromJson(const nlohmann::json& object);
// A group object: "GrpName", "GrpGuid", "ForbidView" (optional) and "MacroInfo" (an array, optional). Adds
// "ForbidView": false where it is missing, to the group and to its macros (it reaches the file with the next
// save).
MacroGroup MacroGroupFromJson(nlohmann::json& object);
// The "BindKeysInfo" array of a macro's bindings, in device-name order.
nlohmann::json BindingsToJson(const MacroRecord& record);

}  // namespace mousecfg
