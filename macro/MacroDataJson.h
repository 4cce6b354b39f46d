#pragma once

#include <nlohmann/json.hpp>

#include "device/MacroBlock.h"
#include "platform/Status.h"

namespace mousecfg {

// The "macData" object of a macro in the macro document and in exchange files: the 14 keys "rptType",
// "macRpt", "num", "numXY", "numWhl", "numCpi", "numMedia", "numLed", "YStepEn", "YStep", "macSta", "macVal",
// "extVal" ([x, y] pairs) and "macDly", the four arrays always written with 500 entries.
//
// Numbers may be booleans, integers or floating-point values (truncated toward zero) and are narrowed to the
// field's width; any other type fails with the JSON library's text ("type must be number, but is ...").
// Arrays shorter than 500 entries fill the rest with zeros; longer ones are read up to 500 entries.
Result<MacroBlock> MacroBlockFromJson(const nlohmann::json& macData);
nlohmann::json MacroBlockToJson(const MacroBlock& block);

}  // namespace mousecfg
