#include "skin/qt/QtPainter.h"

#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QSet>

#include "platform/Trace.h"
#include "skin/TextAlign.h"

namespace mousecfg::skin::qt {
namespace {

struct CachedImage {
    QImage image;
    int scale = 1;  // 2 for an @2x picture
};

QHash<QString, CachedImage>& Cache() {
    static QHash<QString, CachedImage> cache;
    return cache;
}

const CachedImage* Load(const QString& path, bool wantHighDpi) {
    const QString key = path + (wantHighDpi ? QStringLiteral("@2") : QString());
    auto it = Cache().find(key);
    if (it != Cache().end()) {
        return it->image.isNull() ? nullptr : &*it;
    }
    CachedImage entry;
    if (wantHighDpi) {
        const QFileInfo info(path);
        const QString high = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("@2x.") +
                             info.suffix();
        if (QFileInfo::exists(high) && entry.image.load(high)) {
            entry.scale = 2;
        }
    }
    if (entry.image.isNull() && !entry.image.load(path)) {
        // Traced once per file: the cache keeps the failure.
        trace::Printf("skin: cannot load image '%s'\n", path.toUtf8().constData());
    }
    it = Cache().insert(key, entry);
    return it->image.isNull() ? nullptr : &*it;
}

QRect ToQRect(const Rect& rect) {
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

}  // namespace

QColor QtPainter::ToQColor(Color color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color), AlphaOf(color));
}

QFont QtPainter::ToQFont(const FontSpec& font) {
    QFont qfont;
    if (!font.family.empty()) {
        qfont.setFamily(QString::fromStdString(font.family));
    }
    qfont.setPixelSize(std::max(1, font.size));
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    return qfont;
}

void QtPainter::ClearImageCache() {
    Cache().clear();
}

void QtPainter::FillRect(const Rect& rect, Color color) {
    painter_.fillRect(ToQRect(rect), ToQColor(color));
}

void QtPainter::FillRoundRect(const Rect& rect, Color color, int radius) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(color));
    painter_.drawRoundedRect(QRectF(ToQRect(rect)), radius, radius);
    painter_.restore();
}

void QtPainter::FillGradient(const Rect& rect, Color from, Color to, bool vertical) {
    const QRect area = ToQRect(rect);
    QLinearGradient gradient(area.topLeft(), vertical ? area.bottomLeft() : area.topRight());
    gradient.setColorAt(0, ToQColor(from));
    gradient.setColorAt(1, ToQColor(to));
    painter_.fillRect(area, gradient);
}

void QtPainter::DrawBorder(const Rect& rect, Color color, int width, int radius) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, radius > 0);
    QPen pen(ToQColor(color));
    pen.setWidth(width);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    const qreal half = width / 2.0;
    const QRectF area = QRectF(ToQRect(rect)).adjusted(half, half, -half, -half);
    radius > 0 ? painter_.drawRoundedRect(area, radius, radius) : painter_.drawRect(area);
    painter_.restore();
}

void QtPainter::DrawImage(const ImageRef& image, const Rect& dest) {
    const CachedImage* picture = Load(QString::fromStdString(image.file), painter_.device()->devicePixelRatioF() > 1);
    if (picture == nullptr) {
        return;
    }
    QRect source = picture->image.rect();
    if (image.source) {
        source = QRect(image.source->left * picture->scale, image.source->top * picture->scale,
                       image.source->width() * picture->scale, image.source->height() * picture->scale);
    }
    QRect target = ToQRect(dest);
    if (image.dest) {
        target = ToQRect(image.dest->offset(dest.left, dest.top));
    }
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    painter_.setOpacity(painter_.opacity() * image.fade / 255.0);
    if (image.mirror) {
        // Flipped about the target's middle: the picture's left edge lands on the target's right edge.
        painter_.translate(target.left() + target.right() + 1, 0);
        painter_.scale(-1, 1);
    }
    if (image.corner) {
        DrawNineSlice(target, picture->image, source, *image.corner, picture->scale);
    } else {
        painter_.drawImage(target, picture->image, source);
    }
    painter_.restore();
}

void QtPainter::DrawNineSlice(const QRect& target, const QImage& image, const QRect& source, const Rect& corner,
                              int scale) {
    // Corners keep their size, edges stretch along one direction, the middle in both.
    const int xs[] = {0, corner.left, source.width() / scale - corner.right, source.width() / scale};
    const int ys[] = {0, corner.top, source.height() / scale - corner.bottom, source.height() / scale};
    const int xd[] = {target.left(), target.left() + corner.left, target.right() + 1 - corner.right,
                      target.right() + 1};
    const int yd[] = {target.top(), target.top() + corner.top, target.bottom() + 1 - corner.bottom,
                      target.bottom() + 1};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect from(source.left() + xs[column] * scale, source.top() + ys[row] * scale,
                             (xs[column + 1] - xs[column]) * scale, (ys[row + 1] - ys[row]) * scale);
            const QRect to(xd[column], yd[row], xd[column + 1] - xd[column], yd[row + 1] - yd[row]);
            if (from.isValid() && to.isValid()) {
                painter_.drawImage(to, image, from);
            }
        }
    }
}

void QtPainter::DrawText(const Rect& rect, std::string_view text, const FontSpec& font, Color color,
                         unsigned alignFlags) {
    int flags = 0;
    const unsigned horizontal = alignFlags & align::kHorizontalMask;
    flags |= horizontal == align::kCenter ? Qt::AlignHCenter : horizontal == align::kRight ? Qt::AlignRight
                                                                                          : Qt::AlignLeft;
    const unsigned vertical = alignFlags & align::kVerticalMask;
    flags |= vertical == align::kVCenter ? Qt::AlignVCenter : vertical == align::kBottom ? Qt::AlignBottom
                                                                                        : Qt::AlignTop;
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFont qfont = ToQFont(font);
    if ((alignFlags & align::kWordBreak) != 0) {
        flags |= Qt::TextWordWrap;
    } else if ((alignFlags & align::kEndEllipsis) != 0) {
        shown = QFontMetrics(qfont).elidedText(shown, Qt::ElideRight, rect.width());
    }
    // Each text runs in the direction of its first strong letter, as editors show it: in a right-to-left language a
    // text of digits and Latin letters ("1000 Hz") keeps its order. Its place in the control still follows the
    // language's direction.
    if (painter_.layoutDirection() == Qt::RightToLeft && horizontal != align::kCenter) {
        flags ^= Qt::AlignLeft | Qt::AlignRight;
    }
    flags |= Qt::AlignAbsolute;
    flags |= shown.isRightToLeft() ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight;
    painter_.save();
    painter_.setFont(qfont);
    painter_.setPen(ToQColor(color));
    painter_.drawText(ToQRect(rect), flags, shown);
    painter_.restore();
}

void QtPainter::DrawPixels(const PixelBuffer& pixels, const Rect& dest) {
    if (pixels.empty()) {
        return;
    }
    const QImage image(reinterpret_cast<const uchar*>(pixels.pixels.data()), pixels.width, pixels.height,
                       pixels.width * 4, QImage::Format_ARGB32);
    painter_.drawImage(ToQRect(dest), image);
}

void QtPainter::PushClip(const Rect& rect) {
    painter_.save();
    painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
}

void QtPainter::PopClip() {
    painter_.restore();
}

}  // namespace mousecfg::skin::qt
