#include "cli/Commands.h"

#include <charconv>

#include <nlohmann/json.hpp>

#include "cli/DeviceConnection.h"
#include "device/MacroStream.h"
#include "macro/MacroDataJson.h"
#include "platform/AtomicFile.h"

namespace mousecfg::cli {
namespace {

const char* ConnectionName(Target target) {
    switch (target) {
        case Target::SimCable: return "cable";
        case Target::SimReceiver: return "receiver";
        case Target::SimBle: return "ble";
        case Target::Hardware: break;
    }
    return "hid";
}

// The three device-information bytes: link state, battery (bit 7 charging), variant.
struct DeviceInfo {
    uint8_t link = 0;
    uint8_t battery = 0;
    uint8_t variant = 0;
};

std::optional<DeviceInfo> ReadDeviceInfo(DeviceConnection& device) {
    auto session = device.commands().Acquire();
    session->type = request::kReadDeviceInfo;
    if (session.DeviceRead() == 0) {
        return std::nullopt;
    }
    if (!device.overBle()) {
        return DeviceInfo{static_cast<uint8_t>(session->U32(0)), static_cast<uint8_t>(session->U32(4)),
                          static_cast<uint8_t>(session->U32(8))};
    }
    const auto reply = device.WaitForBleReply(request::kReadDeviceInfo);
    if (!reply) {
        return std::nullopt;
    }
    const uint8_t* d = reply->data() + 1 + CommandFrame::kDataAt;
    return DeviceInfo{d[0], d[1], d[2]};
}

std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int RunInfo(DeviceConnection& device, const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    if (!args.empty()) {
        std::fprintf(err, "mousecfg-cli: info takes no arguments\n");
        return kExitBadInput;
    }
    const auto info = ReadDeviceInfo(device);
    if (!info) {
        std::fprintf(err, "mousecfg-cli: the mouse did not answer the device-information request\n");
        return kExitFailed;
    }
    const int percent = std::min(info->battery & 0x7F, 100);
    std::fprintf(out, "connection: %s\n", ConnectionName(device.target()));
    std::fprintf(out, "linked: %s\n", info->link != 0 ? "yes" : "no");
    std::fprintf(out, "battery: %d%%\n", percent);
    std::fprintf(out, "charging: %s\n", (info->battery & 0x80) != 0 ? "yes" : "no");
    std::fprintf(out, "variant: %d\n", info->variant);
    return kExitOk;
}

int RunMacroWrite(DeviceConnection& device, const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    if (args.size() != 2) {
        std::fprintf(err, "mousecfg-cli: macro-write needs SLOT and FILE\n");
        return kExitBadInput;
    }
    const auto slot = ParseInt(args[0]);
    if (!slot || *slot < 0 || *slot > 255) {
        std::fprintf(err, "mousecfg-cli: SLOT must be a number from 0 to 15, not '%s'\n", args[0].c_str());
        return kExitBadInput;
    }
    const auto text = ReadWholeFile(args[1]);
    if (!text) {
        std::fprintf(err, "mousecfg-cli: %s\n", text.message().c_str());
        return kExitBadInput;
    }
    nlohmann::json macro;
    try {
        macro = nlohmann::json::parse(*text);
    } catch (const nlohmann::json::exception& error) {
        std::fprintf(err, "mousecfg-cli: %s is not valid JSON: %s\n", args[1].c_str(), error.what());
        return kExitBadInput;
    }
    if (!macro.is_object() || !macro.contains("macData")) {
        std::fprintf(err, "mousecfg-cli: %s holds no macro object with \"macData\"\n", args[1].c_str());
        return kExitBadInput;
    }
    const auto block = MacroBlockFromJson(macro["macData"]);
    if (!block) {
        std::fprintf(err, "mousecfg-cli: %s: bad \"macData\": %s\n", args[1].c_str(), block.message().c_str());
        return kExitBadInput;
    }

    auto session = device.commands().Acquire();
    session->type = request::kMacroData;
    session.request()[0] = static_cast<uint8_t>(*slot);
    MapItemCodes(*block).Serialize(std::span<uint8_t, MacroBlock::kSerializedSize>(
        &session.request()[DeviceRequest::kMacroBlockAt], MacroBlock::kSerializedSize));
    const int result = session.DeviceWrite();
    std::fprintf(out, "WriteMacro: %d\n", result);
    return result == 1 ? kExitOk : kExitFailed;
}

}  // namespace mousecfg::cli
