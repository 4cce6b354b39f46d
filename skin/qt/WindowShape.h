#pragma once

#include <QImage>
#include <QRegion>

namespace mousecfg::skin {
class PaintManager;
}

namespace mousecfg::skin::qt {

// The shape of a skin window, read from its picture: whether the skin leaves pixels transparent (rounded
// corners), and the part that is drawn.
namespace shape {

// The window's controls drawn on a transparent picture of `size`.
QImage RenderWindow(PaintManager& manager, QSize size);
// Whether any pixel of `picture` is less than opaque.
bool HasTransparentPixels(const QImage& picture);
// The pixels at least half opaque, as a region (for a window shape where nothing blends transparent pixels).
QRegion DrawnRegion(const QImage& picture);

}  // namespace shape
}  // namespace mousecfg::skin::qt
