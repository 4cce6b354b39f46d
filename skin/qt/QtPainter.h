#pragma once

#include <QPainter>

#include "skin/Painter.h"

namespace mousecfg::skin::qt {

// Draws controls with a QPainter. Images come from a process-wide cache; on screens with a device pixel ratio
// above 1 a picture "name@2x.png" beside "name.png" is used when it exists (source rectangles are given in the
// 1x picture's pixels and doubled for it).
class QtPainter final : public Painter {
public:
    explicit QtPainter(QPainter& painter) : painter_(painter) {}

    void FillRect(const Rect& rect, Color color) override;
    void FillRoundRect(const Rect& rect, Color color, int radius) override;
    void FillGradient(const Rect& rect, Color from, Color to, bool vertical) override;
    void DrawBorder(const Rect& rect, Color color, int width, int radius) override;
    void DrawImage(const ImageRef& image, const Rect& dest) override;
    void DrawText(const Rect& rect, std::string_view text, const FontSpec& font, Color color,
                  unsigned alignFlags) override;
    void SetTextMirrored(bool mirrored) override { textMirrored_ = mirrored; }
    void DrawPixels(const PixelBuffer& pixels, const Rect& dest) override;
    void PushClip(const Rect& rect) override;
    void PopClip() override;

    static QFont ToQFont(const FontSpec& font);
    static QColor ToQColor(Color color);
    // Forgets every cached picture (after a skin switch replaced the files).
    static void ClearImageCache();

private:
    void DrawNineSlice(const QRect& target, const QImage& image, const QRect& source, const Rect& corner, int scale);

    QPainter& painter_;
    // Until a control says otherwise, texts follow the direction of the language in use.
    bool textMirrored_ = painter_.layoutDirection() == Qt::RightToLeft;
};

}  // namespace mousecfg::skin::qt
