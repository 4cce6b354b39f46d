#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/MessageSink.h"

namespace mousecfg {

// A message loop for programs without windows (the command-line tool, tests): messages are queued by any
// thread and handled by the thread that calls Pump() or Next().
class MessageQueue final : public MessageSink {
public:
    using Handler = std::function<intptr_t(const Message&)>;

    // `handler` answers sent messages (and posted ones taken by Pump()); it runs on the pumping thread.
    explicit MessageQueue(Handler handler = {});

    void Post(Message message) override;
    intptr_t Send(Message message) override;

    struct Delivery {
        Message message;
        bool answered = false;  // a sent message, already handled by the handler
    };
    // Waits up to `timeout` for the next message; a sent message is answered by the handler before it is
    // returned, a posted one is returned unhandled. Only the owner thread calls this.
    std::optional<Delivery> Next(std::chrono::milliseconds timeout);
    // Handles messages until `done` returns true or `timeout` passes; returns `done()` at the end.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

    // Makes the calling thread the owner (the constructor's thread by default).
    void SetOwnerThread(std::thread::id owner);

private:
    struct Entry {
        Message message;
        bool sent = false;
        // For sent messages: the answer, filled under mutex_.
        bool answered = false;
        intptr_t result = 0;
    };

    Handler handler_;
    std::thread::id owner_;
    // State below is protected by mutex_.
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::condition_variable answered_;
    std::deque<std::shared_ptr<Entry>> entries_;
};

}  // namespace mousecfg
