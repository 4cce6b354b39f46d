#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/CommandLine.h"

namespace mousecfg {
class BleLink;
class CommandSet;
class FindDev;
class HidBackend;
class MessageSink;
class ReportTransport;
class UdevMonitor;
namespace sim {
class SimBleLink;
class SimHidBackend;
class VirtualMouse;
}  // namespace sim
}  // namespace mousecfg

namespace mousecfg::app {

// The device side of the program: the HID backend (the system's hidapi devices, or a virtual mouse attached by
// cable or receiver), the BLE link (a mouse paired over BLE through its hidraw node, or the virtual mouse's), the
// catalogue, the transport and the command set, and the device-change notification (udev, or the virtual mouse's
// plugging).
// UI thread, except where the parts themselves say otherwise.
class DeviceLink {
public:
    DeviceLink(Simulation simulation, const std::filesystem::path& resourceFolder);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    FindDev& Catalogue() { return *catalogue_; }
    CommandSet& Commands() { return *commands_; }
    ReportTransport& Transport() { return *transport_; }
    Simulation GetSimulation() const { return simulation_; }
    sim::VirtualMouse* VirtualMouse() { return mouse_.get(); }

    // Device changes go to `window` from now on. A failure to reach udev is traced; the program runs on without
    // hot-plug then.
    void StartDeviceChanges(MessageSink& window);
    // Stops the device changes and ends the system's BLE link, which would post to the window otherwise.
    void StopDeviceChanges();

    // A command for the virtual mouse, as a second start hands it over (mousecfg --sim-command TEXT):
    //   dpi-button LEVEL       press and release the DPI button, the mouse going to DPI level LEVEL (1..8)
    //   profile-button N       the same for the profile button, to profile N (0..3)
    //   button N down|up       mouse button N (0..15)
    //   plug|unplug cable|receiver
    //   link on|off            the mouse behind the receiver links or unlinks
    //   battery PERCENT [charging]
    //   dump FILE              write the mouse's state as JSON to FILE (link, battery, profile tags, frames received,
    //                          and of the active profile the DPI table, the key slots, the extra key slots, the
    //                          written macro slots in hex, the report rate, DPI colours, lighting records and
    //                          system settings)
    // Returns "ok", or a line starting with "error:".
    std::string SimCommand(const std::string& command);

    // When no device of the catalogue is present but one is plugged in whose node this user may not open: what to
    // tell the user about it (device/NodeAccess.h). Nothing otherwise, and always nothing for the virtual mouse.
    std::optional<std::string> AccessProblem() const;

private:
    std::string DumpState(const std::filesystem::path& file) const;

    Simulation simulation_;
    std::ostream silent_{nullptr};  // where the catalogue's console texts go: a windowed program has no console
    std::unique_ptr<sim::VirtualMouse> mouse_;
    std::unique_ptr<sim::SimHidBackend> simBackend_;
    std::unique_ptr<sim::SimBleLink> simBle_;
    std::unique_ptr<BleLink> platformBle_;
    std::unique_ptr<HidBackend> hidapi_;
    std::unique_ptr<ReportTransport> transport_;
    std::unique_ptr<CommandSet> commands_;
    std::unique_ptr<FindDev> catalogue_;
    std::unique_ptr<UdevMonitor> udev_;
};

}  // namespace mousecfg::app
