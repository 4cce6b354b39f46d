// Writes the udev rule file for the devices of a catalogue:
//   mousecfg-udev-rule CATALOGUE.json OUT.rules
#include <cstdio>

#include "device/CatalogueReader.h"
#include "platform/AtomicFile.h"
#include "tools/udev/UdevRule.h"

int main(int argc, char** argv) {
    using namespace mousecfg;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CATALOGUE.json OUT.rules\n", argv[0]);
        return 2;
    }
    const auto text = ReadWholeFile(argv[1]);
    if (!text) {
        std::fprintf(stderr, "%s\n", text.message().c_str());
        return 1;
    }
    const auto devices = udev::CatalogueDeviceIds(ParseCatalogue(*text));
    if (devices.empty()) {
        std::fprintf(stderr, "%s names no device\n", argv[1]);
        return 1;
    }
    const Status written = WriteFileAtomically(argv[2], udev::RuleText(devices));
    if (!written) {
        std::fprintf(stderr, "%s\n", written.message().c_str());
        return 1;
    }
    return 0;
}
