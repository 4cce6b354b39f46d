#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "device/CommandSet.h"
#include "device/ReportTransport.h"
#include "platform/MessageQueue.h"
#include "platform/Pacer.h"

namespace mousecfg::sim {
class SimBleLink;
class SimHidBackend;
class VirtualMouse;
}  // namespace mousecfg::sim

namespace mousecfg::test {

enum class RigLink { Cable, Receiver, Ble };

// A virtual mouse with the transport and the command set in front of it, as the program holds them: plugged in
// by cable or through the receiver, or connected over BLE. The test thread owns `window()`, the message queue
// standing in for the main window: the BLE link's messages (its connection switches the transport's BLE path on)
// and whatever the code under test posts there reach the handler given to SetHandler when pumped.
// Waits are zero unless a pacer and pacing values are given.
class SimMouseRig {
  public:
    explicit SimMouseRig(RigLink link, Pacer* pacer = nullptr, PacingValues pacing = PacingValues::Zero());
    ~SimMouseRig();
    SimMouseRig(const SimMouseRig&) = delete;
    SimMouseRig& operator=(const SimMouseRig&) = delete;

    sim::VirtualMouse& mouse() { return *mouse_; }
    CommandSet& commands() { return *commands_; }
    ReportTransport& transport() { return *transport_; }
    MessageQueue& window() { return *window_; }
    RigLink link() const { return link_; }

    void SetHandler(std::function<void(const Message&)> handler) { handler_ = std::move(handler); }
    // Handles messages until `done` returns true; false when `timeout` passed first.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Handles what is queued until nothing arrives for `quiet`.
    void Drain(std::chrono::milliseconds quiet);
    // The device goes away: unplugged (cable, receiver) or disconnected (BLE). Any thread.
    void Unplug();

  private:
    void OnMessage(const Message& message);

    RigLink link_;
    std::function<void(const Message&)> handler_;
    std::unique_ptr<sim::VirtualMouse> mouse_;
    std::unique_ptr<MessageQueue> window_;
    std::unique_ptr<sim::SimHidBackend> backend_;
    std::unique_ptr<sim::SimBleLink> ble_;
    std::unique_ptr<ReportTransport> transport_;
    std::unique_ptr<CommandSet> commands_;
};

}  // namespace mousecfg::test
