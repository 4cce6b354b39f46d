#pragma once

#include <string>
#include <string_view>

#include "platform/Status.h"

namespace mousecfg {

class FunctionTable;
class KeyNames;
class MacroStore;
struct MouseConfig;

// The function code the pages store for a user macro.
inline constexpr int kUserMacroCode = 120;
inline constexpr int kLeftClickCode = 1;

// True when `button` of key profile `profile` is the only button there with the left click: reassigning it
// would leave the mouse without a left button, so the assignment is refused.
bool IsOnlyLeftClick(const MouseConfig& config, int profile, int button);

// Assigns the function `code` (not a user macro) to `button` of key profile `profile`: its label comes from the
// function table or the key names; a macro it was bound to loses the binding (bindKeys lowered, never below 0).
// Fails for buttons and profiles out of range and for the user-macro range 120..259.
Status AssignFunction(MouseConfig& config, MacroStore& macros, int profile, int button, int code,
                      const FunctionTable& functions, const KeyNames& keyNames);

// Binds macro `m` of group `g` to `button` of key profile `profile` (code 120, label "M:" + name); the binding
// counts of the macro it leaves and of the chosen one follow, unless it was already bound to the same macro.
Status AssignMacro(MouseConfig& config, MacroStore& macros, int profile, int button, int g, int m);

// Rebuilds the binding lists of the macro document for `deviceName` from key profiles 0..2 of `config`: every
// macro bound to a button gets the pair ("Profile" + profile number from 1, button name); each macro's bindKeys
// becomes the number of its pairs on all devices. Then writes the document to its file.
Status RebuildMacroBindings(MacroStore& macros, const MouseConfig& config, std::string_view deviceName);

}  // namespace mousecfg
