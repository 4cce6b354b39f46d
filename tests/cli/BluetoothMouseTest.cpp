// The tool without --simulate, reaching a mouse paired over Bluetooth LE through its hidraw node. The system's HID
// devices are a virtual mouse's backend, with switches for a node this user may not open and for the mouse going
// away while a command runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli/Cli.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/cli/ToolRun.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/TempDir.h"

namespace mousecfg::cli {
namespace {

using sim::SimAttachment;

class SystemDevices;

// A handle of the virtual backend that counts the feature reports sent through it, so that the mouse can be made
// to go away at a chosen one.
class CountingHandle final : public HidHandle {
  public:
    CountingHandle(std::shared_ptr<HidHandle> inner, SystemDevices& devices)
        : inner_(std::move(inner)), devices_(devices) {}
    bool SetFeatureReport(std::span<const uint8_t> report) override;
    bool GetFeatureReport(std::span<uint8_t> report) override { return inner_->GetFeatureReport(report); }
    int ReadInputReport(std::span<uint8_t> buffer, int timeoutMs) override {
        return inner_->ReadInputReport(buffer, timeoutMs);
    }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }

  private:
    std::shared_ptr<HidHandle> inner_;
    SystemDevices& devices_;
};

// The system's HID devices as the tool sees them: those of a virtual backend, except that one node may refuse to
// open (a user without access) and that the BLE mouse may go away just before a given feature report.
class SystemDevices final : public HidBackend {
  public:
    std::vector<HidInterfaceInfo> Enumerate() override { return backend.Enumerate(); }
    std::shared_ptr<HidHandle> Open(const std::string& path, HidAccess access) override {
        if (path == refusedPath) {
            return nullptr;
        }
        std::shared_ptr<HidHandle> handle = backend.Open(path, access);
        return handle ? std::make_shared<CountingHandle>(std::move(handle), *this) : nullptr;
    }
    // The BLE mouse is unplugged when the `count`th feature report (from 1) is about to be sent; 0: never.
    void UnplugBleAtReport(int count) {
        reportsSent = 0;
        unplugAt = count;
    }
    // Called before each feature report; true when the mouse has just gone away.
    bool BeforeReport() {
        if (++reportsSent == unplugAt) {
            backend.Unplug(SimAttachment::Ble);
            return true;
        }
        return false;
    }

    sim::SimHidBackend backend;
    std::string refusedPath;
    std::atomic<int> reportsSent{0};
    std::atomic<int> unplugAt{0};
};

bool CountingHandle::SetFeatureReport(std::span<const uint8_t> report) {
    devices_.BeforeReport();
    return inner_->SetFeatureReport(report);
}

int SensorValueOfLevel1(const sim::VirtualMouse& mouse) {
    const auto table = mouse.Profile(0).dpiTable;
    return table[4] | table[5] << 8;
}

class BluetoothMouse : public ::testing::Test {
  protected:
    void SetUp() override { CopyConfigurationResources(res_.path()); }
    void TearDown() override { test::ExpectNoRejections(mouse_); }

    // Runs the tool on the system's devices, with the copied resource folder.
    ToolRun Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--res", res_.path().string()});
        return RunTool(arguments, nullptr, &devices_);
    }

    int WritesReceived() const {
        const auto log = mouse_.Log();
        return static_cast<int>(std::count_if(log.begin(), log.end(), [](const sim::FrameLogEntry& entry) {
            return entry.direction == sim::FrameLogEntry::Direction::Received && (entry.report[3] & 0x80) == 0;
        }));
    }

    test::TempDir res_;
    sim::VirtualMouse mouse_;
    sim::VirtualMouse other_;  // a second mouse: by cable, or paired but not in the BLE device list
    SystemDevices devices_;    // after the mice: it unplugs them when it goes
};

constexpr int kSensorValue1650 = 1650 / 50 - 1;

TEST_F(BluetoothMouse, IsUsedWhenNoCableOrReceiverMouseIsThereAndCarriesEveryCommand) {
    devices_.backend.Plug(SimAttachment::Ble, mouse_);

    const ToolRun info = Run({"info"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("connection: ble\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("battery: 80%"), std::string::npos) << "the reply came back over the node";

    const ToolRun set = Run({"set", "dpi", "1", "1625"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(SensorValueOfLevel1(mouse_), kSensorValue1650);

    const ToolRun show = Run({"show", "--json"});
    ASSERT_EQ(show.status, 0) << show.err;
    const nlohmann::json shown = nlohmann::json::parse(show.out);
    EXPECT_EQ(shown["device"]["link"], "ble");
    EXPECT_EQ(shown["profiles"][0]["dpiLevels"][1]["dpi"], "1650");

    // Macros stay refused over BLE, as when simulated.
    EXPECT_EQ(Run({"macro", "bind", "4", "0", "0"}).status, 1);
}

TEST_F(BluetoothMouse, ACableOrReceiverMouseComesFirst) {
    devices_.backend.Plug(SimAttachment::Ble, mouse_);
    devices_.backend.Plug(SimAttachment::Cable, other_);
    const ToolRun run = Run({"set", "dpi", "1", "1625"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(SensorValueOfLevel1(other_), kSensorValue1650);
    EXPECT_EQ(mouse_.Log().size(), 0u) << "the BLE mouse was not spoken to";
    test::ExpectNoRejections(other_);
}

TEST_F(BluetoothMouse, WithoutAMouseAnywhereTheToolSaysSoAndFails) {
    devices_.backend.Plug(SimAttachment::Ble, other_, "Other Mouse");  // paired, but not in the BLE device list
    const ToolRun none = Run({"info"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no supported mouse found by cable, receiver or Bluetooth"), std::string::npos)
        << none.err;
    EXPECT_EQ(std::count(none.err.begin(), none.err.end(), '\n'), 1) << none.err;
    EXPECT_TRUE(none.out.empty());
    EXPECT_EQ(other_.Log().size(), 0u);

    // Without a readable BLE device list no Bluetooth mouse can be recognised: the message says why.
    devices_.backend.Plug(SimAttachment::Ble, mouse_);
    const auto list = res_.Write("Home/Icons/ble.json", "not a cipher text");
    const ToolRun unlisted = Run({"info"});
    EXPECT_EQ(unlisted.status, 1);
    EXPECT_NE(unlisted.err.find(list.string() + " could not be read"), std::string::npos) << unlisted.err;
    EXPECT_EQ(mouse_.Log().size(), 0u);
}

TEST_F(BluetoothMouse, ANodeThisUserMayNotOpenIsNamedWithTheUdevRule) {
    const auto paths = devices_.backend.Plug(SimAttachment::Ble, mouse_);
    ASSERT_EQ(paths.size(), 1u);
    devices_.refusedPath = paths[0];
    const std::string saved = test::TempDir::Read(res_ / "VeruzUrir/MouseA/Config/MouseConfig.json");

    const ToolRun run = Run({"set", "dpi", "1", "1625"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("device node " + paths[0]), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("70-mousecfg.rules"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("reconnect the mouse"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(test::TempDir::Read(res_ / "VeruzUrir/MouseA/Config/MouseConfig.json"), saved);
    EXPECT_EQ(mouse_.Log().size(), 0u);
}

// The mouse goes away at a chosen feature report of the command: the command fails and says so, whatever the
// mouse took before; the saved configuration keeps the change and a full run writes it once the mouse is back.
TEST_F(BluetoothMouse, GoingAwayDuringACommandFailsItAndAFullRunLaterCatchesUp) {
    devices_.backend.Plug(SimAttachment::Ble, mouse_);
    // The command reads the device information, then writes the DPI table and the profile tag that says the mouse
    // holds the profile. At the third report the mouse has taken the table but not the tag; at the second nothing.
    for (const auto& [report, dpi] : {std::pair{3, "1625"}, std::pair{2, "2000"}}) {
        devices_.UnplugBleAtReport(report);
        const ToolRun set = Run({"set", "dpi", "1", dpi});
        EXPECT_EQ(set.status, 1) << "unplugged at report " << report << ": " << set.err;
        EXPECT_NE(set.err.find("mouse disconnected during the command"), std::string::npos) << set.err;
        EXPECT_EQ(SensorValueOfLevel1(mouse_), kSensorValue1650);
        devices_.UnplugBleAtReport(0);
        devices_.backend.Plug(SimAttachment::Ble, mouse_);
    }

    devices_.UnplugBleAtReport(1);
    const ToolRun info = Run({"info"});
    EXPECT_EQ(info.status, 1);
    EXPECT_EQ(info.out.find("battery"), std::string::npos) << "nothing is reported as read: " << info.out;
    devices_.UnplugBleAtReport(0);
    devices_.backend.Plug(SimAttachment::Ble, mouse_);

    mouse_.ClearLog();
    const ToolRun apply = Run({"apply", "--full"});
    ASSERT_EQ(apply.status, 0) << apply.err;
    EXPECT_GT(WritesReceived(), 5) << "the whole profile";
    EXPECT_EQ(SensorValueOfLevel1(mouse_), 2000 / 50 - 1) << "the change the mouse missed is written";
}

}  // namespace
}  // namespace mousecfg::cli
