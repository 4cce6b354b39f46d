#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mousecfg {

// Font files that the program makes available to its own windows for as long as it runs (Qt's application
// fonts in the program, a recording fake in tests). Called on the user-interface thread.
class FontRegistry {
public:
    virtual ~FontRegistry() = default;
    // Adds the fonts of a file; returns an id for RemoveFont, or -1 when the file is missing or holds no font.
    virtual int AddFont(const std::filesystem::path& file) = 0;
    // Removes what AddFont added; false for an unknown id.
    virtual bool RemoveFont(int id) = 0;
    // The font faces to show `text` of a language in, best first: the faces of `preferred` (comma-separated)
    // when they have a glyph for every character; else those together with faces the system has for the
    // characters they lack, chosen for `language` (a tag such as "ar", "el" or "zh-tw"), the named faces first
    // only when they are made for the language. Characters no face has are left to the renderer's fallback.
    // This default keeps `preferred`.
    virtual std::vector<std::string> FacesFor(std::string_view preferred, std::string_view text,
                                              std::string_view language) {
        (void)text;
        (void)language;
        return preferred.empty() ? std::vector<std::string>{} : std::vector<std::string>{std::string(preferred)};
    }
};

}  // namespace mousecfg
