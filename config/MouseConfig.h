#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "config/KeyBinding.h"
#include "config/LightingModeSettings.h"
#include "config/ProfileSettings.h"
#include "platform/Status.h"

namespace mousecfg {

struct DeviceFeature;
class FunctionTable;
class KeyNames;
class MacroLookup;

inline constexpr int kProfileCount = 3;
inline constexpr int kKeyProfileCount = 4;  // key profile 3 is kept in the file but used by nothing
inline constexpr int kFirstMacroCode = 120;
inline constexpr int kLastMacroCode = 259;
inline constexpr int kFirstKeyCode = 256;  // a keyboard key is stored as 256 + its HID usage
inline constexpr std::string_view kButtonNamePrefix = "btn_MouseKey_Click";
// The fire key: a preset macro that carries the profile's fire value, so a fire value change rewrites it.
inline constexpr int kFireKeyCode = 102;

// Codes 120..259 bind a user macro (identified by the binding's group and macro GUIDs).
inline bool IsUserMacroCode(int code) { return code >= kFirstMacroCode && code <= kLastMacroCode; }

// The user's configuration of one mouse model, as stored in "<model folder>/Config/MouseConfig.json". A plain
// value: the pages edit it on the user-interface thread and hand copies to the apply worker.
struct MouseConfig {
    using KeyProfile = std::map<std::string, KeyBinding>;  // button name -> binding, in name order

    // A key profile holding the twenty page buttons with default bindings.
    static KeyProfile DefaultKeyProfile();

    int version = 0;  // "ver", kept as read
    int currentProfile = 0;
    std::array<KeyProfile, kKeyProfileCount> keyProfiles{DefaultKeyProfile(), DefaultKeyProfile(),
                                                         DefaultKeyProfile(), DefaultKeyProfile()};
    std::array<ProfileSettings, kProfileCount> profiles{};
    std::array<std::array<LightingModeSettings, 14>, kProfileCount> lighting{};
};

// "btn_MouseKey_Click<index>".
std::string ButtonName(int index);
// The page button index of a button name, or -1 when the name is not one of the twenty.
int ButtonIndex(std::string_view name);

// The configuration file of a model folder.
std::filesystem::path MouseConfigPath(const std::filesystem::path& modelFolder);

// Reads `file` into `config`. When the file cannot be opened the document stays as it was. A parse error, a
// missing member or a member of the wrong type ends the load there: what was read before stays in the document,
// the error is traced and returned (naming the file). Surplus array elements (more profiles than the document
// has) are ignored. Values with a range are held to it: the current DPI level 0..7, the lighting mode 0..13,
// brightness, speed and direction (LightingModeSettings.h), the fire value, and the report rates to the
// widest model's indexes 0..6.
Status LoadMouseConfig(MouseConfig& config, const std::filesystem::path& file);
// The same from text already read (exchange files, fuzzing).
Status ParseMouseConfig(MouseConfig& config, std::string_view text);

// The document as file text: 4-space indent, keys in ascending order, four codes and four macro identities per
// button, three profiles and 3 x 14 lighting records; a DPI level's gear 0 is written as 1.
std::string MouseConfigText(const MouseConfig& config);
// Replaces `file` with MouseConfigText atomically.
Status SaveMouseConfig(const MouseConfig& config, const std::filesystem::path& file);

// Remembers the DPI texts of each profile's levels for the model's current chip ([ChipReset<chip>] profile<p>).
// Returns the first failure.
Status SaveDpiMemory(const MouseConfig& config, const DeviceFeature& feature);

// Saves the document to the model's file, then remembers the DPI texts of each profile's levels for the
// model's current chip. Returns the first failure.
Status SaveDocumentAndDpiMemory(const MouseConfig& config, const DeviceFeature& feature,
                                const std::filesystem::path& modelFolder);

// Sets the gear of each DPI level of profiles 0..2 from the DPI texts remembered for the chip under
// `keyPrefix` ("profile" or "profile_reset"): the first gear with that text, or the table's last gear when
// none has it. A profile without remembered texts is left as it is.
void RemapDpiLevels(MouseConfig& config, const DeviceFeature& feature, std::string_view keyPrefix);

// Switches off the DPI levels from `uiDpiLevelCount` to 7 of the current profile (the page offers fewer).
void ApplyLevelCount(MouseConfig& config, int uiDpiLevelCount);

// The label pass: sets each binding's default code from the model and its label from the function table, the
// macro document ("M:" + name) or the key names. A macro binding whose macro no longer exists reverts to the
// button's default function, unless the macro document could not be read (MacroLookup::Complete).
void ResolveKeyTexts(MouseConfig& config, const DeviceFeature& feature, const FunctionTable& functions,
                     const MacroLookup& macros, const KeyNames& keyNames);

}  // namespace mousecfg
