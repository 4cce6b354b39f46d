// The connection monitor's handlers one at a time: device selection, link changes seen by the readers, device
// changes with their settling delay, the status poll and the BLE status codes.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "tests/device/MonitorHarness.h"

namespace mousecfg {
namespace {

using sim::SimAttachment;
using test::MonitorHarness;

constexpr auto kSettle = std::chrono::milliseconds(1000);

TEST(SelectActiveDevice, PrefersTheCableThenTheReceiver) {
    struct Case {
        bool cable, receiver;
        uint8_t kind;
        int online;
        int index;
        int count;
    };
    for (const Case& c :
         {Case{true, true, 1, 1, 0, 1}, Case{false, true, 2, 0, 1, 1}, Case{false, false, 1, 0, 0, 0}}) {
        MonitorHarness h;
        h.mouse.SetDeliveryEnabled(false);
        if (c.cable)
            h.backend.Plug(SimAttachment::Cable, h.mouse);
        if (c.receiver)
            h.backend.Plug(SimAttachment::Receiver, h.mouse);
        h.catalogue->LoadCatalogue();
        h.monitor->SelectActiveDevice(false);
        const auto& state = h.monitor->State();
        SCOPED_TRACE(testing::Message() << "cable " << c.cable << " receiver " << c.receiver);
        EXPECT_EQ(state.connectionKind, c.kind);
        EXPECT_EQ(state.online, c.online);
        EXPECT_EQ(state.selectedIndex, c.index);
        EXPECT_EQ(state.selectedCount, c.count);
        const auto refresh = h.window.WithId(msg::kConnectionRefresh);
        ASSERT_EQ(refresh.size(), 1u);
        // The kind was 1 before: only the cable keeps it; no device at all always counts as a change.
        EXPECT_EQ(refresh[0].message.wParam, c.cable ? 0u : 1u);
        EXPECT_EQ(refresh[0].message.lParam, 1);
        if (c.count == 1) {
            const DeviceRecord record = h.catalogue->Record(static_cast<size_t>(c.index));
            EXPECT_EQ(h.transport.FeatureHandle(), record.featureHandle);
            EXPECT_EQ(h.transport.InputHandle(), record.inputHandle);
            EXPECT_EQ(h.model.deviceName, record.name);
        }
    }
}

TEST(SelectActiveDevice, NothingPresentSaysSoAndSilentSendsNothing) {
    MonitorHarness h;
    h.catalogue->LoadCatalogue();
    h.monitor->SelectActiveDevice(true);
    EXPECT_EQ(h.window.All().size(), 0u);
    h.monitor->SelectActiveDevice(false);
    const auto refresh = h.window.WithId(msg::kConnectionRefresh);
    ASSERT_EQ(refresh.size(), 1u);
    EXPECT_EQ(refresh[0].message.wParam, 1u);
    EXPECT_FALSE(refresh[0].display->online);
}

TEST(StartMonitoring, RegistersOverBleOnlyWhenNoMouseIsOnline) {
    struct Case {
        SimAttachment attachment;
        bool mouseOn;
        std::optional<BleRegisterResult> registration;
    };
    for (const Case& c : {Case{SimAttachment::Cable, false, std::nullopt},
                          Case{SimAttachment::Receiver, false, BleRegisterResult::Requested}}) {
        MonitorHarness h(true);
        h.Ble().SetAutoConnect(false);
        h.mouse.SetDeliveryEnabled(c.mouseOn);
        h.backend.Plug(c.attachment, h.mouse);
        h.catalogue->LoadBleList();
        h.catalogue->LoadCatalogue();
        EXPECT_EQ(h.monitor->StartMonitoring(), c.registration);
        const auto refresh = h.window.WithId(msg::kConnectionRefresh);
        ASSERT_EQ(refresh.size(), 1u) << "the first connection display";
        EXPECT_EQ(refresh[0].message.wParam, 0u);
        EXPECT_EQ(refresh[0].message.lParam, 1);
        EXPECT_EQ(refresh[0].display->online, c.attachment == SimAttachment::Cable);
        EXPECT_EQ(h.monitor->RunningReaders(), 1u);
    }
}

TEST(InputReader, ACableDevicesFirstReportSetsItOnlineOnce) {
    MonitorHarness h;
    h.Start();
    h.transport.SetBleActive(true);
    h.backend.Plug(SimAttachment::Cable, h.mouse);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.monitor->RunningReaders() == 1; }));
    EXPECT_EQ(h.monitor->State().online, 0) << "not chosen yet: the device is settling";
    h.mouse.SetButton(3, true);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kConnectionRefresh) == 1; }));
    const auto refresh = h.window.WithId(msg::kConnectionRefresh)[0].message;
    EXPECT_EQ(refresh.wParam, 1u);
    EXPECT_EQ(refresh.lParam, 0);
    EXPECT_FALSE(h.transport.BleActive()) << "a report over HID ends the BLE path";

    h.mouse.SetDpiLevelNumber(4);
    h.mouse.SetButton(3, false);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kDpiLevelChanged) == 1; }));
    EXPECT_EQ(h.window.Count(msg::kConnectionRefresh), 1u) << "later reports send nothing for the link state";
}

TEST(InputReader, TheReceiversLinkStateFollowsItsReports) {
    MonitorHarness h(true);
    h.Ble().SetAutoConnect(false);
    h.backend.Plug(SimAttachment::Receiver, h.mouse);
    h.Start();
    h.mouse.SetDeliveryEnabled(true);  // no change: linked from the start
    h.mouse.SetButton(1, true);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kConnectionRefresh) == 1; }));
    EXPECT_EQ(h.monitor->State().online, 1);
    EXPECT_EQ(h.window.WithId(msg::kConnectionRefresh)[0].message.lParam, 1);

    h.mouse.SetDeliveryEnabled(false);
    ASSERT_TRUE(h.window.PumpUntil(
        [&] { return h.window.Count(msg::kConnectionRefresh) == 2 && h.Ble().RegisterCount() == 1; }));
    EXPECT_EQ(h.monitor->State().online, 0);
    const auto last = h.window.WithId(msg::kConnectionRefresh).back();
    EXPECT_EQ(last.message.wParam, 1u);
    EXPECT_EQ(last.message.lParam, 1);
    EXPECT_TRUE(h.monitor->State().bleRegistered) << "the mouse went off the receiver: it may come over BLE";
    EXPECT_EQ(h.Ble().RegisteredNames(), "Virtual Mouse");
}

TEST(DeviceChange, ASettlingTimerChoosesTheDeviceWithoutBlocking) {
    MonitorHarness h;
    h.Start();
    h.backend.Plug(SimAttachment::Receiver, h.mouse);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(kDeviceChangeMessage) == 2; }));
    EXPECT_TRUE(h.catalogue->IsPresent(1));
    EXPECT_EQ(h.timers.Interval(timer::kDeviceChange), kSettle);
    EXPECT_EQ(h.monitor->State().connectionKind, 1) << "not chosen before the device settled";
    EXPECT_EQ(h.monitor->RunningReaders(), 1u) << "the notification without a change started the reader";

    h.timers.Advance(std::chrono::milliseconds(999));
    EXPECT_EQ(h.window.Count(msg::kConnectionRefresh), 0u);
    h.timers.Advance(std::chrono::milliseconds(1));
    EXPECT_EQ(h.monitor->State().connectionKind, 2);
    EXPECT_EQ(h.window.Count(msg::kConnectionRefresh), 1u);
    EXPECT_FALSE(h.timers.IsTimerRunning(timer::kDeviceChange)) << "one shot";
}

TEST(DeviceChange, NoChangeStartsTheReadersAtOnceAndOtherCodesAreIgnored) {
    MonitorHarness h;
    h.backend.Plug(SimAttachment::Cable, h.mouse);
    h.Start();
    h.monitor->OnDeviceChange(kDeviceArrival, "sim://cable/0003:1209:0007.0001/FF00");
    h.monitor->OnDeviceChange(0x8003, "sim://receiver/0003:1209:0008.0001/FF00");
    h.monitor->OnDeviceChange(kDeviceRemoval, "short");
    EXPECT_FALSE(h.timers.IsTimerRunning(timer::kDeviceChange));
    EXPECT_EQ(h.monitor->RunningReaders(), 1u);
}

TEST(DeviceChange, WhileTheMouseIsOnBleOnlyACableTakesOver) {
    MonitorHarness h;
    h.Start();
    h.transport.SetBleActive(true);
    h.backend.Plug(SimAttachment::Receiver, h.mouse);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(kDeviceChangeMessage) == 2; }));
    h.timers.Advance(kSettle);
    EXPECT_EQ(h.window.Count(msg::kConnectionRefresh), 0u);
    EXPECT_EQ(h.monitor->State().connectionKind, 1);
    EXPECT_TRUE(h.transport.BleActive());

    h.backend.Plug(SimAttachment::Cable, h.mouse);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(kDeviceChangeMessage) == 4; }));
    h.timers.Advance(kSettle);
    EXPECT_FALSE(h.transport.BleActive());
    EXPECT_EQ(h.window.Count(msg::kConnectionRefresh), 1u);
    EXPECT_EQ(h.monitor->State().selectedIndex, 0);
}

TEST(StatusPoll, AskedEvery20SecondsOnHidOnly) {
    MonitorHarness h;
    h.backend.Plug(SimAttachment::Cable, h.mouse);
    h.Start();
    h.monitor->StartStatusPoll();
    EXPECT_EQ(h.timers.Interval(timer::kStatusPoll), std::chrono::milliseconds(20000));
    h.timers.Advance(std::chrono::seconds(40));
    const auto polls = h.window.WithId(msg::kConnectionRefresh);
    ASSERT_EQ(polls.size(), 2u);
    EXPECT_EQ(polls[0].message.wParam, 0u);
    EXPECT_EQ(polls[0].message.lParam, 0);
    EXPECT_TRUE(polls[0].display->online);
    EXPECT_EQ(polls[0].display->battery, (BatteryDisplay{80, false}));

    h.transport.SetBleActive(true);
    h.timers.Advance(std::chrono::seconds(20));
    EXPECT_EQ(h.window.Count(msg::kConnectionRefresh), 2u);
    h.monitor->StopStatusPoll();
    EXPECT_FALSE(h.timers.IsTimerRunning(timer::kStatusPoll));
}

TEST(ConnectionRefresh, TheFirstReportAfterTheLinkCameUpReloadsForANewVariant) {
    MonitorHarness h;
    h.backend.Plug(SimAttachment::Receiver, h.mouse);
    h.Start();
    h.monitor->SetStoredVariant(6);
    EXPECT_FALSE(h.monitor->OnConnectionRefresh(1, 1).reloadConfiguration);
    sim::MouseStatus status = h.mouse.Status();
    status.variant = 8;
    status.charging = true;
    status.battery = 15;
    h.mouse.SetStatus(status);
    const ConnectionDisplay display = h.monitor->OnConnectionRefresh(1, 1);
    EXPECT_TRUE(display.reloadConfiguration);
    EXPECT_TRUE(display.showCharging);
    EXPECT_EQ(display.battery, (BatteryDisplay{15, true}));
}

class BleStatusTest : public ::testing::Test {
  protected:
    BleMessageOutcome Message(uintptr_t code, std::string text = {}) { return h_.monitor->OnBleMessage(code, text); }

    MonitorHarness h_{true};
};

TEST_F(BleStatusTest, ConnectingSwitchesToBleAndWaitsForTheBattery) {
    h_.Start();
    const BleMessageOutcome outcome = Message(ble::kConnected);
    EXPECT_TRUE(h_.transport.BleActive());
    EXPECT_TRUE(h_.monitor->State().batteryPending);
    EXPECT_TRUE(outcome.switchToBle);
    EXPECT_FALSE(Message(ble::kConnected).switchToBle) << "only the first time";
}

TEST_F(BleStatusTest, DisconnectingChoosesTheHidDeviceAgainSilently) {
    h_.backend.Plug(SimAttachment::Receiver, h_.mouse);
    h_.Start();
    Message(ble::kConnected);
    const BleMessageOutcome outcome = Message(ble::kDisconnected);
    EXPECT_FALSE(h_.transport.BleActive());
    EXPECT_FALSE(h_.monitor->State().bleRegistered);
    EXPECT_TRUE(outcome.refreshDisplay);
    EXPECT_EQ(h_.monitor->State().selectedCount, 1);
    EXPECT_EQ(h_.window.Count(msg::kConnectionRefresh), 0u) << "silent";
}

TEST_F(BleStatusTest, RegistrationIsAskedForOnlyWhenNotPending) {
    h_.Ble().SetAutoConnect(false);
    h_.Start();
    Message(ble::kRegistrationWanted);
    Message(ble::kRegistrationWanted);
    EXPECT_EQ(h_.Ble().RegisterCount(), 1);
    h_.Ble().SetQueryStatus(5);
    Message(ble::kStatusQueryWanted);
    EXPECT_EQ(h_.Ble().RegisterCount(), 2) << "a status query is followed by a new registration";
}

// An apply run holds the request block: the window's handlers do not wait for it, and what they asked for is done
// when the run has ended.
TEST_F(BleStatusTest, RegistrationAndStatusQueryWaitForARunWithoutBlockingTheWindow) {
    h_.Ble().SetAutoConnect(false);
    h_.Start();
    std::promise<void> held, released;
    std::thread run([&] {
        auto session = h_.commands.Acquire();
        held.set_value();
        // Ends by itself in case the handlers below do wait for the block, so that the test fails rather than hangs.
        released.get_future().wait_for(std::chrono::seconds(10));
    });
    held.get_future().wait();
    Message(ble::kRegistrationWanted);
    Message(ble::kStatusQueryWanted);
    const int registeredDuringTheRun = h_.Ble().RegisterCount();
    released.set_value();
    run.join();
    EXPECT_EQ(registeredDuringTheRun, 0) << "nothing was asked of the link while the run held the block";
    EXPECT_TRUE(h_.monitor->State().bleRegistered) << "a registration is on its way: no second one is asked for";

    h_.monitor->RunDeferredBleReads();
    EXPECT_EQ(h_.Ble().RegisterCount(), 1) << "one registration, after the run";
    h_.monitor->RunDeferredBleReads();
    EXPECT_EQ(h_.Ble().RegisterCount(), 1);
}

TEST_F(BleStatusTest, BatteryComesAsItsFirstByte) {
    h_.Start();
    EXPECT_EQ(Message(ble::kBattery, std::string(1, '\x14')).battery, (BatteryDisplay{20, true}));
    EXPECT_EQ(Message(ble::kBattery, std::string(1, '\x15')).battery, (BatteryDisplay{21, false}));
    EXPECT_EQ(Message(ble::kBattery, std::string(1, '\xC8')).battery, (BatteryDisplay{100, false}));
    EXPECT_FALSE(Message(ble::kBattery).battery.has_value()) << "no text, nothing to show";
}

TEST_F(BleStatusTest, MalformedInputReportsAreIgnored) {
    h_.Start();
    Message(ble::kConnected);
    for (const char* text : {"", "05 01 01", "05 01 0", "05 01 zz 00 00 00 00 00 00 00 00 00 00 00 00",
                             "050101000000000000000000000000"}) {
        Message(ble::kInputReportFirst, text);
    }
    h_.window.PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(h_.window.Count(msg::kDpiLevelChanged) + h_.window.Count(msg::kProfileChanged), 0u);
}

TEST_F(BleStatusTest, WithoutALinkOrRegistrationNothingIsRequested) {
    h_.Start();
    h_.transport.SetBleLink(nullptr, kClassNotRegistered);
    EXPECT_EQ(h_.monitor->BleRegister(), BleRegisterResult::NoLink);
    EXPECT_FALSE(h_.monitor->State().bleRegistered);
    h_.transport.SetBleLink(&h_.Ble(), kS_OK);
    h_.transport.SetBleActive(true);
    EXPECT_EQ(h_.monitor->BleRegister(), BleRegisterResult::AlreadyActive);
    EXPECT_EQ(h_.Ble().RegisterCount(), 0);
    EXPECT_TRUE(h_.boxes.shown.empty());

    MonitorHarness unregistered(true, 0);
    unregistered.Start();
    EXPECT_EQ(unregistered.monitor->BleRegister(), BleRegisterResult::Unavailable);
    ASSERT_EQ(unregistered.boxes.shown.size(), 1u);
    EXPECT_EQ(unregistered.boxes.shown[0].text, "蓝牙不可用");
    EXPECT_EQ(unregistered.Ble().RegisterCount(), 0);
}

}  // namespace
}  // namespace mousecfg
