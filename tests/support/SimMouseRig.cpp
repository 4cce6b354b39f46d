#include "tests/support/SimMouseRig.h"

#include <stdexcept>

#include "device/BleRegistration.h"
#include "device/DeviceMessages.h"
#include "sim/SimBleLink.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"

namespace mousecfg::test {

SimMouseRig::SimMouseRig(RigLink link, Pacer* pacer, PacingValues pacing)
    : link_(link),
      mouse_(std::make_unique<sim::VirtualMouse>()),
      window_(std::make_unique<MessageQueue>([this](const Message& message) {
          OnMessage(message);
          return intptr_t{0};
      })),
      backend_(std::make_unique<sim::SimHidBackend>()),
      transport_(std::make_unique<ReportTransport>(pacing, pacer != nullptr ? *pacer : DefaultPacer())),
      commands_(std::make_unique<CommandSet>(*transport_)) {
    if (link == RigLink::Ble) {
        ble_ = std::make_unique<sim::SimBleLink>(*mouse_);
        transport_->SetBleLink(ble_.get(), kS_OK);
        SendBleRegister(*commands_, "Virtual Mouse", *window_);
        if (!PumpUntil([this] { return transport_->BleActive(); })) {
            throw std::runtime_error("the virtual BLE link did not connect");
        }
        return;
    }
    const auto paths =
        backend_->Plug(link == RigLink::Cable ? sim::SimAttachment::Cable : sim::SimAttachment::Receiver, *mouse_);
    transport_->SetHandles(backend_->Open(paths.at(1), HidAccess::Write), backend_->Open(paths.at(0), HidAccess::Read));
}

SimMouseRig::~SimMouseRig() {
    if (ble_) {
        ble_->Flush();
    }
    commands_.reset();
    transport_.reset();
    ble_.reset();  // stops the link's thread before the queue it posts to goes
    backend_.reset();
    window_.reset();
}

void SimMouseRig::OnMessage(const Message& message) {
    if (message.id == msg::kBleStatus && message.wParam == ble::kConnected) {
        transport_->SetBleActive(true);
    } else if (message.id == msg::kBleStatus && message.wParam == ble::kDisconnected) {
        transport_->SetBleActive(false);
    }
    if (handler_) {
        handler_(message);
    }
}

bool SimMouseRig::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    return window_->PumpUntil(done, timeout);
}

void SimMouseRig::Drain(std::chrono::milliseconds quiet) {
    while (auto delivery = window_->Next(quiet)) {
        if (!delivery->answered) {
            OnMessage(delivery->message);
        }
    }
}

void SimMouseRig::Unplug() {
    if (ble_) {
        ble_->Disconnect();
        return;
    }
    backend_->Unplug(link_ == RigLink::Cable ? sim::SimAttachment::Cable : sim::SimAttachment::Receiver);
}

}  // namespace mousecfg::test
