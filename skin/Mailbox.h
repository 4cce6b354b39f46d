#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/MessageSink.h"

namespace mousecfg::skin {

// The numbered-message queue of one window. Any thread posts or sends; the window's thread handles them in
// Process(), which the platform schedules through the wake function. Closing it (when the window goes away)
// drops queued posts and later ones, and releases every waiting sender with 0, so a worker never waits for, or
// delivers to, a window that no longer exists. Shared: workers may hold it longer than the window lives.
class Mailbox final : public MessageSink, public std::enable_shared_from_this<Mailbox> {
public:
    using Handler = std::function<intptr_t(const Message&)>;
    using Wake = std::function<void()>;

    // `wake` is called (from any thread, with the queue's lock held, so it must only schedule) when messages
    // wait and no Process() is scheduled yet. `owner` is the window's thread.
    Mailbox(Wake wake, std::thread::id owner);

    // Owner thread only: the function that handles messages (the window's dispatch).
    void SetHandler(Handler handler);

    void Post(Message message) override;
    // On the owner thread the handler runs at once; from another thread the call waits until the owner has
    // handled the message (or the mailbox closed: 0).
    intptr_t Send(Message message) override;

    // Owner thread: handles every queued message in arrival order; returns how many.
    size_t Process();
    // Owner thread: closes the mailbox for good (see above).
    void Close();
    bool IsClosed() const;
    // How many messages wait.
    size_t Pending() const;

private:
    struct Entry {
        Message message;
        bool sent = false;
        bool answered = false;  // sent only, under mutex_
        intptr_t result = 0;
    };

    const std::thread::id owner_;
    Handler handler_;  // owner thread only
    // State below is protected by mutex_.
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    std::deque<std::shared_ptr<Entry>> queue_;
    Wake wake_;
    bool wakePending_ = false;
    bool closed_ = false;
};

}  // namespace mousecfg::skin
