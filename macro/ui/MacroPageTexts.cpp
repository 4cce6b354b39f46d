#include "macro/ui/MacroPageTexts.h"

#include <utility>

namespace mousecfg::macroui {

MacroPageTexts MacroPageTexts::From(const Lookup& messages, const Lookup& controls) {
    MacroPageTexts texts;
    const std::pair<const char*, std::string*> fields[] = {
        {"New Macro", &texts.newMacro}, {"New Group", &texts.newGroup},   {"Json Warn", &texts.jsonWarn},
        {"Tip", &texts.tip},            {"MessageOK", &texts.ok},         {"MessageCancel", &texts.cancel},
        {"RecordWarn", &texts.recordWarn}, {"Exceed", &texts.exceed},     {"SelMacro", &texts.selMacro},
        {"DelMacro", &texts.delMacro},  {"SelWarn", &texts.selWarn},      {"SelOne", &texts.selOne},
        {"NullWarn", &texts.nullWarn},  {"MacroRecord", &texts.macroRecord}, {"Error", &texts.error},
        {"ImportErr", &texts.importError},
    };
    for (const auto& [key, field] : fields) {
        if (auto text = messages ? messages(key) : std::nullopt; text && !text->empty()) {
            *field = std::move(*text);
        }
    }
    for (size_t p = 0; p < texts.profiles.size(); ++p) {
        const std::string key = "Profile" + std::to_string(p + 1);
        if (auto text = controls ? controls(key) : std::nullopt; text && !text->empty()) {
            texts.profiles[p] = std::move(*text);
        }
    }
    if (auto text = controls ? controls("BindButton") : std::nullopt; text && !text->empty()) {
        texts.buttonName = std::move(*text);
    }
    return texts;
}

}  // namespace mousecfg::macroui
