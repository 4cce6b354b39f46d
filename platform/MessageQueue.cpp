#include "platform/MessageQueue.h"

#include <memory>

namespace mousecfg {

MessageQueue::MessageQueue(Handler handler) : handler_(std::move(handler)), owner_(std::this_thread::get_id()) {}

void MessageQueue::SetOwnerThread(std::thread::id owner) {
    std::lock_guard<std::mutex> lock(mutex_);
    owner_ = owner;
}

void MessageQueue::Post(Message message) {
    auto entry = std::make_shared<Entry>();
    entry->message = std::move(message);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.push_back(std::move(entry));
    }
    arrived_.notify_one();
}

intptr_t MessageQueue::Send(Message message) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (std::this_thread::get_id() == owner_) {
            lock.unlock();
            return handler_ ? handler_(message) : 0;
        }
    }
    auto entry = std::make_shared<Entry>();
    entry->message = std::move(message);
    entry->sent = true;
    std::unique_lock<std::mutex> lock(mutex_);
    entries_.push_back(entry);
    arrived_.notify_one();
    answered_.wait(lock, [&] { return entry->answered; });
    return entry->result;
}

std::optional<MessageQueue::Delivery> MessageQueue::Next(std::chrono::milliseconds timeout) {
    std::shared_ptr<Entry> entry;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!arrived_.wait_for(lock, timeout, [&] { return !entries_.empty(); })) {
            return std::nullopt;
        }
        entry = entries_.front();
        entries_.pop_front();
    }
    if (entry->sent) {
        const intptr_t result = handler_ ? handler_(entry->message) : 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            entry->result = result;
            entry->answered = true;
        }
        answered_.notify_all();
    }
    return Delivery{std::move(entry->message), entry->sent};
}

bool MessageQueue::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            break;
        }
        auto delivery = Next(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now));
        if (delivery && !delivery->answered && handler_) {
            handler_(delivery->message);
        }
    }
    return done();
}

}  // namespace mousecfg
