#pragma once

#include "platform/HidBackend.h"

namespace mousecfg {

// The system's HID interfaces through hidapi's hidraw backend. Enumeration lists every top-level collection
// with its usage page and usage; paths are the hidraw nodes ("/dev/hidraw3"), which the hot-plug monitor does
// not see: it reports the nodes' sysfs paths, which name the vendor and product IDs instead.
// Opening needs read and write permission on the node (a udev rule gives it to the seat's user); hidraw nodes
// are always opened for both, whatever `access` says. Thread-safe.
class HidapiBackend final : public HidBackend {
  public:
    HidapiBackend();

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::shared_ptr<HidHandle> Open(const std::string& path, HidAccess access) override;

    // How long one wait of a blocking read lasts before it looks whether its handle was closed: hidapi has no
    // way to wake a read, so a read without limit is a loop of such waits.
    static constexpr int kReadSliceMs = 200;
};

}  // namespace mousecfg
