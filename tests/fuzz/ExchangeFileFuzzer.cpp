// Feeds arbitrary text to the exchange file checks, as an import reads it, and to the export that makes one. An
// accepted file loads whole; exporting a configuration gives a file of this device that an import accepts exactly
// when the configuration itself loads; and the device name compares the same in either direction.
#include <cstdint>

#include <nlohmann/json.hpp>

#include "config/ExchangeFile.h"
#include "config/MouseConfig.h"
#include "platform/TextEncoding.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace mousecfg;

constexpr std::string_view kDevice = "Virtual Mouse";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietTraces();
    const std::string_view text = fuzz::Text(data, size);
    const ExchangeCheck check = CheckExchangeText(text, kDevice);
    MouseConfig config;
    const bool loads = ParseMouseConfig(config, text).ok();
    if (check == ExchangeCheck::Accepted) {
        fuzz::Check(loads, "an accepted exchange file loads whole");
    }
    fuzz::Check((check == ExchangeCheck::NotJson) == !nlohmann::json::accept(text), "only text that is not JSON is");

    const auto exported = ExchangeText(text, kDevice);
    if (exported.ok()) {
        const ExchangeCheck again = CheckExchangeText(*exported, kDevice);
        fuzz::Check(again == (loads ? ExchangeCheck::Accepted : ExchangeCheck::BadContents),
                    "an exported file is this device's and is accepted when its configuration loads");
        fuzz::Check(CheckExchangeText(*exported, "VIRTUAL mouse") == again, "the device name ignores ASCII case");
    }

    // Names from the input, compared both ways.
    const std::u16string a = Utf8ToUtf16(text.substr(0, text.size() / 2));
    const std::u16string b = Utf8ToUtf16(text.substr(text.size() / 2));
    fuzz::Check(SameDeviceName(a, b) == SameDeviceName(b, a) && SameDeviceName(a, a), "names compare symmetrically");
    return 0;
}
