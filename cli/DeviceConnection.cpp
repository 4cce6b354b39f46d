#include "cli/DeviceConnection.h"

#include "cli/DeviceDiscovery.h"
#include "device/BleRegistration.h"
#include "device/DeviceMessages.h"
#include "device/FindDev.h"
#include "device/DeviceRequest.h"
#include "device/HexText.h"
#include "device/NodeAccess.h"
#include "sim/SimBleLink.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"

namespace mousecfg::cli {

DeviceConnection::DeviceConnection()
    : messages_([this](const Message& message) { return HandleMessage(message); }) {}

DeviceConnection::~DeviceConnection() {
    // The BLE link posts from its own thread: stop it before the queue it posts to goes away.
    simBle_.reset();
    transport_.reset();
    discovery_.reset();
}

Result<std::unique_ptr<DeviceConnection>> DeviceConnection::Open(const CliOptions& options,
                                                                const std::filesystem::path& resRoot,
                                                                FrameObserver* observer) {
    std::unique_ptr<DeviceConnection> connection(new DeviceConnection());
    connection->observer_ = observer;
    connection->target_ = options.target;
    connection->transport_ = std::make_unique<ReportTransport>();
    connection->transport_->SetObserver(observer);
    connection->commands_ = std::make_unique<CommandSet>(*connection->transport_);
    const Status status = options.target == Target::Hardware ? connection->OpenHardware(resRoot, options.trace)
                                                              : connection->OpenSimulated(options.target);
    if (!status) {
        return status;
    }
    return connection;
}

Status DeviceConnection::OpenHardware(const std::filesystem::path& resRoot, bool trace) {
    discovery_ = std::make_unique<DeviceDiscovery>(Target::Hardware, resRoot, trace);
    const auto index = discovery_->ChooseDevice();
    if (!index) {
        if (const auto unreadable = FindUnreadableDevice(discovery_->catalogue(), discovery_->backend())) {
            return Status::Error(UnreadableDeviceMessage(*unreadable));
        }
        std::string text = "no supported mouse found; connect one or use --simulate cable|receiver|ble";
        if (discovery_->catalogue().Count() == 0) {
            text += " (no device catalogue in " + resRoot.string() + "; see --res)";
        }
        return Status::Error(text);
    }
    const DeviceRecord record = discovery_->catalogue().Record(*index);
    recordIndex_ = index;
    transport_->SetHandles(record.featureHandle, record.inputHandle);
    linkName_ = record.isUSB != 0 ? "cable" : "receiver";
    return Status::Ok();
}

Status DeviceConnection::OpenSimulated(Target target) {
    linkName_ = target == Target::SimBle ? "ble" : target == Target::SimCable ? "cable" : "receiver";
    mouse_ = std::make_unique<sim::VirtualMouse>();
    if (target == Target::SimBle) {
        simBle_ = std::make_unique<sim::SimBleLink>(*mouse_);
        transport_->SetBleLink(simBle_.get(), kS_OK);
        SendBleRegister(*commands_, "Virtual Mouse", messages_);
        const bool connected = messages_.PumpUntil(
            [this] { return transport_->BleActive(); }, std::chrono::seconds(2));
        return connected ? Status::Ok() : Status::Error("the BLE link did not connect");
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

std::optional<FeatureReport> DeviceConnection::WaitForBleReply(uint8_t readType, std::chrono::milliseconds timeout) {
    if (!messages_.PumpUntil([&] { return bleReplies_.count(readType) != 0; }, timeout)) {
        return std::nullopt;
    }
    const FeatureReport reply = bleReplies_[readType];
    bleReplies_.erase(readType);
    return reply;
}

}  // namespace mousecfg::cli
