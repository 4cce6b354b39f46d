#include "platform/MessageQueue.h"

#include <gtest/gtest.h>

#include <thread>

namespace mousecfg {
namespace {

TEST(MessageQueue, SentMessageBlocksSenderUntilOwnerHandlesItAndReturnsTheResult) {
    std::vector<uint32_t> handled;
    MessageQueue queue([&](const Message& message) {
        handled.push_back(message.id);
        return static_cast<intptr_t>(message.wParam * 2);
    });
    intptr_t answer = -1;
    std::thread sender([&] { answer = queue.Send({2053, 21, 0, {}}); });
    auto delivery = queue.Next(std::chrono::seconds(5));
    sender.join();
    ASSERT_TRUE(delivery.has_value());
    EXPECT_TRUE(delivery->answered);
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(handled, std::vector<uint32_t>{2053});
}

TEST(MessageQueue, PostedMessagesArriveInOrderUnhandledByNext) {
    MessageQueue queue;
    std::thread poster([&] {
        for (uint32_t id = 1; id <= 3; ++id) {
            queue.Post({id, 0, 0, "t" + std::to_string(id)});
        }
    });
    poster.join();
    for (uint32_t id = 1; id <= 3; ++id) {
        auto delivery = queue.Next(std::chrono::seconds(1));
        ASSERT_TRUE(delivery.has_value());
        EXPECT_FALSE(delivery->answered);
        EXPECT_EQ(delivery->message.id, id);
        EXPECT_EQ(delivery->message.text, "t" + std::to_string(id));
    }
    EXPECT_FALSE(queue.Next(std::chrono::milliseconds(1)).has_value());
}

TEST(MessageQueue, SendOnOwnerThreadIsHandledAtOnce) {
    MessageQueue queue([](const Message& message) { return static_cast<intptr_t>(message.id); });
    EXPECT_EQ(queue.Send({7, 0, 0, {}}), 7);
    EXPECT_FALSE(queue.Next(std::chrono::milliseconds(1)).has_value());
}

TEST(MessageQueue, PumpUntilHandlesPostedMessagesUntilDone) {
    int seen = 0;
    MessageQueue queue([&](const Message&) { return ++seen; });
    queue.Post({1, 0, 0, {}});
    queue.Post({2, 0, 0, {}});
    EXPECT_TRUE(queue.PumpUntil([&] { return seen == 2; }, std::chrono::seconds(5)));
    EXPECT_FALSE(queue.PumpUntil([&] { return seen == 3; }, std::chrono::milliseconds(5)));
}

}  // namespace
}  // namespace mousecfg
