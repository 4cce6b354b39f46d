#include "device/DeviceEventThread.h"

#include "device/DeviceEventQueue.h"
#include "device/DeviceMessages.h"
#include "device/DeviceStateModel.h"
#include "device/FindDev.h"

namespace mousecfg {
namespace {

constexpr int kLastButton = 19;

uintptr_t ValueAndButton(int32_t value, int mapped) {
    return static_cast<uintptr_t>(static_cast<uint32_t>(value) + 256u * static_cast<uint32_t>(mapped));
}

}  // namespace

std::optional<EventDelivery> MapDeviceEvent(const DeviceEvent& event, std::optional<int> mappedButton,
                                            int recordKind) {
    if (!mappedButton) {
        return std::nullopt;
    }
    const int mapped = *mappedButton;
    const intptr_t device = event.deviceIndex;
    const bool buttonInRange = event.button >= 0 && event.button <= kLastButton;
    switch (event.kind) {
        case DeviceEventKind::DpiLevel:
            if (!buttonInRange || event.value == 0) {
                return std::nullopt;
            }
            return EventDelivery{{msg::kDpiLevelChanged, ValueAndButton(event.value, mapped), device, {}}, false};
        case DeviceEventKind::Profile:
            if (!buttonInRange) {
                return std::nullopt;
            }
            return EventDelivery{{msg::kProfileChanged, ValueAndButton(event.value, mapped), device, {}}, false};
        case DeviceEventKind::Lighting: {
            if (!buttonInRange || recordKind != 1) {
                return std::nullopt;
            }
            const auto wParam = static_cast<uintptr_t>((static_cast<uint32_t>(mapped) << 8) |
                                                       (static_cast<uint32_t>(event.value) & 0xBF));
            return EventDelivery{{msg::kLightingChanged, wParam, device, {}}, true};
        }
        case DeviceEventKind::ReportRate:
            if (!buttonInRange || recordKind != 1) {
                return std::nullopt;
            }
            return EventDelivery{{msg::kReportRateChanged, ValueAndButton(event.value, mapped), device, {}}, true};
        case DeviceEventKind::StateValue:
            return EventDelivery{{msg::kDpiValueChanged, 0, device, {}}, false};
    }
    return std::nullopt;
}

DeviceEventThread::DeviceEventThread(DeviceEventQueue& queue, DeviceStateModel& model, const FindDev& catalogue,
                                     MessageSink& window)
    : queue_(queue), model_(model), catalogue_(catalogue), window_(window) {}

DeviceEventThread::~DeviceEventThread() { Stop(); }

void DeviceEventThread::Start() {
    if (thread_.joinable()) {
        return;
    }
    queue_.Restart();
    thread_ = std::thread([this] { Run(); });
}

void DeviceEventThread::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    queue_.Stop();
    thread_.join();
}

void DeviceEventThread::Run() {
    while (const auto event = queue_.Pop()) {
        const auto mapped = model_.MappedButton(event->deviceIndex, event->button);
        const int kind = catalogue_.Kind(static_cast<size_t>(std::max(event->deviceIndex, 0)));
        auto delivery = MapDeviceEvent(*event, mapped, kind);
        if (!delivery) {
            continue;
        }
        if (delivery->send) {
            window_.Send(std::move(delivery->message));
        } else {
            window_.Post(std::move(delivery->message));
        }
    }
}

}  // namespace mousecfg
