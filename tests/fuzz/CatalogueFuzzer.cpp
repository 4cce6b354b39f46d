// Feeds arbitrary text to the device catalogue's reader, then packs it into the catalogue archive and runs
// discovery with the virtual mouse plugged by cable and through the receiver. Categories are distinct and cover
// every record, IDs are USB IDs or the no-device marker, and a record is present only when one of its ID pairs
// names a plugged device that qualifies by product string.
#include <algorithm>
#include <cstdint>

#include "device/CatalogueReader.h"
#include "device/FindDev.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/catalogue/CataloguePacker.h"

namespace {

using namespace mousecfg;

constexpr const char* kProductString = "Virtual Mouse";

struct Plugged {
    Plugged() {
        backend.Plug(sim::SimAttachment::Cable, mouse, kProductString);
        backend.Plug(sim::SimAttachment::Receiver, mouse, kProductString);
    }
    sim::VirtualMouse mouse;
    sim::SimHidBackend backend;
};

void CheckParsed(const Catalogue& catalogue) {
    for (size_t i = 0; i < catalogue.categories.size(); ++i) {
        fuzz::Check(std::count(catalogue.categories.begin(), catalogue.categories.end(), catalogue.categories[i]) == 1,
                    "categories are listed once");
    }
    for (const DeviceRecord& record : catalogue.records) {
        fuzz::Check(std::find(catalogue.categories.begin(), catalogue.categories.end(), record.typeString) !=
                        catalogue.categories.end(),
                    "every record's category is listed");
        for (const std::vector<int>* ids : {&record.productIds, &record.vendorIds}) {
            for (int id : *ids) {
                fuzz::Check(id >= -1 && id <= 0xFFFF, "an ID is a USB ID or -1");
            }
        }
    }
}

bool NamesPluggedDevice(const DeviceRecord& record) {
    for (size_t i = 0; i < record.productIds.size() && i < record.vendorIds.size(); ++i) {
        const bool cable = record.productIds[i] == sim::kSimCableProductId;
        const bool receiver = record.productIds[i] == sim::kSimReceiverProductId;
        if ((cable || receiver) && record.vendorIds[i] == sim::kSimVendorId) {
            return true;
        }
    }
    return false;
}

void CheckDiscovery(const Catalogue& catalogue, FindDev& finder) {
    fuzz::Check(finder.Count() == catalogue.records.size(), "discovery keeps every record read");
    for (size_t i = 0; i < finder.Count(); ++i) {
        const DeviceRecord record = finder.Record(i);
        if (!record.present) {
            continue;
        }
        fuzz::Check(NamesPluggedDevice(record), "a present record names a plugged device");
        fuzz::Check(record.compareNames != 1 || std::find(record.productNames.begin(), record.productNames.end(),
                                                          kProductString) != record.productNames.end(),
                    "a record that compares names is present only for a listed product string");
        fuzz::Check(record.inputHandle != nullptr && record.featureHandle != nullptr, "a present record holds both");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietTraces();
    static Plugged plugged;
    const std::string text(fuzz::Text(data, size));
    const Catalogue catalogue = ParseCatalogue(text);
    CheckParsed(catalogue);

    const auto res = fuzz::ScratchFolder() / "res";
    std::filesystem::remove_all(res);
    std::filesystem::create_directories(res / "Home" / "Icons");
    const Status packed =
        catalogue::WriteZip(res / "Home" / "Icons" / "Ndevice.zip", {{"Ndevice.json", text}}, kCataloguePassword);
    fuzz::Check(packed.ok(), "the archive is written");
    FindDev finder(plugged.backend, res);
    finder.LoadCatalogue();
    CheckDiscovery(catalogue, finder);
    return 0;
}
