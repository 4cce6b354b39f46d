#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "device/CommandSet.h"

namespace mousecfg {

class MacroLookup;
struct PresetMacros;

// Function types of an assignment payload (byte 0).
namespace function {
inline constexpr uint8_t kNone = 0x00;
inline constexpr uint8_t kMouseButton = 0x01;
inline constexpr uint8_t kKeyboardKey = 0x02;
inline constexpr uint8_t kConsumerKey = 0x04;
inline constexpr uint8_t kMacro = 0x0A;
}  // namespace function

// The button whose function is to be encoded.
struct KeyFunctionInput {
    int code = 0;                // function code of the binding
    std::string_view groupGuid;  // the bound macro's identity, for macro codes 120..259
    std::string_view macroGuid;
    int slot = 0;                // the mouse's key slot (16 or 17 for the wheel positions): the macro number
    bool extraPosition = false;  // page positions 16..19 (wheel and further): macros play once there
    int fireValue = 0;           // the profile's fire value, added to the fire key's delays
};

// Where the macros of macro codes come from: the preset lists and the user's macros (a snapshot when encoding
// runs on a worker thread).
struct KeyFunctionSources {
    const PresetMacros& presets;
    const MacroLookup& macros;
};

struct EncodedKeyFunction {
    int result = 1;                       // 0 when a macro without items (or no macro) was found
    bool macroFollows = false;            // the request is set up for a MacroData write the caller sends
    std::array<uint8_t, 4> payload{};     // the four bytes in p[1..4]
};

// Fills p[1..4] of the session's KeyAssignment / ExtraKeyAssignment request (type, p[0] and p[8] set by the
// caller) with the four bytes of a function code. For a macro function it also sends that assignment at once
// and leaves the request set up as a MacroData write of the macro (mapped to the mouse's item codes) into macro
// number `slot`; the caller then sends it. A macro without items, or a macro code whose macro does not exist,
// gives four zero bytes, result 0 and nothing sent.
EncodedKeyFunction EncodeKeyFunction(CommandSet::Session& session, const KeyFunctionInput& input,
                                     const KeyFunctionSources& sources);

}  // namespace mousecfg
