#include "app/DeviceLink.h"

#include <nlohmann/json.hpp>
#include <cstdio>
#include <map>
#include <sstream>

#include "device/BleLink.h"
#include "device/CommandFrame.h"
#include "device/CommandSet.h"
#include "device/FindDev.h"
#include "device/NodeAccess.h"
#include "device/ReportTransport.h"
#include "platform/AtomicFile.h"
#include "platform/HidapiBackend.h"
#include "platform/Trace.h"
#include "platform/UdevMonitor.h"
#include "sim/SimBleLink.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"

namespace mousecfg::app {
namespace {

// The button the virtual mouse's DPI and profile buttons are (page button 3, which the model maps).
constexpr int kFunctionButton = 2;

}  // namespace

DeviceLink::DeviceLink(Simulation simulation, const std::filesystem::path& resourceFolder) : simulation_(simulation) {
    HidBackend* backend = nullptr;
    if (simulation == Simulation::None) {
        hidapi_ = std::make_unique<HidapiBackend>();
        backend = hidapi_.get();
        transport_ = std::make_unique<ReportTransport>();
        BleLinkCreation ble = CreatePlatformBleLink(*hidapi_);
        platformBle_ = std::move(ble.link);
        transport_->SetBleLink(platformBle_.get(), ble.status);
    } else {
        // The virtual mouse answers at once: its transport does not wait.
        transport_ = std::make_unique<ReportTransport>(PacingValues::Zero());
        mouse_ = std::make_unique<sim::VirtualMouse>();
        simBackend_ = std::make_unique<sim::SimHidBackend>();
        backend = simBackend_.get();
        if (simulation == Simulation::Ble) {
            simBle_ = std::make_unique<sim::SimBleLink>(*mouse_);
            transport_->SetBleLink(simBle_.get(), kS_OK);
        } else {
            simBackend_->Plug(simulation == Simulation::Cable ? sim::SimAttachment::Cable : sim::SimAttachment::Receiver,
                              *mouse_);
            transport_->SetBleLink(nullptr, kClassNotRegistered);
        }
    }
    commands_ = std::make_unique<CommandSet>(*transport_);
    catalogue_ = std::make_unique<FindDev>(*backend, resourceFolder);
    catalogue_->SetConsole(silent_);
}

DeviceLink::~DeviceLink() {
    StopDeviceChanges();
    // The BLE link posts from its own thread, and the records' handles go before the backend that made them.
    simBle_.reset();
    catalogue_.reset();
    commands_.reset();
    transport_.reset();
}

void DeviceLink::StartDeviceChanges(MessageSink& window) {
    if (simBackend_) {
        simBackend_->SetDeviceChangeSink(&window);
        return;
    }
    udev_ = std::make_unique<UdevMonitor>(window);
    if (const Status status = udev_->Start(); !status) {
        trace::Printf("device changes are not followed: %s\n", status.message().c_str());
    }
}

void DeviceLink::StopDeviceChanges() {
    if (simBackend_) {
        simBackend_->SetDeviceChangeSink(nullptr);
    }
    if (udev_) {
        udev_->Stop();
        udev_.reset();
    }
    // The BLE link posts to the window from threads of its own: it ends with the window's device changes.
    if (platformBle_) {
        transport_->SetBleLink(nullptr, kClassNotRegistered);
        platformBle_.reset();
    }
}

std::string DeviceLink::SimCommand(const std::string& command) {
    if (!mouse_) {
        return "error: the program does not run against the virtual mouse (start it with --simulate)";
    }
    std::istringstream words(command);
    std::string verb;
    std::string argument;
    std::string extra;
    words >> verb >> argument >> extra;
    const int number = std::atoi(argument.c_str());
    if ((verb == "dpi-button" && number >= 1 && number <= 8) || (verb == "profile-button" && number >= 0 && number <= 3)) {
        mouse_->SetButton(kFunctionButton, true);
        verb == "dpi-button" ? mouse_->SetDpiLevelNumber(static_cast<uint8_t>(number))
                             : mouse_->SetActiveProfile(static_cast<uint8_t>(number));
        mouse_->SetButton(kFunctionButton, false);
    } else if (verb == "button" && number >= 0 && number <= 15 && (extra == "down" || extra == "up")) {
        mouse_->SetButton(number, extra == "down");
    } else if ((verb == "plug" || verb == "unplug") && (argument == "cable" || argument == "receiver") && simBackend_) {
        const auto attachment = argument == "cable" ? sim::SimAttachment::Cable : sim::SimAttachment::Receiver;
        verb == "plug" ? static_cast<void>(simBackend_->Plug(attachment, *mouse_))
                       : static_cast<void>(simBackend_->Unplug(attachment));
    } else if (verb == "link" && (argument == "on" || argument == "off")) {
        mouse_->SetDeliveryEnabled(argument == "on");
    } else if (verb == "battery" && !argument.empty() && number >= 0 && number <= 100) {
        sim::MouseStatus status = mouse_->Status();
        status.battery = static_cast<uint8_t>(number);
        status.charging = extra == "charging";
        mouse_->SetStatus(status);
    } else if (verb == "dump" && !argument.empty()) {
        return DumpState(argument);
    } else {
        return "error: unknown command '" + command + "'";
    }
    return "ok";
}

std::optional<std::string> DeviceLink::AccessProblem() const {
    if (!hidapi_) {
        return std::nullopt;
    }
    const std::optional<UnreadableDevice> device = FindUnreadableDevice(*catalogue_, *hidapi_);
    return device ? std::optional<std::string>(UnreadableDeviceMessage(*device)) : std::nullopt;
}

std::string DeviceLink::DumpState(const std::filesystem::path& file) const {
    nlohmann::json state;
    const sim::MouseStatus status = mouse_->Status();
    state["status"] = {{"linked", status.linked}, {"battery", status.battery}, {"charging", status.charging}};
    const sim::SystemMemory system = mouse_->System();
    state["activeProfile"] = system.activeProfile;
    state["profileTags"] = system.profileTags;
    state["sleepSeconds"] = system.sleepSeconds;
    state["powerDownSeconds"] = system.powerDownSeconds;
    std::map<std::string, int> frames;
    for (const sim::FrameLogEntry& entry : mouse_->Log()) {
        if (entry.direction == sim::FrameLogEntry::Direction::Received) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", entry.report[CommandFrame::kCodeAt + 1]);
            ++frames[code];
        }
    }
    state["framesReceived"] = frames;
    const sim::ProfileMemory profile = mouse_->Profile(system.activeProfile);
    state["dpiTable"] = profile.dpiTable;
    // The four bytes of each key slot and extra key slot (wheel up, wheel down, ...) of the active profile.
    state["keys"] = profile.keys;
    state["extraKeys"] = profile.extraKeys;
    // The macro slots of the active profile that were written, as hexadecimal bytes ("01 00 02 00 04 14").
    nlohmann::json macros = nlohmann::json::object();
    for (int slot = 0; slot < sim::kMacroSlots; ++slot) {
        std::string hex;
        for (int i = 0; i < profile.macroBytesWritten[static_cast<size_t>(slot)]; ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", profile.macros[static_cast<size_t>(slot)][static_cast<size_t>(i)]);
            hex += byte;
        }
        if (!hex.empty()) {
            macros[std::to_string(slot)] = hex;
        }
    }
    state["macros"] = std::move(macros);
    // The settings the advanced and lighting pages write: the active profile's rate code, DPI colours (as sent:
    // green, red, blue) and lighting (header record and the record of its mode), and the system settings.
    state["reportRate"] = profile.reportRate;
    state["dpiColours"] = profile.dpiColours;
    const int mode = profile.light[0][0] & 0x0F;
    state["lightHeader"] = profile.light[0];
    state["lightEffect"] = profile.light[static_cast<size_t>(mode >= 1 && mode < sim::kLightRecords ? mode : 0)];
    state["sleepSeconds"] = system.sleepSeconds;
    state["sensorFlags"] = system.sensorFlags;
    state["liftOff"] = system.liftOff;
    state["deviceOptions"] = system.deviceOptions;
    const Status written = WriteFileAtomically(file, state.dump(4) + "\n");
    return written ? "ok" : "error: " + written.message();
}

}  // namespace mousecfg::app
