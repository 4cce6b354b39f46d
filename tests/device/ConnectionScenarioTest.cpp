// Whole sessions on the virtual mouse: what the main window hears, in order, as devices come and go, the mouse
// links and unlinks, the user presses its buttons, and the BLE link connects, fails and retries.
#include <gtest/gtest.h>

#include "tests/device/MonitorHarness.h"

namespace mousecfg {
namespace {

using sim::SimAttachment;
using test::MonitorHarness;

constexpr auto kSettle = std::chrono::milliseconds(1000);
constexpr int kDpiButton = 2;

TEST(ConnectionScenario, ReceiverWithTheMouseOffThenCableThenReceiverUnplugged) {
    MonitorHarness h;
    h.mouse.SetDeliveryEnabled(false);  // the mouse is off: the receiver reports no link
    h.backend.Plug(SimAttachment::Receiver, h.mouse);
    h.Start();
    h.window.Send(Message{msg::kConnectionRefresh, 0, 1, {}});  // the window's first connection display
    EXPECT_EQ(h.monitor->State().connectionKind, 2);
    EXPECT_EQ(h.monitor->RunningReaders(), 1u);
    EXPECT_FALSE(h.window.WithId(msg::kConnectionRefresh)[0].display->online);

    // The mouse links up: the reader tells the window, which reads the device information.
    h.window.Clear();
    h.mouse.SetDeliveryEnabled(true);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kConnectionRefresh) == 1; }));
    const auto linked = h.window.WithId(msg::kConnectionRefresh)[0];
    EXPECT_EQ(linked.message.wParam, 1u);
    EXPECT_EQ(linked.message.lParam, 1);
    EXPECT_TRUE(linked.display->online);
    EXPECT_EQ(linked.display->battery, (BatteryDisplay{80, false}));
    EXPECT_TRUE(linked.display->reloadConfiguration) << "the first variant seen";

    // The DPI button: pressing changes the level on the mouse, releasing reports it.
    h.window.Clear();
    h.mouse.SetButton(kDpiButton, true);
    h.mouse.SetDpiLevelNumber(3);
    h.mouse.SetButton(kDpiButton, false);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kDpiLevelChanged) == 1; }));
    h.window.PumpFor(std::chrono::milliseconds(20));
    ASSERT_EQ(h.window.All().size(), 1u) << "one event, nothing else";
    const Message dpi = h.window.All()[0].message;
    EXPECT_EQ(dpi.wParam, 3u + 256u * (kDpiButton + 100));
    EXPECT_EQ(dpi.lParam, 1);

    // The cable is plugged in: after it settled the cable is chosen, and it gets its own reader.
    h.window.Clear();
    h.backend.Plug(SimAttachment::Cable, h.mouse);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(kDeviceChangeMessage) == 2; }));
    EXPECT_EQ(h.window.Count(msg::kConnectionRefresh), 0u);
    h.timers.Advance(kSettle);
    auto refresh = h.window.WithId(msg::kConnectionRefresh);
    ASSERT_EQ(refresh.size(), 1u);
    EXPECT_EQ(refresh[0].message.wParam, 1u) << "receiver to cable";
    EXPECT_EQ(h.monitor->State().connectionKind, 1);
    EXPECT_EQ(h.transport.FeatureHandle(), h.catalogue->Record(0).featureHandle);
    EXPECT_EQ(h.monitor->RunningReaders(), 2u);

    // The receiver is pulled out while its reader is blocked in a read.
    h.window.Clear();
    h.backend.Unplug(SimAttachment::Receiver);
    ASSERT_TRUE(h.WaitForReaders(1));
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(kDeviceChangeMessage) == 2; }));
    EXPECT_FALSE(h.catalogue->IsPresent(1));
    EXPECT_EQ(h.catalogue->Record(1).receiverValue, 255);
    h.timers.Advance(kSettle);
    refresh = h.window.WithId(msg::kConnectionRefresh);
    ASSERT_EQ(refresh.size(), 1u);
    EXPECT_EQ(refresh[0].message.wParam, 0u) << "still the cable";
    EXPECT_EQ(h.monitor->RunningReaders(), 1u);

    // Both readers' devices saw the next press; only the cable is left to report it.
    h.window.Clear();
    h.mouse.SetButton(kDpiButton, true);
    h.mouse.SetActiveProfile(1);
    h.mouse.SetButton(kDpiButton, false);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kProfileChanged) == 1; }));
    EXPECT_EQ(h.window.WithId(msg::kProfileChanged)[0].message.lParam, 0);
}

TEST(ConnectionScenario, EventsReachTheWindowInTheOrderTheMouseMadeThem) {
    MonitorHarness h;
    h.backend.Plug(SimAttachment::Cable, h.mouse);
    h.Start();
    h.mouse.SetExtraState(0x81, 0, 0x0100, 0);  // a first state value
    for (uint8_t level = 2; level <= 8; ++level) {
        h.mouse.SetButton(0, true);
        h.mouse.SetDpiLevelNumber(level);
        h.mouse.SetExtraState(0x81, 0, static_cast<uint16_t>(0x0100 + level), 0);
        h.mouse.SetButton(0, false);
    }
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kDpiLevelChanged) == 7; }));
    h.window.PumpFor(std::chrono::milliseconds(20));
    std::vector<uint32_t> ids;
    std::vector<uintptr_t> levels;
    for (const auto& handled : h.window.All()) {
        ids.push_back(handled.message.id);
        if (handled.message.id == msg::kDpiLevelChanged) {
            levels.push_back(handled.message.wParam & 0xFF);
        }
    }
    EXPECT_EQ(levels, (std::vector<uintptr_t>{2, 3, 4, 5, 6, 7, 8}));
    // Each level change follows the state value change reported while the button was held.
    const std::vector<uint32_t> pair = {msg::kDpiValueChanged, msg::kDpiLevelChanged};
    ASSERT_EQ(ids.size(), 14u);
    for (size_t i = 0; i < ids.size(); i += 2) {
        EXPECT_EQ(std::vector<uint32_t>(ids.begin() + static_cast<long>(i), ids.begin() + static_cast<long>(i) + 2),
                  pair);
    }
}

TEST(ConnectionScenario, BleConnectsReportsAndDisconnects) {
    MonitorHarness h(true);
    h.Start();
    ASSERT_EQ(h.monitor->State().online, 0);
    EXPECT_EQ(h.monitor->BleRegister(), BleRegisterResult::Requested);  // no mouse online at start-up
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kBleStatus) == 1; }));
    const auto connected = h.window.WithId(msg::kBleStatus)[0];
    EXPECT_EQ(connected.message.wParam, ble::kConnected);
    EXPECT_TRUE(connected.outcome->switchToBle);
    EXPECT_TRUE(h.transport.BleActive());
    EXPECT_EQ(h.Ble().RegisteredNames(), "Virtual Mouse");

    // The window reads the device information: the reply comes back as a message and shows the battery once.
    {
        auto session = h.commands.Acquire();
        session->type = request::kReadDeviceInfo;
        EXPECT_EQ(session.DeviceRead(), 1);
    }
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kBleStatus) == 2; }));
    const auto reply = h.window.WithId(msg::kBleStatus)[1];
    EXPECT_EQ(reply.message.wParam, ble::kReadReplyFirst | request::kReadDeviceInfo);
    EXPECT_EQ(reply.outcome->battery, (BatteryDisplay{80, false}));
    EXPECT_FALSE(h.monitor->State().batteryPending);

    // The DPI button over BLE.
    h.window.Clear();
    h.mouse.SetButton(kDpiButton, true);
    h.mouse.SetDpiLevelNumber(5);
    h.mouse.SetButton(kDpiButton, false);
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kDpiLevelChanged) == 1; }));
    EXPECT_EQ(h.window.WithId(msg::kDpiLevelChanged)[0].message.wParam, 5u + 256u * (kDpiButton + 100));

    h.Ble().Disconnect();
    ASSERT_TRUE(h.window.PumpUntil([&] {
        const auto ble = h.window.WithId(msg::kBleStatus);
        return !ble.empty() && ble.back().message.wParam == ble::kDisconnected;
    }));
    EXPECT_FALSE(h.transport.BleActive());
    EXPECT_FALSE(h.monitor->State().bleRegistered);
    EXPECT_TRUE(h.window.WithId(msg::kBleStatus).back().outcome->refreshDisplay);
}

TEST(ConnectionScenario, FiveFailuresAreRetried10SecondsApartAndTheSixthAsksForARestart) {
    MonitorHarness h(true);
    h.Ble().SetAutoConnect(false);
    h.boxes.answer = 1;
    h.Start();
    h.monitor->BleRegister();
    for (int failure = 1; failure <= 5; ++failure) {
        h.Ble().FailConnection();
        ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kBleStatus) == size_t(failure); }));
        EXPECT_FALSE(h.monitor->State().bleRegistered);
        EXPECT_EQ(h.monitor->State().bleFailures, failure);
        h.timers.Advance(std::chrono::milliseconds(9999));
        EXPECT_EQ(h.Ble().RegisterCount(), failure) << "not before 10 s";
        h.timers.Advance(std::chrono::milliseconds(1));
        EXPECT_EQ(h.Ble().RegisterCount(), failure + 1);
        EXPECT_FALSE(h.timers.IsTimerRunning(timer::kBleRetry));
    }
    h.Ble().FailConnection();
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kBleStatus) == 6; }));
    EXPECT_TRUE(h.window.WithId(msg::kBleStatus).back().outcome->quit) << "confirming ends the program";
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0].text, "蓝牙连接失败，重启软件");
    EXPECT_EQ(h.monitor->State().bleFailures, 0);
    h.timers.Advance(std::chrono::seconds(60));
    EXPECT_EQ(h.Ble().RegisterCount(), 6) << "no retry after the restart message";

    // A connection in between starts the count again.
    h.monitor->BleRegister();
    h.Ble().FailConnection();
    h.Ble().Connect();
    ASSERT_TRUE(h.window.PumpUntil([&] { return h.window.Count(msg::kBleStatus) == 8; }));
    EXPECT_EQ(h.monitor->State().bleFailures, 0);
    EXPECT_FALSE(h.timers.IsTimerRunning(timer::kBleRetry)) << "the pending retry is dropped";
}

TEST(ConnectionScenario, ShutdownLeavesNoThreadBehind) {
    auto h = std::make_unique<MonitorHarness>();
    h->backend.Plug(SimAttachment::Cable, h->mouse);
    h->backend.Plug(SimAttachment::Receiver, h->mouse);
    h->Start();
    for (int i = 0; i < 3; ++i) {
        h->monitor->StartReaders();
    }
    EXPECT_EQ(h->monitor->RunningReaders(), 2u);
    // Reports keep coming while the monitor stops; the readers may be blocked in a send to the window.
    h->mouse.SetDeliveryEnabled(false);
    h->mouse.SetDeliveryEnabled(true);
    h.reset();  // joins every thread, or the test hangs and fails
}

}  // namespace
}  // namespace mousecfg
