// The command set against the virtual mouse: what DeviceWrite sends ends up in the mouse's memory, and what
// DeviceRead decodes is what the mouse holds, through the cable, the receiver and BLE.
#include <gtest/gtest.h>

#include "device/CommandSet.h"
#include "device/DeviceMessages.h"
#include "device/HexText.h"
#include "device/MacroStream.h"
#include "device/ReportTransport.h"
#include "sim/SimBleLink.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/support/RecordingPacer.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/SimChecks.h"

namespace mousecfg {
namespace {

using sim::SimAttachment;

enum class Link { Cable, Receiver, Ble };

std::string LinkName(const testing::TestParamInfo<Link>& info) {
    switch (info.param) {
        case Link::Cable: return "Cable";
        case Link::Receiver: return "Receiver";
        case Link::Ble: return "Ble";
    }
    return "";
}

class DeviceEndToEnd : public ::testing::TestWithParam<Link> {
protected:
    void SetUp() override {
        if (GetParam() == Link::Ble) {
            ble_ = std::make_unique<sim::SimBleLink>(mouse_);
            ble_->SetAutoConnect(false);
            transport_.SetBleLink(ble_.get(), kS_OK);
            transport_.SetBleActive(true);
            auto session = commands_.Acquire();
            session->type = request::kBleRegister;
            session->bleWindow = &window_;
            session->SetU32(8, msg::kBleStatus);
            session.DeviceWrite();
            return;
        }
        const auto paths = backend_.Plug(GetParam() == Link::Cable ? SimAttachment::Cable : SimAttachment::Receiver,
                                         mouse_);
        ASSERT_EQ(paths.size(), 2u);
        transport_.SetHandles(backend_.Open(paths[1], HidAccess::Write), backend_.Open(paths[0], HidAccess::Read));
    }

    void TearDown() override {
        if (ble_) {
            ble_->Flush();
        }
        test::ExpectNoRejections(mouse_);
    }

    int Write(uint16_t typeAndSubtype, const std::function<void(DeviceRequest&)>& fill) {
        auto session = commands_.Acquire();
        session->SetTypeAndSubtype(typeAndSubtype);
        fill(session.request());
        return session.DeviceWrite();
    }

    // Reads over HID into the request; over BLE returns the reply's data bytes from message 2065.
    std::vector<uint8_t> ReadReplyOverBle(uint16_t typeAndSubtype, uint8_t part = 0) {
        window_.Clear();
        {
            auto session = commands_.Acquire();
            session->SetTypeAndSubtype(typeAndSubtype);
            session->part = part;
            EXPECT_EQ(session.DeviceRead(), 1);
        }
        ble_->Flush();
        for (const auto& entry : window_.Entries()) {
            if (entry.message.wParam == (ble::kReadReplyFirst | (typeAndSubtype & 0x0F))) {
                const auto bytes = ParseHexText(entry.message.text);
                EXPECT_TRUE(bytes.has_value());
                const size_t length = (*bytes)[8];
                return std::vector<uint8_t>(bytes->begin() + 9, bytes->begin() + 9 + static_cast<long>(length));
            }
        }
        ADD_FAILURE() << "no reply arrived";
        return {};
    }

    sim::VirtualMouse mouse_;
    sim::SimHidBackend backend_;
    std::unique_ptr<sim::SimBleLink> ble_;
    test::RecordingPacer pacer_;
    test::RecordingSink window_;
    ReportTransport transport_{PacingValues::Zero(), pacer_};
    CommandSet commands_{transport_};
};

TEST_P(DeviceEndToEnd, SettingsLandInTheActiveProfileAndTheSystemArea) {
    ASSERT_EQ(Write(0x0202, [](DeviceRequest& r) { r[0] = 1; }), 1);
    ASSERT_EQ(Write(0x0102, [](DeviceRequest& r) { r[0] = 1; r.SetU16(4, 0x4242); }), 1);
    ASSERT_EQ(Write(3, [](DeviceRequest& r) { r[0] = 2; }), 1);
    ASSERT_EQ(Write(4, [](DeviceRequest& r) { r[0] = 3; r[1] = 0x0A; r[2] = 1; r[3] = 3; r[4] = 0; r[8] = 0; }), 1);
    ASSERT_EQ(Write(5, [](DeviceRequest& r) { r[0] = 1; r[1] = 0x02; r[2] = 0x4B; r[3] = 0; r[8] = 1; }), 1);
    ASSERT_EQ(Write(7, [](DeviceRequest& r) { r.SetU32(0, 0x112233); }), 1);
    ASSERT_EQ(Write(0x0302, [](DeviceRequest& r) { r.SetU16(10, 600); }), 1);
    ASSERT_EQ(Write(0x0502, [](DeviceRequest& r) { r[14] = 0x81; }), 1);
    ASSERT_EQ(Write(0x060A, [](DeviceRequest& r) { r[5] = 1; }), 1);

    const auto system = mouse_.System();
    EXPECT_EQ(system.activeProfile, 1);
    EXPECT_EQ(system.profileTags[1], 0x4242);
    EXPECT_EQ(system.sleepSeconds, 600);
    EXPECT_EQ(system.sensorFlags, 0x81);
    EXPECT_EQ(system.deviceOptions[6], 1);
    const auto profile = mouse_.Profile(1);
    EXPECT_EQ(profile.reportRate, 2);
    EXPECT_EQ(profile.keys[3], (std::array<uint8_t, 4>{0x0A, 1, 3, 0}));
    EXPECT_EQ(profile.extraKeys[1], (std::array<uint8_t, 4>{0x02, 0x4B, 0, 0}));
    EXPECT_EQ(profile.dpiColours[0], 0x22);
    EXPECT_EQ(profile.dpiColours[1], 0x33);
    EXPECT_EQ(profile.dpiColours[2], 0x11);
    EXPECT_EQ(mouse_.Profile(0), sim::ProfileMemory{}) << "profile 0 was not active";
}

TEST_P(DeviceEndToEnd, DpiTableAndLightingReadBackAsWritten) {
    ASSERT_EQ(Write(6, [](DeviceRequest& r) {
                  r[0] = 0x1F;
                  r[36] = 3;
                  for (size_t level = 0; level < 8; ++level) {
                      r.SetU32(4 + 4 * level, static_cast<uint32_t>(0x40 + level));
                  }
                  r.SetU32(40, 0x0004);
              }),
              1);
    ASSERT_EQ(Write(9, [](DeviceRequest& r) {
                  r[0] = 0x82;
                  r[2] = 3;
                  r[3] = 1;
                  r[4] = 2;
                  r[5] = 0x03;
                  r.SetU16(6, 0x00FF);
                  r.SetU32(8, 0xFF8000);
              }),
              1);

    if (GetParam() == Link::Ble) {
        const auto dpi = ReadReplyOverBle(6);
        ASSERT_EQ(dpi.size(), 20u);
        EXPECT_EQ(dpi[0], 0x1F);
        EXPECT_EQ(dpi[1], 3);
        EXPECT_EQ(dpi[2], 0x40);
        const auto header = ReadReplyOverBle(9, request::kLightHeader);
        ASSERT_EQ(header.size(), 25u);
        EXPECT_EQ(header[0], 0x82);
        return;
    }
    auto session = commands_.Acquire();
    session->Clear();
    session->type = request::kDpiTable;
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[0], 0x1F);
    EXPECT_EQ(session.request()[36], 3);
    EXPECT_EQ(session->U32(4 + 4 * 7), 0x47u);
    EXPECT_EQ(session->U32(40), 0x0004u);

    session->Clear();
    session->type = request::kLightEffect;
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[0], 0x82);
    EXPECT_EQ(session->U16(6), 0x00FF);
    EXPECT_EQ(session.request()[2], 3);
    EXPECT_EQ(session.request()[5], 0x03);
    EXPECT_EQ(session->U32(8), 0xFF8000u);
}

TEST_P(DeviceEndToEnd, ProfileTagsAndActiveProfileReadBack) {
    for (uint8_t k = 0; k < 4; ++k) {
        ASSERT_EQ(Write(0x0102, [k](DeviceRequest& r) { r[0] = k; r.SetU16(2 + 2 * k, static_cast<uint16_t>(1000 * (k + 1))); }), 1);
    }
    ASSERT_EQ(Write(0x0202, [](DeviceRequest& r) { r[0] = 2; }), 1);
    if (GetParam() == Link::Ble) {
        const auto tags = ReadReplyOverBle(0x0102);
        EXPECT_EQ(tags, (std::vector<uint8_t>{0x03, 0xE8, 0x07, 0xD0, 0x0B, 0xB8, 0x0F, 0xA0}));
        EXPECT_EQ(ReadReplyOverBle(0x0202), std::vector<uint8_t>{2});
        return;
    }
    auto session = commands_.Acquire();
    session->Clear();
    session->SetTypeAndSubtype(0x0102);
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session->U16(2), 1000);
    EXPECT_EQ(session->U16(8), 4000);
    session->SetTypeAndSubtype(0x0202);
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session.request()[0], 2);
}

TEST_P(DeviceEndToEnd, MacroPagesFillTheSlotOfTheActiveProfile) {
    struct Item {
        uint8_t code, state;
        int32_t delay;
        MacroBlock::Point point;
    };
    const Item items[] = {
        {0x04, item::kPress, 20, {}},          // 04 14
        {0x04, item::kRelease, 128, {}},       // 04 FF FF 01 00 00
        {item::kLeftButton, item::kPress, 5, {}},    // E8 05
        {item::kLeftButton, item::kRelease, 5, {}},  // E8 85
        {item::kMove, item::kMoveLeftUp, 5, {10, 20}},  // FE 05 F6 FF EC FF
        {item::kDpi, 0, 300, {3, 0}},          // FD 03 00 FF FF 2D 00 00
        {0x05, item::kPress, 127, {}},         // 05 7F
        {0x05, item::kRelease, 127, {}},       // 05 FF
    };
    MacroBlock block;
    block.macRpt = 2;
    for (const Item& entry : items) {
        block.macVal[block.num] = entry.code;
        block.macSta[block.num] = entry.state;
        block.macDly[block.num] = entry.delay;
        block.extVal[block.num] = entry.point;
        ++block.num;
    }
    ASSERT_EQ(Write(8, [&](DeviceRequest& r) {
                  r[0] = 5;
                  MapItemCodes(block).Serialize(std::span<uint8_t, MacroBlock::kSerializedSize>(
                      &r[DeviceRequest::kMacroBlockAt], MacroBlock::kSerializedSize));
              }),
              1);
    const std::vector<uint8_t> expected = {
        0x02, 0x00, 0x1E, 0x00,                          // repeat 2, 30 item bytes
        0x04, 0x14, 0x04, 0xFF, 0xFF, 0x01, 0x00, 0x00,  // A pressed, A released after 128 ms
        0xE8, 0x05, 0xE8, 0x85,                          // left button
        0xFE, 0x05, 0xF6, 0xFF, 0xEC, 0xFF,              // move left 10, up 20
        0xFD, 0x03, 0x00, 0xFF, 0xFF, 0x2D, 0x00, 0x00,  // DPI after 300 ms
        0x05, 0x7F, 0x05, 0xFF,                          // B, 127 ms each
    };
    const auto slot = mouse_.Profile(0).macros[5];
    EXPECT_EQ(std::vector<uint8_t>(slot.begin(), slot.begin() + expected.size()), expected);
    EXPECT_EQ(mouse_.Profile(0).macroBytesWritten[5], expected.size());
    EXPECT_EQ(mouse_.CountFrames(0x08), 2) << "a page of 32 bytes and one of 2";
}

INSTANTIATE_TEST_SUITE_P(Links, DeviceEndToEnd, ::testing::Values(Link::Cable, Link::Receiver, Link::Ble), LinkName);

class ReceiverEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const auto paths = backend_.Plug(SimAttachment::Receiver, mouse_);
        transport_.SetHandles(backend_.Open(paths[1], HidAccess::Write), backend_.Open(paths[0], HidAccess::Read));
    }
    void TearDown() override { test::ExpectNoRejections(mouse_); }

    sim::VirtualMouse mouse_;
    sim::SimHidBackend backend_;
    test::RecordingPacer pacer_;
    ReportTransport transport_{PacingValues::Zero(), pacer_};
    CommandSet commands_{transport_};
};

TEST_F(ReceiverEndToEnd, AnUnlinkedMouseDropsWritesAndOnlyTheReceiverAnswers) {
    mouse_.SetDeliveryEnabled(false);
    auto session = commands_.Acquire();
    session->Clear();
    session->type = request::kReportRate;
    session.request()[0] = 8;
    session.DeviceWrite();
    EXPECT_EQ(mouse_.Profile(0).reportRate, sim::ProfileMemory{}.reportRate);

    session->type = request::kDpiTable;
    EXPECT_EQ(session.DeviceRead(), 0);
    session->type = request::kReadDeviceInfo;
    ASSERT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session->U32(0), 0u) << "the receiver reports no link";
}

TEST_F(ReceiverEndToEnd, ReadsOutlastEmptyRepliesButNotFiveOfThem) {
    auto session = commands_.Acquire();
    session->Clear();
    session->type = request::kReadDeviceInfo;
    mouse_.SetEmptyReplies(4);
    EXPECT_EQ(session.DeviceRead(), 1);
    EXPECT_EQ(session->U32(4), 80u);

    mouse_.SetRepliesEnabled(false);
    mouse_.ClearLog();
    session->Clear();
    EXPECT_EQ(session.DeviceRead(), 0);
    EXPECT_EQ(mouse_.CountFrames(0x81), 5);
    EXPECT_EQ(session->U32(4), 0u);
}

TEST_F(ReceiverEndToEnd, UnpluggedDeviceFailsEveryRequest) {
    backend_.Unplug(SimAttachment::Receiver);
    auto session = commands_.Acquire();
    session->type = request::kReportRate;
    session.request()[0] = 8;
    EXPECT_EQ(session.DeviceWrite(), 0);
    session->type = request::kDpiTable;
    EXPECT_EQ(session.DeviceRead(), 0);
}

}  // namespace
}  // namespace mousecfg
