#include "config/MouseConfig.h"

#include <algorithm>
#include <charconv>

#include "config/DeviceFeature.h"
#include "config/FunctionTable.h"
#include "macro/KeyNames.h"
#include "macro/MacroLookup.h"
#include "platform/TextEncoding.h"

namespace mousecfg {
namespace {

constexpr const char* kMacroMissing = "Macro_Null";

// The label of a code that is not a macro: the function table for built-in codes, the key name for keys.
std::string PlainLabel(int code, const FunctionTable& functions, const KeyNames& keyNames) {
    if (code >= kFirstKeyCode) {
        return keyNames.ItemKeyName(code - kFirstKeyCode);
    }
    return functions.FunctionButtonText(code);
}

void ResolveBinding(KeyBinding& binding, const FunctionTable& functions, const MacroLookup& macros,
                    const KeyNames& keyNames) {
    if (binding.code < kFirstMacroCode) {
        binding.text = functions.FunctionButtonText(binding.code);
    } else if (binding.code <= kLastMacroCode) {
        const auto macro = macros.Find(binding.groupGuid, binding.macroGuid);
        binding.text = macro ? "M:" + Utf16ToUtf8(macro->name) : kMacroMissing;
        if (!macro && macros.Complete()) {
            // The macro was deleted: the button goes back to its default function. (While the macro document
            // cannot be read the macro may well exist: the binding is kept for when it can.)
            binding.code = binding.defaultCode;
            binding.text = PlainLabel(binding.code, functions, keyNames);
        }
    } else {
        binding.text = keyNames.ItemKeyName(binding.code - kFirstKeyCode);
    }
}

}  // namespace

MouseConfig::KeyProfile MouseConfig::DefaultKeyProfile() {
    KeyProfile profile;
    for (int i = 0; i < kPageButtonCount; ++i) {
        profile.emplace(ButtonName(i), KeyBinding{});
    }
    return profile;
}

std::string ButtonName(int index) { return std::string(kButtonNamePrefix) + std::to_string(index); }

int ButtonIndex(std::string_view name) {
    if (!name.starts_with(kButtonNamePrefix)) {
        return -1;
    }
    const std::string_view tail = name.substr(kButtonNamePrefix.size());
    int index = -1;
    const auto [end, error] = std::from_chars(tail.data(), tail.data() + tail.size(), index);
    if (error != std::errc() || end != tail.data() + tail.size() || index < 0 || index >= kPageButtonCount ||
        tail != std::to_string(index)) {
        return -1;
    }
    return index;
}

std::filesystem::path MouseConfigPath(const std::filesystem::path& modelFolder) {
    return modelFolder / "Config" / "MouseConfig.json";
}

Status SaveDpiMemory(const MouseConfig& config, const DeviceFeature& feature) {
    Status result = Status::Ok();
    for (int p = 0; p < kProfileCount; ++p) {
        std::vector<std::string> texts;
        for (const DpiLevel& level : config.profiles[static_cast<size_t>(p)].dpiLevels) {
            texts.push_back(feature.GearDpi(level.gear));
        }
        Status saved = feature.SaveProfileDpiValues(p, texts);
        if (result.ok() && !saved.ok()) {
            result = std::move(saved);
        }
    }
    return result;
}

Status SaveDocumentAndDpiMemory(const MouseConfig& config, const DeviceFeature& feature,
                                const std::filesystem::path& modelFolder) {
    Status result = SaveMouseConfig(config, MouseConfigPath(modelFolder));
    Status memory = SaveDpiMemory(config, feature);
    return result.ok() ? memory : result;
}

void RemapDpiLevels(MouseConfig& config, const DeviceFeature& feature, std::string_view keyPrefix) {
    const auto lastGear = feature.gearTable.LastGear();
    if (!lastGear) {
        return;
    }
    for (int p = 0; p < kProfileCount; ++p) {
        const auto texts = feature.LoadProfileDpiValues(keyPrefix, p);
        auto& levels = config.profiles[static_cast<size_t>(p)].dpiLevels;
        for (size_t j = 0; j < texts.size() && j < levels.size(); ++j) {
            levels[j].gear = feature.FindGearByDpi(texts[j]).value_or(*lastGear);
        }
    }
}

void ApplyLevelCount(MouseConfig& config, int uiDpiLevelCount) {
    if (config.currentProfile < 0 || config.currentProfile >= kProfileCount) {
        return;
    }
    auto& levels = config.profiles[static_cast<size_t>(config.currentProfile)].dpiLevels;
    for (int k = std::max(uiDpiLevelCount, 0); k < kDpiLevelCount; ++k) {
        levels[static_cast<size_t>(k)].enabled = 0;
    }
}

void ResolveKeyTexts(MouseConfig& config, const DeviceFeature& feature, const FunctionTable& functions,
                     const MacroLookup& macros, const KeyNames& keyNames) {
    for (auto& profile : config.keyProfiles) {
        for (auto& [name, binding] : profile) {
            const int index = ButtonIndex(name);
            binding.defaultCode = index >= 0 ? feature.keyDefaults[static_cast<size_t>(index)] : 0;
            ResolveBinding(binding, functions, macros, keyNames);
        }
    }
}

}  // namespace mousecfg
