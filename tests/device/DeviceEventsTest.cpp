// Input reports turned into device events, and device events into window messages.
#include <gtest/gtest.h>

#include "device/DeviceEventQueue.h"
#include "device/DeviceEventThread.h"
#include "device/DeviceMessages.h"
#include "device/InputReportProcessor.h"
#include "platform/Trace.h"
#include "tests/support/FakeDeviceStateModel.h"

namespace mousecfg {
namespace {

// A report as the mouse sends it: profile 0, report-rate code 1, DPI level 1, nothing else set.
struct Report {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(16, 0);
    Report() {
        bytes[0] = 5;
        bytes[1] = 1;
        bytes[7] = 1;
        bytes[8] = 1;
    }
    Report& Buttons(uint16_t bits) {
        bytes[2] = static_cast<uint8_t>(bits & 0xFF);
        bytes[3] = static_cast<uint8_t>(bits >> 8);
        return *this;
    }
    Report& Set(size_t at, uint8_t value) {
        bytes[at] = value;
        return *this;
    }
};

class InputReportProcessorTest : public ::testing::Test {
  protected:
    std::vector<DeviceEvent> Feed(const Report& report, bool compareRate = true) {
        processor_.Process(1, report.bytes, compareRate, state_);
        std::vector<DeviceEvent> events;
        while (queue_.Pending() > 0) {
            events.push_back(*queue_.Pop());
        }
        return events;
    }

    test::FakeDeviceStateModel model_;
    DeviceEventQueue queue_;
    InputReportProcessor processor_{model_, queue_};
    InputReportProcessor::State state_;
};

TEST_F(InputReportProcessorTest, PressingAndHoldingGivesNoEventReleasingGivesOnePerChangedByte) {
    EXPECT_TRUE(Feed(Report().Buttons(0x0004)).empty());
    EXPECT_TRUE(Feed(Report().Buttons(0x0004).Set(8, 3)).empty()) << "held";
    EXPECT_EQ(model_.KeyMapReloads(), 0);
    const auto events = Feed(Report().Set(8, 3).Set(6, 2).Set(7, 4).Set(9, 0x85));
    const std::vector<DeviceEvent> expected = {{1, DeviceEventKind::Profile, 2, 2},
                                               {1, DeviceEventKind::DpiLevel, 2, 3},
                                               {1, DeviceEventKind::Lighting, 2, 0x85},
                                               {1, DeviceEventKind::ReportRate, 2, 4}};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(model_.KeyMapReloads(), 1);
    EXPECT_TRUE(Feed(Report().Set(8, 3).Set(6, 2).Set(7, 4).Set(9, 0x85)).empty()) << "no button changed";
}

TEST_F(InputReportProcessorTest, ComparisonsUseTheWindowsValues) {
    model_.profile = 2;
    model_.dpiLevel = 2;
    model_.lighting = 4;  // byte 9 is compared with (4 + 1) | 0x80
    model_.reportRate = 3;
    Feed(Report().Buttons(0x0100));
    EXPECT_TRUE(Feed(Report().Set(6, 2).Set(8, 3).Set(9, 0x85).Set(7, 3)).empty());

    model_.SetDpiFlag(4, 0);
    Feed(Report().Buttons(0x0100));
    const auto events = Feed(Report().Set(6, 2).Set(8, 5).Set(9, 0).Set(7, 3));
    EXPECT_TRUE(events.empty()) << "level 4 is not flagged and byte 9 of 0 is never compared";
}

TEST_F(InputReportProcessorTest, OverBleTheReportRateIsNotCompared) {
    Feed(Report().Buttons(0x8000), false);
    const auto events = Feed(Report().Set(7, 9), false);
    EXPECT_TRUE(events.empty());
}

TEST_F(InputReportProcessorTest, EveryReleasedButtonComparesOnItsOwn) {
    Feed(Report().Buttons(0x0003));
    const auto events = Feed(Report().Set(6, 1));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].button, 0);
    EXPECT_EQ(events[1].button, 1);
}

TEST_F(InputReportProcessorTest, SuspendedEventsSkipTheRestOfTheReport) {
    Feed(Report().Buttons(0x0001));
    model_.suspended = true;
    EXPECT_TRUE(Feed(Report().Set(6, 1).Set(11, 7)).empty());
    EXPECT_EQ(model_.KeyMapReloads(), 1) << "the key map is reloaded before the check";
    model_.suspended = false;
    EXPECT_EQ(Feed(Report().Set(6, 1)).size(), 1u) << "the release is still pending";
}

TEST_F(InputReportProcessorTest, StateValueChangesAfterAFirstValue) {
    EXPECT_TRUE(Feed(Report().Set(11, 0x10)).empty()) << "no previous value";
    const auto events = Feed(Report().Set(11, 0x20).Set(12, 0x01));
    EXPECT_EQ(events, (std::vector<DeviceEvent>{{1, DeviceEventKind::StateValue, 0, 0x0120}}));
    EXPECT_TRUE(Feed(Report().Set(11, 0x20).Set(12, 0x01).Set(10, 9).Set(13, 4)).empty()) << "e and g are kept";
    EXPECT_TRUE(Feed(Report()).empty()) << "a value of 0 is no change";
}

TEST_F(InputReportProcessorTest, ShortReportsAreIgnored) {
    Report report;
    report.Buttons(0x0001);
    report.bytes.resize(14);
    EXPECT_TRUE(Feed(report).empty());
    Feed(Report().Buttons(0x0001));
    std::vector<uint8_t> tiny = {5, 1, 0};
    processor_.Process(1, tiny, true, state_);
    EXPECT_EQ(queue_.Pending(), 0u);
    EXPECT_TRUE(state_.pressed[0]) << "the short report changed nothing";
}

TEST(DeviceEventMapping, MessagesAndDropRules) {
    using K = DeviceEventKind;
    struct Case {
        DeviceEvent event;
        std::optional<int> mapped;
        int recordKind;
        std::optional<EventDelivery> expected;
    };
    const Case cases[] = {
        {{1, K::DpiLevel, 3, 4}, 7, 1, EventDelivery{{msg::kDpiLevelChanged, 4 + 256 * 7, 1, ""}, false}},
        {{0, K::Profile, 3, 2}, 7, 2, EventDelivery{{msg::kProfileChanged, 2 + 256 * 7, 0, ""}, false}},
        {{1, K::Lighting, 3, 0xC5}, 7, 1, EventDelivery{{msg::kLightingChanged, (7 << 8) | 0x85, 1, ""}, true}},
        {{1, K::ReportRate, 3, 2}, 7, 1, EventDelivery{{msg::kReportRateChanged, 2 + 256 * 7, 1, ""}, true}},
        {{1, K::StateValue, 0, 300}, 7, 2, EventDelivery{{msg::kDpiValueChanged, 0, 1, ""}, false}},
        {{1, K::DpiLevel, 3, 0}, 7, 1, std::nullopt},   // level 0
        {{1, K::DpiLevel, 20, 4}, 7, 1, std::nullopt},  // button above 19
        {{1, K::Profile, 20, 1}, 7, 1, std::nullopt},
        {{1, K::Lighting, 3, 0x85}, 7, 2, std::nullopt},  // only devices of kind 1
        {{1, K::ReportRate, 3, 2}, 7, 0, std::nullopt},
        {{1, K::Profile, 3, 1}, std::nullopt, 1, std::nullopt},  // no key map entry
        {{1, K::StateValue, 0, 9}, std::nullopt, 1, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto delivery = MapDeviceEvent(c.event, c.mapped, c.recordKind);
        ASSERT_EQ(delivery.has_value(), c.expected.has_value()) << static_cast<int>(c.event.kind);
        if (delivery) {
            EXPECT_EQ(delivery->message.id, c.expected->message.id);
            EXPECT_EQ(delivery->message.wParam, c.expected->message.wParam);
            EXPECT_EQ(delivery->message.lParam, c.expected->message.lParam);
            EXPECT_EQ(delivery->send, c.expected->send);
        }
    }
}

TEST(DeviceEventQueue, KeepsOrderAndDropsTheOldestBeyond99) {
    DeviceEventQueue queue;
    for (int i = 0; i < 105; ++i) {
        queue.Push({0, DeviceEventKind::Profile, 0, i});
    }
    EXPECT_EQ(queue.Pending(), 99u);
    EXPECT_EQ(queue.Dropped(), 6u);
    for (int i = 6; i < 105; ++i) {
        EXPECT_EQ(queue.Pop()->value, i);
    }
    queue.Stop();
    queue.Push({0, DeviceEventKind::Profile, 0, 1});
    EXPECT_FALSE(queue.Pop().has_value());
}

}  // namespace
}  // namespace mousecfg
