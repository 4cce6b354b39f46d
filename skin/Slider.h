#pragma once

#include "skin/Progress.h"

namespace mousecfg::skin {

// A progress bar with a thumb the user drags. While dragging it raises "movevaluechanged" at every change of
// value; on release it raises "valuechanged". A click on the track moves the thumb there and starts a drag;
// the wheel and the arrow keys step the value and raise "valuechanged". SetValue from code raises nothing.
class Slider : public Progress {
public:
    std::string_view GetClass() const override { return "Slider"; }
    bool IsInteractive() const override { return true; }
    bool IsFocusable() const override { return true; }
    void DoEvent(ControlEvent& event) override;
    // The thumb's rectangle in client coordinates.
    Rect ThumbRect() const;
    bool IsDragging() const { return dragging_; }

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintBackground(Painter& painter) override;
    void PaintStatusImages(Painter& painter) override;

private:
    // The bar the thumb runs on: "trackheight" pixels across the middle of the control (all of it when 0).
    Rect TrackRect() const;
    Color trackColor_ = kNoColor;
    int trackHeight_ = 0;
    int ValueAt(Point point) const;
    void Step(int steps);

    Size thumbSize_{12, 12};
    int step_ = 1;
    bool dragging_ = false;
    ImageRef thumbImage_;
    ImageRef thumbHotImage_;
    ImageRef thumbPushedImage_;
    Color thumbColor_ = 0xFFFFFFFFu;
};

}  // namespace mousecfg::skin
