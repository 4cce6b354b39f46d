#include "skin/ColorPalette.h"

#include <algorithm>

#include "skin/Notification.h"
#include "skin/Painter.h"

namespace mousecfg::skin {

Color ColorPalette::FromHsv(int hue, int saturation, int value) {
    hue = ((hue % 360) + 360) % 360;
    const int chroma = value * saturation / 255;
    const int sector = hue / 60;
    const int rising = chroma * (hue % 60) / 60;
    const int low = value - chroma;
    int r = 0;
    int g = 0;
    int b = 0;
    switch (sector) {
        case 0: r = chroma; g = rising; break;
        case 1: r = chroma - rising; g = chroma; break;
        case 2: g = chroma; b = rising; break;
        case 3: g = chroma - rising; b = chroma; break;
        case 4: r = rising; b = chroma; break;
        default: r = chroma; b = chroma - rising; break;
    }
    return MakeColor(255, static_cast<uint8_t>(r + low), static_cast<uint8_t>(g + low), static_cast<uint8_t>(b + low));
}

void ColorPalette::SetSelectColor(Color color) {
    color_ = color | 0xFF000000u;
    const int r = RedOf(color);
    const int g = GreenOf(color);
    const int b = BlueOf(color);
    const int high = std::max({r, g, b});
    const int chroma = high - std::min({r, g, b});
    value_ = high;
    saturation_ = high == 0 ? 0 : chroma * 255 / high;
    if (chroma > 0) {
        int hue = 0;
        if (high == r) {
            hue = 60 * (g - b) / chroma;
        } else if (high == g) {
            hue = 120 + 60 * (b - r) / chroma;
        } else {
            hue = 240 + 60 * (r - g) / chroma;
        }
        hue_ = (hue + 360) % 360;
    }
    Invalidate();
}

Rect ColorPalette::FieldRect() const {
    Rect field = GetPos();
    field.bottom -= barHeight_ + 4;
    return field;
}

Rect ColorPalette::BarRect() const {
    const Rect& pos = GetPos();
    return {pos.left, pos.bottom - barHeight_, pos.right, pos.bottom};
}

void ColorPalette::PickAt(Point point) {
    const Color before = color_;
    if (drag_ == Drag::Field) {
        const Rect field = FieldRect();
        saturation_ = std::clamp((point.x - field.left) * 255 / std::max(1, field.width() - 1), 0, 255);
        value_ = std::clamp(255 - (point.y - field.top) * 255 / std::max(1, field.height() - 1), 0, 255);
    } else if (drag_ == Drag::Bar) {
        const Rect bar = BarRect();
        hue_ = std::clamp((point.x - bar.left) * 359 / std::max(1, bar.width() - 1), 0, 359);
    }
    color_ = FromHsv(hue_, saturation_, value_);
    Invalidate();
    if (color_ != before) {
        Notify(notify::kColorChanged, color_);
    }
}

void ColorPalette::DoEvent(ControlEvent& event) {
    switch (event.type) {
        case EventType::ButtonDown:
            drag_ = BarRect().contains(event.point) ? Drag::Bar
                    : FieldRect().contains(event.point) ? Drag::Field
                                                        : Drag::None;
            PickAt(event.point);
            return;
        case EventType::MouseMove:
            if (drag_ != Drag::None) {
                PickAt(event.point);
            }
            return;
        case EventType::ButtonUp:
            drag_ = Drag::None;
            return;
        default:
            Control::DoEvent(event);
    }
}

AttributeStatus ColorPalette::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "barheight") {
        return AssignInt(barHeight_, value);
    }
    if (name == "selectcolor") {
        Color color = 0;
        const AttributeStatus status = AssignColor(color, value);
        if (status == AttributeStatus::Applied) {
            SetSelectColor(color);
        }
        return status;
    }
    return Control::ApplyAttribute(name, value);
}

void ColorPalette::PaintStatusImages(Painter& painter) {
    const Rect field = FieldRect();
    painter.FillGradient(field, 0xFFFFFFFFu, FromHsv(hue_, 255, 255), false);
    painter.FillGradient(field, 0x00000000u, 0xFF000000u, true);
    const Rect bar = BarRect();
    // Six gradients through the primary and secondary colours make the hue bar.
    for (int i = 0; i < 6; ++i) {
        const Rect part{bar.left + bar.width() * i / 6, bar.top, bar.left + bar.width() * (i + 1) / 6, bar.bottom};
        painter.FillGradient(part, FromHsv(i * 60, 255, 255), FromHsv((i + 1) * 60, 255, 255), false);
    }
    const int x = field.left + saturation_ * (field.width() - 1) / 255;
    const int y = field.top + (255 - value_) * (field.height() - 1) / 255;
    painter.DrawBorder({x - 4, y - 4, x + 5, y + 5}, value_ > 128 ? 0xFF000000u : 0xFFFFFFFFu, 2, 4);
    const int hx = bar.left + hue_ * (bar.width() - 1) / 359;
    painter.DrawBorder({hx - 2, bar.top - 1, hx + 3, bar.bottom + 1}, 0xFFFFFFFFu, 2, 0);
}

}  // namespace mousecfg::skin
