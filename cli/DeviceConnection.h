#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "cli/CliOptions.h"
#include "device/CommandFrame.h"
#include "device/CommandSet.h"
#include "device/ReportTransport.h"
#include "platform/MessageQueue.h"
#include "platform/Status.h"

namespace mousecfg {
class BleLink;
class HidBackend;
namespace sim {
class VirtualMouse;
class SimHidBackend;
class SimBleLink;
}  // namespace sim
}  // namespace mousecfg

namespace mousecfg::cli {

class DeviceDiscovery;

// The model of the connected device as the catalogue names it.
struct ModelIdentity {
    std::string name;    // the device name (also the model name the report-rate tables distinguish)
    std::string folder;  // the model folder under VeruzUrir/
};

// The mouse the tool talks to, with the transport and command set in front of it. For a virtual mouse it also
// owns the mouse and its backend or BLE link. Used from the tool's main thread only.
class DeviceConnection {
public:
    ~DeviceConnection();

    // Connects to the mouse the options name: a virtual one, or the first supported mouse the catalogue below
    // `resRoot` finds among the system's HID devices (`hardware` when given, which must outlive the connection;
    // else hidapi's): by cable or through the receiver, else a mouse of the BLE device list paired over
    // Bluetooth LE, through its hidraw node. `observer` (may be null) sees every report. Fails with a one-line
    // message when there is no mouse, or when there is one whose node this user may not open.
    static Result<std::unique_ptr<DeviceConnection>> Open(const CliOptions& options,
                                                          const std::filesystem::path& resRoot,
                                                          FrameObserver* observer, HidBackend* hardware = nullptr);

    CommandSet& commands() { return *commands_; }
    ReportTransport& transport() { return *transport_; }
    Target target() const { return target_; }
    // Whether the mouse is reached over BLE (a real or a simulated link).
    bool overBle() const { return overBle_; }
    // Whether the BLE mouse went away since the connection was made: the link reported it, or its node is no
    // longer listed. Handles the messages queued so far first. Always false for other links.
    bool Disconnected();
    // How the mouse is attached: "cable", "receiver" or "ble".
    const std::string& linkName() const { return linkName_; }

    // Over BLE a read's reply arrives later as a message: waits for the reply to read type `readType`
    // (1, 2, 6 or 9) and returns it as a feature report; nothing when it did not come in time.
    std::optional<FeatureReport> WaitForBleReply(uint8_t readType,
                                                 std::chrono::milliseconds timeout = std::chrono::seconds(2));

    // The device's entry in the catalogue below `resRoot`: the record in use (for a virtual mouse, the record
    // its link plugs; over BLE the first record). Fails when the catalogue has no such record.
    Result<ModelIdentity> Identify(const std::filesystem::path& resRoot);

    // The window the tool's messages go to (BLE link, apply worker). `handler` also sees every message, after
    // the connection's own handling; messages are handled by Pump on the tool's main thread.
    MessageSink& window() { return messages_; }
    void SetMessageHandler(std::function<void(const Message&)> handler) { handler_ = std::move(handler); }
    // Handles the next message, waiting up to `timeout`; false when none came.
    bool Pump(std::chrono::milliseconds timeout);

    // The virtual mouse when simulating (tests look at what it holds); nullptr for real hardware.
    sim::VirtualMouse* virtualMouse() { return mouse_.get(); }

private:
    DeviceConnection();
    Status OpenSimulated(Target target);
    Status OpenHardware(const std::filesystem::path& resRoot, bool trace, HidBackend* hardware);
    // Connects to the node of a mouse of the BLE device list `bleNames`: false when the system shows none.
    Result<bool> OpenBle(const std::string& bleNames);
    // Registers `names` with the transport's BLE link and waits until it reports the connection.
    bool ConnectBle(const std::string& names);
    // Handles the messages of the BLE link: connection changes and read replies.
    intptr_t HandleMessage(const Message& message);
    void HandleBleMessage(const Message& message);

    Target target_ = Target::Hardware;
    std::string linkName_;
    bool overBle_ = false;
    bool disconnected_ = false;  // the BLE link reported the mouse gone
    std::string bleNode_;        // a real BLE mouse: its node
    FrameObserver* observer_ = nullptr;
    MessageQueue messages_;
    std::function<void(const Message&)> handler_;
    std::optional<size_t> recordIndex_;            // real devices: the catalogue record in use
    std::map<uint8_t, FeatureReport> bleReplies_;  // the last reply per read type, until taken
    std::unique_ptr<sim::VirtualMouse> mouse_;
    std::unique_ptr<sim::SimHidBackend> simBackend_;
    std::unique_ptr<sim::SimBleLink> simBle_;
    std::unique_ptr<DeviceDiscovery> discovery_;  // real devices: the catalogue that holds their handles
    std::unique_ptr<BleLink> bleLink_;            // a real BLE mouse: the link to its node (uses discovery_'s backend)
    std::unique_ptr<ReportTransport> transport_;
    std::unique_ptr<CommandSet> commands_;
};

}  // namespace mousecfg::cli
