#include "skin/Mailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace mousecfg::skin {
namespace {

// A mailbox whose wake function only counts: the test thread plays the event loop and calls Process().
struct Fixture {
    std::atomic<int> wakes{0};
    std::shared_ptr<Mailbox> mailbox =
        std::make_shared<Mailbox>([this] { ++wakes; }, std::this_thread::get_id());
    std::vector<uint32_t> handled;
};

TEST(Mailbox, OneWakePerBatchAndMessagesInArrivalOrder) {
    Fixture f;
    f.mailbox->SetHandler([&](const Message& m) {
        f.handled.push_back(m.id);
        return 0;
    });
    f.mailbox->Post(Message{1, 0, 0, {}});
    f.mailbox->Post(Message{2, 0, 0, {}});
    EXPECT_EQ(f.wakes.load(), 1) << "a second post finds the first wake still pending";
    EXPECT_EQ(f.mailbox->Process(), 2u);
    f.mailbox->Post(Message{3, 0, 0, {}});
    EXPECT_EQ(f.wakes.load(), 2);
    f.mailbox->Process();
    EXPECT_EQ(f.handled, (std::vector<uint32_t>{1, 2, 3}));
}

TEST(Mailbox, ManySendersEachGetTheirOwnAnswer) {
    Fixture f;
    f.mailbox->SetHandler([](const Message& m) { return static_cast<intptr_t>(m.wParam + 1000); });
    std::vector<std::thread> senders;
    std::vector<intptr_t> answers(8, 0);
    for (size_t i = 0; i < answers.size(); ++i) {
        senders.emplace_back([&, i] { answers[i] = f.mailbox->Send(Message{7, i, 0, {}}); });
    }
    size_t handled = 0;
    while (handled < answers.size()) {
        handled += f.mailbox->Process();
        std::this_thread::yield();
    }
    for (auto& sender : senders) {
        sender.join();
    }
    for (size_t i = 0; i < answers.size(); ++i) {
        EXPECT_EQ(answers[i], static_cast<intptr_t>(1000 + i));
    }
}

TEST(Mailbox, AHandlerThatClosesTheMailboxStopsTheRest) {
    Fixture f;
    f.mailbox->SetHandler([&](const Message& m) {
        f.handled.push_back(m.id);
        f.mailbox->Close();  // the window went away while handling this message
        return 0;
    });
    f.mailbox->Post(Message{1, 0, 0, {}});
    f.mailbox->Post(Message{2, 0, 0, {}});
    f.mailbox->Process();
    EXPECT_EQ(f.handled, (std::vector<uint32_t>{1}));
    EXPECT_EQ(f.mailbox->Send(Message{3, 0, 0, {}}), 0) << "own thread, closed: not handled";
    std::thread late([&] { EXPECT_EQ(f.mailbox->Send(Message{4, 0, 0, {}}), 0); });
    late.join();
    EXPECT_EQ(f.handled.size(), 1u);
    EXPECT_EQ(f.mailbox->Pending(), 0u);
}

}  // namespace
}  // namespace mousecfg::skin
