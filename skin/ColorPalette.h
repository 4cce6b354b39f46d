#pragma once

#include "skin/Control.h"

namespace mousecfg::skin {

// A colour picker field: saturation from left to right and brightness from top to bottom for the current hue,
// and a hue bar of "barheight" pixels below. Pressing or dragging in either changes the selected colour and
// raises "colorchanged" (wParam = the colour). SetSelectColor from code raises nothing.
class ColorPalette : public Control {
public:
    std::string_view GetClass() const override { return "ColorPalette"; }
    bool IsInteractive() const override { return true; }
    void DoEvent(ControlEvent& event) override;

    Color GetSelectColor() const { return color_; }
    void SetSelectColor(Color color);
    // The colour of hue (0..359), saturation and value (0..255) as the palette computes it.
    static Color FromHsv(int hue, int saturation, int value);

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintStatusImages(Painter& painter) override;

private:
    Rect FieldRect() const;
    Rect BarRect() const;
    void PickAt(Point point);

    Color color_ = 0xFFFF0000u;
    int hue_ = 0;
    int saturation_ = 255;
    int value_ = 255;
    int barHeight_ = 12;
    enum class Drag { None, Field, Bar } drag_ = Drag::None;
};

}  // namespace mousecfg::skin
