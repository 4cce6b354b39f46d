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
#include "tests/support/FakeHidHandle.h"
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

TEST_F(InputReadersTest, AReaderEndsWhenItsUnpluggedDeviceIsNoLongerPresent) {
    readers_.Start();
    const auto paths = backend_.Unplug(SimAttachment::Receiver);
    EXPECT_TRUE(catalogue_.DeviceRemoved(paths[0]));
    ASSERT_TRUE(Eventually([&] { return readers_.Running() == 1; })) << "the reader ends with its record";
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

namespace mousecfg {
namespace {

// One device whose input interface is a scripted handle.
class ScriptedBackend final : public HidBackend {
  public:
    std::vector<HidInterfaceInfo> Enumerate() override {
        std::vector<HidInterfaceInfo> list;
        for (uint16_t page : {kInputUsagePage, kFeatureUsagePage}) {
            HidInterfaceInfo info;
            info.path = page == kInputUsagePage ? "input" : "feature";
            info.vendorId = 0x1111;
            info.productId = 0x2222;
            info.usagePage = page;
            info.usage = 1;
            info.inputReportLength = 16;
            list.push_back(info);
        }
        return list;
    }
    std::shared_ptr<HidHandle> Open(const std::string& path, HidAccess) override {
        return path == "input" ? input : std::make_shared<test::FakeHidHandle>();
    }
    std::shared_ptr<test::FakeHidHandle> input = std::make_shared<test::FakeHidHandle>();
};

TEST(InputReaderRetries, AFailedReadChangesNothingAndTheNextReportStillArrives) {
    test::TempDir res;
    test::WriteCatalogueArchive(res.path(), R"({"NDevice": [{"DevType": 1, "Pid": "2222", "Vid": "1111"}]})");
    ScriptedBackend backend;
    FindDev catalogue(backend, res.path());
    catalogue.LoadCatalogue();
    ASSERT_TRUE(catalogue.IsPresent(0));

    std::mutex mutex;
    std::vector<uint8_t> dpiLevels;  // guarded by mutex
    InputReaders readers(catalogue, [&](size_t, const FindDev::ReaderView&, std::span<const uint8_t> report,
                                        InputReportProcessor::State&) {
        std::lock_guard<std::mutex> lock(mutex);
        dpiLevels.push_back(report[8]);
    });
    std::vector<uint8_t> report(16, 0);
    report[0] = 5;
    report[8] = 3;
    backend.input->QueueInputFailure();  // an interrupted wait
    backend.input->QueueInputReport(report);
    ASSERT_EQ(readers.Start(), 1);
    ASSERT_TRUE(Eventually([&] {
        std::lock_guard<std::mutex> lock(mutex);
        return !dpiLevels.empty();
    })) << "the reader went on after the failed read";
    EXPECT_EQ(dpiLevels, std::vector<uint8_t>{3});
    EXPECT_EQ(backend.input->InputReads(), 2);
    EXPECT_EQ(readers.Running(), 1u);
    EXPECT_EQ(readers.Start(), 0) << "still one reader";

    // Only closing the handle ends it.
    backend.input->Close();
    ASSERT_TRUE(Eventually([&] { return readers.Running() == 0; }));
}

}  // namespace
}  // namespace mousecfg
