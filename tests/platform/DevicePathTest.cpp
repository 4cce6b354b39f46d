#include "platform/DevicePath.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/DeviceChange.h"
#include "platform/MessageQueue.h"
#include "platform/UdevMonitor.h"

namespace mousecfg {
namespace {

TEST(DevicePath, BothPathFormsNameVendorAndProduct) {
    struct Case {
        const char* path;
        std::optional<DeviceIds> ids;
    };
    const Case cases[] = {
        // Windows interface paths: the 17 characters from position 8.
        {R"(\\?\HID#VID_1111&PID_2222#7&1a2b3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
         DeviceIds{0x1111, 0x2222}},
        {R"(\\?\hid#vid_25a7&pid_fa7c&mi_01&col05#8&2d3e&0&0004#{4d1e55b2-f16f-11cf-88cb-001111000030})",
         DeviceIds{0x25A7, 0xFA7C}},
        {R"(\\?\HID#VID_1111&PID_2222)", DeviceIds{0x1111, 0x2222}},
        {R"(\\?\HID#VID_1111&PID_222)", std::nullopt},     // cut short
        {R"(\\?\HID#VID_11G1&PID_2222#x)", std::nullopt},  // not hexadecimal
        {R"(\\?\USB#VID_1111&PID_2222#x)", DeviceIds{0x1111, 0x2222}},
        {R"(\\?\HID#PID_1111&VID_2222#x)", std::nullopt},  // fields swapped
        // udev: the HID device inside a hidraw node's sysfs path, and the virtual mouse's paths.
        {"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:1209:0007.000A/hidraw/hidraw3",
         DeviceIds{0x1209, 0x0007}},
        {"/sys/devices/virtual/misc/uhid/0005:046D:B01A.0010/hidraw/hidraw5", DeviceIds{0x046D, 0xB01A}},
        {"sim://receiver/0003:1209:0008.0002/FF01", DeviceIds{0x1209, 0x0008}},
        {"/sys/devices/x/0003:1209:0007.000/hidraw/hidraw3", std::nullopt},  // instance one digit short
        {"/sys/devices/x/0003:1209:0007:000A/hidraw/hidraw3", std::nullopt},
        {"/dev/hidraw3", std::nullopt},  // hidapi's path names no IDs
        {"", std::nullopt},
        {"VID_", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDeviceIds(c.path), c.ids) << c.path;
    }
}

TEST(UdevMonitor, AddAndRemoveOfAHidrawNodeBecomeDeviceChanges) {
    const std::string node = "/sys/devices/pci0000:00/usb1/1-2/1-2:1.0/0003:1209:0008.0004/hidraw/hidraw1";
    const auto added = DeviceChangeFromUdev("add", node);
    ASSERT_TRUE(added.has_value());
    EXPECT_EQ(added->id, kDeviceChangeMessage);
    EXPECT_EQ(added->wParam, kDeviceArrival);
    EXPECT_EQ(added->text, node);
    const auto removed = DeviceChangeFromUdev("remove", node);
    ASSERT_TRUE(removed.has_value());
    EXPECT_EQ(removed->wParam, kDeviceRemoval);

    for (const char* action : {"change", "bind", "unbind", ""}) {
        EXPECT_FALSE(DeviceChangeFromUdev(action, node).has_value()) << action;
    }
    EXPECT_FALSE(DeviceChangeFromUdev("add", "").has_value());
}

// The monitor sleeps in poll() until udev or its stop event wakes it: Stop wakes and joins it (a monitor that
// could not be woken would hang here), and stopping twice is fine.
TEST(UdevMonitor, StartsAndStopsOnItsStopEvent) {
    MessageQueue window;
    UdevMonitor monitor(window);
    const Status started = monitor.Start();
    ASSERT_TRUE(started.ok()) << started.message();
    EXPECT_TRUE(monitor.Start().ok()) << "already running";
    monitor.Stop();
    monitor.Stop();
    EXPECT_FALSE(window.Next(std::chrono::milliseconds(0)).has_value()) << "no device changed";
}

}  // namespace
}  // namespace mousecfg
