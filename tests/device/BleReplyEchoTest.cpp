// Replies to BLE reads, from a mouse whose reply headers echo the request and from one whose headers carry only
// the length: either way each reply is taken for the read it answers, also while an apply run holds the block.
#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "device/BleRegistration.h"
#include "device/BleReplyDecoder.h"
#include "device/CommandSet.h"
#include "device/ConnectionState.h"
#include "device/DeviceMessages.h"
#include "device/ReportTransport.h"
#include "sim/SimBleLink.h"
#include "sim/VirtualMouse.h"
#include "tests/support/FakeDeviceStateModel.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/SimChecks.h"

namespace mousecfg {
namespace {

// The waits of the transport for BLE replies, in step with the test thread: while the thread that reads waits for
// a reply, the test thread handles what has arrived, as the window's thread does during an apply run.
class ReplyWaits final : public Pacer {
  public:
    void Pause(std::chrono::milliseconds duration) override {
        if (duration.count() <= 0) {
            return;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        due_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !due_; });
    }
    // The reading thread has no more waits.
    void Finish() {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }
    // Test thread: runs `handle` during each wait until Finish.
    void Serve(const std::function<void()>& handle) {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return due_ || finished_; });
            if (!due_) {
                finished_ = false;  // ready for the next reading thread
                return;
            }
            lock.unlock();
            handle();
            lock.lock();
            due_ = false;
            changed_.notify_all();
        }
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool due_ = false;       // guarded by mutex_
    bool finished_ = false;  // guarded by mutex_
};

class BleReplyEcho : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        mouse_.SetEchoHeaders(GetParam());
        link_.SetAutoConnect(false);
        transport_.SetBleLink(&link_, kS_OK);
        transport_.SetBleActive(true);
        SendBleRegister(commands_, "Virtual Mouse", window_);
    }

    void TearDown() override { test::ExpectNoRejections(mouse_); }

    // Hands every reply that has arrived to the decoder, in order, as the main window does.
    void DecodeArrived() {
        link_.Flush();
        for (const auto& entry : window_.Entries()) {
            if (entry.message.wParam >= ble::kReadReplyFirst && entry.message.wParam <= ble::kReadReplyLast) {
                decoder_.Decode(entry.message.wParam, entry.message.text, variant_);
            }
        }
        window_.Clear();
    }

    sim::VirtualMouse mouse_;
    sim::SimBleLink link_{mouse_};
    test::RecordingSink window_;
    ReplyWaits waits_;
    ReportTransport transport_{PacingValues{std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                                            std::chrono::milliseconds(80)},
                               waits_};
    CommandSet commands_{transport_};
    test::FakeDeviceStateModel model_;
    ConnectionState state_;
    BleReplyDecoder decoder_{commands_, model_, state_};
    uint8_t variant_ = 6;
};

TEST_P(BleReplyEcho, RepliesArrivingDuringARunAreTakenForTheReadsTheyAnswer) {
    {
        auto session = commands_.Acquire();
        session->Clear();
        session->type = request::kLightEffect;
        session.request()[0] = 0x83;  // mode 3
        session.request()[2] = 4;     // speed
        session.request()[3] = 1;     // direction
        session.request()[4] = 2;     // brightness 6 - 2
        ASSERT_EQ(session.DeviceWrite(), 1);
        session->SetTypeAndSubtype(0x0102);
        session.request()[0] = 2;
        session->SetU16(6, 0x4242);
        ASSERT_EQ(session.DeviceWrite(), 1);
    }

    // An apply run reads the tags, the active profile, the lighting header and its record; this thread handles
    // the replies while the run waits for them, the request block held by the run throughout.
    std::promise<void> done;
    std::thread run([&] {
        auto session = commands_.Acquire();
        session->Clear();
        for (uint16_t typeAndSubtype : {0x0102, 0x0202}) {
            session->SetTypeAndSubtype(typeAndSubtype);
            session.DeviceRead();
        }
        session->type = request::kLightEffect;
        session->part = request::kLightHeader;
        session.DeviceRead();
        session->part = request::kLightRecord;
        session.request()[0] = 0x83;
        session.DeviceRead();
        waits_.Finish();
        done.get_future().wait();
    });
    waits_.Serve([&] { DecodeArrived(); });
    EXPECT_TRUE(decoder_.HasDeferredRead()) << "the header's record read waits for the run";
    done.set_value();
    run.join();
    EXPECT_EQ(model_.profileTags, (std::array<uint16_t, 4>{0, 0, 0x4242, 0}));
    EXPECT_EQ(model_.profileFromMouse, 0);
    ASSERT_EQ(model_.lightingReads.size(), 1u) << "only the header names a mode";
    EXPECT_EQ(model_.lightingReads[0].first, 0x83);
    ASSERT_EQ(model_.lightingRecords.size(), 1u);
    EXPECT_EQ(model_.lightingRecords[0].speed, 4);
    EXPECT_EQ(model_.lightingRecords[0].brightness, 4);

    // After the run the record the header asked for is read: that of mode 3, and no other.
    mouse_.ClearLog();
    std::thread after([&] {
        decoder_.RunDeferredReads();
        waits_.Finish();
    });
    waits_.Serve([] {});
    after.join();
    link_.Flush();
    const auto log = mouse_.Log();
    ASSERT_EQ(mouse_.CountFrames(0x89), 1);
    EXPECT_EQ(log[0].report[1 + CommandFrame::kOffsetLowAt], 3 * 25);
    DecodeArrived();
    ASSERT_EQ(model_.lightingRecords.size(), 2u);
    EXPECT_EQ(model_.lightingRecords[1].speed, 4);
    EXPECT_EQ(model_.lightingReads.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Headers, BleReplyEcho, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "Echoed" : "LengthOnly"; });

}  // namespace
}  // namespace mousecfg
