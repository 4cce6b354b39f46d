#include "device/HidrawBleLink.h"

#include <algorithm>
#include <vector>

#include "device/CatalogueReader.h"
#include "device/DeviceMessages.h"
#include "device/FindDev.h"
#include "device/HexText.h"
#include "platform/DeviceChange.h"
#include "platform/HidBackend.h"
#include "platform/Trace.h"
#include "platform/UdevMonitor.h"

namespace mousecfg {
namespace {

constexpr uint16_t kVendorUsage = 1;
constexpr size_t kInputBufferSize = 64;  // larger than any input report of the mouse

}  // namespace

void HidrawBleLink::ChangeSink::Post(Message message) {
    if (message.id != kDeviceChangeMessage || message.wParam != kDeviceArrival) {
        return;  // a node that goes away is noticed by the reader, whose reads then fail
    }
    link_.Enqueue(Job{Job::Kind::Look, {}, nullptr});
}

intptr_t HidrawBleLink::ChangeSink::Send(Message message) {
    Post(std::move(message));
    return 0;
}

HidrawBleLink::HidrawBleLink(HidBackend& backend, PacingValues pacing, Pacer& pacer)
    : backend_(backend), pacing_(pacing), pacer_(pacer) {}

HidrawBleLink::~HidrawBleLink() {
    udev_.reset();  // no more arrivals
    std::shared_ptr<HidHandle> input, feature;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        input = input_;
        feature = feature_;
    }
    wake_.notify_all();
    // Closing ends the reader's blocked read and any call of the worker on the node.
    if (input) {
        input->Close();
    }
    if (feature) {
        feature->Close();
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    if (reader_.joinable()) {
        reader_.join();
    }
}

Status HidrawBleLink::WatchSystemDeviceChanges() {
    udev_ = std::make_unique<UdevMonitor>(changes_);
    Status started = udev_->Start();
    if (!started) {
        udev_.reset();
    }
    return started;
}

HResult HidrawBleLink::RegisterDevices(const std::string& deviceNames, MessageSink* window, int messageNumber) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        names_ = SplitList(deviceNames);
        window_ = window;
        messageNumber_ = static_cast<uint32_t>(messageNumber);
        registered_ = true;
        StartThreadsLocked();
    }
    Enqueue(Job{Job::Kind::Register, {}, nullptr});
    return kS_OK;
}

HResult HidrawBleLink::QueryStatus(int16_t* status) {
    if (status == nullptr) {
        return kE_POINTER;
    }
    *status = Connected() ? 1 : 0;
    return kS_OK;
}

HResult HidrawBleLink::SendFrame(const std::string& hexText, int16_t* sent) {
    if (sent == nullptr) {
        return kE_POINTER;
    }
    *sent = 0;
    const std::optional<FeatureReport> report = ParseReportText(hexText);
    if (!report) {
        trace::Write("BLE frame refused: not a report as the transport writes it\n");
        return kS_OK;
    }
    if (!Connected()) {
        return kS_OK;
    }
    Job job{Job::Kind::Write, *report, std::make_shared<std::promise<bool>>()};
    std::future<bool> written = job.written->get_future();
    Enqueue(std::move(job));
    *sent = written.get() ? 1 : 0;
    return kS_OK;
}

std::optional<HidInterfaceInfo> HidrawBleLink::FindNode(const std::vector<HidInterfaceInfo>& interfaces,
                                                        const std::vector<std::string>& names) {
    for (const HidInterfaceInfo& info : interfaces) {
        if (info.busType == kBluetoothBus && info.usagePage == kFeatureUsagePage && info.usage == kVendorUsage &&
            std::find(names.begin(), names.end(), info.productString) != names.end()) {
            return info;
        }
    }
    return std::nullopt;
}

bool HidrawBleLink::Connected() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return feature_ != nullptr;
}

void HidrawBleLink::StartThreadsLocked() {
    if (!worker_.joinable()) {
        worker_ = std::thread([this] { RunWorker(); });
    }
    if (!reader_.joinable()) {
        reader_ = std::thread([this] { RunReader(); });
    }
}

void HidrawBleLink::Enqueue(Job job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_ || !registered_) {
            if (job.written) {
                job.written->set_value(false);
            }
            return;
        }
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

void HidrawBleLink::RunWorker() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
        if (stopping_) {
            break;
        }
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        switch (job.kind) {
            case Job::Kind::Register:
            case Job::Kind::Look:
                LookForNode(job.kind == Job::Kind::Register);
                break;
            case Job::Kind::Write: {
                const bool written = Write(job.report);
                job.written->set_value(written);
                const uint8_t code = job.report[1 + CommandFrame::kCodeAt];
                if (written && (code & kReadFlag) != 0) {
                    ReadBack(code);  // before any later frame: the node holds one answer at a time
                }
                break;
            }
        }
        lock.lock();
    }
    for (Job& job : jobs_) {
        if (job.written) {
            job.written->set_value(false);
        }
    }
    jobs_.clear();
}

void HidrawBleLink::LookForNode(bool registering) {
    std::vector<std::string> names;
    bool open = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open = feature_ != nullptr;
        names = names_;
    }
    if (open) {
        if (registering) {
            // Registered again while the node is open: the connection is told again, so that the window takes
            // the BLE path back.
            Post(ble::kConnected, {});
        }
        return;
    }
    const std::optional<HidInterfaceInfo> node = FindNode(backend_.Enumerate(), names);
    if (!node) {
        return;  // no mouse of the BLE list is paired and connected now
    }
    const std::string& path = node->path;
    std::shared_ptr<HidHandle> feature = backend_.Open(path, HidAccess::Write);
    std::shared_ptr<HidHandle> input = backend_.Open(path, HidAccess::Read);
    if (!feature || !input) {
        trace::Printf("BLE node %s cannot be opened\n", path.c_str());
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) {
            return;
        }
        nodePath_ = path;
        feature_ = std::move(feature);
        input_ = std::move(input);
    }
    wake_.notify_all();  // the reader has a node to read
    Post(ble::kConnected, {});
}

bool HidrawBleLink::Write(const FeatureReport& report) {
    std::shared_ptr<HidHandle> feature;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        feature = feature_;
    }
    return feature && feature->SetFeatureReport(report);
}

void HidrawBleLink::ReadBack(uint8_t code) {
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        pacer_.Pause(pacing_.beforeRead);  // the mouse needs the same time as over HID to prepare its answer
        std::shared_ptr<HidHandle> feature;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            feature = feature_;
        }
        FeatureReport reply{};
        reply[0] = kCommandReportId;
        if (!feature || !feature->GetFeatureReport(reply)) {
            trace::Printf("BLE reply to %02x could not be read\n", code);
            return;
        }
        if (reply[1 + CommandFrame::kLengthAt] != 0) {
            Post(ble::kReadReplyFirst | (code & 0x0F), ToHexText(reply));
            return;
        }
    }
    trace::Printf("BLE reply to %02x stayed empty\n", code);
}

void HidrawBleLink::RunReader() {
    std::vector<uint8_t> buffer(kInputBufferSize);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || input_ != nullptr; });
        if (stopping_) {
            return;
        }
        const std::shared_ptr<HidHandle> input = input_;
        lock.unlock();
        std::chrono::milliseconds wait = kRetryWait;
        for (;;) {
            const int length = input->ReadInputReport(buffer, -1);
            if (length > 0) {
                wait = kRetryWait;
                if (buffer[0] == kInputReportId) {
                    Post(ble::kInputReportFirst,
                         ToHexText(std::span<const uint8_t>(buffer.data(), static_cast<size_t>(length))));
                }
            } else if (length < 0) {
                if (!AfterFailedRead(input, wait)) {
                    break;
                }
                wait = std::min(wait * 2, kLongestRetryWait);
            }
        }
        lock.lock();
    }
}

bool HidrawBleLink::AfterFailedRead(const std::shared_ptr<HidHandle>& input, std::chrono::milliseconds wait) {
    if (!input->IsOpen()) {
        return false;  // closed by the link: it is stopping or has let go of the node
    }
    std::string path;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_ || input_ != input) {
            return false;
        }
        path = nodePath_;
    }
    if (!NodeListed(path)) {
        Release(input);  // the mouse went away (unpaired, out of range, switched off)
        return false;
    }
    // A passing failure (an interrupted wait): read again after a short wait.
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, wait, [&] { return stopping_; });
}

bool HidrawBleLink::NodeListed(const std::string& path) {
    const std::vector<HidInterfaceInfo> interfaces = backend_.Enumerate();
    return std::any_of(interfaces.begin(), interfaces.end(),
                       [&](const HidInterfaceInfo& info) { return info.path == path; });
}

void HidrawBleLink::Release(const std::shared_ptr<HidHandle>& input) {
    std::shared_ptr<HidHandle> feature;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (input_ != input) {
            return;
        }
        feature = std::move(feature_);
        input_.reset();
        nodePath_.clear();
    }
    input->Close();
    if (feature) {
        feature->Close();
    }
    Post(ble::kDisconnected, {});
}

void HidrawBleLink::Post(uintptr_t code, std::string text) {
    MessageSink* window = nullptr;
    uint32_t number = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        window = window_;
        number = messageNumber_;
    }
    if (window != nullptr) {
        window->Post(Message{number, code, 0, std::move(text)});
    }
}

}  // namespace mousecfg
