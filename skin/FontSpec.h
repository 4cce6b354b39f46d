#pragma once

#include <string>

namespace mousecfg::skin {

// A font of a window's font table (by id). `size` is in logical pixels.
struct FontSpec {
    std::string family;
    int size = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

}  // namespace mousecfg::skin
