#pragma once

#include "skin/Label.h"

namespace mousecfg::skin {

// A bar filled in proportion to value between min and max: the fore image or fore colour over the background.
class Progress : public Label {
public:
    std::string_view GetClass() const override { return "Progress"; }
    int GetValue() const { return value_; }
    // Sets the value, pulled into min..max. No notification.
    void SetValue(int value);
    int GetMinValue() const { return min_; }
    int GetMaxValue() const { return max_; }
    void SetMinValue(int min);
    void SetMaxValue(int max);
    Color GetForeColor() const { return foreColor_; }
    void SetForeColor(Color color);
    bool IsHorizontal() const { return horizontal_; }

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintStatusImages(Painter& painter) override;
    // The part of `bar` that shows the value.
    Rect FilledRect(const Rect& bar) const;
    // Paints the background colour and the filled part within `bar`, from its right end when `fromRight`.
    void PaintBar(Painter& painter, const Rect& bar, bool fromRight = false);

private:
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    bool horizontal_ = true;
    Color foreColor_ = kNoColor;
    ImageRef foreImage_;
};

}  // namespace mousecfg::skin
