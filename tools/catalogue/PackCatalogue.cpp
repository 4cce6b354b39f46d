// Builds the catalogue files of the resource folder from their plain forms:
//   mousecfg-pack-catalogue CATALOGUE.json BLE-LIST.json OUT-FOLDER
// writes OUT-FOLDER/Ndevice.zip (the catalogue as its entry Ndevice.json, password-protected) and
// OUT-FOLDER/ble.json (the BLE device list, encrypted).
#include <cstdio>
#include <filesystem>
#include <string>

#include "device/FindDev.h"
#include "platform/AtomicFile.h"
#include "tools/catalogue/CataloguePacker.h"

int main(int argc, char** argv) {
    using namespace mousecfg;
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s CATALOGUE.json BLE-LIST.json OUT-FOLDER\n", argv[0]);
        return 2;
    }
    const auto catalogue = ReadWholeFile(argv[1]);
    const auto bleList = ReadWholeFile(argv[2]);
    if (!catalogue || !bleList) {
        std::fprintf(stderr, "%s\n", (!catalogue ? catalogue.message() : bleList.message()).c_str());
        return 1;
    }
    const std::filesystem::path out = argv[3];
    std::error_code error;
    std::filesystem::create_directories(out, error);
    std::filesystem::remove(out / "Ndevice.zip", error);
    Status status = catalogue::WriteZip(out / "Ndevice.zip", {{"Ndevice.json", *catalogue}}, kCataloguePassword);
    if (status) {
        status = catalogue::WriteEncryptedList(out / "ble.json", *bleList, kBleListPassword);
    }
    if (!status) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    return 0;
}
