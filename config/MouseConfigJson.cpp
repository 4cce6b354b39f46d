// Reading and writing the configuration document's file format.
#include <algorithm>

#include <nlohmann/json.hpp>

#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"
#include "config/ReportRate.h"
#include "platform/AtomicFile.h"
#include "platform/JsonNumbers.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;

constexpr const char* kDpiLevelKey = "ctrl_MouseAdv_Dpi";
constexpr const char* kLedColourKey = "ctrl_MouseLed_Col";

int Number(const json& value) { return NarrowNumber<int32_t>(value); }
int Member(const json& object, const std::string& key) { return NarrowNumber<int32_t>(object.at(key)); }

// A member held to [min, max]: a value beyond the range, however large, is read as the nearest end, so that it
// never wraps into another value on its way to the mouse.
int Clamped(const json& object, const std::string& key, int min, int max) {
    const json& value = object.at(key);
    int64_t wide = 0;
    if (value.is_number_unsigned()) {
        const uint64_t number = value.get<uint64_t>();
        wide = number > static_cast<uint64_t>(max) ? max : static_cast<int64_t>(number);
    } else {
        wide = NarrowNumber<int64_t>(value);  // floating-point numbers are held at the 64-bit ends
    }
    return static_cast<int>(std::clamp<int64_t>(wide, min, max));
}

void ReadKeys(MouseConfig& config, const json& root) {
    for (const auto& [name, codes] : root.at("mousekey").items()) {
        const size_t count = std::min<size_t>(codes.size(), kKeyProfileCount);
        for (size_t i = 0; i < count; ++i) {
            auto found = config.keyProfiles[i].find(name);
            if (found != config.keyProfiles[i].end()) {
                found->second.code = Number(codes.at(i));
            }
        }
    }
    for (const auto& [name, macros] : root.at("mousekeyMacro").items()) {
        const size_t count = std::min<size_t>(macros.size(), kKeyProfileCount);
        for (size_t i = 0; i < count; ++i) {
            auto found = config.keyProfiles[i].find(name);
            if (found != config.keyProfiles[i].end()) {
                found->second.groupGuid = macros.at(i).at("grpGuid").get<std::string>();
                found->second.macroGuid = macros.at(i).at("macGuid").get<std::string>();
            }
        }
    }
}

void ReadProfiles(MouseConfig& config, const json& root) {
    const json& adv = root.at("mouseadv");
    const size_t count = std::min<size_t>(adv.size(), kProfileCount);
    for (size_t p = 0; p < count; ++p) {
        const json& element = adv.at(p);
        ProfileSettings& profile = config.profiles[p];
        profile.currentDpiLevel = Clamped(element, "cruseldpi", 0, kDpiLevelCount - 1);
        profile.fireValue = Clamped(element, "firevalue", 0, kMaxFireValue);
        // Rates are held to the widest model's table here; LoadDevice holds them to the model's own.
        profile.usbRate = Clamped(element, "rateusbvalue", 0, kMaxRateIndexOfAnyModel);
        // Files of older versions lack the receiver and BLE rates: those keep the values in memory.
        if (element.contains("ratedonglevalue")) {
            profile.dongleRate = Clamped(element, "ratedonglevalue", 0, kMaxRateIndexOfAnyModel);
        }
        if (element.contains("rateblevalue")) {
            profile.bleRate = Clamped(element, "rateblevalue", 0, kMaxRateIndexOfAnyModel);
        }
        for (int k = 0; k < kDpiLevelCount; ++k) {
            const json& level = element.at(kDpiLevelKey + std::to_string(k));
            profile.dpiLevels[static_cast<size_t>(k)] = {Number(level.at(0)), Number(level.at(1)),
                                                         Number(level.at(2))};
        }
    }
}

void ReadLighting(MouseConfig& config, const json& root) {
    const json& led = root.at("mouseled");
    const size_t count = std::min<size_t>(led.size(), kProfileCount);
    for (size_t p = 0; p < count; ++p) {
        for (size_t m = 0; m < config.lighting[p].size(); ++m) {
            const json& element = led.at(p).at(m);
            LightingModeSettings& record = config.lighting[p][m];
            for (int k = 0; k < kLedColourCount; ++k) {
                const json& colour = element.at(kLedColourKey + std::to_string(k));
                record.colours[static_cast<size_t>(k)] = {Number(colour.at(0)), Number(colour.at(1))};
            }
            record.brightness = Clamped(element, "brightnessvalue", 0, kMaxBrightnessValue);
            record.mode = Clamped(element, "curselmode", 0, kLightingModeCount - 1);
            record.direction = Clamped(element, "directionsel", 0, kMaxDirectionValue);
            record.speed = Clamped(element, "frequencyvalue", 0, kMaxSpeedValue);
        }
    }
}

void ReadDocument(MouseConfig& config, const json& document) {
    const json& root = document.at("mouseconfig");
    config.keyProfiles.fill(MouseConfig::DefaultKeyProfile());
    ReadKeys(config, root);
    ReadProfiles(config, root);
    ReadLighting(config, root);
    const json& main = root.at("mousemain");
    config.version = Member(main, "ver");
    const int current = Member(main, "curporfile");
    config.currentProfile = current < 0 || current >= kProfileCount ? 0 : current;
}

json KeysJson(const MouseConfig& config, json& macros) {
    json keys = json::object();
    macros = json::object();
    for (const auto& [name, first] : config.keyProfiles[0]) {
        json codes = json::array();
        json identities = json::array();
        for (const auto& profile : config.keyProfiles) {
            const auto found = profile.find(name);
            const KeyBinding binding = found != profile.end() ? found->second : KeyBinding{};
            codes.push_back(binding.code);
            identities.push_back({{"grpGuid", binding.groupGuid}, {"macGuid", binding.macroGuid}});
        }
        keys[name] = std::move(codes);
        macros[name] = std::move(identities);
    }
    return keys;
}

json ProfilesJson(const MouseConfig& config) {
    json adv = json::array();
    for (const ProfileSettings& profile : config.profiles) {
        json element = {{"cruseldpi", profile.currentDpiLevel},  {"firevalue", profile.fireValue},
                        {"rateusbvalue", profile.usbRate},       {"ratedonglevalue", profile.dongleRate},
                        {"rateblevalue", profile.bleRate}};
        for (int k = 0; k < kDpiLevelCount; ++k) {
            const DpiLevel& level = profile.dpiLevels[static_cast<size_t>(k)];
            // Gear numbers start at 1: a level never given a gear is stored with the first.
            element[kDpiLevelKey + std::to_string(k)] = {level.enabled, level.gear == 0 ? 1 : level.gear,
                                                         level.colour};
        }
        adv.push_back(std::move(element));
    }
    return adv;
}

json LightingJson(const MouseConfig& config) {
    json led = json::array();
    for (const auto& records : config.lighting) {
        json profile = json::array();
        for (const LightingModeSettings& record : records) {
            json element = {{"curselmode", record.mode},
                            {"brightnessvalue", record.brightness},
                            {"frequencyvalue", record.speed},
                            {"directionsel", record.direction}};
            for (int k = 0; k < kLedColourCount; ++k) {
                const LedColour& colour = record.colours[static_cast<size_t>(k)];
                element[kLedColourKey + std::to_string(k)] = {colour.colour, colour.enabled};
            }
            profile.push_back(std::move(element));
        }
        led.push_back(std::move(profile));
    }
    return led;
}

}  // namespace

Status ParseMouseConfig(MouseConfig& config, std::string_view text) {
    try {
        ReadDocument(config, json::parse(text));
        return Status::Ok();
    } catch (const json::exception& error) {
        trace::Printf("%s\n", error.what());
        return Status::Error(error.what());
    }
}

Status LoadMouseConfig(MouseConfig& config, const std::filesystem::path& file) {
    const Result<std::string> text = ReadWholeFile(file);
    if (!text) {
        return text.status();
    }
    const Status parsed = ParseMouseConfig(config, *text);
    return parsed ? parsed : Status::Error(file.string() + ": " + parsed.message());
}

std::string MouseConfigText(const MouseConfig& config) {
    json macros;
    json keys = KeysJson(config, macros);
    const json document = {
        {"mouseconfig",
         {{"mousekey", std::move(keys)},
          {"mousekeyMacro", std::move(macros)},
          {"mouseadv", ProfilesJson(config)},
          {"mouseled", LightingJson(config)},
          {"mousemain", {{"ver", config.version}, {"curporfile", config.currentProfile}}}}}};
    // Texts that are not valid UTF-8 (never produced by the program) are written with replacement characters
    // rather than failing the whole save.
    return document.dump(4, ' ', false, json::error_handler_t::replace);
}

Status SaveMouseConfig(const MouseConfig& config, const std::filesystem::path& file) {
    return WriteFileAtomically(file, MouseConfigText(config));
}

}  // namespace mousecfg
