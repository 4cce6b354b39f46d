#include "skin/Mailbox.h"

namespace mousecfg::skin {

Mailbox::Mailbox(Wake wake, std::thread::id owner) : owner_(owner), wake_(std::move(wake)) {}

void Mailbox::SetHandler(Handler handler) {
    handler_ = std::move(handler);
}

void Mailbox::Post(Message message) {
    auto entry = std::make_shared<Entry>();
    entry->message = std::move(message);
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) {
        return;
    }
    queue_.push_back(std::move(entry));
    if (!wakePending_ && wake_) {
        wakePending_ = true;
        wake_();
    }
}

intptr_t Mailbox::Send(Message message) {
    if (std::this_thread::get_id() == owner_) {
        if (IsClosed() || !handler_) {
            return 0;
        }
        // Keep the mailbox alive while its window handles the message; the handler may destroy the window.
        auto self = shared_from_this();
        return handler_(message);
    }
    auto entry = std::make_shared<Entry>();
    entry->message = std::move(message);
    entry->sent = true;
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_) {
        return 0;
    }
    queue_.push_back(entry);
    if (!wakePending_ && wake_) {
        wakePending_ = true;
        wake_();
    }
    answered_.wait(lock, [&] { return entry->answered; });
    return entry->result;
}

size_t Mailbox::Process() {
    auto self = shared_from_this();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        wakePending_ = false;
    }
    size_t handled = 0;
    while (true) {
        std::shared_ptr<Entry> entry;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (closed_ || queue_.empty()) {
                break;
            }
            entry = queue_.front();
            queue_.pop_front();
        }
        const intptr_t result = handler_ ? handler_(entry->message) : 0;
        // The handler may have closed the mailbox (its window went away): stop at once.
        ++handled;
        if (entry->sent) {
            std::lock_guard<std::mutex> lock(mutex_);
            entry->result = result;
            entry->answered = true;
            answered_.notify_all();
        }
    }
    return handled;
}

void Mailbox::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    wake_ = nullptr;
    for (auto& entry : queue_) {
        entry->answered = true;
        entry->result = 0;
    }
    queue_.clear();
    answered_.notify_all();
    // handler_ stays: Close may run inside it (a window closing itself while handling a message); it is never
    // called again because every caller checks closed_ first.
}

bool Mailbox::IsClosed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

size_t Mailbox::Pending() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

}  // namespace mousecfg::skin
