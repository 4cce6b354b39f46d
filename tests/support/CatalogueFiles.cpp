#include "tests/support/CatalogueFiles.h"

#include <gtest/gtest.h>

#include "device/FindDev.h"
#include "platform/AtomicFile.h"
#include "tools/catalogue/CataloguePacker.h"

namespace mousecfg::test {

std::string VirtualMouseCatalogue() {
    const auto text = ReadWholeFile(std::filesystem::path(MOUSECFG_SOURCE_DIR) / "tools/catalogue/Ndevice.json");
    EXPECT_TRUE(text.ok()) << text.message();
    return text.ok() ? *text : std::string();
}

void WriteCatalogueArchive(const std::filesystem::path& resRoot, std::string_view catalogueJson) {
    const auto icons = resRoot / "Home" / "Icons";
    std::filesystem::create_directories(icons);
    std::filesystem::remove(icons / "Ndevice.zip");
    const Status status =
        catalogue::WriteZip(icons / "Ndevice.zip", {{"Ndevice.json", std::string(catalogueJson)}}, kCataloguePassword);
    ASSERT_TRUE(status.ok()) << status.message();
}

void WriteBleList(const std::filesystem::path& resRoot, std::string_view listJson) {
    const auto icons = resRoot / "Home" / "Icons";
    std::filesystem::create_directories(icons);
    const Status status = catalogue::WriteEncryptedList(icons / "ble.json", listJson, kBleListPassword);
    ASSERT_TRUE(status.ok()) << status.message();
}

std::filesystem::path BuiltResources() {
    return std::filesystem::path(MOUSECFG_BUILD_DIR) / "bin" / "res";
}

}  // namespace mousecfg::test
