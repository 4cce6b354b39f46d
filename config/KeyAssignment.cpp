#include "config/KeyAssignment.h"

#include <algorithm>

#include "config/DeviceFeature.h"
#include "config/FunctionTable.h"
#include "config/MouseConfig.h"
#include "macro/KeyNames.h"
#include "macro/MacroStore.h"
#include "platform/TextEncoding.h"

namespace mousecfg {
namespace {

bool InRange(int profile, int button) {
    return profile >= 0 && profile < kProfileCount && button >= 0 && button < kPageButtonCount;
}

MacroRecord* FindMacro(MacroStore& macros, const KeyBinding& binding) {
    for (MacroGroup& group : macros.groups()) {
        if (group.guid != binding.groupGuid) {
            continue;
        }
        for (MacroRecord& macro : group.macros) {
            if (macro.guid == binding.macroGuid) {
                return &macro;
            }
        }
    }
    return nullptr;
}

void ReleaseMacro(MacroStore& macros, KeyBinding& binding) {
    if (IsUserMacroCode(binding.code)) {
        if (MacroRecord* macro = FindMacro(macros, binding)) {
            macro->bindKeys = std::max(macro->bindKeys - 1, 0);
        }
    }
    binding.groupGuid.clear();
    binding.macroGuid.clear();
}

}  // namespace

bool IsOnlyLeftClick(const MouseConfig& config, int profile, int button) {
    if (!InRange(profile, button)) {
        return false;
    }
    const auto& keys = config.keyProfiles[static_cast<size_t>(profile)];
    const auto edited = keys.find(ButtonName(button));
    if (edited == keys.end() || edited->second.code != kLeftClickCode) {
        return false;
    }
    return std::count_if(keys.begin(), keys.end(),
                         [](const auto& entry) { return entry.second.code == kLeftClickCode; }) == 1;
}

Status AssignFunction(MouseConfig& config, MacroStore& macros, int profile, int button, int code,
                      const FunctionTable& functions, const KeyNames& keyNames) {
    if (!InRange(profile, button)) {
        return Status::Error("no button " + std::to_string(button) + " in profile " + std::to_string(profile));
    }
    if (code < 0 || IsUserMacroCode(code)) {
        return Status::Error("function code " + std::to_string(code) + " is not a built-in function or key");
    }
    KeyBinding& binding = config.keyProfiles[static_cast<size_t>(profile)][ButtonName(button)];
    ReleaseMacro(macros, binding);
    binding.code = code;
    binding.text =
        code >= kFirstKeyCode ? keyNames.ItemKeyName(code - kFirstKeyCode) : functions.FunctionButtonText(code);
    return Status::Ok();
}

Status AssignMacro(MouseConfig& config, MacroStore& macros, int profile, int button, int g, int m) {
    if (!InRange(profile, button)) {
        return Status::Error("no button " + std::to_string(button) + " in profile " + std::to_string(profile));
    }
    auto& groups = macros.groups();
    if (g < 0 || static_cast<size_t>(g) >= groups.size() || m < 0 ||
        static_cast<size_t>(m) >= groups[static_cast<size_t>(g)].macros.size()) {
        return Status::Error("no macro " + std::to_string(m) + " in group " + std::to_string(g));
    }
    MacroGroup& group = groups[static_cast<size_t>(g)];
    MacroRecord& macro = group.macros[static_cast<size_t>(m)];
    KeyBinding& binding = config.keyProfiles[static_cast<size_t>(profile)][ButtonName(button)];
    const bool same =
        IsUserMacroCode(binding.code) && binding.groupGuid == group.guid && binding.macroGuid == macro.guid;
    if (!same) {
        ReleaseMacro(macros, binding);
        ++macro.bindKeys;
    }
    binding.code = kUserMacroCode;
    binding.text = "M:" + Utf16ToUtf8(macro.name);
    binding.groupGuid = group.guid;
    binding.macroGuid = macro.guid;
    return Status::Ok();
}

Status RebuildMacroBindings(MacroStore& macros, const MouseConfig& config, std::string_view deviceName) {
    const std::u16string device = Utf8ToUtf16(deviceName);
    for (MacroGroup& group : macros.groups()) {
        for (MacroRecord& macro : group.macros) {
            macro.bindings.erase(device);
        }
    }
    for (int p = 0; p < kProfileCount; ++p) {
        for (const auto& [name, binding] : config.keyProfiles[static_cast<size_t>(p)]) {
            if (!IsUserMacroCode(binding.code)) {
                continue;
            }
            if (MacroRecord* macro = FindMacro(macros, binding)) {
                macro->bindings[device].push_back(MacroBinding{"Profile" + std::to_string(p + 1), name});
            }
        }
    }
    for (MacroGroup& group : macros.groups()) {
        for (MacroRecord& macro : group.macros) {
            macro.bindKeys = 0;
            for (const auto& [owner, list] : macro.bindings) {
                macro.bindKeys += static_cast<int>(list.size());
            }
        }
    }
    macros.SaveAllMacros();
    return macros.SaveMacros();
}

}  // namespace mousecfg
