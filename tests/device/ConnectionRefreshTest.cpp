// What the main window shows after message 2053: link state, battery, charging, variant and refresh.
#include "device/ConnectionRefresh.h"

#include <gtest/gtest.h>

namespace mousecfg {
namespace {

using Outcome = DeviceInfoReading::Outcome;

DeviceInfoReading Read(uint8_t link, uint8_t battery, uint8_t variant = 6) {
    return DeviceInfoReading{Outcome::Read, link, battery, variant};
}

TEST(BatteryDisplay, LevelIsLimitedTo100AndLowDependsOnTheLink) {
    EXPECT_EQ(MakeBatteryDisplay(0x97, false), (BatteryDisplay{23, true}));  // 23 % while charging
    EXPECT_EQ(MakeBatteryDisplay(0x97, true), (BatteryDisplay{23, false}));
    EXPECT_EQ(MakeBatteryDisplay(25, false), (BatteryDisplay{25, true}));
    EXPECT_EQ(MakeBatteryDisplay(26, false), (BatteryDisplay{26, false}));
    EXPECT_EQ(MakeBatteryDisplay(20, true), (BatteryDisplay{20, true}));
    EXPECT_EQ(MakeBatteryDisplay(21, true), (BatteryDisplay{21, false}));
    EXPECT_EQ(MakeBatteryDisplay(0x7F, false), (BatteryDisplay{100, false}));
    EXPECT_EQ(BatteryFromPercent(200, true), (BatteryDisplay{100, false}));
}

TEST(ConnectionRefresh, TheReceiverTakesItsLinkStateAndChargeFromTheReading) {
    RefreshState state{2, 1, 6};
    const ConnectionDisplay off = EvaluateConnectionRefresh(Read(0, 0x97), 0, 0, state);
    EXPECT_FALSE(off.online);
    EXPECT_EQ(state.online, 0);
    EXPECT_FALSE(off.showCharging) << "charging is shown only while linked";
    EXPECT_TRUE(off.refreshConnection) << "the link state changed";
    ASSERT_TRUE(off.battery.has_value());
    EXPECT_EQ(off.battery->percent, 23);

    const ConnectionDisplay on = EvaluateConnectionRefresh(Read(1, 0x97), 0, 0, state);
    EXPECT_TRUE(on.online && on.showCharging && on.refreshConnection);
    const ConnectionDisplay again = EvaluateConnectionRefresh(Read(1, 0x50), 0, 0, state);
    EXPECT_FALSE(again.refreshConnection || again.showCharging);
}

TEST(ConnectionRefresh, ACableDeviceIsOnlineAndChargingWhenItAnswers) {
    RefreshState state{1, 0, 6};
    const ConnectionDisplay display = EvaluateConnectionRefresh(Read(0, 50), 0, 1, state);
    EXPECT_TRUE(display.online && display.showCharging && display.refreshConnection);
    EXPECT_EQ(display.battery, (BatteryDisplay{50, false}));

    RefreshState failing{1, 1, 6};
    const ConnectionDisplay failed = EvaluateConnectionRefresh({Outcome::Failed}, 1, 0, failing);
    EXPECT_TRUE(failed.online) << "only a receiver goes offline when the read fails";
    EXPECT_FALSE(failed.battery.has_value());
}

TEST(ConnectionRefresh, AFailedReadTakesTheReceiverOfflineOnlyForAChangeReport) {
    RefreshState state{2, 1, 6};
    EXPECT_TRUE(EvaluateConnectionRefresh({Outcome::Failed}, 0, 0, state).online);
    const ConnectionDisplay changed = EvaluateConnectionRefresh({Outcome::Failed}, 1, 0, state);
    EXPECT_FALSE(changed.online);
    EXPECT_TRUE(changed.refreshConnection);
    RefreshState ble{2, 1, 6};
    EXPECT_TRUE(EvaluateConnectionRefresh({Outcome::NotRead}, 1, 0, ble).online) << "nothing was read over BLE";
}

TEST(ConnectionRefresh, ANewVariantReloadsTheConfigurationOnlyWhenOnlineAndChanged) {
    RefreshState state{2, 1, 6};
    EXPECT_FALSE(EvaluateConnectionRefresh(Read(1, 50, 9), 0, 0, state).reloadConfiguration) << "wParam 0";
    EXPECT_EQ(state.variant, 6);
    EXPECT_FALSE(EvaluateConnectionRefresh(Read(0, 50, 9), 1, 0, state).reloadConfiguration) << "offline";
    EXPECT_TRUE(EvaluateConnectionRefresh(Read(1, 50, 9), 1, 0, state).reloadConfiguration);
    EXPECT_EQ(state.variant, 9);
    EXPECT_FALSE(EvaluateConnectionRefresh(Read(1, 50, 9), 1, 0, state).reloadConfiguration) << "already stored";
}

}  // namespace
}  // namespace mousecfg
