#include "sim/VirtualMouse.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "tests/sim/SimFrames.h"

namespace mousecfg::sim {
namespace {

using simtest::MakeRead;
using simtest::MakeReport;
using simtest::Ramp;
using simtest::ReplyData;

const FeatureReport kEmptyReply{kCommandReportId};

FeatureReport Fetch(VirtualMouse& mouse) {
    FeatureReport reply{kCommandReportId};
    EXPECT_TRUE(mouse.GetFeature(reply));
    return reply;
}

void SwitchProfile(VirtualMouse& mouse, uint8_t profile) {
    ASSERT_TRUE(mouse.SetFeature(MakeReport(0x02, 2, 0, {profile})));
}

template <typename Array>
void Put(Array& target, size_t at, const std::vector<uint8_t>& data) {
    std::copy(data.begin(), data.end(), target.begin() + static_cast<std::ptrdiff_t>(at));
}

TEST(VirtualMouse, ProfileWritesLandInTheActiveProfileOnly) {
    using Place = std::function<void(ProfileMemory&, const std::vector<uint8_t>&)>;
    struct Case {
        uint8_t code, index;
        uint16_t offset;
        std::vector<uint8_t> data;
        Place place;  // where the data must land
    };
    const std::vector<Case> cases = {
        {0x03, 0, 0, {4}, [](auto& p, auto& d) { p.reportRate = d[0]; }},
        {0x04, 0, 60, Ramp(4, 1), [](auto& p, auto& d) { Put(p.keys[15], 0, d); }},
        {0x05, 0, 12, Ramp(4, 5), [](auto& p, auto& d) { Put(p.extraKeys[3], 0, d); }},
        {0x06, 0, 0, simtest::DpiTable(0x40), [](auto& p, auto& d) { Put(p.dpiTable, 0, d); }},
        {0x07, 0, 0, Ramp(24, 0x60), [](auto& p, auto& d) { Put(p.dpiColours, 0, d); }},
        {0x08, 15, 0, {1, 0, 2, 0, 0x04, 0x14},
         [](auto& p, auto& d) {
             Put(p.macros[15], 0, d);
             p.macroBytesWritten[15] = 6;
         }},
        {0x09, 0, 0, Ramp(25, 0x81), [](auto& p, auto& d) { Put(p.light[0], 0, d); }},
        {0x09, 0, 400, Ramp(25, 0xA0), [](auto& p, auto& d) { Put(p.light[16], 0, d); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << int{c.code} << " offset " << c.offset);
        VirtualMouse mouse;
        SwitchProfile(mouse, 2);
        EXPECT_TRUE(mouse.SetFeature(MakeReport(c.code, c.index, c.offset, c.data)));
        ProfileMemory expected;
        c.place(expected, c.data);
        EXPECT_TRUE(mouse.Profile(2) == expected);
        for (int other : {0, 1, 3}) {
            EXPECT_TRUE(mouse.Profile(other) == ProfileMemory{}) << "profile " << other;
        }
    }
}

TEST(VirtualMouse, SystemSettingsAreSharedByAllProfiles) {
    VirtualMouse mouse;
    SwitchProfile(mouse, 3);
    for (const FeatureReport& report : {MakeReport(0x02, 1, 6, {0x12, 0x34}), MakeReport(0x02, 1, 0, {0xAB, 0xCD}),
                                        MakeReport(0x02, 3, 0, {0x2C, 0x01}), MakeReport(0x02, 4, 0, {0x58, 0x02}),
                                        MakeReport(0x02, 5, 0, {0x81}), MakeReport(0x02, 6, 0, {2}),
                                        MakeReport(0x0A, 7, 0, {9}), MakeReport(0x0A, 1, 0, {3})}) {
        EXPECT_TRUE(mouse.SetFeature(report));
    }
    const SystemMemory system = mouse.System();
    EXPECT_EQ(system.profileTags, (std::array<uint16_t, 4>{0xABCD, 0, 0, 0x1234}));  // big-endian on the wire
    EXPECT_EQ(system.sleepSeconds, 300);                                            // little-endian
    EXPECT_EQ(system.powerDownSeconds, 600);
    EXPECT_EQ(system.sensorFlags, 0x81);
    EXPECT_EQ(system.liftOff, 2);
    EXPECT_EQ(system.deviceOptions, (std::array<uint8_t, 8>{0, 3, 0, 0, 0, 0, 0, 9}));
    EXPECT_TRUE(mouse.Profile(3) == ProfileMemory{});
}

TEST(VirtualMouse, ReadsReturnWhatWasWritten) {
    VirtualMouse mouse;
    mouse.SetStatus({.linked = true, .battery = 23, .charging = true, .variant = 9});
    const auto dpi = Ramp(20, 1);
    const auto record = Ramp(25, 0x30);
    for (const FeatureReport& report : {MakeReport(0x02, 1, 2, {0x12, 0x34}), MakeReport(0x02, 1, 4, {0x56, 0x78}),
                                        MakeReport(0x02, 4, 0, {0x2C, 0x01}), MakeReport(0x06, 0, 0, dpi),
                                        MakeReport(0x09, 0, 75, record)}) {
        ASSERT_TRUE(mouse.SetFeature(report));
    }
    struct Case {
        uint8_t code, index;
        uint16_t offset;
        std::vector<uint8_t> expected;
    };
    const std::vector<Case> cases = {
        {0x81, 0, 0, {1, 0x80 | 23, 9}},  {0x82, 1, 0, {0, 0, 0x12, 0x34, 0x56, 0x78, 0, 0}},
        {0x82, 2, 0, {0}},                {0x82, 4, 0, {0x2C, 0x01}},
        {0x82, 7, 0, {0}},                {0x83, 0, 0, {1}},
        {0x86, 0, 0, dpi},                {0x89, 0, 75, record},
        {0x89, 0, 0, std::vector<uint8_t>(25, 0)},
    };
    uint8_t sequence = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << int{c.code} << " index " << int{c.index});
        const auto length = static_cast<uint8_t>(c.expected.size());
        ASSERT_TRUE(mouse.SetFeature(MakeRead(c.code, c.index, c.offset, length, ++sequence)));
        EXPECT_EQ(Fetch(mouse), MakeReport(c.code, c.index, c.offset, c.expected, sequence));
        EXPECT_EQ(Fetch(mouse), kEmptyReply) << "a reply is given once";
    }
    SwitchProfile(mouse, 1);  // reads follow the active profile
    ASSERT_TRUE(mouse.SetFeature(MakeRead(0x86, 0, 0, 20)));
    EXPECT_EQ(ReplyData(Fetch(mouse)), std::vector<uint8_t>(20, 0));
}

TEST(VirtualMouse, InvalidReportsAreRejectedAndChangeNothing) {
    const auto report = [](uint8_t code, uint8_t index, uint16_t offset, const std::vector<uint8_t>& data,
                           size_t at = 0, int value = -1) {
        const FeatureReport made = MakeReport(code, index, offset, data);
        std::vector<uint8_t> bytes(made.begin(), made.end());
        if (value >= 0) {
            bytes[at] = static_cast<uint8_t>(value);
        }
        return bytes;
    };
    const size_t lengthAt = 1 + CommandFrame::kLengthAt;
    auto shortReport = report(0x04, 0, 0, Ramp(4, 1));
    shortReport.pop_back();
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"key with 3 bytes", report(0x04, 0, 0, Ramp(3, 1))},
        {"key slot 16", report(0x04, 0, 64, Ramp(4, 1))},
        {"extra key slot 4", report(0x05, 0, 16, Ramp(4, 1))},
        {"macro past 512 bytes", report(0x08, 0, 500, Ramp(13, 1))},
        {"macro slot 16", report(0x08, 16, 0, Ramp(4, 1))},
        {"light offset 30", report(0x09, 0, 30, Ramp(25, 1))},
        {"light record 17", report(0x09, 0, 425, Ramp(25, 1))},
        {"DPI table of 19 bytes", report(0x06, 0, 0, Ramp(19, 1))},
        {"DPI level number 0", report(0x06, 0, 0, Ramp(20, 1), 10, 0)},
        {"DPI level number 9", report(0x06, 0, 0, Ramp(20, 1), 10, 9)},
        {"DPI mask without levels", report(0x06, 0, 0, Ramp(20, 1), 9, 0)},
        {"lighting header of mode 5", report(0x09, 0, 0, Ramp(25, 5))},
        {"lighting header of mode 138", report(0x09, 0, 0, Ramp(25, 138))},
        {"macro page skipping the first", report(0x08, 0, 32, Ramp(32, 1))},
        {"macro image shorter than its header", report(0x08, 0, 0, {1, 0, 0})},
        {"macro length field too long", report(0x08, 0, 0, {1, 0, 3, 0, 4, 0x14})},
        {"macro length field too short", report(0x08, 0, 0, {1, 0, 1, 0, 4, 0x14})},
        {"active profile 4", report(0x02, 2, 0, {4})},
        {"tag offset 8", report(0x02, 1, 8, {1, 2})},
        {"charge count is read only", report(0x02, 7, 0, {1})},
        {"unknown code", report(0x0B, 0, 0, {1})},
        {"unknown read", report(0x84, 0, 0, {}, lengthAt, 4)},
        {"read of the wrong length", report(0x86, 0, 0, {}, lengthAt, 19)},
        {"data length 33", report(0x08, 0, 0, Ramp(32, 1), lengthAt, 33)},
        {"reserved byte set", report(0x04, 0, 0, Ramp(4, 1), 2, 1)},
        {"report ID 5", report(0x04, 0, 0, Ramp(4, 1), 0, 5)},
        {"report of 40 bytes", shortReport},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        VirtualMouse mouse;
        EXPECT_FALSE(mouse.SetFeature(bytes));
        EXPECT_EQ(mouse.RejectCount(), 1);
        EXPECT_TRUE(mouse.System() == SystemMemory{});
        for (int profile = 0; profile < kProfiles; ++profile) {
            EXPECT_TRUE(mouse.Profile(profile) == ProfileMemory{});
        }
        EXPECT_EQ(Fetch(mouse), kEmptyReply);
        ASSERT_EQ(mouse.Log().size(), 1u);
        EXPECT_FALSE(mouse.Log()[0].accepted);
    }
}

TEST(VirtualMouse, MacroPagesFollowEachOtherAndTheImagesLengthField) {
    VirtualMouse mouse;
    // A 512-byte image (508 item bytes) in sixteen full pages.
    std::vector<uint8_t> image(512, 0x04);
    image[0] = 1;
    image[1] = 0;
    image[2] = 508 & 0xFF;
    image[3] = 508 >> 8;
    for (uint16_t offset = 0; offset < 512; offset += 32) {
        const std::vector<uint8_t> page(image.begin() + offset, image.begin() + offset + 32);
        ASSERT_TRUE(mouse.SetFeature(MakeReport(0x08, 3, offset, page))) << offset;
    }
    EXPECT_EQ(mouse.Profile(0).macroBytesWritten[3], 512);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), mouse.Profile(0).macros[3].begin()));

    // An image of 40 bytes: its first page, then a page that skips one, a last page that ends too early, a page
    // at no multiple of 32; the right last page; then a page past the image's end.
    std::vector<uint8_t> first = Ramp(32, 0x10);
    first[2] = 36;
    first[3] = 0;
    ASSERT_TRUE(mouse.SetFeature(MakeReport(0x08, 4, 0, first)));
    EXPECT_FALSE(mouse.SetFeature(MakeReport(0x08, 4, 64, Ramp(8, 1))));
    EXPECT_FALSE(mouse.SetFeature(MakeReport(0x08, 4, 32, Ramp(6, 1))));
    EXPECT_FALSE(mouse.SetFeature(MakeReport(0x08, 4, 16, Ramp(8, 1))));
    EXPECT_EQ(mouse.Profile(0).macroBytesWritten[4], 32);
    ASSERT_TRUE(mouse.SetFeature(MakeReport(0x08, 4, 32, Ramp(8, 1))));
    EXPECT_FALSE(mouse.SetFeature(MakeReport(0x08, 4, 40, Ramp(8, 1))));
    EXPECT_EQ(mouse.Profile(0).macroBytesWritten[4], 40);
    EXPECT_EQ(mouse.RejectCount(), 4);
    ASSERT_EQ(mouse.Rejections().size(), 4u);
    EXPECT_NE(mouse.Rejections()[0].find("next page"), std::string::npos) << mouse.Rejections()[0];
    EXPECT_NE(mouse.Rejections()[1].find("length field"), std::string::npos) << mouse.Rejections()[1];

    // A new image starts at offset 0, however much of an older one there was.
    ASSERT_TRUE(mouse.SetFeature(MakeReport(0x08, 4, 0, {2, 0, 0, 0})));
    EXPECT_EQ(mouse.Profile(0).macroBytesWritten[4], 4);
}

TEST(VirtualMouse, RepliesCanBeDelayedOrWithheld) {
    VirtualMouse mouse;
    mouse.SetEmptyReplies(2);
    ASSERT_TRUE(mouse.SetFeature(MakeRead(0x82, 2, 0, 1)));
    EXPECT_EQ(Fetch(mouse), kEmptyReply);
    EXPECT_EQ(Fetch(mouse), kEmptyReply);
    EXPECT_EQ(ReplyData(Fetch(mouse)), std::vector<uint8_t>{0});
    EXPECT_EQ(mouse.Log().back().direction, FrameLogEntry::Direction::Replied);

    mouse.SetRepliesEnabled(false);
    for (int attempt = 0; attempt < 5; ++attempt) {
        ASSERT_TRUE(mouse.SetFeature(MakeRead(0x86, 0, 0, 20)));
        EXPECT_EQ(Fetch(mouse), kEmptyReply);
    }
    EXPECT_FALSE(mouse.AnswerRead(MakeRead(0x86, 0, 0, 20)).has_value());
    EXPECT_EQ(mouse.CountFrames(0x86), 5);
    mouse.SetRepliesEnabled(true);
    EXPECT_EQ(Fetch(mouse), kEmptyReply) << "no stale reply after re-enabling";
    mouse.ClearLog();
    EXPECT_EQ(mouse.CountFrames(0x86), 0);
}

TEST(VirtualMouse, UnlinkedReceiverDropsFramesButAnswersDeviceInformation) {
    VirtualMouse mouse;
    std::vector<uint8_t> linkStates;
    mouse.OnInputReport([&](const std::vector<uint8_t>& report) { linkStates.push_back(report[1]); });
    mouse.SetDeliveryEnabled(false);
    mouse.SetDeliveryEnabled(false);  // no change, no report

    EXPECT_TRUE(mouse.SetFeature(MakeReport(0x04, 0, 0, {1, 2, 3, 4})));
    EXPECT_TRUE(mouse.SetFeature(MakeRead(0x86, 0, 0, 20)));
    EXPECT_EQ(Fetch(mouse), kEmptyReply);
    EXPECT_TRUE(mouse.Profile(0) == ProfileMemory{});
    EXPECT_EQ(mouse.DroppedCount(), 2);
    EXPECT_EQ(mouse.CountFrames(0x04), 0);
    EXPECT_EQ(mouse.RejectCount(), 0);

    ASSERT_TRUE(mouse.SetFeature(MakeRead(0x81, 0, 0, 3)));
    EXPECT_EQ(ReplyData(Fetch(mouse)), (std::vector<uint8_t>{0, 80, 6}));
    mouse.SetDeliveryEnabled(true);
    ASSERT_TRUE(mouse.SetFeature(MakeRead(0x81, 0, 0, 3)));
    EXPECT_EQ(ReplyData(Fetch(mouse)), (std::vector<uint8_t>{1, 80, 6}));
    EXPECT_EQ(linkStates, (std::vector<uint8_t>{0, 1}));
}

TEST(VirtualMouse, ReceiverReportCarriesItsValueLowByteFirst) {
    VirtualMouse mouse;
    mouse.SetStatus({.receiverValue = 0xA1B2});
    std::array<uint8_t, 16> report{kReceiverReportId};
    ASSERT_TRUE(mouse.GetFeature(report));
    EXPECT_EQ(report, (std::array<uint8_t, 16>{7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xB2, 0xA1}));
}

TEST(VirtualMouse, InputReportFollowsStateChanges) {
    VirtualMouse mouse;
    std::vector<std::vector<uint8_t>> seen;
    // Calling back into the mouse proves the listener runs without the mouse's lock.
    mouse.OnInputReport([&](const std::vector<uint8_t>& report) {
        EXPECT_EQ(report, mouse.InputReport());
        seen.push_back(report);
    });
    mouse.SetButton(0, true);
    mouse.SetButton(9, true);
    mouse.SetButton(16, true);  // out of range: ignored
    mouse.SetActiveProfile(2);
    mouse.SetDpiLevelNumber(3);
    mouse.SetReportRateCode(8);
    mouse.SetExtraState(0x81, 0x22, 0x1234, 0xBEEF);

    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen.back(), (std::vector<uint8_t>{5, 1, 1, 2, 0, 0, 2, 8, 3, 0x81, 0x22, 0x34, 0x12, 0xEF, 0xBE, 0}));
    EXPECT_EQ(mouse.Profile(2).dpiTable[1], 3) << "the level lives in the active profile's DPI table";
    mouse.SetActiveProfile(0);
    EXPECT_EQ(mouse.InputReport()[8], 0);
}

TEST(VirtualMouse, RemovalWaitsForARunningListener) {
    VirtualMouse mouse;
    std::promise<void> entered, release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> calls{0};
    const auto id = mouse.AddInputListener([&](const std::vector<uint8_t>&) {
        if (++calls == 1) {
            entered.set_value();
            released.wait();
        }
    });
    std::thread presser([&] { mouse.SetButton(1, true); });
    entered.get_future().wait();
    auto removal = std::async(std::launch::async, [&] { mouse.RemoveInputListener(id); });
    EXPECT_EQ(removal.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    release.set_value();
    removal.wait();
    presser.join();
    mouse.SetButton(1, false);
    EXPECT_EQ(calls, 1);

    // A listener may remove itself without waiting for itself.
    VirtualMouse::ListenerId self = 0;
    self = mouse.AddInputListener([&](const std::vector<uint8_t>&) {
        ++calls;
        mouse.RemoveInputListener(self);
    });
    mouse.SetButton(0, true);
    mouse.SetButton(0, false);
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace mousecfg::sim
