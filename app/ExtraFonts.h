#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace mousecfg {
class FontRegistry;
}

namespace mousecfg::app {

// The extra fonts a language needs, described by "ExFont.json": {"Font": [{"FontName": ..., "FontPath": ...}]}.
// They are registered when the main window is created and removed at exit. A relative FontPath is taken from
// the program folder. A missing or malformed description registers nothing (the error is traced); a font that
// cannot be added is skipped; of two entries with the same FontName the first one that registers wins.
class ExtraFonts {
public:
    // Registers the fonts of `description`; returns how many were added.
    int Register(const std::filesystem::path& description, const std::filesystem::path& programFolder,
                 FontRegistry& registry);
    // Removes every registered font; returns how many were removed. The list is empty afterwards.
    int RemoveAll(FontRegistry& registry);

    // FontName -> (font file, registry id).
    const std::map<std::string, std::pair<std::filesystem::path, int>>& Registered() const { return registered_; }

private:
    std::map<std::string, std::pair<std::filesystem::path, int>> registered_;
};

}  // namespace mousecfg::app
