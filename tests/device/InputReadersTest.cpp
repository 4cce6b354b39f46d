// The input reader threads: one per present device, however often they are started, ending with their device.
#include "device/InputReaders.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using sim::SimAttachment;

bool Eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class InputReadersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteCatalogueArchive(res_.path(), test::VirtualMouseCatalogue());
        backend_.Plug(SimAttachment::Cable, mouse_);
        backend_.Plug(SimAttachment::Receiver, mouse_);
        catalogue_.LoadCatalogue();
    }

    // Reports seen per record, and the largest number of readers seen handling reports of one record at once.
    std::map<size_t, int> Seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

    test::TempDir res_;
    sim::VirtualMouse mouse_;
    sim::SimHidBackend backend_;
    FindDev catalogue_{backend_, res_.path()};
    std::mutex mutex_;
    std::map<size_t, int> seen_;  // guarded by mutex_
    InputReaders readers_{catalogue_, [this](size_t index, const FindDev::ReaderView&, std::span<const uint8_t> report,
                                             InputReportProcessor::State&) {
                              std::lock_guard<std::mutex> lock(mutex_);
                              seen_[index] += report[0] == 5 ? 1 : 0;
                          }};
};

TEST_F(InputReadersTest, OneReaderPerPresentDeviceHoweverOftenStarted) {
    EXPECT_EQ(readers_.Start(), 2);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(readers_.Start(), 0);
    }
    EXPECT_EQ(readers_.Running(), 2u);
    mouse_.SetButton(0, true);
    ASSERT_TRUE(Eventually([&] { return Seen()[0] == 1 && Seen()[1] == 1; })) << "each report read once per device";
    mouse_.SetButton(0, false);
    ASSERT_TRUE(Eventually([&] { return Seen()[0] == 2 && Seen()[1] == 2; }));
}

TEST_F(InputReadersTest, AReaderEndsWhenItsDeviceIsUnpluggedDuringARead) {
    readers_.Start();
    const auto paths = backend_.Unplug(SimAttachment::Receiver);
    ASSERT_TRUE(Eventually([&] { return readers_.Running() == 1; })) << "the blocked read ends with the device";
    EXPECT_TRUE(catalogue_.DeviceRemoved(paths[0]));
    EXPECT_EQ(readers_.Start(), 0);
    EXPECT_EQ(readers_.Running(), 1u);

    const auto again = backend_.Plug(SimAttachment::Receiver, mouse_);
    EXPECT_TRUE(catalogue_.DeviceArrived(again[0]));
    EXPECT_EQ(readers_.Start(), 1);
    EXPECT_EQ(readers_.Running(), 2u);
}

TEST_F(InputReadersTest, StoppingJoinsEveryReaderAndClosesTheInputHandles) {
    readers_.Start();
    readers_.StopAll();
    EXPECT_EQ(readers_.Running(), 0u);
    EXPECT_FALSE(catalogue_.Record(0).inputHandle->IsOpen());
    EXPECT_TRUE(catalogue_.Record(0).featureHandle->IsOpen()) << "the transport may still use it";
}

}  // namespace
}  // namespace mousecfg
