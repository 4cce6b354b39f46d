#include "cli/DeviceConnection.h"

#include <algorithm>

#include "cli/DeviceDiscovery.h"
#include "device/BleLink.h"
#include "device/BleRegistration.h"
#include "device/CatalogueReader.h"
#include "device/DeviceMessages.h"
#include "device/FindDev.h"
#include "device/DeviceRequest.h"
#include "device/HexText.h"
#include "device/HidrawBleLink.h"
#include "device/NodeAccess.h"
#include "platform/HidBackend.h"
#include "sim/SimBleLink.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"

namespace mousecfg::cli {
namespace {

// How long a BLE link may take to report the connection after registering. The link opens a node that is
// already there, so this only bounds a failure.
constexpr std::chrono::seconds kBleConnectTimeout{5};

}  // namespace

DeviceConnection::DeviceConnection()
    : messages_([this](const Message& message) { return HandleMessage(message); }) {}

DeviceConnection::~DeviceConnection() {
    // The BLE link posts from its own thread: stop it before the queue it posts to goes away.
    simBle_.reset();
    bleLink_.reset();
    transport_.reset();
    discovery_.reset();
}

Result<std::unique_ptr<DeviceConnection>> DeviceConnection::Open(const CliOptions& options,
                                                                const std::filesystem::path& resRoot,
                                                                FrameObserver* observer, HidBackend* hardware) {
    std::unique_ptr<DeviceConnection> connection(new DeviceConnection());
    connection->observer_ = observer;
    connection->target_ = options.target;
    connection->transport_ = std::make_unique<ReportTransport>();
    connection->transport_->SetObserver(observer);
    connection->commands_ = std::make_unique<CommandSet>(*connection->transport_);
    const Status status = options.target == Target::Hardware
                              ? connection->OpenHardware(resRoot, options.trace, hardware)
                              : connection->OpenSimulated(options.target);
    if (!status) {
        return status;
    }
    return connection;
}

// A mouse by cable or through the receiver comes first, as in the window; a mouse paired over Bluetooth LE is
// looked for only when there is none.
Status DeviceConnection::OpenHardware(const std::filesystem::path& resRoot, bool trace, HidBackend* hardware) {
    discovery_ = std::make_unique<DeviceDiscovery>(Target::Hardware, resRoot, trace, hardware);
    const FindDev& catalogue = discovery_->catalogue();
    const auto index = discovery_->ChooseDevice();
    if (!index) {
        const std::string bleNames = catalogue.BleDeviceString();
        if (const Result<bool> ble = OpenBle(bleNames); !ble || *ble) {
            return ble.status();
        }
        if (const auto unreadable = FindUnreadableDevice(catalogue, discovery_->backend())) {
            return Status::Error(UnreadableDeviceMessage(*unreadable));
        }
        std::string text =
            "no supported mouse found by cable, receiver or Bluetooth; connect one or use --simulate "
            "cable|receiver|ble";
        if (catalogue.Count() == 0) {
            text += " (no device catalogue in " + resRoot.string() + "; see --res)";
        } else if (bleNames.empty()) {
            text += " (no Bluetooth mouse was looked for: the BLE device list " +
                    (catalogue.IconsFolder() / "ble.json").string() + " could not be read)";
        }
        return Status::Error(text);
    }
    const DeviceRecord record = discovery_->catalogue().Record(*index);
    recordIndex_ = index;
    transport_->SetHandles(record.featureHandle, record.inputHandle);
    linkName_ = record.isUSB != 0 ? "cable" : "receiver";
    return Status::Ok();
}

Result<bool> DeviceConnection::OpenBle(const std::string& bleNames) {
    if (bleNames.empty()) {
        return false;
    }
    HidBackend& backend = discovery_->backend();
    const std::optional<HidInterfaceInfo> node = HidrawBleLink::FindNode(backend.Enumerate(), SplitList(bleNames));
    if (!node) {
        return false;
    }
    // The link would not open it either, and would say nothing: tell which node refuses and why.
    if (!backend.Open(node->path, HidAccess::Write)) {
        return Status::Error(UnreadableDeviceMessage(UnreadableDevice{node->path, node->productString, true}));
    }
    BleLinkCreation created = CreatePlatformBleLink(backend);
    bleLink_ = std::move(created.link);
    transport_->SetBleLink(bleLink_.get(), created.status);
    linkName_ = "ble";
    overBle_ = true;
    bleNode_ = node->path;
    recordIndex_ = 0;  // over BLE the model is the catalogue's first record, as in the window
    if (!ConnectBle(bleNames)) {
        return Status::Error("the Bluetooth mouse " + node->productString + " (" + node->path +
                             ") did not connect; reconnect it and try again");
    }
    return true;
}

bool DeviceConnection::ConnectBle(const std::string& names) {
    // The registration's result says nothing (it is 0 on every path): the link tells by posting the connection.
    SendBleRegister(*commands_, names, messages_);
    return messages_.PumpUntil([this] { return transport_->BleActive(); }, kBleConnectTimeout);
}

Status DeviceConnection::OpenSimulated(Target target) {
    linkName_ = target == Target::SimBle ? "ble" : target == Target::SimCable ? "cable" : "receiver";
    mouse_ = std::make_unique<sim::VirtualMouse>();
    if (target == Target::SimBle) {
        simBle_ = std::make_unique<sim::SimBleLink>(*mouse_);
        transport_->SetBleLink(simBle_.get(), kS_OK);
        overBle_ = true;
        return ConnectBle("Virtual Mouse") ? Status::Ok() : Status::Error("the BLE link did not connect");
    }
    simBackend_ = std::make_unique<sim::SimHidBackend>();
    const auto attachment = target == Target::SimCable ? sim::SimAttachment::Cable : sim::SimAttachment::Receiver;
    const auto paths = simBackend_->Plug(attachment, *mouse_);
    if (paths.size() != 2) {
        return Status::Error("the virtual mouse could not be plugged in");
    }
    auto input = simBackend_->Open(paths[0], HidAccess::Read);
    auto feature = simBackend_->Open(paths[1], HidAccess::Write);
    if (!input || !feature) {
        return Status::Error("the virtual mouse's interfaces could not be opened");
    }
    transport_->SetHandles(std::move(feature), std::move(input));
    return Status::Ok();
}

intptr_t DeviceConnection::HandleMessage(const Message& message) {
    if (message.id == msg::kBleStatus) {
        HandleBleMessage(message);
    }
    if (handler_) {
        handler_(message);
    }
    return 0;
}

void DeviceConnection::HandleBleMessage(const Message& message) {
    if (message.wParam == ble::kConnected) {
        transport_->SetBleActive(true);
    } else if (message.wParam == ble::kDisconnected) {
        transport_->SetBleActive(false);
        disconnected_ = overBle_;
    } else if (message.wParam >= ble::kReadReplyFirst && message.wParam <= ble::kReadReplyLast) {
        const auto bytes = ParseHexText(message.text);
        if (bytes && bytes->size() == kFeatureReportSize) {
            FeatureReport report{};
            std::copy(bytes->begin(), bytes->end(), report.begin());
            if (observer_ != nullptr) {
                observer_->OnReportReceived(report);
            }
            bleReplies_[static_cast<uint8_t>(message.wParam & 0x0F)] = report;
        }
    }
}

bool DeviceConnection::Pump(std::chrono::milliseconds timeout) {
    auto delivery = messages_.Next(timeout);
    if (!delivery) {
        return false;
    }
    if (!delivery->answered) {
        HandleMessage(delivery->message);
    }
    return true;
}

Result<ModelIdentity> DeviceConnection::Identify(const std::filesystem::path& resRoot) {
    std::unique_ptr<DeviceDiscovery> simulated;
    DeviceDiscovery* discovery = discovery_.get();
    if (discovery == nullptr) {
        simulated = std::make_unique<DeviceDiscovery>(target_, resRoot, false);
        discovery = simulated.get();
    }
    const FindDev& catalogue = discovery->catalogue();
    const size_t index = recordIndex_.value_or(discovery->ChooseDevice().value_or(0));
    if (index >= catalogue.Count()) {
        return Status::Error("no device catalogue in " + resRoot.string() + " (Home/Icons/Ndevice.zip; see --res)");
    }
    const DeviceRecord record = catalogue.Record(index);
    ModelIdentity identity;
    identity.name = record.ModelName();
    identity.folder = record.folder;
    if (identity.folder.empty()) {
        return Status::Error("the catalogue names no model folder for " + identity.name);
    }
    return identity;
}

bool DeviceConnection::Disconnected() {
    while (Pump(std::chrono::milliseconds(0))) {
    }
    if (!disconnected_ && !bleNode_.empty()) {
        const std::vector<HidInterfaceInfo> interfaces = discovery_->backend().Enumerate();
        disconnected_ = std::none_of(interfaces.begin(), interfaces.end(),
                                     [&](const HidInterfaceInfo& info) { return info.path == bleNode_; });
    }
    return disconnected_;
}

std::optional<FeatureReport> DeviceConnection::WaitForBleReply(uint8_t readType, std::chrono::milliseconds timeout) {
    // A mouse that went away answers nothing: no need to wait the whole time.
    if (!messages_.PumpUntil([&] { return bleReplies_.count(readType) != 0 || disconnected_; }, timeout) ||
        bleReplies_.count(readType) == 0) {
        return std::nullopt;
    }
    const FeatureReport reply = bleReplies_[readType];
    bleReplies_.erase(readType);
    return reply;
}

}  // namespace mousecfg::cli
