// "set WHAT VALUES...": one change of the configuration, followed by the single apply run the pages request.
#include <algorithm>
#include <functional>
#include <utility>

#include "cli/ArgumentParsing.h"
#include "cli/ConfigRun.h"
#include "cli/DeviceConnection.h"
#include "config/ApplyMessages.h"
#include "config/KeyAssignment.h"
#include "config/MouseSession.h"
#include "config/ReportRate.h"
#include "config/TypedDpi.h"
#include "device/DeviceRequest.h"
#include "platform/TextEncoding.h"

namespace mousecfg::cli {
namespace {

using Args = std::vector<std::string>;

constexpr int kMaxBrightness = 5;
constexpr int kMaxSpeed = 5;
constexpr int kMaxDirection = 3;
constexpr int kMaxFire = 255;
constexpr int kLastKeyCode = 256 + 0xFF;

// What a change gives: the request type of the single run that carries it to the mouse, or its failure and the
// exit status that failure ends the tool with (a bad value is the user's; a file that cannot be written is not).
struct ChangeResult {
    ChangeResult(Result<int> requestType, int failure = kExitBadInput)  // NOLINT(google-explicit-constructor)
        : type(std::move(requestType)), failureStatus(failure) {}
    Result<int> type;
    int failureStatus;
};

// A change: checks its values, changes the document (or the settings file) and returns the request type of the
// single run that carries it to the mouse.
using Change = std::function<ChangeResult(MouseSession&, const Args&)>;

struct SetEntry {
    const char* name;
    size_t argc;
    Change change;
};

ProfileSettings& CurrentProfile(MouseSession& mouse) {
    return mouse.config().profiles[static_cast<size_t>(mouse.config().currentProfile)];
}

LightingModeSettings& CurrentLighting(MouseSession& mouse) {
    auto& records = mouse.config().lighting[static_cast<size_t>(mouse.config().currentProfile)];
    const int mode = records[0].mode;
    return records[static_cast<size_t>(mode >= 0 && mode < kLightingModeCount ? mode : 0)];
}

Result<int> Level(MouseSession& mouse, const std::string& text) {
    return ParseNumber(text, 0, std::clamp(mouse.feature().uiDpiLevelCount, 1, kDpiLevelCount) - 1, "LEVEL");
}

Result<int> SetDpi(MouseSession& mouse, const Args& args) {
    const auto level = Level(mouse, args[0]);
    if (!level) {
        return level.status();
    }
    const auto gear = GearForTypedDpi(mouse.feature(), args[1]);
    if (!gear) {
        return Status::Error("DPI must be a positive whole number, not '" + args[1] + "'");
    }
    CurrentProfile(mouse).dpiLevels[static_cast<size_t>(*level)].gear = *gear;
    return request::kDpiTable;
}

Result<int> SetDpiEnable(MouseSession& mouse, const Args& args) {
    const auto level = Level(mouse, args[0]);
    const auto on = ParseSwitch(args[1], "the level's state");
    if (!level || !on) {
        return !level ? level.status() : on.status();
    }
    CurrentProfile(mouse).dpiLevels[static_cast<size_t>(*level)].enabled = *on ? 1 : 0;
    return request::kDpiTable;
}

Result<int> SetDpiColour(MouseSession& mouse, const Args& args) {
    const auto level = Level(mouse, args[0]);
    const auto colour = ParseColour(args[1], "COLOUR");
    if (!level || !colour) {
        return !level ? level.status() : colour.status();
    }
    CurrentProfile(mouse).dpiLevels[static_cast<size_t>(*level)].colour = *colour;
    return request::kDpiColours;
}

Result<int> SetActiveDpi(MouseSession& mouse, const Args& args) {
    const auto level = Level(mouse, args[0]);
    if (!level) {
        return level.status();
    }
    CurrentProfile(mouse).currentDpiLevel = *level;
    return request::kDpiTable;
}

Result<int> SetRate(MouseSession& mouse, const Args& args) {
    const int max = mouse.link() == LinkKind::Ble ? 0 : MaxRateIndex(mouse.deviceName());
    const auto index = ParseNumber(args[0], 0, max, "INDEX");
    if (!index) {
        return index.status();
    }
    ProfileSettings& profile = CurrentProfile(mouse);
    (mouse.link() == LinkKind::Receiver ? profile.dongleRate
     : mouse.link() == LinkKind::Ble    ? profile.bleRate
                                        : profile.usbRate) = *index;
    return request::kReportRate;
}

// A lighting mode by index or by the name the model gives it.
Result<int> SetLightMode(MouseSession& mouse, const Args& args) {
    const auto& map = mouse.feature().ledModeMap;
    int mode = -1;
    for (const auto& [index, code] : map) {
        const std::string name = mouse.feature().LedModeName(index);
        const bool named = !name.empty() && ToAsciiLower(name) == ToAsciiLower(args[0]);
        if (code != 0 && (args[0] == std::to_string(index) || named)) {
            mode = index;
        }
    }
    if (mode < 0) {
        return Status::Error("MODE must be a lighting mode of the model (see show), not '" + args[0] + "'");
    }
    mouse.config().lighting[static_cast<size_t>(mouse.config().currentProfile)][0].mode = mode;
    return request::kLightEffect;
}

Change LightingNumber(int LightingModeSettings::*field, int min, int max, const char* what) {
    return [=](MouseSession& mouse, const Args& args) -> Result<int> {
        const auto value = ParseNumber(args[0], min, max, what);
        if (!value) {
            return value.status();
        }
        CurrentLighting(mouse).*field = *value;
        return request::kLightEffect;
    };
}

Result<int> SetLightColour(MouseSession& mouse, const Args& args) {
    const auto slot = ParseNumber(args[0], 0, kLedColourCount - 1, "SLOT");
    const auto colour = ParseColour(args[1], "COLOUR");
    if (!slot || !colour) {
        return !slot ? slot.status() : colour.status();
    }
    CurrentLighting(mouse).colours[static_cast<size_t>(*slot)].colour = *colour;
    return request::kLightEffect;
}

Result<int> SetLightColourEnable(MouseSession& mouse, const Args& args) {
    const auto slot = ParseNumber(args[0], 0, kLedColourCount - 1, "SLOT");
    const auto on = ParseSwitch(args[1], "the slot's state");
    if (!slot || !on) {
        return !slot ? slot.status() : on.status();
    }
    auto& colours = CurrentLighting(mouse).colours;
    const auto enabled =
        std::count_if(colours.begin(), colours.end(), [](const LedColour& c) { return c.enabled != 0; });
    if (!*on && colours[static_cast<size_t>(*slot)].enabled != 0 && enabled == 1) {
        return Status::Error("at least one colour of the mode stays on");
    }
    colours[static_cast<size_t>(*slot)].enabled = *on ? 1 : 0;
    return request::kLightEffect;
}

Result<int> SetButton(MouseSession& mouse, const Args& args) {
    const auto button = ParseButton(args[0], mouse.feature().keyCount);
    const auto code = ParseNumber(args[1], 0, kLastKeyCode, "CODE");
    if (!button || !code) {
        return !button ? button.status() : code.status();
    }
    const int profile = mouse.config().currentProfile;
    if (*code != kLeftClickCode && IsOnlyLeftClick(mouse.config(), profile, *button)) {
        return Status::Error("button " + args[0] + " is the only left click of the profile and keeps it");
    }
    const Status assigned =
        AssignFunction(mouse.config(), mouse.macros(), profile, *button, *code, mouse.functions(), mouse.keyNames());
    if (!assigned) {
        return assigned;
    }
    mouse.applyState().editedButton = *button;
    return *button >= 16 ? request::kExtraKeyAssignment : request::kKeyAssignment;
}

Result<int> SetFire(MouseSession& mouse, const Args& args) {
    const auto value = ParseNumber(args[0], 0, kMaxFire, "VALUE");
    if (!value) {
        return value.status();
    }
    CurrentProfile(mouse).fireValue = *value == 0 ? 2 : *value;  // as the fire slider: 0 is taken as 2
    mouse.applyState().fireRefresh = true;
    return request::kKeyAssignment;
}

// A sensor option: written to [Set] at once, then relayed as the main window relays the page's message (which
// sets the pending flag and names the apply item). Switches take on/off, the others a number in their range.
Change Option(std::string_view key, OptionRange range, bool isSwitch, uint32_t message) {
    return [=](MouseSession& mouse, const Args& args) -> ChangeResult {
        Result<int> value = Status::Ok();
        if (isSwitch) {
            const auto on = ParseSwitch(args[0], "VALUE");
            value = on ? Result<int>(*on ? 1 : 0) : Result<int>(on.status());
        } else {
            value = ParseNumber(args[0], range.min, range.max, "VALUE");
        }
        if (!value) {
            return value;
        }
        const Status written = mouse.SetSensorOption(key, *value);
        if (!written) {
            return {Result<int>(Status::Error(written.message() + " (nothing was sent to the mouse)")), kExitFailed};
        }
        const std::optional<int> item = mouse.RelayItem(message);
        return item ? Result<int>(*item) : Result<int>(Status::Error("an apply run is under way"));
    };
}

const std::vector<SetEntry>& Entries() {
    using namespace sensor_key;
    constexpr OptionRange kSwitch{0, 1};
    constexpr bool kOnOff = true;
    constexpr bool kValue = false;
    static const std::vector<SetEntry> entries = {
        {"dpi", 2, SetDpi},
        {"dpi-enable", 2, SetDpiEnable},
        {"dpi-colour", 2, SetDpiColour},
        {"active-dpi", 1, SetActiveDpi},
        {"rate", 1, SetRate},
        {"light-mode", 1, SetLightMode},
        {"brightness", 1, LightingNumber(&LightingModeSettings::brightness, 1, kMaxBrightness, "BRIGHTNESS")},
        {"speed", 1, LightingNumber(&LightingModeSettings::speed, 1, kMaxSpeed, "SPEED")},
        {"direction", 1, LightingNumber(&LightingModeSettings::direction, 0, kMaxDirection, "DIRECTION")},
        {"light-colour", 2, SetLightColour},
        {"light-colour-enable", 2, SetLightColourEnable},
        {"button", 2, SetButton},
        {"fire", 1, SetFire},
        {"power-save", 1, Option(kSavePowerSelect, kSwitch, kOnOff, msg::kSavePowerChanged)},
        {"sleep-time", 1, Option(kSleepTime, kSleepTimeRange, kValue, msg::kSleepTimeChanged)},
        {"pd-time", 1, Option(kPdTime, kPdTimeRange, kValue, msg::kPowerDownTimeChanged)},
        {"short-press", 1, Option(kShortPress, kShortPressRange, kValue, msg::kShortPressChanged)},
        {"lod", 1, Option(kLodHeight, kSwitch, kValue, msg::kLiftOffChanged)},
        {"straight-line", 1, Option(kStraightLine, kSwitch, kOnOff, msg::kSensorFlagsChanged)},
        {"ripple", 1, Option(kRipple, kSwitch, kOnOff, msg::kSensorFlagsChanged)},
        {"smooth-line", 1, Option(kSmoothLine, kSwitch, kOnOff, msg::kSensorFlagsChanged)},
        {"jitter", 1, Option(kJitter, kSwitch, kOnOff, msg::kSensorFlagsChanged)},
        {"move-wake", 1, Option(kMoveWake, kSwitch, kOnOff, msg::kMoveWakeChanged)},
    };
    return entries;
}

}  // namespace

int RunSet(const CommandContext& context) {
    const Args& args = context.args;
    const auto entry = std::find_if(Entries().begin(), Entries().end(), [&](const SetEntry& e) {
        return !args.empty() && (args[0] == e.name || (args[0] == "dpi-color" && std::string(e.name) == "dpi-colour") ||
                                 (args[0] == "light-color" && std::string(e.name) == "light-colour"));
    });
    if (entry == Entries().end() || args.size() != entry->argc + 1) {
        std::fprintf(context.err, "mousecfg-cli: set needs one of its settings with its values (try --help)\n");
        return kExitBadInput;
    }
    const auto session = OpenConfiguration(context);
    if (!session) {
        return kExitFailed;
    }
    MouseSession& mouse = session->mouse();
    const ChangeResult changed = entry->change(mouse, Args(args.begin() + 1, args.end()));
    if (!changed.type) {
        std::fprintf(context.err, "mousecfg-cli: %s\n", changed.type.message().c_str());
        return changed.failureStatus;
    }
    if (const int status = SaveBeforeRun(*session, context); status != kExitOk) {
        return status;
    }
    mouse.DocumentChanged();
    mouse.RequestApply(*changed.type, false);
    return FinishRun(*session, context);
}

}  // namespace mousecfg::cli
