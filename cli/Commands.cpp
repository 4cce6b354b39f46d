#include "cli/Commands.h"

#include <charconv>

#include <nlohmann/json.hpp>

#include "cli/DeviceConnection.h"
#include "cli/DeviceDiscovery.h"
#include "device/FindDev.h"
#include "device/MacroStream.h"
#include "macro/MacroDataJson.h"
#include "platform/AtomicFile.h"

namespace mousecfg::cli {
namespace {

constexpr int kMacroSlotCount = 16;  // the mouse's macro slots

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

// "VVVV:PPPP" for every ID pair of the record.
std::string IdPairs(const DeviceRecord& record) {
    std::string text;
    for (size_t i = 0; i < record.productIds.size(); ++i) {
        char pair[32];
        const int vendor = i < record.vendorIds.size() ? record.vendorIds[i] : -1;
        std::snprintf(pair, sizeof pair, "%s%04X:%04X", text.empty() ? "" : ",", static_cast<unsigned>(vendor & 0xFFFF),
                      static_cast<unsigned>(record.productIds[i] & 0xFFFF));
        text += pair;
    }
    return text.empty() ? "-" : text;
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
    std::fprintf(out, "connection: %s\n", device.linkName().c_str());
    std::fprintf(out, "linked: %s\n", info->link != 0 ? "yes" : "no");
    std::fprintf(out, "battery: %d%%\n", percent);
    std::fprintf(out, "charging: %s\n", (info->battery & 0x80) != 0 ? "yes" : "no");
    std::fprintf(out, "variant: %d\n", info->variant);
    return kExitOk;
}

int RunDevices(const CliOptions& options, const std::filesystem::path& resRoot, std::FILE* out, std::FILE* err) {
    if (!options.args.empty()) {
        std::fprintf(err, "mousecfg-cli: devices takes no arguments\n");
        return kExitBadInput;
    }
    DeviceDiscovery discovery(options.target, resRoot, options.trace);
    FindDev& catalogue = discovery.catalogue();
    if (catalogue.Count() == 0) {
        std::fprintf(err, "mousecfg-cli: no device catalogue in %s (Home/Icons/Ndevice.zip; see --res)\n",
                     resRoot.string().c_str());
        return kExitFailed;
    }
    for (size_t index = 0; index < catalogue.Count(); ++index) {
        const DeviceRecord record = catalogue.Record(index);
        const std::string name = !record.name.empty() ? record.name : record.names.empty() ? "-" : record.names[0];
        std::fprintf(out, "%zu  %-8s  %s  %s  %s  %s\n", index, record.isUSB != 0 ? "cable" : "receiver",
                     IdPairs(record).c_str(), record.folder.empty() ? "-" : record.folder.c_str(), name.c_str(),
                     record.present ? "present" : "absent");
    }
    const std::string ble = catalogue.BleDeviceString();
    std::fprintf(out, "ble: %s\n", ble.empty() ? "-" : ble.c_str());
    return kExitOk;
}

int RunMacroWrite(DeviceConnection& device, const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    if (args.size() != 2) {
        std::fprintf(err, "mousecfg-cli: macro-write needs SLOT and FILE\n");
        return kExitBadInput;
    }
    const auto slot = ParseInt(args[0]);
    if (!slot || *slot < 0 || *slot >= kMacroSlotCount) {
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
    // The count as written, before it is narrowed to the block's 16 bits (where 65536 items would read as none).
    nlohmann::json num;
    if (macro["macData"].is_object() && macro["macData"].contains("num")) {
        num = macro["macData"]["num"];
    }
    if (num.is_number() && (num.get<double>() < 0 || num.get<double>() > MacroBlock::kMaxItems)) {
        std::fprintf(err, "mousecfg-cli: %s: a macro has at most %d items, not %s\n", args[1].c_str(),
                     MacroBlock::kMaxItems, num.dump().c_str());
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
