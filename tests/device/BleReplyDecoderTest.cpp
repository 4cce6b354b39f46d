// Replies to reads made over BLE, as message 2065 delivers them: decoded into the model, or refused when malformed.
#include "device/BleReplyDecoder.h"

#include <gtest/gtest.h>

#include "device/CommandFrame.h"
#include "device/CommandSet.h"
#include "device/ConnectionState.h"
#include "device/DeviceMessages.h"
#include "device/HexText.h"
#include "device/ReportTransport.h"
#include "tests/support/FakeBleLink.h"
#include "tests/support/FakeDeviceStateModel.h"
#include "tests/support/RecordingPacer.h"

namespace mousecfg {
namespace {

// The hexadecimal text of a reply report carrying `data`, its header echoing the request's index and offset.
std::string ReplyText(uint8_t code, const std::vector<uint8_t>& data, uint8_t index = 0, uint16_t offset = 0) {
    FeatureReport report{};
    report[0] = kCommandReportId;
    report[1 + CommandFrame::kCodeAt] = code;
    report[1 + CommandFrame::kIndexAt] = index;
    report[1 + CommandFrame::kOffsetLowAt] = static_cast<uint8_t>(offset & 0xFF);
    report[1 + CommandFrame::kOffsetHighAt] = static_cast<uint8_t>(offset >> 8);
    report[1 + CommandFrame::kLengthAt] = static_cast<uint8_t>(data.size());
    std::copy(data.begin(), data.end(), report.begin() + 1 + CommandFrame::kDataAt);
    return ToHexText(report);
}

class BleReplyDecoderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        transport_.SetBleLink(&link_, kS_OK);
        transport_.SetBleActive(true);
    }
    BleMessageOutcome Decode(uint8_t type, const std::string& text) {
        return decoder_.Decode(ble::kReadReplyFirst | type, text, variant_);
    }
    // Sends a read over BLE, as the replies below answer; the link's record of it is cleared.
    void SendRead(uint16_t typeAndSubtype, uint8_t part = 0, uint8_t mode = 0) {
        auto session = commands_.Acquire();
        session->SetTypeAndSubtype(typeAndSubtype);
        session->part = part;
        session.request()[0] = mode;
        EXPECT_EQ(session.DeviceRead(), 1);
        link_.texts.clear();
    }

    test::RecordingPacer pacer_;
    ReportTransport transport_{PacingValues::Zero(), pacer_};
    CommandSet commands_{transport_};
    test::FakeBleLink link_;
    test::FakeDeviceStateModel model_;
    ConnectionState state_;
    BleReplyDecoder decoder_{commands_, model_, state_};
    uint8_t variant_ = 6;
};

TEST_F(BleReplyDecoderTest, MalformedRepliesChangeNothing) {
    const std::string dpi = ReplyText(0x86, std::vector<uint8_t>(20, 1));
    const std::string cases[] = {
        "",
        "06 00 00 86 01 00 00 14 0",                                     // cut short
        "060",                                                           // digits without separating blanks
        dpi.substr(0, 30) + "zz " + dpi.substr(33),                      // not hexadecimal
        ReplyText(0x86, std::vector<uint8_t>(20, 1)).substr(0, 3 * 20),  // too short for a DPI table
        ReplyText(0x86, {}),                                             // length 0: no data
        dpi + "100",                                                     // a piece of three digits
    };
    for (const std::string& text : cases) {
        const BleMessageOutcome outcome = Decode(request::kDpiTable, text);
        EXPECT_FALSE(outcome.battery || outcome.charging || outcome.reloadConfiguration) << text;
        EXPECT_FALSE(model_.dpiCurrentFromMouse.has_value()) << text;
    }
    EXPECT_FALSE(Decode(request::kReadDeviceInfo, ReplyText(0x81, {1, 2})).charging.has_value()) << "length 2";
    EXPECT_FALSE(Decode(0x0F, ReplyText(0x8F, {1, 2, 3})).charging.has_value()) << "no such read";
    Decode(request::kDpiTable, dpi);
    EXPECT_TRUE(model_.dpiCurrentFromMouse.has_value()) << "the well-formed reply is taken";
}

TEST_F(BleReplyDecoderTest, DeviceInformationShowsTheBatteryOnceAfterConnecting) {
    state_.batteryPending = true;
    const BleMessageOutcome first = Decode(request::kReadDeviceInfo, ReplyText(0x81, {1, 0x97, 6}));
    EXPECT_EQ(first.battery, (BatteryDisplay{23, false})) << "normal colour above 20 over BLE";
    EXPECT_EQ(first.charging, true);
    EXPECT_FALSE(first.reloadConfiguration);
    EXPECT_FALSE(state_.batteryPending);

    const BleMessageOutcome second = Decode(request::kReadDeviceInfo, ReplyText(0x81, {1, 0x14, 9}));
    EXPECT_FALSE(second.battery.has_value());
    EXPECT_EQ(second.charging, false);
    EXPECT_TRUE(second.reloadConfiguration);
    EXPECT_EQ(variant_, 9);
}

TEST_F(BleReplyDecoderTest, SystemSettingRepliesWithoutAnIndexFollowTheLastReadsSubtype) {
    SendRead(0x0102);
    Decode(request::kSystemSetting, ReplyText(0x82, {0x12, 0x34, 0, 1, 0xFF, 0xFE, 0, 0}));
    EXPECT_EQ(model_.profileTags, (std::array<uint16_t, 4>{0x1234, 1, 0xFFFE, 0}));
    EXPECT_FALSE(model_.profileFromMouse.has_value());

    SendRead(0x0202);
    Decode(request::kSystemSetting, ReplyText(0x82, {2}));
    EXPECT_EQ(model_.profileFromMouse, 2);
    Decode(request::kSystemSetting, ReplyText(0x82, {4}));
    EXPECT_EQ(model_.profileFromMouse, 0) << "profiles above 3 read as 0";
}

TEST_F(BleReplyDecoderTest, ALateReplyIsTakenForWhatItsHeaderNamesNotForTheLastRequest) {
    SendRead(0x0202);  // requests made after the replies' reads
    SendRead(request::kLightEffect, request::kLightRecord, 0x81);
    Decode(request::kSystemSetting, ReplyText(0x82, {0, 7, 0, 8, 0, 9, 0, 10}, request::kProfileTag));
    EXPECT_EQ(model_.profileTags, (std::array<uint16_t, 4>{7, 8, 9, 10}));
    EXPECT_FALSE(model_.profileFromMouse.has_value());
    std::vector<uint8_t> record(25, 0);
    record[0] = 1;
    Decode(request::kLightEffect, ReplyText(0x89, record, 0, 0));
    EXPECT_TRUE(model_.lightingReads.empty()) << "without an offset the last lighting read decides: not a header";
    EXPECT_EQ(model_.lightingRecords.size(), 1u);
    SendRead(request::kLightEffect, request::kLightHeader);
    Decode(request::kLightEffect, ReplyText(0x89, record, 0, 4 * 25));
    EXPECT_EQ(model_.lightingRecords.size(), 2u) << "a reply at a record's offset is a record";
}

TEST_F(BleReplyDecoderTest, DpiTableGivesLevelsValuesAndMultipliers) {
    std::vector<uint8_t> data(20, 0);
    data[0] = 0b00000101;  // levels 0 and 2 on
    data[1] = 3;           // level 2 in use
    data[2] = 0x90;        // level 0: 400
    data[3] = 0x01;
    data[6] = 0x20;  // level 2: 800
    data[7] = 0x03;
    data[18] = 0b00100001;  // level 0 multiplier 1, level 2 multiplier 2
    Decode(request::kDpiTable, ReplyText(0x86, data));
    EXPECT_EQ(model_.dpiCurrentFromMouse, 2);
    const auto& levels = model_.dpiLevelsFromMouse;
    EXPECT_TRUE(levels[0].enabled && levels[2].enabled);
    EXPECT_FALSE(levels[1].enabled);
    EXPECT_EQ(levels[0].sensorValue, 400);
    EXPECT_EQ(levels[2].sensorValue, 800);
    EXPECT_EQ(levels[0].multiplier, 1);
    EXPECT_EQ(levels[2].multiplier, 2);
}

TEST_F(BleReplyDecoderTest, LightingHeaderAsksForItsModesRecordAtOnce) {
    SendRead(request::kLightEffect, request::kLightHeader);
    Decode(request::kLightEffect, ReplyText(0x89, {0xC3, 0x34, 0x12}));  // 0xC3 loses bit 6: mode 131
    ASSERT_EQ(model_.lightingReads.size(), 1u);
    EXPECT_EQ(model_.lightingReads[0], (std::pair<int, uint16_t>{131, 0x1234}));
    ASSERT_EQ(link_.texts.size(), 1u);
    const auto request = ParseHexText(link_.texts[0]);
    ASSERT_TRUE(request.has_value());
    const uint16_t offset = (131 & 0x7F) * 25;  // the record of the mode's number
    EXPECT_EQ((*request)[1 + CommandFrame::kCodeAt], 0x89);
    EXPECT_EQ((*request)[1 + CommandFrame::kOffsetLowAt], offset & 0xFF);
    EXPECT_EQ((*request)[1 + CommandFrame::kOffsetHighAt], offset >> 8);

    std::vector<uint8_t> record(25, 0);
    record[0] = 3;  // speed
    record[1] = 1;  // direction
    record[2] = 2;  // brightness 6 - 2
    record[3] = 0b0000101;
    record[4] = 0x11;  // colour 0 triple b0 b1 b2 = 11 22 33
    record[5] = 0x22;
    record[6] = 0x33;
    Decode(request::kLightEffect, ReplyText(0x89, record));
    ASSERT_EQ(model_.lightingRecords.size(), 1u);
    const LightingRecordReading& reading = model_.lightingRecords[0];
    EXPECT_EQ(reading.speed, 3);
    EXPECT_EQ(reading.direction, 1);
    EXPECT_EQ(reading.brightness, 4);
    EXPECT_TRUE(reading.colourEnabled[0] && reading.colourEnabled[2]);
    EXPECT_FALSE(reading.colourEnabled[1]);
    EXPECT_EQ(reading.colours[0], 0xFF221133u);
    EXPECT_EQ(reading.colours[1], 0xFF000000u);

    record[0] = 0;  // no speed: not an effect record
    Decode(request::kLightEffect, ReplyText(0x89, record));
    EXPECT_EQ(model_.lightingRecords.size(), 1u);
}

// An apply run holds the request block while the replies to its reads arrive: they are decoded at once from
// their own headers, without waiting for the run, and the record a lighting header asks for follows the run.
TEST_F(BleReplyDecoderTest, RepliesDuringARunAreDecodedFromTheirHeadersWithoutWaiting) {
    SendRead(0x0102);
    SendRead(0x0202);
    SendRead(request::kLightEffect, request::kLightHeader);
    auto run = commands_.Acquire();
    run->SetTypeAndSubtype(0x0202);  // what the block says must not matter
    run->part = request::kLightRecord;
    Decode(request::kSystemSetting, ReplyText(0x82, {0xAB, 0xCD, 0, 2, 0, 3, 0, 4}, request::kProfileTag));
    EXPECT_EQ(model_.profileTags, (std::array<uint16_t, 4>{0xABCD, 2, 3, 4}));
    EXPECT_FALSE(model_.profileFromMouse.has_value());
    Decode(request::kSystemSetting, ReplyText(0x82, {1}, request::kActiveProfile));
    EXPECT_EQ(model_.profileFromMouse, 1);

    Decode(request::kLightEffect, ReplyText(0x89, {0x83, 0, 0}));
    ASSERT_EQ(model_.lightingReads.size(), 1u);
    EXPECT_TRUE(link_.texts.empty()) << "nothing is sent while the run holds the block";
    EXPECT_TRUE(decoder_.HasDeferredRead());
    decoder_.RunDeferredReads();
    EXPECT_TRUE(link_.texts.empty()) << "still held";

    std::vector<uint8_t> record(25, 0);
    record[0] = 2;
    Decode(request::kLightEffect, ReplyText(0x89, record, 0, 3 * 25));
    EXPECT_EQ(model_.lightingRecords.size(), 1u) << "a reply at a record's offset is a record";

    { auto released = std::move(run); }
    decoder_.RunDeferredReads();
    ASSERT_EQ(link_.texts.size(), 1u);
    const auto request = ParseHexText(link_.texts[0]);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ((*request)[1 + CommandFrame::kOffsetLowAt], (3 * 25) & 0xFF);
    EXPECT_FALSE(decoder_.HasDeferredRead());
    decoder_.RunDeferredReads();
    EXPECT_EQ(link_.texts.size(), 1u) << "asked for once";
}

TEST_F(BleReplyDecoderTest, AHeaderOutsideTheLightingModesNamesNoMode) {
    SendRead(request::kLightEffect, request::kLightHeader);
    Decode(request::kLightEffect, ReplyText(0x89, {0x05, 0, 0}));
    EXPECT_TRUE(model_.lightingReads.empty());
    EXPECT_EQ(link_.texts.size(), 1u) << "the record is asked for all the same";
}

}  // namespace
}  // namespace mousecfg
