// Feeds arbitrary bytes to the INI reader and to the model description read from them: every chip section the
// text may name builds a bounded gear table whose multipliers fit their two bits.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "config/DeviceFeature.h"
#include "platform/IniDocument.h"
#include "platform/PrivateProfile.h"

namespace {

std::filesystem::path ModelFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("mousecfg-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path / "Config");
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mousecfg;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ini::IniDocument::Parse(bytes);
    {
        std::ofstream out(ModelFolder() / "Config" / "DeviceFeature.ini", std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ini::ClearCache();
    const int chip = size > 0 ? data[0] % 16 : 0;
    const DeviceFeature feature = LoadDeviceFeature(ModelFolder(), chip);
    if (feature.keyCount < 0 || feature.keyCount > kPageButtonCount || feature.writeTimes < 1 ||
        feature.writeTimes > kMaxWriteTimes ||
        feature.gearTable.gears.size() > static_cast<size_t>(GearTable::kMaxGears)) {
        std::abort();
    }
    for (const auto& [gear, entry] : feature.gearTable.gears) {
        if (entry.multiplier < 0 || entry.multiplier > 3) {
            std::abort();
        }
    }
    return 0;
}
