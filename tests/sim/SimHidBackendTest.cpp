#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <utility>

#include "sim/VirtualMouse.h"
#include "tests/sim/SimFrames.h"

namespace mousecfg::sim {
namespace {

using simtest::MakeRead;
using simtest::MakeReport;
using simtest::ReplyData;

constexpr auto kHang = std::chrono::seconds(2);  // a blocked read not back by then was not woken
const FeatureReport kRateWrite = MakeReport(0x03, 0, 0, {2});

class SimHidBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        paths_ = backend_.Plug(SimAttachment::Cable, mouse_, "Cable Mouse");
        input_ = backend_.Open(paths_[0], HidAccess::Read);
        feature_ = backend_.Open(paths_[1], HidAccess::Write);
        ASSERT_TRUE(input_ && feature_);
    }
    // Starts a read without time-out in another thread and gives it time to block, so that what follows has to
    // wake it rather than be seen before it waits. The thread is detached and owns what it uses: a read that is
    // never woken fails the test instead of hanging it.
    std::future<std::pair<int, std::vector<uint8_t>>> ReadInBackground() {
        std::promise<std::pair<int, std::vector<uint8_t>>> promise;
        auto read = promise.get_future();
        std::thread([handle = input_, promise = std::move(promise)]() mutable {
            std::vector<uint8_t> buffer(16);
            const int result = handle->ReadInputReport(buffer, -1);
            promise.set_value({result, buffer});
        }).detach();
        EXPECT_EQ(read.wait_for(std::chrono::milliseconds(30)), std::future_status::timeout);
        return read;
    }

    VirtualMouse mouse_;
    SimHidBackend backend_;
    std::vector<std::string> paths_;
    std::shared_ptr<HidHandle> input_, feature_;
    std::vector<uint8_t> buffer_ = std::vector<uint8_t>(16);
};

TEST_F(SimHidBackendTest, EnumerationFollowsPlugAndUnplug) {
    backend_.Plug(SimAttachment::Receiver, mouse_, "Receiver");
    const auto interfaces = backend_.Enumerate();
    ASSERT_EQ(interfaces.size(), 4u);
    EXPECT_EQ(interfaces[0].path, "sim://cable/0003:1209:0007.0001/FF00");
    EXPECT_EQ(interfaces[3].path, "sim://receiver/0003:1209:0008.0002/FF01");
    for (size_t i = 0; i < interfaces.size(); ++i) {
        const auto& info = interfaces[i];
        EXPECT_EQ(info.productId, i < 2 ? kSimCableProductId : kSimReceiverProductId);
        EXPECT_EQ(info.usagePage, i % 2 == 0 ? 0xFF00 : 0xFF01);
        EXPECT_EQ(info.productString, i < 2 ? "Cable Mouse" : "Receiver");
        EXPECT_TRUE(info.vendorId == kSimVendorId && info.usage == 1 && info.busType == 3);
        EXPECT_EQ(info.inputReportLength, 16u);
    }

    EXPECT_EQ(backend_.Unplug(SimAttachment::Cable), paths_);
    EXPECT_EQ(backend_.Enumerate().size(), 2u);
    EXPECT_EQ(backend_.Open(paths_[1], HidAccess::Write), nullptr);
    EXPECT_TRUE(backend_.Unplug(SimAttachment::Cable).empty());

    const std::string single = backend_.PlugSingleInterface(SimAttachment::Cable, mouse_, 0xFF00);
    EXPECT_EQ(backend_.Enumerate().size(), 3u);
    EXPECT_NE(backend_.Open(single, HidAccess::Read), nullptr);
}

TEST_F(SimHidBackendTest, FeatureInterfaceCarriesFramesToTheMouse) {
    EXPECT_TRUE(feature_->SetFeatureReport(kRateWrite));
    EXPECT_EQ(mouse_.Profile(0).reportRate, 2);
    EXPECT_FALSE(feature_->SetFeatureReport(MakeReport(0x04, 0, 64, {1, 2, 3, 4}))) << "the mouse's refusal";
    ASSERT_TRUE(feature_->SetFeatureReport(MakeRead(0x83, 0, 0, 1)));
    FeatureReport reply{kCommandReportId};
    ASSERT_TRUE(feature_->GetFeatureReport(reply));
    EXPECT_EQ(ReplyData(reply), std::vector<uint8_t>{2});
    EXPECT_FALSE(input_->SetFeatureReport(kRateWrite)) << "the input collection has no feature reports";
    EXPECT_EQ(mouse_.CountFrames(0x03), 1);
}

TEST_F(SimHidBackendTest, BlockedReaderReceivesTheMouseInputReport) {
    const auto second = backend_.Open(paths_[0], HidAccess::Read);
    auto read = ReadInBackground();
    mouse_.SetButton(3, true);
    ASSERT_EQ(read.wait_for(kHang), std::future_status::ready);
    EXPECT_EQ(read.get(), std::make_pair(16, mouse_.InputReport()));

    // Every open input handle gets its own copy; the feature interface gets none.
    mouse_.SetDeliveryEnabled(false);
    std::vector<uint8_t> other(16);
    EXPECT_EQ(second->ReadInputReport(other, 0), 16);
    EXPECT_EQ(second->ReadInputReport(other, 0), 16);
    EXPECT_EQ(other[1], 0) << "the receiver reports the lost link";
    EXPECT_EQ(feature_->ReadInputReport(other, 10), 0);
    EXPECT_EQ(input_->ReadInputReport(buffer_, 0), 16);
    EXPECT_EQ(input_->ReadInputReport(buffer_, 10), 0) << "time-out with nothing queued";
}

TEST_F(SimHidBackendTest, UnplugEndsABlockedReadAndFailsEveryHandle) {
    auto read = ReadInBackground();
    backend_.Unplug(SimAttachment::Cable);
    ASSERT_EQ(read.wait_for(kHang), std::future_status::ready);
    EXPECT_EQ(read.get().first, -1);
    EXPECT_EQ(input_->ReadInputReport(buffer_, 0), -1);
    EXPECT_FALSE(feature_->SetFeatureReport(kRateWrite));
    FeatureReport reply{kCommandReportId};
    EXPECT_FALSE(feature_->GetFeatureReport(reply));
    EXPECT_EQ(mouse_.Profile(0).reportRate, 1);
}

TEST_F(SimHidBackendTest, CloseFromAnotherThreadWakesTheReader) {
    EXPECT_EQ(backend_.OpenHandleCount(), 2);
    auto read = ReadInBackground();
    std::thread([this] { input_->Close(); }).join();
    ASSERT_EQ(read.wait_for(kHang), std::future_status::ready);
    EXPECT_EQ(read.get().first, -1);
    EXPECT_FALSE(input_->IsOpen());
    EXPECT_EQ(backend_.OpenHandleCount(), 1);
}

TEST(SimHidBackend, HandlesOfAReplacedDeviceOrDestroyedBackendFail) {
    VirtualMouse first, second;
    std::shared_ptr<HidHandle> oldFeature, newInput;
    {
        SimHidBackend backend;
        oldFeature = backend.Open(backend.Plug(SimAttachment::Cable, first)[1], HidAccess::Write);
        const auto paths = backend.Plug(SimAttachment::Cable, second);
        EXPECT_EQ(backend.Enumerate().size(), 2u);
        EXPECT_FALSE(oldFeature->SetFeatureReport(kRateWrite));
        EXPECT_TRUE(backend.Open(paths[1], HidAccess::Write)->SetFeatureReport(kRateWrite));
        newInput = backend.Open(paths[0], HidAccess::Read);
    }
    second.SetButton(0, true);  // must not reach the device of a destroyed backend
    std::vector<uint8_t> buffer(16);
    EXPECT_EQ(newInput->ReadInputReport(buffer, 0), -1);
    EXPECT_EQ(first.Profile(0).reportRate, 1);
    EXPECT_EQ(second.Profile(0).reportRate, 2);
}

}  // namespace
}  // namespace mousecfg::sim
