#pragma once

#include <optional>
#include <thread>

#include "device/DeviceEvent.h"
#include "platform/MessageSink.h"

namespace mousecfg {

class DeviceEventQueue;
class DeviceStateModel;
class FindDev;

// A device event turned into its window message: posted, or sent (which waits until the window handled it).
struct EventDelivery {
    Message message;
    bool send = false;
};

// The message for `event`, given the key map's entry for its button (`mappedButton`) and the kind ("DevType")
// of the record it came from. Nothing when the event is dropped: no key map entry, a button above 19 (kinds 1 to
// 4), a DPI level of 0 (kind 1), or a lighting or report-rate change (kinds 3, 4) of a record whose kind is not 1.
// Pure: any thread.
std::optional<EventDelivery> MapDeviceEvent(const DeviceEvent& event, std::optional<int> mappedButton,
                                            int recordKind);

// The device event thread: takes events from the queue in order and delivers their messages to the window.
// The key map is looked up when the event is handled. Start and Stop are called on the main thread.
class DeviceEventThread {
public:
    DeviceEventThread(DeviceEventQueue& queue, DeviceStateModel& model, const FindDev& catalogue,
                      MessageSink& window);
    ~DeviceEventThread();
    DeviceEventThread(const DeviceEventThread&) = delete;
    DeviceEventThread& operator=(const DeviceEventThread&) = delete;

    // Starts the thread; nothing when it runs.
    void Start();
    // Stops the queue and joins the thread. The window must still answer sent messages meanwhile.
    void Stop();
    bool Running() const { return thread_.joinable(); }

private:
    void Run();

    DeviceEventQueue& queue_;
    DeviceStateModel& model_;
    const FindDev& catalogue_;
    MessageSink& window_;
    std::thread thread_;
};

}  // namespace mousecfg
