// The device catalogue: reading Ndevice.json, extracting it from its archive, the BLE device list, and finding
// the devices' interfaces as they come and go.
#include "device/FindDev.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <vector>

#include "device/CatalogueReader.h"
#include "device/ZipArchive.h"
#include "platform/Trace.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/FakeHidHandle.h"
#include "tests/support/TempDir.h"
#include "tools/catalogue/CataloguePacker.h"

namespace mousecfg {
namespace {

using sim::SimAttachment;

// A backend listing fixed interfaces; opening one gives a fake handle.
class ListedBackend final : public HidBackend {
  public:
    std::vector<HidInterfaceInfo> Enumerate() override { return interfaces; }
    std::shared_ptr<HidHandle> Open(const std::string& path, HidAccess) override {
        for (const auto& info : interfaces) {
            if (info.path == path) {
                ++opens;
                return std::make_shared<test::FakeHidHandle>();
            }
        }
        return nullptr;
    }
    void Add(uint16_t vendor, uint16_t product, uint16_t usagePage, const std::string& productString = "Mouse") {
        HidInterfaceInfo info;
        info.path = "hid-" + std::to_string(interfaces.size());
        info.vendorId = vendor;
        info.productId = product;
        info.usagePage = usagePage;
        info.usage = 1;
        info.productString = productString;
        interfaces.push_back(info);
    }
    std::vector<HidInterfaceInfo> interfaces;
    int opens = 0;
};

std::string OneDevice(const std::string& keys) {
    return R"({"NDevice": [{)" + keys + "}]}";
}

// Collects the trace texts while it lives.
struct Traces {
    std::string text;
    trace::ScopedSink sink{[this](std::string_view t) { text += t; }};
};

TEST(CatalogueReader, ReadsEveryKeyAndDefaultsTheMissingOnes) {
    const Catalogue catalogue = ParseCatalogue(R"({"NDevice": [
        {"DevType": 1, "Pid": "2221,2222", "Vid": "1111,1111", "Ser": "First,Second", "isUSB": 1,
         "DevName": "Mouse A,Mouse B", "NormalImage": "n.png", "HotImage": "h.png", "PushedImage": "p.png",
         "DevFolder": "MouseA", "DevTypeString": "Mouse", "Width": 220, "Height": 140, "Padding": [1, 2, 3, 4],
         "DevCmpStr": 1, "DevNO": 7, "Unknown": [1]},
        {"DevTypeString": "Mouse"},
        {"DevTypeString": "Keyboard", "Padding": [5]}]})");
    ASSERT_EQ(catalogue.records.size(), 3u);
    const DeviceRecord& full = catalogue.records[0];
    EXPECT_EQ(full.kind, 1);
    EXPECT_EQ(full.productIds, (std::vector<int>{0x2221, 0x2222}));
    EXPECT_EQ(full.vendorIds, (std::vector<int>{0x1111, 0x1111}));
    EXPECT_EQ(full.names, (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(full.productNames, (std::vector<std::string>{"Mouse A", "Mouse B"}));
    EXPECT_EQ(full.isUSB, 1);
    EXPECT_EQ(full.pushedImage, "p.png");
    EXPECT_EQ(full.folder, "MouseA");
    EXPECT_EQ(full.padding, (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(full.compareNames, 1);
    EXPECT_EQ(full.number, 7);

    const DeviceRecord& empty = catalogue.records[1];
    EXPECT_EQ(empty.kind, 0);
    EXPECT_TRUE(empty.productIds.empty());
    EXPECT_TRUE(empty.folder.empty());
    EXPECT_EQ(empty.padding, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(catalogue.records[2].padding, (std::array<int, 4>{5, 0, 0, 0}));
    EXPECT_EQ(catalogue.categories, (std::vector<std::string>{"Mouse", "Keyboard"}));
}

TEST(CatalogueReader, AWrongTypeKeepsTheRecordsReadBeforeItAndTracesTheError) {
    Traces traces;
    const Catalogue catalogue = ParseCatalogue(R"({"NDevice": [
        {"DevFolder": "A", "DevTypeString": "Mouse"}, {"DevFolder": "B", "DevType": "one"}, {"DevFolder": "C"}]})");
    ASSERT_EQ(catalogue.records.size(), 1u);
    EXPECT_EQ(catalogue.records[0].folder, "A");
    EXPECT_EQ(catalogue.categories, std::vector<std::string>{"Mouse"});
    EXPECT_NE(traces.text.find("Ndevice.json: "), std::string::npos) << traces.text;

    for (const char* text : {"", "{", "[]", R"({"NDevice": 3})", R"({"Devices": []})", R"({"NDevice": [3]})",
                             R"({"NDevice": [{"Pid": 2222}]})", R"({"NDevice": [{"Padding": "1,2"}]})"}) {
        EXPECT_TRUE(ParseCatalogue(text).records.empty()) << text;
    }
}

TEST(CatalogueReader, ListsReadLikeStrtolAndKeepEmptyPiecesInTheirPlace) {
    EXPECT_EQ(ParseHexList("2221,2222"), (std::vector<int>{0x2221, 0x2222}));
    EXPECT_EQ(ParseHexList(" 0x1a, 1Bz"), (std::vector<int>{0x1A, 0x1B}));
    EXPECT_EQ(ParseHexList("a,,b"), (std::vector<int>{0xA, -1, 0xB}));
    EXPECT_EQ(ParseHexList("zz,-1,10000"), (std::vector<int>{0, -1, -1}));  // no ID, then two that no device has
    EXPECT_TRUE(ParseHexList("").empty());
    EXPECT_EQ(SplitList("a,,b,"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_TRUE(SplitList("").empty());
}

class FindDevTest : public ::testing::Test {
  protected:
    // Loads `catalogue` through its archive into a FindDev on `backend`.
    std::unique_ptr<FindDev> Load(HidBackend& backend, const std::string& catalogue) {
        test::WriteCatalogueArchive(dir_.path(), catalogue);
        auto finder = std::make_unique<FindDev>(backend, dir_.path());
        finder->LoadCatalogue();
        return finder;
    }

    test::TempDir dir_;
};

TEST_F(FindDevTest, TheIdPairThatMatchesNamesTheDevice) {
    ListedBackend backend;
    backend.Add(0x1111, 0x2222, kInputUsagePage);
    backend.Add(0x1111, 0x2222, kFeatureUsagePage);
    const auto finder =
        Load(backend, OneDevice(R"("DevType": 1, "Pid": "2221,2222", "Vid": "1111,1111", "Ser": "First,Second")"));
    const DeviceRecord record = finder->Record(0);
    EXPECT_TRUE(record.present);
    EXPECT_EQ(record.name, "Second");
    EXPECT_EQ(record.devicePath, "HID-1");  // the interface that completed the pair, upper case
    EXPECT_TRUE(record.featureHandle && record.inputHandle);
}

TEST_F(FindDevTest, AnEmptyNameKeepsTheLaterNamesPairedWithTheirIds) {
    ListedBackend backend;
    backend.Add(0x1111, 0x2222, kInputUsagePage);
    backend.Add(0x1111, 0x2222, kFeatureUsagePage);
    const auto finder = Load(
        backend, OneDevice(R"("DevType": 1, "Pid": "2220,2221,2222", "Vid": "1111,,1111", "Ser": "A,,C")"));
    EXPECT_EQ(finder->Record(0).names, (std::vector<std::string>{"A", "", "C"}));
    EXPECT_EQ(finder->Record(0).vendorIds, (std::vector<int>{0x1111, -1, 0x1111}));
    EXPECT_EQ(finder->Record(0).name, "C") << "the third product takes the third name";
}

TEST_F(FindDevTest, ADeviceIsPresentOnlyWithBothInterfacesAndAnAcceptedProductString) {
    struct Case {
        const char* keys;
        std::vector<uint16_t> pages;
        bool present;
    };
    const Case cases[] = {
        {R"("Pid": "2222", "Vid": "1111", "DevCmpStr": 1, "DevName": "")", {0xFF00, 0xFF01}, false},
        {R"("Pid": "2222", "Vid": "1111", "DevCmpStr": 1, "DevName": "Other,Mouse")", {0xFF00, 0xFF01}, true},
        {R"("Pid": "2222", "Vid": "1111", "DevCmpStr": 1, "DevName": "Other")", {0xFF00, 0xFF01}, false},
        {R"("Pid": "2222", "Vid": "1111", "DevCmpStr": 0, "DevName": "Other")", {0xFF00, 0xFF01}, true},
        {R"("Pid": "2222", "Vid": "1111")", {0xFF00}, false},
        {R"("Pid": "2222", "Vid": "1111")", {0xFF01, 0x0001}, false},
        {R"("Pid": "2222,3333", "Vid": "1111")", {0xFF00, 0xFF01}, true},
        {R"("Pid": "2222")", {0xFF00, 0xFF01}, false},  // no vendor ID at the position: no match
    };
    for (const Case& c : cases) {
        ListedBackend backend;
        for (uint16_t page : c.pages) {
            backend.Add(0x1111, 0x2222, page);
        }
        const auto finder = Load(backend, OneDevice(std::string(R"("DevType": 1, )") + c.keys));
        EXPECT_EQ(finder->IsPresent(0), c.present) << c.keys;
    }
}

TEST_F(FindDevTest, ReceiversOfOtherKindsTellTheirValueInFeatureReport7) {
    sim::VirtualMouse mouse;
    sim::MouseStatus status = mouse.Status();
    status.receiverValue = 0xBEEF;
    mouse.SetStatus(status);
    sim::SimHidBackend backend;
    backend.Plug(SimAttachment::Receiver, mouse);
    const auto finder = Load(backend, R"({"NDevice": [{"DevType": 2, "Pid": "0008", "Vid": "1209"},
                                                        {"DevType": 1, "Pid": "0008", "Vid": "1209"}]})");
    EXPECT_EQ(finder->Record(0).receiverValue, 0xBEEF);
    EXPECT_EQ(finder->Record(1).receiverValue, 0);
    EXPECT_TRUE(finder->IsPresent(1));
}

TEST_F(FindDevTest, LoadingReadsTheProductNameAndWritesNothingBesideTheArchive) {
    dir_.Write("VeruzUrir/MouseA/Config/DeviceFeature.ini", "[Init]\nPRODUCTNAME=Virtual Mouse A\n");
    sim::VirtualMouse mouse;
    sim::SimHidBackend backend;
    backend.Plug(SimAttachment::Cable, mouse);
    const auto finder = Load(backend, test::VirtualMouseCatalogue());
    ASSERT_EQ(finder->Count(), 2u);
    EXPECT_EQ(finder->Record(0).productName, "Virtual Mouse A");
    EXPECT_TRUE(finder->IsPresent(0));
    EXPECT_FALSE(finder->IsPresent(1));
    EXPECT_EQ(finder->Categories(), std::vector<std::string>{"Mouse"});
    EXPECT_FALSE(std::filesystem::exists(dir_ / "file_error.txt"));
    std::vector<std::string> icons;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / "Home/Icons")) {
        icons.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(icons, std::vector<std::string>{"Ndevice.zip"}) << "the catalogue is read in memory";
}

// The extraction log of one load, with the catalogue left as the load found it.
struct LoadOutcome {
    size_t records = 0;
    std::string log;
    std::string traces;
};

class CatalogueArchiveTest : public FindDevTest {
  protected:
    LoadOutcome LoadWithLog() {
        dir_.Write("file_error.txt", "an older and much longer log that must not survive\n");
        Traces traces;
        ListedBackend backend;
        FindDev finder(backend, dir_.path());
        finder.LoadCatalogue();
        return {finder.Count(), test::TempDir::Read(dir_ / "file_error.txt"), traces.text};
    }
    std::filesystem::path Archive() const { return dir_ / "Home/Icons/Ndevice.zip"; }
};

TEST_F(CatalogueArchiveTest, AMissingOrDamagedArchiveGivesAnEmptyCatalogueAndLogsWhy) {
    LoadOutcome missing = LoadWithLog();
    EXPECT_EQ(missing.records, 0u);
    EXPECT_EQ(missing.log, "[1] ERROR:-1\n");
    EXPECT_NE(missing.traces.find("Unzip failed!err=-1\n"), std::string::npos);

    dir_.Write("Home/Icons/Ndevice.zip", "PK\x03\x04 this is not an archive");
    const LoadOutcome damaged = LoadWithLog();
    EXPECT_EQ(damaged.records, 0u);
    EXPECT_EQ(damaged.log, "[1] ERROR:-103\n");
}

TEST_F(CatalogueArchiveTest, AWrongPasswordExtractsNothingAndKeepsTheOldCatalogueFile) {
    dir_.Write("Home/Icons/Ndevice.json", "the catalogue extracted last time");  // also makes the folder
    ASSERT_TRUE(catalogue::WriteZip(Archive(), {{"Ndevice.json", test::VirtualMouseCatalogue()}}, "not the password"));
    const LoadOutcome outcome = LoadWithLog();
    EXPECT_EQ(outcome.records, 0u);
    // The encryption header's one check byte lets one wrong password in 256 through; the entry then fails to
    // inflate or its checksum fails, with another error code. Either way it is one refused entry.
    const std::string refused = "[2.1]ERROR:GetLastError:0\n[2.2] ERROR:zrt:-";
    EXPECT_EQ(outcome.log.substr(0, refused.size()), refused) << outcome.log;
    EXPECT_EQ(std::count(outcome.log.begin(), outcome.log.end(), '\n'), 2) << outcome.log;
    EXPECT_EQ(test::TempDir::Read(dir_ / "Home/Icons/Ndevice.json"), "the catalogue extracted last time");
    EXPECT_NE(outcome.traces.find("Start Unzip...\n"), std::string::npos);
}

TEST_F(CatalogueArchiveTest, EntriesOutsideTheFolderAreRefusedAndLogged) {
    std::filesystem::create_directories(dir_ / "Home/Icons");
    ASSERT_TRUE(catalogue::WriteZip(Archive(),
                                    {{"../escaped.txt", "x"},
                                     {"/tmp/absolute.txt", "x"},
                                     {"sub/../../escaped2.txt", "x"},
                                     {"C:\\windows.txt", "x"},
                                     {"images\\left.png", "png"},
                                     {"Ndevice.json", test::VirtualMouseCatalogue()}},
                                    kCataloguePassword));
    const LoadOutcome outcome = LoadWithLog();
    EXPECT_EQ(outcome.records, 2u);
    const std::string refused = "[2.1]ERROR:GetLastError:0\n[2.2] ERROR:zrt:-200\n";
    EXPECT_EQ(outcome.log, refused + refused + refused + refused + "[2.1]ERROR:GetLastError:0\n[3] ERROR\n" +
                               "[2.1]ERROR:GetLastError:0\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "Home/escaped.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "escaped2.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "Home/Icons/images")) << "entries are read, not extracted";
    EXPECT_NE(outcome.traces.find("../escaped.txt"), std::string::npos);
    for (const char* name : {"a/b.json", "a/..b", "..."}) {
        EXPECT_TRUE(ZipArchive::IsSafeName(name)) << name;
    }
}

TEST_F(CatalogueArchiveTest, ReadsAnArchiveMadeByTheZipCommand) {
    const auto plain = dir_.Write("plain/Ndevice.json", test::VirtualMouseCatalogue());
    std::filesystem::create_directories(dir_ / "Home/Icons");
    const std::string command =
        "zip -q -j -P " + std::string(kCataloguePassword) + " '" + Archive().string() + "' '" + plain.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "zip is installed by scripts/setup.sh";
    ListedBackend backend;
    FindDev finder(backend, dir_.path());
    finder.LoadCatalogue();
    ASSERT_EQ(finder.Count(), 2u);
    EXPECT_EQ(finder.Record(1).productIds, std::vector<int>{0x0008});
}

TEST(BuiltCatalogue, TheBuildsArchiveAndListDescribeTheVirtualMouse) {
    test::TempDir copy;
    std::filesystem::copy(test::BuiltResources() / "Home", copy / "Home", std::filesystem::copy_options::recursive);
    sim::VirtualMouse mouse;
    sim::SimHidBackend backend;
    backend.Plug(SimAttachment::Receiver, mouse);
    FindDev finder(backend, copy.path());
    std::ostringstream console;
    finder.SetConsole(console);
    finder.LoadCatalogue();
    finder.LoadBleList();
    ASSERT_EQ(finder.Count(), 2u);
    EXPECT_EQ(finder.Record(0).isUSB, 1);
    EXPECT_EQ(finder.Record(0).productIds, std::vector<int>{sim::kSimCableProductId});
    EXPECT_EQ(finder.Record(1).isUSB, 0);
    EXPECT_EQ(finder.Record(1).folder, "MouseA");
    EXPECT_TRUE(finder.IsPresent(1));
    EXPECT_EQ(finder.BleDeviceString(), "Virtual Mouse");
}

class BleListTest : public FindDevTest {
  protected:
    // Loads the list below the temporary resource folder; returns the BLE device string.
    std::string Load(const std::string& before = "") {
        ListedBackend backend;
        FindDev finder(backend, dir_.path());
        finder.SetConsole(console_);
        if (!before.empty()) {
            test::TempDir other;
            test::WriteBleList(other.path(), R"({"bleString": [")" + before + R"("]})");
            std::filesystem::copy_file(other / "Home/Icons/ble.json", List(),
                                       std::filesystem::copy_options::overwrite_existing);
            finder.LoadBleList();
            std::filesystem::remove(List());
        }
        if (listText_) {
            test::WriteBleList(dir_.path(), *listText_);
        }
        finder.LoadBleList();
        EXPECT_FALSE(std::filesystem::exists(dir_ / "Home/Icons/ble.json.temp")) << "the plain text stays on disk";
        return finder.BleDeviceString();
    }
    std::filesystem::path List() const { return dir_ / "Home/Icons/ble.json"; }

    std::optional<std::string> listText_;
    std::ostringstream console_;
};

TEST_F(BleListTest, NamesAreJoinedWithCommas) {
    listText_ = R"({"bleString": ["Mouse A", "Mouse B", "Mouse C"]})";
    EXPECT_EQ(Load(), "Mouse A,Mouse B,Mouse C");
    EXPECT_NE(console_.str().find(List().string()), std::string::npos);
}

TEST_F(BleListTest, AListThatCannotBeReadLeavesTheStringAsItWas) {
    std::filesystem::create_directories(dir_ / "Home/Icons");
    EXPECT_EQ(Load("Kept"), "Kept");  // no list at all
    EXPECT_NE(console_.str().find("无法打开输入文件："), std::string::npos);

    for (const char* text : {"not json", R"(["a"])", R"({"other": ["a"]})", R"({"bleString": [1]})"}) {
        listText_ = text;
        Traces traces;
        EXPECT_EQ(Load("Kept"), "Kept") << text;
    }
    listText_.reset();
    for (const std::string& bytes : {std::string("short"), std::string(48, 'x')}) {
        dir_.Write("Home/Icons/ble.json", bytes);
        console_.str("");
        EXPECT_EQ(Load(), "");
        EXPECT_NE(console_.str().find("无法"), std::string::npos) << bytes.size();
    }
}

TEST_F(BleListTest, ProgramsReadingTheListAtOnceAllGetIt) {
    listText_ = R"({"bleString": ["Mouse A"]})";
    test::WriteBleList(dir_.path(), *listText_);
    std::vector<std::string> seen(8);
    std::vector<std::thread> readers;
    for (std::string& result : seen) {
        readers.emplace_back([&] {
            ListedBackend backend;
            std::ostringstream console;
            for (int round = 0; round < 20; ++round) {
                FindDev finder(backend, dir_.path());
                finder.SetConsole(console);
                finder.LoadBleList();
                if (finder.BleDeviceString() != "Mouse A") {
                    result = "round " + std::to_string(round) + ": '" + finder.BleDeviceString() + "'";
                    return;
                }
            }
            result = "Mouse A";
        });
    }
    for (std::thread& reader : readers) {
        reader.join();
    }
    for (const std::string& result : seen) {
        EXPECT_EQ(result, "Mouse A");
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "Home/Icons/ble.json.temp"));
}

TEST_F(BleListTest, AListEncryptedWithAnotherPasswordDoesNotDecrypt) {
    ASSERT_TRUE(std::filesystem::create_directories(dir_ / "Home/Icons"));
    ASSERT_TRUE(catalogue::WriteEncryptedList(List(), R"({"bleString": ["Mouse A"]})", "wrong password"));
    EXPECT_EQ(Load(), "");
    EXPECT_NE(console_.str().find("无法完成解密"), std::string::npos) << console_.str();
}

TEST_F(BleListTest, ReadsAListEncryptedByTheOpensslCommand) {
    const auto plain = dir_.Write("plain.json", R"({"bleString": ["Mouse A", "Mouse B"]})");
    const auto iv =
        dir_.Write("iv.bin", std::string("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f", 16));
    std::filesystem::create_directories(dir_ / "Home/Icons");
    // Key from the password through EVP_BytesToKey (SHA-256, no salt, one iteration), the vector given and
    // prepended to the ciphertext.
    const std::string command =
        "openssl enc -aes-256-cbc -md sha256 -nosalt -pass pass:" + std::string(kBleListPassword) +
        " -iv 000102030405060708090a0b0c0d0e0f -in '" + plain.string() + "' -out '" + (dir_ / "body.bin").string() +
        "' 2>/dev/null && cat '" + iv.string() + "' '" + (dir_ / "body.bin").string() + "' > '" + List().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "openssl is installed by scripts/setup.sh";
    EXPECT_EQ(Load(), "Mouse A,Mouse B");
}

TEST_F(BleListTest, DecryptingAFileOntoItselfWritesBesideIt) {
    ASSERT_TRUE(std::filesystem::create_directories(dir_ / "Home/Icons"));
    ASSERT_TRUE(catalogue::WriteEncryptedList(List(), "plain text", kBleListPassword));
    const std::string encrypted = test::TempDir::Read(List());
    ListedBackend backend;
    FindDev finder(backend, dir_.path());
    finder.SetConsole(console_);
    EXPECT_TRUE(finder.DecryptFile(List(), List(), kBleListPassword));
    EXPECT_EQ(test::TempDir::Read(dir_ / "Home/Icons/ble.json.temp"), "plain text");
    EXPECT_EQ(test::TempDir::Read(List()), encrypted);
    EXPECT_FALSE(finder.DecryptFile(List(), dir_ / "missing-folder/out", kBleListPassword));
    EXPECT_NE(console_.str().find("无法打开输出文件："), std::string::npos);
}

class DeviceChangeTest : public FindDevTest {
  protected:
    void SetUp() override { finder_ = Load(backend_, test::VirtualMouseCatalogue()); }

    sim::VirtualMouse mouse_;
    sim::SimHidBackend backend_;
    std::unique_ptr<FindDev> finder_;
};

TEST_F(DeviceChangeTest, ArrivalOpensTheDeviceOnceAndRemovalClosesIt) {
    ASSERT_FALSE(finder_->IsPresent(0));
    const auto paths = backend_.Plug(SimAttachment::Cable, mouse_);
    EXPECT_FALSE(finder_->DeviceArrived("sim"));
    EXPECT_FALSE(finder_->DeviceArrived("sim://cable/0003:1209:0009.0001/FF00"));
    EXPECT_TRUE(finder_->DeviceArrived(paths[0]));
    EXPECT_FALSE(finder_->DeviceArrived(paths[1])) << "already present";
    EXPECT_EQ(backend_.OpenHandleCount(), 2);
    EXPECT_FALSE(finder_->DeviceRemoved(paths[1])) << "still plugged in";
    EXPECT_TRUE(finder_->IsPresent(0));

    const auto input = finder_->Record(0).inputHandle;
    backend_.Unplug(SimAttachment::Cable);
    EXPECT_TRUE(finder_->DeviceRemoved(paths[0]));
    EXPECT_FALSE(finder_->DeviceRemoved(paths[1]));
    const DeviceRecord record = finder_->Record(0);
    EXPECT_FALSE(record.present);
    EXPECT_TRUE(record.devicePath.empty());
    EXPECT_EQ(record.receiverValue, 255);
    EXPECT_FALSE(record.inputHandle || record.featureHandle);
    EXPECT_FALSE(input->IsOpen()) << "a reader holding the handle sees it closed";
}

TEST_F(DeviceChangeTest, WindowsStylePathsNameTheDeviceToo) {
    backend_.Plug(SimAttachment::Receiver, mouse_);
    EXPECT_TRUE(finder_->DeviceArrived(R"(\\?\HID#VID_1209&PID_0008&MI_00#7&1&0&0000#{4d1e55b2})"));
    EXPECT_TRUE(finder_->IsPresent(1));
}

TEST_F(DeviceChangeTest, ARecordWithoutProductNamesIsRemovedToo) {
    test::TempDir other;
    test::WriteCatalogueArchive(other.path(), OneDevice(R"("DevType": 1, "Pid": "0007", "Vid": "1209")"));
    backend_.Plug(SimAttachment::Cable, mouse_);
    FindDev finder(backend_, other.path());
    finder.LoadCatalogue();
    ASSERT_TRUE(finder.IsPresent(0));
    const auto paths = backend_.Unplug(SimAttachment::Cable);
    EXPECT_TRUE(finder.DeviceRemoved(paths[0]));
    EXPECT_FALSE(finder.IsPresent(0));
}

}  // namespace
}  // namespace mousecfg
