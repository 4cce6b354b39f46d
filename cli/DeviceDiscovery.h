#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/CliOptions.h"

namespace mousecfg {
class FindDev;
class HidBackend;
namespace sim {
class VirtualMouse;
}
}  // namespace mousecfg

namespace mousecfg::cli {

// The supported devices the tool can see: the catalogue of the resource folder, looked for among the system's
// HID devices, or among the virtual mouse's when simulating (plugged by cable or through the receiver; over BLE
// no HID device is plugged). Used from the tool's main thread only.
class DeviceDiscovery {
  public:
    // Loads the BLE device list and the catalogue below `resRoot`. With `trace` the catalogue's decryption
    // messages go to stderr, else nowhere. For real hardware the devices are those of `hardware` when given (it
    // must outlive the discovery; tests pass a virtual mouse's backend), else the system's through hidapi.
    DeviceDiscovery(Target target, const std::filesystem::path& resRoot, bool trace, HidBackend* hardware = nullptr);
    ~DeviceDiscovery();

    FindDev& catalogue() { return *catalogue_; }
    HidBackend& backend() { return *backend_; }
    // The device to talk to: record 0 (the cable device) when present, else record 1 (the receiver), else the
    // first other present record; nothing when none is present.
    std::optional<size_t> ChooseDevice() const;

  private:
    std::ostream silent_{nullptr};
    std::unique_ptr<sim::VirtualMouse> mouse_;
    std::unique_ptr<HidBackend> ownBackend_;
    HidBackend* backend_ = nullptr;  // ownBackend_, or the one given
    std::unique_ptr<FindDev> catalogue_;
};

}  // namespace mousecfg::cli
