// Feeds arbitrary text to the loaders of the preset macro files and of the function names.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/FunctionTable.h"
#include "config/PresetMacros.h"
#include "platform/Trace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mousecfg;
    static trace::ScopedSink quiet([](std::string_view) {});
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto presets = ParsePresetMacros(text);
    if (presets) {
        for (const PresetMacro& macro : *presets) {
            if (macro.block.ItemCount() > MacroBlock::kMaxItems) {
                std::abort();
            }
        }
    }
    FunctionTable table;
    table.Parse(text);
    for (const auto& [code, texts] : table.entries()) {
        if (table.FunctionButtonText(code) != texts.button) {
            std::abort();
        }
    }
    return 0;
}
