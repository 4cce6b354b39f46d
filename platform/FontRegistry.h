#pragma once

#include <filesystem>

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
};

}  // namespace mousecfg
