#include "skin/qt/WindowShape.h"

#include <QPainter>

#include "skin/PaintManager.h"
#include "skin/qt/QtPainter.h"

namespace mousecfg::skin::qt::shape {

QImage RenderWindow(PaintManager& manager, QSize size) {
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    if (picture.isNull()) {
        return picture;
    }
    QPainter painter(&picture);
    QtPainter skinPainter(painter);
    manager.Paint(skinPainter);
    return picture;
}

bool HasTransparentPixels(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(line[x]) < 255) {
                return true;
            }
        }
    }
    return false;
}

QRegion DrawnRegion(const QImage& picture) {
    QRegion region;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width();) {
            if (qAlpha(line[x]) < 128) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < picture.width() && qAlpha(line[x]) >= 128) {
                ++x;
            }
            region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

}  // namespace mousecfg::skin::qt::shape
