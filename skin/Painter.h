#pragma once

#include <string_view>

#include "skin/Color.h"
#include "skin/FontSpec.h"
#include "skin/Geometry.h"
#include "skin/ImageRef.h"
#include "skin/PixelBuffer.h"

namespace mousecfg::skin {

// What controls draw with. The Qt renderer implements it with QPainter; tests record the calls.
// Coordinates are logical client pixels; image files arrive resolved to a path the renderer can open.
class Painter {
public:
    virtual ~Painter() = default;
    virtual void FillRect(const Rect& rect, Color color) = 0;
    // A rectangle with corners rounded by `radius` (a plain one where the renderer cannot round).
    virtual void FillRoundRect(const Rect& rect, Color color, int radius) {
        (void)radius;
        FillRect(rect, color);
    }
    // A rectangle filled with a linear gradient from `from` to `to`, left to right or top to bottom.
    virtual void FillGradient(const Rect& rect, Color from, Color to, bool vertical) = 0;
    virtual void DrawBorder(const Rect& rect, Color color, int width, int radius) = 0;
    // Cuts image.source out of the picture and scales it into `dest` (image.dest, when given, is relative to it).
    virtual void DrawImage(const ImageRef& image, const Rect& dest) = 0;
    virtual void DrawText(const Rect& rect, std::string_view text, const FontSpec& font, Color color,
                          unsigned alignFlags) = 0;
    // Whether the texts drawn next belong to a control laid out mirrored: their left and right alignment change
    // places. Each control says so before it draws.
    virtual void SetTextMirrored(bool mirrored) { (void)mirrored; }
    virtual void DrawPixels(const PixelBuffer& pixels, const Rect& dest) = 0;
    // Limits drawing to the intersection with `rect` until the matching PopClip.
    virtual void PushClip(const Rect& rect) = 0;
    virtual void PopClip() = 0;
};

}  // namespace mousecfg::skin
