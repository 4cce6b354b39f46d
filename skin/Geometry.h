#pragma once

#include <algorithm>

namespace mousecfg::skin {

// Positions in logical pixels of a window's client area (the renderer scales them for high-DPI screens).
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle given by its edges, right and bottom exclusive, as the attribute texts write it ("l,t,r,b").
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // The rectangle shrunk by the four values of `inset` (each edge moves inwards).
    Rect deflate(const Rect& inset) const {
        return {left + inset.left, top + inset.top, right - inset.right, bottom - inset.bottom};
    }
    Rect intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        if (r.empty()) {
            return {};
        }
        return r;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace mousecfg::skin
