// Telling a mouse that is plugged in but may not be opened from one that is not there.
#include <gtest/gtest.h>

#include "device/FindDev.h"
#include "device/NodeAccess.h"
#include "platform/HidBackend.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

// The system's interfaces as listed; opening any of them is refused, as for a node without access rights.
class RefusingBackend final : public HidBackend {
  public:
    std::vector<HidInterfaceInfo> Enumerate() override { return interfaces; }
    std::shared_ptr<HidHandle> Open(const std::string&, HidAccess) override { return nullptr; }
    void Add(const std::string& path, uint16_t vendor, uint16_t product, uint16_t usagePage) {
        HidInterfaceInfo info;
        info.path = path;
        info.vendorId = vendor;
        info.productId = product;
        info.usagePage = usagePage;
        info.usage = 1;
        interfaces.push_back(info);
    }
    std::vector<HidInterfaceInfo> interfaces;
};

class NodeAccessTest : public ::testing::Test {
  protected:
    void SetUp() override { test::WriteCatalogueArchive(dir_.path(), test::VirtualMouseCatalogue()); }
    test::TempDir dir_;
};

TEST_F(NodeAccessTest, ASupportedMouseWhoseNodeRefusesAccessIsNamedWithTheRule) {
    RefusingBackend backend;
    backend.Add("/dev/hidraw7", 0x046D, 0xC077, kInputUsagePage);  // another vendor's mouse: not ours to report
    backend.Add("/dev/hidraw3", 0x1209, 0x0008, kInputUsagePage);
    backend.Add("/dev/hidraw4", 0x1209, 0x0008, kFeatureUsagePage);
    FindDev catalogue(backend, dir_.path());
    catalogue.LoadCatalogue();
    ASSERT_FALSE(catalogue.IsPresent(1));

    std::vector<std::string> asked;
    const auto refused = FindUnreadableDevice(catalogue, backend, [&](const std::string& path) {
        asked.push_back(path);
        return false;
    });
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->path, "/dev/hidraw3");
    EXPECT_EQ(refused->name, "Virtual Mouse");
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "/dev/hidraw7"), 0) << "only the catalogue's devices count";
    const std::string message = UnreadableDeviceMessage(*refused);
    EXPECT_NE(message.find("/dev/hidraw3"), std::string::npos) << message;
    EXPECT_NE(message.find("70-mousecfg.rules"), std::string::npos) << message;

    EXPECT_FALSE(FindUnreadableDevice(catalogue, backend, [](const std::string&) { return true; }))
        << "a node that opens for this user is another failure, not a missing rule";
}

TEST_F(NodeAccessTest, NothingIsReportedWhenTheMouseIsAbsentOrPresent) {
    RefusingBackend nothingPlugged;
    FindDev empty(nothingPlugged, dir_.path());
    empty.LoadCatalogue();
    EXPECT_FALSE(FindUnreadableDevice(empty, nothingPlugged, [](const std::string&) { return false; }));

    sim::VirtualMouse mouse;
    sim::SimHidBackend backend;
    backend.Plug(sim::SimAttachment::Cable, mouse);
    FindDev catalogue(backend, dir_.path());
    catalogue.LoadCatalogue();
    ASSERT_TRUE(catalogue.IsPresent(0));
    EXPECT_FALSE(FindUnreadableDevice(catalogue, backend, [](const std::string&) { return false; }))
        << "the cable device is open; the receiver record is absent";
}

}  // namespace
}  // namespace mousecfg
