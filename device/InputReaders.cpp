#include "device/InputReaders.h"

#include <algorithm>
#include <vector>

#include "platform/HidBackend.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

constexpr size_t kDefaultReportLength = 64;

}  // namespace

InputReaders::InputReaders(FindDev& catalogue, Handler handler) : catalogue_(catalogue), handler_(std::move(handler)) {}

InputReaders::~InputReaders() {
    StopAll();
}

int InputReaders::Start() {
    for (auto it = readers_.begin(); it != readers_.end();) {
        if (it->second->finished) {
            it->second->thread.join();
            it = readers_.erase(it);
        } else {
            ++it;
        }
    }
    int started = 0;
    for (size_t index = 0; index < catalogue_.Count(); ++index) {
        if (!catalogue_.IsPresent(index) || readers_.count(index) != 0) {
            continue;
        }
        auto reader = std::make_unique<Reader>();
        Reader& slot = *reader;
        reader->thread = std::thread([this, index, &slot] { Run(index, slot); });
        readers_.emplace(index, std::move(reader));
        trace::Write("创建线程\n");
        ++started;
    }
    return started;
}

void InputReaders::StopAll() {
    if (readers_.empty()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(stopMutex_);
        stopping_ = true;
    }
    stopWake_.notify_all();
    catalogue_.CloseInputHandles();
    for (auto& [index, reader] : readers_) {
        reader->thread.join();
    }
    readers_.clear();
    stopping_ = false;
}

size_t InputReaders::Running() const {
    size_t running = 0;
    for (const auto& [index, reader] : readers_) {
        running += reader->finished ? 0 : 1;
    }
    return running;
}

void InputReaders::Run(size_t index, Reader& reader) {
    InputReportProcessor::State state;
    std::vector<uint8_t> buffer;
    std::chrono::milliseconds wait = kRetryWait;
    while (!stopping_) {
        const FindDev::ReaderView record = catalogue_.ReaderInfo(index);
        if (!record.present || !record.input) {
            break;
        }
        buffer.resize(record.inputReportLength != 0 ? record.inputReportLength : kDefaultReportLength);
        const int length = record.input->ReadInputReport(buffer, -1);
        if (stopping_) {
            break;
        }
        if (length < 0) {
            if (!AfterFailedRead(index, record, wait)) {
                break;
            }
            wait = std::min(wait * 2, kLongestRetryWait);
            continue;
        }
        wait = kRetryWait;
        if (length > 0) {
            handler_(index, record, std::span<const uint8_t>(buffer.data(), static_cast<size_t>(length)), state);
        }
    }
    reader.finished = true;
}

bool InputReaders::AfterFailedRead(size_t index, const FindDev::ReaderView& record, std::chrono::milliseconds wait) {
    // A record found again in the meantime has a new handle to read. A closed handle, or a record that is gone,
    // ends the reader (Start gives the record a new one when it is found later). Anything else (an interrupted
    // wait, a passing error of the device) is tried again after the wait; a device that went away is closed by
    // the device-change handling, which ends the retries.
    const FindDev::ReaderView now = catalogue_.ReaderInfo(index);
    if (!now.present || !now.input) {
        return false;
    }
    if (now.input != record.input) {
        return true;
    }
    if (!record.input->IsOpen()) {
        return false;
    }
    std::unique_lock<std::mutex> lock(stopMutex_);
    return !stopWake_.wait_for(lock, wait, [this] { return stopping_.load(); });
}

}  // namespace mousecfg
