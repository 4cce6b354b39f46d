// The BLE link over a hidraw node of the Bluetooth bus, with the virtual mouse answering behind the node: finding
// the node by the BLE device list, frames out and answers back as 2065 messages, input reports, the node going and
// coming back, and a whole BLE session of the connection monitor on top of it.
#include "device/HidrawBleLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "device/DeviceMessages.h"
#include "device/HexText.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/device/MonitorHarness.h"
#include "tests/support/RecordingPacer.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/SimChecks.h"

namespace mousecfg {
namespace {

using sim::SimAttachment;

FeatureReport Frame(uint8_t code, uint8_t index, const std::vector<uint8_t>& data, uint8_t length = 0) {
    CommandFrame frame;
    frame.code = code;
    frame.sequence = 1;
    frame.index = index;
    frame.length = data.empty() ? length : static_cast<uint8_t>(data.size());
    std::copy(data.begin(), data.end(), frame.data.begin());
    return frame.ToReport();
}

std::vector<uint8_t> DpiTable() {
    std::vector<uint8_t> table(20, 0);
    table[0] = 0x0F;
    table[1] = 2;
    table[2] = 0x40;
    return table;
}

class HidrawBleLinkTest : public ::testing::Test {
  protected:
    void SetUp() override { backend_.SetDeviceChangeSink(&link_.DeviceChanges()); }
    void TearDown() override {
        backend_.SetDeviceChangeSink(nullptr);
        test::ExpectNoRejections(mouse_);
    }

    int16_t Send(const FeatureReport& report) { return SendText(ToHexText(report)); }
    int16_t SendText(const std::string& text) {
        int16_t sent = -1;
        EXPECT_EQ(link_.SendFrame(text, &sent), kS_OK);
        return sent;
    }
    // Waits for the `count`th message and returns it.
    Message WaitForMessage(size_t count) {
        EXPECT_TRUE(window_.WaitForCount(count)) << "message " << count << " did not come";
        const auto entries = window_.Entries();
        return entries.size() >= count ? entries[count - 1].message : Message{};
    }

    sim::VirtualMouse mouse_;
    sim::VirtualMouse other_;  // a second mouse on other nodes
    sim::SimHidBackend backend_;
    test::RecordingSink window_;
    test::RecordingPacer pacer_;
    HidrawBleLink link_{backend_, PacingValues::Default(), pacer_};
};

TEST_F(HidrawBleLinkTest, ANodeOfTheListCarriesFramesAnswersAndInputReports) {
    backend_.Plug(SimAttachment::Ble, mouse_);
    ASSERT_EQ(link_.RegisterDevices("Other Mouse,Virtual Mouse", &window_, msg::kBleStatus), kS_OK);
    const Message connected = WaitForMessage(1);
    EXPECT_EQ(connected.id, msg::kBleStatus);
    EXPECT_EQ(connected.wParam, ble::kConnected);
    int16_t status = -1;
    EXPECT_EQ(link_.QueryStatus(&status), kS_OK);
    EXPECT_EQ(status, 1);

    EXPECT_EQ(Send(Frame(0x06, 0, DpiTable())), 1);
    const auto held = mouse_.Profile(0).dpiTable;
    EXPECT_EQ(std::vector<uint8_t>(held.begin(), held.end()), DpiTable());
    EXPECT_EQ(window_.Entries().size(), 1u) << "a write is not answered";

    EXPECT_EQ(Send(Frame(0x86, 0, {}, 20)), 1);
    const Message reply = WaitForMessage(2);
    EXPECT_EQ(reply.wParam, ble::kReadReplyFirst | 0x06);
    EXPECT_EQ(reply.text, ToHexText(Frame(0x86, 0, DpiTable())));
    EXPECT_EQ(pacer_.Waits(), std::vector<int>{80}) << "the answer is read after the wait before a read";

    mouse_.SetButton(3, true);
    const Message input = WaitForMessage(3);
    EXPECT_EQ(input.wParam, ble::kInputReportFirst);
    EXPECT_EQ(input.text, ToHexText(mouse_.InputReport()));
}

TEST_F(HidrawBleLinkTest, OnlyANodeOnTheBluetoothBusNamedInTheListIsTakenAndOnlyWhenItIsThere) {
    backend_.Plug(SimAttachment::Cable, other_, "Virtual Mouse");  // the right name, but a cable
    backend_.Plug(SimAttachment::Ble, other_, "Other Mouse");      // on Bluetooth, but not in the list
    ASSERT_EQ(link_.RegisterDevices("Virtual Mouse", &window_, msg::kBleStatus), kS_OK);
    int16_t status = -1;
    EXPECT_EQ(link_.QueryStatus(&status), kS_OK);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Send(Frame(0x03, 0, {4})), 0) << "nothing to send to";

    // The mouse of the list pairs: the link finds it when it appears, and nothing was posted before.
    backend_.Plug(SimAttachment::Ble, mouse_, "Virtual Mouse");
    EXPECT_EQ(WaitForMessage(1).wParam, ble::kConnected);
    EXPECT_EQ(window_.Entries().size(), 1u);
    EXPECT_EQ(Send(Frame(0x03, 0, {4})), 1);
    EXPECT_EQ(mouse_.Profile(0).reportRate, 4);
    EXPECT_EQ(other_.Profile(0).reportRate, sim::ProfileMemory{}.reportRate);
    EXPECT_EQ(other_.RejectCount() + other_.CountFrames(0x03), 0);
}

TEST_F(HidrawBleLinkTest, TheNodeGoingAwayDisconnectsAndItsReturnConnectsAgain) {
    backend_.Plug(SimAttachment::Ble, mouse_);
    link_.RegisterDevices("Virtual Mouse", &window_, msg::kBleStatus);
    ASSERT_EQ(WaitForMessage(1).wParam, ble::kConnected);

    backend_.Unplug(SimAttachment::Ble);
    EXPECT_EQ(WaitForMessage(2).wParam, ble::kDisconnected);
    EXPECT_FALSE(link_.Connected());
    EXPECT_EQ(Send(Frame(0x03, 0, {5})), 0);
    EXPECT_EQ(backend_.OpenHandleCount(), 0) << "the node's handles are closed";

    backend_.Plug(SimAttachment::Ble, mouse_);
    EXPECT_EQ(WaitForMessage(3).wParam, ble::kConnected);
    EXPECT_EQ(Send(Frame(0x03, 0, {5})), 1);
    EXPECT_EQ(mouse_.Profile(0).reportRate, 5);

    // Registered again while connected, the link tells the connection again (the window may have left BLE).
    link_.RegisterDevices("Virtual Mouse", &window_, msg::kBleStatus);
    EXPECT_EQ(WaitForMessage(4).wParam, ble::kConnected);
}

TEST_F(HidrawBleLinkTest, AnswersAreReadBackUntilTheyCarryDataAndNeverTakenForALaterFrame) {
    backend_.Plug(SimAttachment::Ble, mouse_);
    link_.RegisterDevices("Virtual Mouse", &window_, msg::kBleStatus);
    ASSERT_EQ(WaitForMessage(1).wParam, ble::kConnected);

    mouse_.SetEmptyReplies(3);
    EXPECT_EQ(Send(Frame(0x82, 2, {}, 1)), 1);  // the active profile; the mouse answers on the fourth read
    EXPECT_EQ(Send(Frame(0x03, 0, {6})), 1);    // sent behind the read-back of the answer before it
    const Message reply = WaitForMessage(2);
    EXPECT_EQ(reply.wParam, ble::kReadReplyFirst | 0x02);
    EXPECT_EQ(reply.text, ToHexText(Frame(0x82, 2, {0})));
    EXPECT_EQ(pacer_.Waits(), (std::vector<int>{80, 80, 80, 80}));

    // A mouse that never answers: five read-backs, no message.
    mouse_.SetRepliesEnabled(false);
    pacer_.Clear();
    EXPECT_EQ(Send(Frame(0x86, 0, {}, 20)), 1);
    EXPECT_EQ(Send(Frame(0x03, 0, {7})), 1);
    EXPECT_EQ(pacer_.Waits().size(), size_t{HidrawBleLink::kReadAttempts});
    EXPECT_EQ(window_.Entries().size(), 2u);
    EXPECT_EQ(mouse_.Profile(0).reportRate, 7);
}

TEST_F(HidrawBleLinkTest, TextThatIsNotAReportAsTheTransportWritesItIsNotSent) {
    backend_.Plug(SimAttachment::Ble, mouse_);
    link_.RegisterDevices("Virtual Mouse", &window_, msg::kBleStatus);
    ASSERT_EQ(WaitForMessage(1).wParam, ble::kConnected);
    const std::string good = ToHexText(Frame(0x03, 0, {0x0B}));
    std::string upper = good;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    for (const std::string& text : {upper, good.substr(0, good.size() - 1), good + "00 ", std::string("06")}) {
        EXPECT_EQ(SendText(text), 0) << text;
    }
    EXPECT_EQ(mouse_.CountFrames(0x03), 0);
    int16_t* none = nullptr;
    EXPECT_EQ(link_.SendFrame(good, none), kE_POINTER);
    EXPECT_EQ(link_.QueryStatus(none), kE_POINTER);
}

// The connection monitor and the BLE logic above the link are the same as with any other BLE link.
TEST(HidrawBleSession, TheMonitorConnectsReadsAndFollowsTheMouseOverTheNode) {
    test::MonitorHarness h;
    HidrawBleLink link(h.backend, PacingValues::Zero(), h.pacer);
    h.transport.SetBleLink(&link, kS_OK);
    h.backend.Plug(SimAttachment::Ble, h.mouse);
    h.Start();
    EXPECT_FALSE(h.catalogue->IsPresent(0) || h.catalogue->IsPresent(1)) << "discovery leaves the node to the link";

    EXPECT_EQ(h.monitor->BleRegister(), BleRegisterResult::Requested);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kBleStatus) == 1; }));
    EXPECT_TRUE(h.window.WithId(msg::kBleStatus)[0].outcome->switchToBle);
    EXPECT_TRUE(h.transport.BleActive());

    {
        auto session = h.commands.Acquire();
        session->type = request::kReadDeviceInfo;
        EXPECT_EQ(session.DeviceRead(), 1);
    }
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kBleStatus) == 2; }));
    EXPECT_EQ(h.window.WithId(msg::kBleStatus)[1].outcome->battery, (BatteryDisplay{80, false}));

    h.window.Clear();
    h.mouse.SetButton(2, true);
    h.mouse.SetDpiLevelNumber(4);
    h.mouse.SetButton(2, false);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kDpiLevelChanged) == 1; }));
    EXPECT_EQ(h.window.WithId(msg::kDpiLevelChanged)[0].message.wParam & 0xFF, 4u);

    h.backend.Unplug(SimAttachment::Ble);
    ASSERT_TRUE(h.window.PumpUntil([&] {
        const auto ble = h.window.WithId(msg::kBleStatus);
        return !ble.empty() && ble.back().message.wParam == ble::kDisconnected;
    }));
    EXPECT_FALSE(h.transport.BleActive());
    h.transport.SetBleLink(nullptr, kClassNotRegistered);
}

TEST(HidrawBleSession, DiscoveryLeavesANodeOnTheBluetoothBusToTheLinkWhateverItsIds) {
    test::TempDir res;
    test::WriteCatalogueArchive(res.path(), R"({"NDevice": [{"DevType": 1, "Pid": "0009", "Vid": "1209"}]})");
    sim::VirtualMouse mouse;
    sim::SimHidBackend backend;
    backend.Plug(SimAttachment::Ble, mouse);
    FindDev catalogue(backend, res.path());
    catalogue.LoadCatalogue();
    EXPECT_FALSE(catalogue.IsPresent(0));
    EXPECT_EQ(backend.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace mousecfg
