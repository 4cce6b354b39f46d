#include "sim/SimBleLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <thread>

#include "device/DeviceMessages.h"
#include "device/HexText.h"
#include "sim/VirtualMouse.h"
#include "tests/sim/SimFrames.h"
#include "tests/support/RecordingSink.h"

namespace mousecfg::sim {
namespace {

using simtest::MakeRead;
using simtest::MakeReport;
using simtest::Ramp;
using simtest::ReplyData;

class SimBleLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(link_.RegisterDevices("Mouse A,Mouse B", &sink_, msg::kBleStatus), kS_OK);
        link_.Flush();
        sink_.Clear();
    }
    int16_t Send(const std::string& text) {
        int16_t sent = -1;
        EXPECT_EQ(link_.SendFrame(text, &sent), kS_OK);
        return sent;
    }
    std::vector<Message> Messages() {
        link_.Flush();
        std::vector<Message> messages;
        for (const auto& entry : sink_.Entries()) {
            EXPECT_EQ(entry.message.id, msg::kBleStatus);
            messages.push_back(entry.message);
        }
        return messages;
    }

    VirtualMouse mouse_;
    test::RecordingSink sink_;
    SimBleLink link_{mouse_};
};

TEST_F(SimBleLinkTest, ReadRequestIsAnsweredWithAReplyMessage) {
    const auto dpi = simtest::DpiTable(0x10);
    EXPECT_EQ(Send(ToHexText(MakeReport(0x06, 0, 0, dpi))), 1);
    EXPECT_TRUE(Messages().empty()) << "writes are not answered";

    EXPECT_EQ(Send(ToHexText(MakeRead(0x86, 0, 0, 20, 42))), 1);
    EXPECT_EQ(Send(ToHexText(MakeRead(0x81, 0, 0, 3))), 1);
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].wParam, 0x606u);
    EXPECT_EQ(messages[0].text, ToHexText(MakeReport(0x86, 0, 0, dpi, 42)));
    EXPECT_EQ(messages[1].wParam, 0x601u);
    EXPECT_EQ(ReplyData(*ParseHexText(messages[1].text)), (std::vector<uint8_t>{1, 80, 6}));

    FeatureReport pending{kCommandReportId};
    ASSERT_TRUE(mouse_.GetFeature(pending));
    EXPECT_EQ(ReplyData(pending), std::vector<uint8_t>{}) << "the answer is not given twice";
    EXPECT_EQ(link_.FramesSent(), 3);
}

TEST_F(SimBleLinkTest, TextThatIsNotAReportIsRefused) {
    const FeatureReport report = MakeReport(0x03, 0, 0, {4}, 0x1B);
    const std::string good = ToHexText(report);
    std::string upper = good;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    std::string oneDigit = good;
    oneDigit.replace(9, 3, "3  ");  // the code byte as "3 " instead of "03 "
    for (const std::string& text : {std::string("zz 01"), ToHexText(std::span(report).first(40)), std::string(),
                                    upper, good.substr(0, good.size() - 1), oneDigit, good + "00 ",
                                    ToSpacedHex(report) + "\n"}) {
        EXPECT_EQ(Send(text), 0) << text;
    }
    EXPECT_EQ(mouse_.RejectCount(), 8);
    ASSERT_EQ(mouse_.Rejections().size(), 8u);
    EXPECT_NE(mouse_.Rejections()[3].find("lower-case"), std::string::npos) << mouse_.Rejections()[3];
    EXPECT_EQ(Send(good), 1);
    EXPECT_EQ(mouse_.Profile(0).reportRate, 4) << "only the exact text reached the mouse";
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SimBleLinkTest, InputReportsArePostedWhileConnected) {
    mouse_.SetButton(2, true);
    link_.Disconnect();
    mouse_.SetButton(2, false);
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].wParam, ble::kInputReportFirst);
    EXPECT_EQ(ParseHexText(messages[0].text), (std::vector<uint8_t>{5, 1, 4, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(messages[1].wParam, ble::kDisconnected);
}

TEST_F(SimBleLinkTest, StatusEventsArePostedInOrder) {
    link_.SetAutoConnect(false);
    ASSERT_EQ(link_.RegisterDevices("Mouse C", &sink_, msg::kBleStatus), kS_OK);
    link_.Connect();
    link_.FailConnection();
    link_.RequestRegistration();
    link_.ReportBattery(23);
    link_.RequestStatusQuery();
    std::vector<uintptr_t> codes;
    for (const auto& message : Messages()) {
        codes.push_back(message.wParam);
    }
    EXPECT_EQ(codes, (std::vector<uintptr_t>{1, 3, 4, 16, 17}));
    EXPECT_EQ(Messages()[3].text, std::string(1, '\x17'));
    EXPECT_EQ(link_.RegisterCount(), 2);
    EXPECT_EQ(link_.RegisteredNames(), "Mouse C");
}

TEST_F(SimBleLinkTest, FailingCallsReturnTheirResultAndDoNothing) {
    link_.SetQueryStatus(7);
    link_.FailCallsWith(kE_FAIL);
    int16_t value = -1;
    EXPECT_EQ(link_.RegisterDevices("x", &sink_, msg::kBleStatus), kE_FAIL);
    EXPECT_EQ(link_.QueryStatus(&value), kE_FAIL);
    EXPECT_EQ(link_.SendFrame(ToHexText(MakeReport(0x03, 0, 0, {4})), &value), kE_FAIL);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(link_.RegisterCount(), 1);
    EXPECT_EQ(mouse_.CountFrames(0x03), 0);
    EXPECT_TRUE(Messages().empty());

    link_.FailCallsWith(kS_OK);
    EXPECT_EQ(link_.QueryStatus(&value), kS_OK);
    EXPECT_EQ(value, 7);
}

TEST(SimBleLink, DestroyingTheLinkWhileTheMouseReportsIsSafe) {
    VirtualMouse mouse;
    test::RecordingSink sink;
    std::atomic<bool> stop{false};
    std::thread presser([&] {
        for (int i = 0; !stop; ++i) {
            mouse.SetButton(0, i % 2 == 0);
        }
    });
    for (int round = 0; round < 20; ++round) {
        sink.Clear();
        SimBleLink link(mouse);
        link.RegisterDevices("", &sink, msg::kBleStatus);
        EXPECT_TRUE(sink.WaitForCount(2)) << "reports flow while connected";
    }
    stop = true;
    presser.join();
}

}  // namespace
}  // namespace mousecfg::sim
