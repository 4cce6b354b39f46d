#pragma once

#include <cstdint>
#include <string>

namespace mousecfg {

// A numbered message to a window, as workers and components send them to the main window.
// `text` carries what a pointer in lParam would point to (the BLE link's hexadecimal texts, a menu item name).
struct Message {
    uint32_t id = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    std::string text;
};

// The receiving end of numbered messages. Implemented by windows (handled on the window's thread) and by
// recording sinks in tests.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Queues the message and returns at once. Any thread.
    virtual void Post(Message message) = 0;
    // Delivers the message and waits until it has been handled; returns the handler's result.
    // Any thread; on the receiving thread itself the message is handled at once.
    virtual intptr_t Send(Message message) = 0;
};

}  // namespace mousecfg
