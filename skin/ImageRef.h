#pragma once

#include <optional>
#include <string>

#include "skin/Geometry.h"

namespace mousecfg::skin {

// An image as an attribute text names it: "file='page.png' source='l,t,r,b'" or just "page.png".
// `source` cuts a part of the picture (the whole picture when absent); `corner` keeps that many pixels of each
// edge unscaled when the picture is stretched; `dest` places the picture inside the control instead of filling it;
// `fade` is the opacity 0..255. `mirror='true'` flips the picture left to right while its control is laid out
// mirrored (a decoration on the side a line starts from); the painter receives it set only when it is to flip.
struct ImageRef {
    std::string file;
    std::optional<Rect> source;
    std::optional<Rect> corner;
    std::optional<Rect> dest;
    int fade = 255;
    bool mirror = false;

    bool empty() const { return file.empty(); }
    friend bool operator==(const ImageRef&, const ImageRef&) = default;
};

}  // namespace mousecfg::skin
