// Feeds arbitrary text to the macro document's loader, then walks the model the way the editor does. A document
// rebuilt from the model must load back into the same model.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "macro/MacroStore.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mousecfg;
    fuzz::QuietTraces();
    static fuzz::NoDialogs dialogs;
    static fuzz::NoMessages messages;
    MacroStore store("/nonexistent", dialogs, messages);
    if (!store.ParseMacros(std::string_view(reinterpret_cast<const char*>(data), size))) {
        return 0;
    }
    for (size_t g = 0; g < store.groups().size(); ++g) {
        for (size_t m = 0; m < store.groups()[g].macros.size(); ++m) {
            store.SelectMacro(static_cast<int>(g), static_cast<int>(m));
            for (int i = 0; i < store.workingMacro().block.ItemCount(); ++i) {
                store.DescribeItem(i);
            }
            const MacroRecord& macro = store.groups()[g].macros[m];
            if (!store.Snapshot()->Find(store.groups()[g].guid, macro.guid)) {
                std::abort();
            }
        }
    }
    store.SaveAllMacros();
    const auto groups = store.groups();
    MacroStore again("/nonexistent", dialogs, messages);
    if (!again.ParseMacros(store.document().dump(4, ' ', false, nlohmann::json::error_handler_t::replace)) ||
        again.groups() != groups) {
        std::abort();
    }
    return 0;
}
