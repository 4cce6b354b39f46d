#include "tests/support/RecordingSink.h"

namespace mousecfg::test {

void RecordingSink::Post(Message message) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.push_back({std::move(message), false});
    }
    arrived_.notify_all();
}

intptr_t RecordingSink::Send(Message message) {
    std::function<intptr_t(const Message&)> handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.push_back({message, true});
        handler = handler_;
    }
    arrived_.notify_all();
    return handler ? handler(message) : 0;
}

void RecordingSink::SetSendHandler(std::function<intptr_t(const Message&)> handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    handler_ = std::move(handler);
}

std::vector<RecordingSink::Entry> RecordingSink::Entries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_;
}

std::vector<uint32_t> RecordingSink::Ids() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<uint32_t> ids;
    for (const auto& entry : entries_) {
        ids.push_back(entry.message.id);
    }
    return ids;
}

void RecordingSink::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
}

bool RecordingSink::WaitForCount(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return entries_.size() >= count; });
}

}  // namespace mousecfg::test
