#include "device/CommandSet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "device/HexText.h"
#include "device/ReportTransport.h"
#include "tests/support/FakeBleLink.h"
#include "tests/support/FakeHidHandle.h"
#include "tests/support/RecordingPacer.h"
#include "tests/support/RecordingSink.h"

namespace mousecfg {
namespace {

using test::FakeBleLink;
using test::FakeHidHandle;
using test::RecordingPacer;

std::vector<uint8_t> Data(const CommandFrame& frame) {
    return std::vector<uint8_t>(frame.data.begin(), frame.data.begin() + frame.length);
}

class CommandSetTest : public ::testing::Test {
protected:
    CommandSetTest() : transport_(PacingValues::Zero(), pacer_), commands_(transport_) {
        transport_.SetHandles(hid_, nullptr);
    }

    RecordingPacer pacer_;
    ReportTransport transport_;
    CommandSet commands_;
    std::shared_ptr<FakeHidHandle> hid_ = std::make_shared<FakeHidHandle>();
};

struct WriteCase {
    const char* name;
    uint16_t typeAndSubtype;
    std::function<void(DeviceRequest&)> fill;
    uint8_t code, index;
    uint16_t offset;
    std::vector<uint8_t> data;
};

TEST_F(CommandSetTest, EachWriteBuildsItsFrameFromTheParameterArea) {
    const std::vector<WriteCase> cases = {
        {"profile tag 3", 0x0102, [](DeviceRequest& r) { r[0] = 3; r.SetU16(8, 0xBEEF); }, 0x02, 1, 6, {0xBE, 0xEF}},
        {"active profile", 0x0202, [](DeviceRequest& r) { r[0] = 2; }, 0x02, 2, 0, {2}},
        {"sleep seconds", 0x0302, [](DeviceRequest& r) { r.SetU16(10, 600); }, 0x02, 3, 0, {0x58, 0x02}},
        {"power-down seconds", 0x0402, [](DeviceRequest& r) { r.SetU16(12, 1800); }, 0x02, 4, 0, {0x08, 0x07}},
        {"sensor flags", 0x0502, [](DeviceRequest& r) { r[14] = 0x83; }, 0x02, 5, 0, {0x83}},
        {"lift-off", 0x0602, [](DeviceRequest& r) { r[15] = 2; }, 0x02, 6, 0, {2}},
        {"report rate", 3, [](DeviceRequest& r) { r[0] = 4; }, 0x03, 0, 0, {4}},
        {"key slot 5", 4, [](DeviceRequest& r) { r[0] = 5; r[1] = 0x0A; r[2] = 2; r[3] = 5; r[4] = 0; r[8] = 0; },
         0x04, 0, 20, {0x0A, 2, 5, 0}},
        {"extra key 1", 5, [](DeviceRequest& r) { r[0] = 1; r[1] = 0x01; r[2] = 0x04; r[8] = 1; }, 0x05, 0, 4,
         {0x01, 0x04, 0, 0}},
        {"type 4 with extra flag", 4, [](DeviceRequest& r) { r[0] = 0; r[1] = 7; r[8] = 1; }, 0x05, 0, 0,
         {7, 0, 0, 0}},
        {"device option 1", 0x010A, [](DeviceRequest& r) { r[0] = 9; }, 0x0A, 1, 0, {9}},
        {"device option 2", 0x020A, [](DeviceRequest& r) { r[1] = 8; }, 0x0A, 2, 0, {8}},
        {"device option 6", 0x060A, [](DeviceRequest& r) { r[5] = 1; }, 0x0A, 6, 0, {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hid_->ClearSent();
        auto session = commands_.Acquire();
        session->Clear();
        session->SetTypeAndSubtype(c.typeAndSubtype);
        c.fill(session.request());
        EXPECT_EQ(session.DeviceWrite(), 1);
        const auto frames = hid_->SentFrames();
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].code, c.code);
        EXPECT_EQ(frames[0].index, c.index);
        EXPECT_EQ(frames[0].offset, c.offset);
        EXPECT_EQ(Data(frames[0]), c.data);
    }
}

TEST_F(CommandSetTest, OutOfRangeSlotsAndUnknownRequestsSendNothing) {
    const std::vector<std::pair<uint16_t, std::function<void(DeviceRequest&)>>> cases = {
        {4, [](DeviceRequest& r) { r[0] = 16; r[8] = 0; }},
        {5, [](DeviceRequest& r) { r[0] = 4; r[8] = 1; }},
        {8, [](DeviceRequest& r) { r[0] = 16; }},
        {0x0102, [](DeviceRequest& r) { r[0] = 4; }},
        {0x0702, [](DeviceRequest&) {}},
        {0x030A, [](DeviceRequest&) {}},
        {11, [](DeviceRequest&) {}},
    };
    for (const auto& [typeAndSubtype, fill] : cases) {
        auto session = commands_.Acquire();
        session->Clear();
        session->SetTypeAndSubtype(typeAndSubtype);
        fill(session.request());
        EXPECT_EQ(session.DeviceWrite(), 0) << typeAndSubtype;
    }
    EXPECT_TRUE(hid_->Sent().empty());
}

TEST_F(CommandSetTest, DpiTableLaysOutMaskLevelValuesAndMultipliers) {
    auto session = commands_.Acquire();
    session->Clear();
    session->type = request::kDpiTable;
    session.request()[0] = 0b00000111;
    session.request()[36] = 2;
    for (size_t level = 0; level < 8; ++level) {
        session->SetU32(4 + 4 * level, 0x100 * static_cast<uint32_t>(level) + 0x10);
    }
    session->SetU32(40, 0x0024);  // level 1 multiplier 1, level 2 multiplier 2
    ASSERT_EQ(session.DeviceWrite(), 1);
    const auto data = Data(hid_->SentFrames().at(0));
    ASSERT_EQ(data.size(), 20u);
    EXPECT_EQ(data[0], 7);
    EXPECT_EQ(data[1], 2);
    EXPECT_EQ(data[2], 0x10);
    EXPECT_EQ(data[3], 0x00);
    EXPECT_EQ(data[16], 0x10);
    EXPECT_EQ(data[17], 0x07);
    EXPECT_EQ(data[18], 0x24);
    EXPECT_EQ(data[19], 0x00);
}

TEST_F(CommandSetTest, ColoursTravelAsGreenRedBlueAndReadBackUnchanged) {
    auto session = commands_.Acquire();
    session->Clear();
    session->type = request::kDpiColours;
    session->SetU32(0, 0xABCDEF);
    session->SetU32(28, 0x112233);
    ASSERT_EQ(session.DeviceWrite(), 1);
    const auto data = Data(hid_->SentFrames().at(0));
    EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + 3), (std::vector<uint8_t>{0xCD, 0xEF, 0xAB}));
    EXPECT_EQ(std::vector<uint8_t>(data.begin() + 21, data.end()), (std::vector<uint8_t>{0x22, 0x33, 0x11}));

    // A lighting record read back turns the same triple into the same value.
    std::vector<uint8_t> header(25, 0);
    header[0] = 0x82;
    std::vector<uint8_t> record(25, 0);
    record[4] = 0xCD;
    record[5] = 0xEF;
    record[6] = 0xAB;
    hid_->QueueReply(header);
    hid_->QueueReply(record);
    session->type = request::kLightEffect;
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session->U32(8), 0xABCDEFu);
}

TEST_F(CommandSetTest, LightEffectSendsHeaderThenTheModeRecord) {
    auto session = commands_.Acquire();
    session->Clear();
    session->type = request::kLightEffect;
    session.request()[0] = 0x43;  // mode 3 with bit 6 set
    session.request()[2] = 5;
    session.request()[3] = 1;
    session.request()[4] = 2;
    session.request()[5] = 0x7F;
    session->SetU16(6, 0x1234);
    session->SetU32(8, 0xFF0000);
    ASSERT_EQ(session.DeviceWrite(), 1);
    const auto frames = hid_->SentFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].offset, 0);
    EXPECT_EQ(Data(frames[0]).size(), 25u);
    EXPECT_EQ(Data(frames[0])[0], 0x43);
    EXPECT_EQ(Data(frames[0])[1], 0x34);
    EXPECT_EQ(Data(frames[0])[2], 0x12);
    EXPECT_EQ(frames[1].offset, 75);
    const auto effect = Data(frames[1]);
    EXPECT_EQ(std::vector<uint8_t>(effect.begin(), effect.begin() + 7),
              (std::vector<uint8_t>{5, 1, 2, 0x7F, 0x00, 0x00, 0xFF}));
    EXPECT_EQ(frames[1].sequence, static_cast<uint8_t>(frames[0].sequence + 1));
}

TEST_F(CommandSetTest, LightEffectWithModeOutside1To8SendsOnlyTheHeader) {
    for (uint8_t mode : {0, 9}) {
        hid_->ClearSent();
        auto session = commands_.Acquire();
        session->Clear();
        session->type = request::kLightEffect;
        session.request()[0] = mode;
        EXPECT_EQ(session.DeviceWrite(), 0);
        EXPECT_EQ(hid_->Sent().size(), 1u);
    }
}

TEST_F(CommandSetTest, ReadsDecodeTheirRepliesIntoTheParameterArea) {
    auto session = commands_.Acquire();
    session->Clear();

    hid_->QueueReply({1, 0x97, 6});
    session->type = request::kReadDeviceInfo;
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session->U32(0), 1u);
    EXPECT_EQ(session->U32(4), 0x97u);
    EXPECT_EQ(session->U32(8), 6u);

    hid_->QueueReply({0x00, 0x01, 0xAB, 0xCD, 0xFF, 0xFF, 0x12, 0x34});
    session->SetTypeAndSubtype(0x0102);
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session->U16(2), 0x0001);
    EXPECT_EQ(session->U16(4), 0xABCD);
    EXPECT_EQ(session->U16(6), 0xFFFF);
    EXPECT_EQ(session->U16(8), 0x1234);

    hid_->QueueReply({9});
    session->SetTypeAndSubtype(0x0702);
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[16], 9);

    std::vector<uint8_t> dpi(20, 0);
    dpi[0] = 0x0F;
    dpi[1] = 3;
    dpi[2] = 0x34;
    dpi[3] = 0x12;
    dpi[18] = 0x40;
    hid_->QueueReply(dpi);
    session->type = request::kDpiTable;
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[0], 0x0F);
    EXPECT_EQ(session.request()[36], 3);
    EXPECT_EQ(session->U32(4), 0x1234u);
    EXPECT_EQ(session->U32(40), 0x40u);
}

TEST_F(CommandSetTest, FailedReadLeavesTheAreaButAFailedRateReadGivesCodeZero) {
    auto session = commands_.Acquire();
    session->Clear();
    session.request()[0] = 0x55;
    session->SetTypeAndSubtype(0x0202);
    EXPECT_EQ(session.DeviceRead(), 0);
    EXPECT_EQ(session.request()[0], 0x55);
    EXPECT_EQ(hid_->Reads(), 5);

    session->type = request::kReportRate;
    EXPECT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[0], 0);
}

TEST_F(CommandSetTest, LightReadAsksForTheRecordOfTheModeInTheHeader) {
    std::vector<uint8_t> header(25, 0);
    header[0] = 0x84;
    header[1] = 0x22;
    header[2] = 0x11;
    hid_->QueueReply(header);
    std::vector<uint8_t> record(25, 0);
    record[0] = 3;
    hid_->QueueReply(record);
    auto session = commands_.Acquire();
    session->Clear();
    session->type = request::kLightEffect;
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[0], 0x84);
    EXPECT_EQ(session->U16(6), 0x1122);
    EXPECT_EQ(session.request()[2], 3);
    EXPECT_EQ(hid_->SentFrames().back().offset, 4 * 25);

    // With the power-save flag (bit 6) set the record is still that of mode 4.
    header[0] = 0xC4;
    hid_->QueueReply(header);
    hid_->QueueReply(record);
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[0], 0xC4);
    EXPECT_EQ(hid_->SentFrames().back().offset, 4 * 25);
}

TEST_F(CommandSetTest, LightReadResultIsThatOfTheRecordExchange) {
    std::vector<uint8_t> record(25, 0);
    record[0] = 5;
    record[4] = 0xAB;
    auto session = commands_.Acquire();
    session->Clear();
    session->type = request::kLightEffect;
    session.request()[0] = 0x83;

    // The header goes unanswered: the mode held before names the record, which arrives and is decoded.
    hid_->QueueEmptyReplies(ReportTransport::kReadAttempts);
    hid_->QueueReply(record);
    EXPECT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[0], 0x83);
    EXPECT_EQ(session.request()[2], 5);
    EXPECT_EQ(session->U32(8), 0x00AB00u);
    EXPECT_EQ(hid_->SentFrames().back().offset, 3 * 25);

    // The header arrives but the record does not: the read failed and the record fields are untouched.
    std::vector<uint8_t> header(25, 0);
    header[0] = 0x84;
    hid_->QueueReply(header);
    hid_->QueueEmptyReplies(ReportTransport::kReadAttempts);
    EXPECT_EQ(session.DeviceRead(), 0);
    EXPECT_EQ(session.request()[2], 5);
}

TEST_F(CommandSetTest, BleReadsOnlySendTheRequestAndWaitForTheMessage) {
    RecordingPacer pacer;
    ReportTransport transport(PacingValues::Default(), pacer);
    FakeBleLink link;
    transport.SetBleLink(&link, 0);
    transport.SetBleActive(true);
    CommandSet commands(transport);
    auto session = commands.Acquire();
    session->Clear();

    session->SetTypeAndSubtype(0x0102);
    EXPECT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(pacer.Waits(), (std::vector<int>{30, 50, 160}));
    ASSERT_EQ(link.texts.size(), 1u);
    EXPECT_EQ(link.texts[0].substr(9, 15), "82 01 01 00 00 ");

    session->type = request::kLightEffect;
    session.request()[0] = 0x83;
    session->part = request::kLightRecord;
    EXPECT_EQ(session.DeviceRead(), 1);
    const auto record = ParseHexText(link.texts.back());
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ((*record)[6], 75);  // offset low byte: mode 3 x 25
    session->part = 0;
    EXPECT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(link.texts.size(), 2u) << "an unknown part sends nothing";

    // The report rate is read over HID whatever the path, and counts as read.
    pacer.Clear();
    session->type = request::kReportRate;
    EXPECT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[0], 0);
    EXPECT_EQ(link.texts.size(), 7u);
}

TEST_F(CommandSetTest, BleRegisterAndQueryCallTheLinkOnlyWhenItExists) {
    FakeBleLink link;
    test::RecordingSink window;
    auto session = commands_.Acquire();
    session->type = request::kBleRegister;
    session->bleDeviceString = "Mouse A,Mouse B";
    session->bleWindow = &window;
    session->SetU32(8, 2065);

    transport_.SetBleLink(&link, kClassNotRegistered);
    EXPECT_EQ(session.DeviceWrite(), 0);
    EXPECT_TRUE(link.registered.empty());

    transport_.SetBleLink(&link, 0);
    EXPECT_EQ(session.DeviceWrite(), 0);
    ASSERT_EQ(link.registered.size(), 1u);
    EXPECT_EQ(link.registered[0], "Mouse A,Mouse B");
    EXPECT_EQ(link.window, &window);
    EXPECT_EQ(link.messageNumber, 2065);

    session->type = request::kBleQuery;
    EXPECT_EQ(session.DeviceWrite(), 7);
    link.result = kE_FAIL;
    EXPECT_EQ(session.DeviceWrite(), 0) << "a failing link call is caught and gives 0";
}

TEST_F(CommandSetTest, OnlyOneSessionAtATime) {
    auto first = commands_.Acquire();
    EXPECT_FALSE(commands_.TryAcquire().has_value());
    std::atomic<bool> acquired{false};
    std::thread other([&] {
        auto second = commands_.Acquire();
        acquired = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(acquired);
    { auto released = std::move(first); }
    other.join();
    EXPECT_TRUE(acquired);
    EXPECT_TRUE(commands_.TryAcquire().has_value());
}

}  // namespace
}  // namespace mousecfg
