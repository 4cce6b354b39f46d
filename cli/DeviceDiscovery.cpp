#include "cli/DeviceDiscovery.h"

#include <iostream>

#include "device/FindDev.h"
#include "platform/HidapiBackend.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"

namespace mousecfg::cli {

DeviceDiscovery::DeviceDiscovery(Target target, const std::filesystem::path& resRoot, bool trace,
                                 HidBackend* hardware) {
    if (target == Target::Hardware && hardware != nullptr) {
        backend_ = hardware;
    } else if (target == Target::Hardware) {
        ownBackend_ = std::make_unique<HidapiBackend>();
    } else {
        mouse_ = std::make_unique<sim::VirtualMouse>();
        auto backend = std::make_unique<sim::SimHidBackend>();
        if (target != Target::SimBle) {
            backend->Plug(target == Target::SimCable ? sim::SimAttachment::Cable : sim::SimAttachment::Receiver,
                          *mouse_);
        }
        ownBackend_ = std::move(backend);
    }
    if (ownBackend_) {
        backend_ = ownBackend_.get();
    }
    catalogue_ = std::make_unique<FindDev>(*backend_, resRoot);
    catalogue_->SetConsole(trace ? std::cerr : silent_);
    catalogue_->LoadBleList();
    catalogue_->LoadCatalogue();
}

DeviceDiscovery::~DeviceDiscovery() {
    // The records' handles go before the backend that made them.
    catalogue_.reset();
    ownBackend_.reset();
}

std::optional<size_t> DeviceDiscovery::ChooseDevice() const {
    for (size_t preferred : {size_t{0}, size_t{1}}) {
        if (catalogue_->IsPresent(preferred)) {
            return preferred;
        }
    }
    for (size_t index = 2; index < catalogue_->Count(); ++index) {
        if (catalogue_->IsPresent(index)) {
            return index;
        }
    }
    return std::nullopt;
}

}  // namespace mousecfg::cli
