// Feeds arbitrary text to the configuration document's loader. Whatever part of a text loads must save, and the
// saved text must load and save again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <nlohmann/json.hpp>

#include "config/MouseConfig.h"
#include "platform/Trace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mousecfg;
    static trace::ScopedSink quiet([](std::string_view) {});
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MouseConfig config;
    const bool loaded = ParseMouseConfig(config, text).ok();
    if (!loaded && !nlohmann::json::accept(text)) {
        return 0;  // not JSON at all: nothing was read, the default document's round trip is tested once below
    }
    const std::string saved = MouseConfigText(config);
    MouseConfig again;
    if (!ParseMouseConfig(again, saved) || MouseConfigText(again) != saved) {
        std::abort();
    }
    return 0;
}
