#include "device/ReportTransport.h"

#include <gtest/gtest.h>

#include "tests/support/FakeBleLink.h"
#include "tests/support/FakeHidHandle.h"
#include "tests/support/RecordingPacer.h"

namespace mousecfg {
namespace {

using test::FakeBleLink;
using test::FakeHidHandle;
using test::RecordingPacer;

class ReportTransportTest : public ::testing::Test {
protected:
    ReportTransportTest() : transport_(PacingValues::Zero(), pacer_) { transport_.SetHandles(hid_, nullptr); }

    RecordingPacer pacer_;
    ReportTransport transport_;
    std::shared_ptr<FakeHidHandle> hid_ = std::make_shared<FakeHidHandle>();
};

TEST_F(ReportTransportTest, FrameCarriesHeaderDataAndZeroFillInFeatureReport6) {
    const uint8_t data[] = {0xAA, 0xBB, 0xCC};
    ASSERT_EQ(transport_.SendCommand(0x07, 2, 300, 3, data), 1);
    ASSERT_EQ(hid_->Sent().size(), 1u);
    const FeatureReport report = hid_->Sent()[0];
    const std::vector<uint8_t> head(report.begin(), report.begin() + 12);
    // ID, reserved 0 0, code, sequence 1, index, offset 300 = 44 + 1 x 256, length, data
    EXPECT_EQ(head, (std::vector<uint8_t>{6, 0, 0, 0x07, 1, 2, 44, 1, 3, 0xAA, 0xBB, 0xCC}));
    EXPECT_TRUE(std::all_of(report.begin() + 12, report.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(ReportTransportTest, ThirtyTwoDataBytesAreSentAndThirtyThreeAreNot) {
    std::vector<uint8_t> data(33, 0x5A);
    EXPECT_EQ(transport_.SendCommand(0x08, 0, 0, 32, data.data()), 1);
    EXPECT_EQ(hid_->Sent().back()[40], 0x5A);
    EXPECT_EQ(transport_.SendCommand(0x08, 0, 0, 33, data.data()), 0);
    EXPECT_EQ(hid_->Sent().size(), 1u);

    const std::vector<uint8_t> longFrame(41, 0);
    pacer_.Clear();
    EXPECT_EQ(transport_.SendReport(longFrame), 0);
    EXPECT_TRUE(pacer_.Waits().empty()) << "a refused frame is refused at once";
}

TEST_F(ReportTransportTest, SequenceStartsAtOneAndWrapsFrom255ToZero) {
    for (int i = 0; i < 257; ++i) {
        transport_.SendCommand(0x03, 0, 0, 0, nullptr);
    }
    const auto frames = hid_->SentFrames();
    ASSERT_EQ(frames.size(), 257u);
    EXPECT_EQ(frames[0].sequence, 1);
    EXPECT_EQ(frames[254].sequence, 255);
    EXPECT_EQ(frames[255].sequence, 0);
    EXPECT_EQ(frames[256].sequence, 1);
}

TEST_F(ReportTransportTest, ReadExchangeGivesUpAfterFiveEmptyReplies) {
    FeatureReport reply{};
    EXPECT_EQ(transport_.ReadExchange(0x86, 0, 0, 20, reply), 0);
    EXPECT_EQ(hid_->Sent().size(), 5u);
    EXPECT_EQ(hid_->Reads(), 5);
}

TEST_F(ReportTransportTest, ReadExchangeStopsAtFirstNonEmptyReply) {
    hid_->QueueEmptyReplies(2);
    hid_->QueueReply({0x11, 0x22}, 0x82);
    FeatureReport reply{};
    EXPECT_EQ(transport_.ReadExchange(0x82, 2, 0, 1, reply), 1);
    EXPECT_EQ(hid_->Reads(), 3);
    EXPECT_EQ(reply[9], 0x11);
    const auto request = hid_->SentFrames().front();
    EXPECT_EQ(request.code, 0x82);
    EXPECT_EQ(request.index, 2);
    EXPECT_EQ(request.length, 1);
    EXPECT_EQ(request.data[0], 0) << "read requests carry no data";
}

TEST_F(ReportTransportTest, MissingOrFailingHandleGivesZero) {
    hid_->SetFailing(true);
    EXPECT_EQ(transport_.SendCommand(0x03, 0, 0, 1, nullptr), 0);
    FeatureReport reply{};
    EXPECT_EQ(transport_.ReceiveReport(reply), 0);
    transport_.SetHandles(nullptr, nullptr);
    EXPECT_EQ(transport_.SendCommand(0x03, 0, 0, 1, nullptr), 0);
}

TEST(ReportTransportPacing, WritesWait80AndEachReadAttemptWaits160) {
    RecordingPacer pacer;
    ReportTransport transport(PacingValues::Default(), pacer);
    auto hid = std::make_shared<FakeHidHandle>();
    transport.SetHandles(hid, nullptr);
    transport.SendCommand(0x03, 0, 0, 1, nullptr);
    EXPECT_EQ(pacer.Waits(), (std::vector<int>{30, 50}));
    pacer.Clear();
    hid->QueueReply({1});
    FeatureReport reply{};
    transport.ReadExchange(0x83, 0, 0, 1, reply);
    EXPECT_EQ(pacer.Waits(), (std::vector<int>{30, 50, 80}));
}

TEST_F(ReportTransportTest, BlePathSendsAll41BytesAsHexTextEndingWithABlank) {
    FakeBleLink link;
    transport_.SetBleLink(&link, 0);
    transport_.SetBleActive(true);
    EXPECT_EQ(transport_.SendCommand(0x81, 0, 0, 3, nullptr), 1);
    ASSERT_EQ(link.texts.size(), 1u);
    const std::string& text = link.texts[0];
    EXPECT_EQ(text.size(), 123u);
    // ID, two reserved bytes, code, sequence 1, index, offset low and high, length 3
    EXPECT_EQ(text.substr(0, 27), "06 00 00 81 01 00 00 00 03 ");
    EXPECT_EQ(text.back(), ' ');
    EXPECT_TRUE(hid_->Sent().empty()) << "a frame never goes both ways";

    link.sendResult = 0;
    EXPECT_EQ(transport_.SendCommand(0x03, 0, 0, 1, nullptr), 0);
}

TEST_F(ReportTransportTest, BleFailuresRaiseErrorsWithCodeAndInterface) {
    FakeBleLink link;
    link.result = kE_FAIL;
    transport_.SetBleLink(&link, 0);
    transport_.SetBleActive(true);
    try {
        transport_.SendCommand(0x03, 0, 0, 1, nullptr);
        FAIL() << "expected a BleError";
    } catch (const BleError& error) {
        EXPECT_EQ(error.code(), kE_FAIL);
        EXPECT_STREQ(error.interfaceId(), "{19DA4098-128B-4078-BD71-489DA44F73E6}");
    }
    transport_.SetBleLink(nullptr, 0);
    try {
        transport_.SendCommand(0x03, 0, 0, 1, nullptr);
        FAIL() << "expected a BleError";
    } catch (const BleError& error) {
        EXPECT_EQ(error.code(), kE_POINTER);
    }
}

TEST(ReportTransportBle, WithoutALinkNothingIsSentButTheWaitStays) {
    RecordingPacer pacer;
    ReportTransport transport(PacingValues::Default(), pacer);
    transport.SetBleLink(nullptr, kClassNotRegistered);
    transport.SetBleActive(true);
    EXPECT_EQ(transport.SendCommand(0x03, 0, 0, 1, nullptr), 0);
    EXPECT_EQ(pacer.Waits(), (std::vector<int>{30, 50}));
}

}  // namespace
}  // namespace mousecfg
