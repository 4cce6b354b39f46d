#include "app/ExtraFonts.h"

#include <nlohmann/json.hpp>

#include "platform/AtomicFile.h"
#include "platform/FontRegistry.h"
#include "platform/Trace.h"

namespace mousecfg::app {

int ExtraFonts::Register(const std::filesystem::path& description, const std::filesystem::path& programFolder,
                         FontRegistry& registry) {
    const auto text = ReadWholeFile(description);
    if (!text) {
        return 0;
    }
    int added = 0;
    try {
        const nlohmann::json document = nlohmann::json::parse(*text);
        for (const nlohmann::json& font : document.at("Font")) {
            const std::string name = font.at("FontName").get<std::string>();
            std::filesystem::path file(font.at("FontPath").get<std::string>());
            if (name.empty() || registered_.count(name) != 0) {
                continue;
            }
            if (file.is_relative()) {
                file = programFolder / file;
            }
            const int id = registry.AddFont(file);
            if (id >= 0) {
                registered_.emplace(name, std::make_pair(file, id));
                ++added;
            }
        }
    } catch (const nlohmann::json::exception& error) {
        trace::Printf("%s: %s\n", description.string().c_str(), error.what());
    }
    return added;
}

int ExtraFonts::RemoveAll(FontRegistry& registry) {
    int removed = 0;
    for (const auto& [name, font] : registered_) {
        removed += registry.RemoveFont(font.second) ? 1 : 0;
    }
    registered_.clear();
    return removed;
}

}  // namespace mousecfg::app
