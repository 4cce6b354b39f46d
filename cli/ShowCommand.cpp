// "show [--json]": the configuration of the connected device.
#include <nlohmann/json.hpp>

#include "cli/ConfigRun.h"
#include "cli/DeviceConnection.h"
#include "config/MouseSession.h"
#include "config/ReportRate.h"

namespace mousecfg::cli {
namespace {

using json = nlohmann::json;

std::string Hex(int colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour) & 0xFFFFFFu);
    return text;
}

// The page buttons the model has: its key map's buttons and the two wheel positions.
std::vector<int> ModelButtons(const DeviceFeature& feature) {
    std::vector<int> buttons;
    for (int b = 0; b < feature.keyCount && b < 16; ++b) {
        buttons.push_back(b);
    }
    buttons.push_back(16);
    buttons.push_back(17);
    return buttons;
}

json RateJson(const std::string& model, int index) {
    return {{"index", index}, {"code", RateCodeFromIndex(model, index)}};
}

json ProfileJson(const MouseSession& mouse, int p) {
    const MouseConfig& config = mouse.config();
    const DeviceFeature& feature = mouse.feature();
    const ProfileSettings& settings = config.profiles[static_cast<size_t>(p)];
    json levels = json::array();
    for (int k = 0; k < kDpiLevelCount; ++k) {
        const DpiLevel& level = settings.dpiLevels[static_cast<size_t>(k)];
        levels.push_back({{"level", k},
                          {"enabled", level.enabled != 0},
                          {"gear", level.gear},
                          {"dpi", feature.GearDpi(level.gear)},
                          {"colour", Hex(level.colour)}});
    }
    const int mode = config.lighting[static_cast<size_t>(p)][0].mode;
    const LightingModeSettings& record =
        config.lighting[static_cast<size_t>(p)][static_cast<size_t>(mode >= 0 && mode < kLightingModeCount ? mode : 0)];
    json colours = json::array();
    for (size_t k = 0; k < record.colours.size(); ++k) {
        colours.push_back(
            {{"slot", k}, {"colour", Hex(record.colours[k].colour)}, {"enabled", record.colours[k].enabled != 0}});
    }
    const auto code = feature.ledModeMap.find(static_cast<uint8_t>(mode));
    json buttons = json::array();
    for (int b : ModelButtons(feature)) {
        const KeyBinding& binding = config.keyProfiles[static_cast<size_t>(p)].at(ButtonName(b));
        json entry = {{"button", b}, {"name", ButtonName(b)}, {"code", binding.code}, {"label", binding.text}};
        if (!binding.macroGuid.empty()) {
            entry["macro"] = {{"group", binding.groupGuid}, {"macro", binding.macroGuid}};
        }
        buttons.push_back(std::move(entry));
    }
    return {{"profile", p},
            {"currentDpiLevel", settings.currentDpiLevel},
            {"fireValue", settings.fireValue},
            {"reportRate",
             {{"cable", RateJson(mouse.deviceName(), settings.usbRate)},
              {"receiver", RateJson(mouse.deviceName(), settings.dongleRate)},
              {"ble", RateJson(mouse.deviceName(), settings.bleRate)}}},
            {"dpiLevels", std::move(levels)},
            {"lighting",
             {{"mode", mode},
              {"modeName", feature.LedModeName(mode)},
              {"modeCode", code != feature.ledModeMap.end() ? code->second : 0},
              {"brightness", record.brightness},
              {"speed", record.speed},
              {"direction", record.direction},
              {"colours", std::move(colours)}}},
            {"buttons", std::move(buttons)}};
}

json ConfigurationJson(MouseSession& mouse, const std::string& link) {
    json profiles = json::array();
    for (int p = 0; p < kProfileCount; ++p) {
        profiles.push_back(ProfileJson(mouse, p));
    }
    const SensorOptions& o = mouse.options();
    return {{"device",
             {{"name", mouse.deviceName()},
              {"folder", mouse.modelFolder().filename().string()},
              {"link", link},
              {"chip", mouse.feature().chipNumber}}},
            {"currentProfile", mouse.config().currentProfile},
            {"profiles", std::move(profiles)},
            {"sensor",
             {{"SavePowerSelect", o.savePowerSelect},
              {"SleepTime", o.sleepTime},
              {"ShortPress", o.shortPress},
              {"LODHeight", o.lodHeight},
              {"StraightLineCorrectEn", o.straightLineCorrectEn},
              {"RippleCtrlEn", o.rippleCtrlEn},
              {"SmoothLineEn", o.smoothLineEn},
              {"MoveWakeEn", o.moveWakeEn},
              {"JitterCorrectEn", o.jitterCorrectEn},
              {"PDTime", o.pdTime}}}};
}

void PrintProfile(std::FILE* out, const json& profile, bool current) {
    std::fprintf(out, "profile %d%s\n", profile["profile"].get<int>(), current ? " (current)" : "");
    const json& rate = profile["reportRate"];
    std::fprintf(out, "  report rate index: cable %d, receiver %d, ble %d\n", rate["cable"]["index"].get<int>(),
                 rate["receiver"]["index"].get<int>(), rate["ble"]["index"].get<int>());
    std::fprintf(out, "  fire value: %d\n", profile["fireValue"].get<int>());
    const int currentLevel = profile["currentDpiLevel"].get<int>();
    std::fprintf(out, "  dpi levels (active %d):\n", currentLevel);
    for (const json& level : profile["dpiLevels"]) {
        std::fprintf(out, "    %d%s %-3s %6s  %s\n", level["level"].get<int>(),
                     level["level"].get<int>() == currentLevel ? "*" : " ", level["enabled"].get<bool>() ? "on" : "off",
                     level["dpi"].get<std::string>().c_str(), level["colour"].get<std::string>().c_str());
    }
    const json& light = profile["lighting"];
    std::fprintf(out, "  lighting: mode %d %s, brightness %d, speed %d, direction %d\n", light["mode"].get<int>(),
                 light["modeName"].get<std::string>().c_str(), light["brightness"].get<int>(),
                 light["speed"].get<int>(), light["direction"].get<int>());
    for (const json& colour : light["colours"]) {
        std::fprintf(out, "    colour %d: %s %s\n", colour["slot"].get<int>(),
                     colour["colour"].get<std::string>().c_str(), colour["enabled"].get<bool>() ? "on" : "off");
    }
    std::fprintf(out, "  buttons:\n");
    for (const json& button : profile["buttons"]) {
        std::fprintf(out, "    %2d  code %3d  %s\n", button["button"].get<int>(), button["code"].get<int>(),
                     button["label"].get<std::string>().c_str());
    }
}

void PrintText(std::FILE* out, const json& configuration) {
    const json& device = configuration["device"];
    std::fprintf(out, "device: %s\nmodel folder: %s\nlink: %s\nchip: %d\n", device["name"].get<std::string>().c_str(),
                 device["folder"].get<std::string>().c_str(), device["link"].get<std::string>().c_str(),
                 device["chip"].get<int>());
    const int current = configuration["currentProfile"].get<int>();
    for (const json& profile : configuration["profiles"]) {
        PrintProfile(out, profile, profile["profile"].get<int>() == current);
    }
    std::fprintf(out, "sensor options:\n");
    for (const auto& [key, value] : configuration["sensor"].items()) {
        std::fprintf(out, "  %s=%d\n", key.c_str(), value.get<int>());
    }
}

}  // namespace

int RunShow(const CommandContext& context) {
    const bool asJson = context.args.size() == 1 && context.args[0] == "--json";
    if (!context.args.empty() && !asJson) {
        std::fprintf(context.err, "mousecfg-cli: show takes only --json\n");
        return kExitBadInput;
    }
    const auto session = OpenConfiguration(context);
    if (!session) {
        return kExitFailed;
    }
    const json configuration = ConfigurationJson(session->mouse(), context.device.linkName());
    if (asJson) {
        std::fprintf(context.out, "%s\n", configuration.dump(4, ' ', false, json::error_handler_t::replace).c_str());
    } else {
        PrintText(context.out, configuration);
    }
    return kExitOk;
}

}  // namespace mousecfg::cli
