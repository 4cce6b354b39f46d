#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/MessageSink.h"

namespace mousecfg::test {

// A message sink that records what it receives, posted and sent alike, from any thread.
class RecordingSink final : public MessageSink {
public:
    struct Entry {
        Message message;
        bool sent = false;
    };

    void Post(Message message) override;
    intptr_t Send(Message message) override;

    // Answers sent messages (0 by default). Called on the sending thread.
    void SetSendHandler(std::function<intptr_t(const Message&)> handler);

    std::vector<Entry> Entries() const;
    std::vector<uint32_t> Ids() const;
    void Clear();
    // Waits until at least `count` messages have arrived; false when `timeout` passed first.
    bool WaitForCount(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<Entry> entries_;                        // guarded by mutex_
    std::function<intptr_t(const Message&)> handler_;  // guarded by mutex_
};

}  // namespace mousecfg::test
