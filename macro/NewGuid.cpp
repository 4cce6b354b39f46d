#include <cstdio>
#include <random>

#include "macro/MacroStore.h"

namespace mousecfg {

Result<std::string> NewGuid() {
    try {
        std::random_device device;
        std::mt19937_64 generator((static_cast<uint64_t>(device()) << 32) | device());
        const uint64_t high = generator();
        const uint64_t low = generator();
        // A random (version 4, RFC 4122 variant) GUID, printed as Data1-Data2-Data3-Data4[0..1]-Data4[2..7].
        const auto data1 = static_cast<unsigned>(high >> 32);
        const auto data2 = static_cast<unsigned>((high >> 16) & 0xFFFF);
        const auto data3 = static_cast<unsigned>((high & 0x0FFF) | 0x4000);
        uint8_t data4[8];
        for (int i = 0; i < 8; ++i) {
            data4[i] = static_cast<uint8_t>(low >> (56 - 8 * i));
        }
        data4[0] = static_cast<uint8_t>((data4[0] & 0x3F) | 0x80);
        char text[37];
        std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", data1, data2, data3,
                      data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
        return std::string(text);
    } catch (const std::exception&) {
        return Status::Error("generate guid failed!");
    }
}

}  // namespace mousecfg
