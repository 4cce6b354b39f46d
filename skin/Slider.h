#pragma once

#include "skin/Progress.h"

namespace mousecfg::skin {

// A progress bar with a thumb the user drags. While dragging it raises "movevaluechanged" at every change of
// value; on release it raises "valuechanged". A click on the track moves the thumb there and starts a drag;
// the wheel steps the value and raises "valuechanged". The keyboard drags too: the arrow keys move by a step,
// Page Up and Page Down by a page ("pagestep", a tenth of the range by default), Home and End to the ends, each
// press (and each repeat of a held key) raising "movevaluechanged", and letting the key go raises
// "valuechanged" once. SetValue from code raises nothing.
// While a right-to-left language is in use a horizontal slider runs from the right: its minimum is at the right
// end, it fills and grows to the left, and the Left arrow increases it. That follows the reading direction, not
// the layout of the slider's window, so sliders on pages that keep their left-to-right layout turn too; a slider
// whose own "mirror" attribute is false keeps running from the left.
class Slider : public Progress {
public:
    std::string_view GetClass() const override { return "Slider"; }
    bool IsInteractive() const override { return true; }
    bool IsFocusable() const override { return true; }
    void DoEvent(ControlEvent& event) override;
    // The thumb's rectangle in client coordinates.
    Rect ThumbRect() const;
    bool IsDragging() const { return dragging_; }
    // Whether the slider runs from the right (see above).
    bool IsReversed() const;

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
    // The value a key moves to; the current value for other keys.
    int KeyTarget(unsigned key) const;
    int PageStep() const;

    Size thumbSize_{12, 12};
    int step_ = 1;
    bool dragging_ = false;
    bool keyMoved_ = false;  // moved by keys since the last "valuechanged"
    int pageStep_ = 0;       // 0: a tenth of the range
    bool keepsDirection_ = false;  // "mirror" set to false on the slider itself
    ImageRef thumbImage_;
    ImageRef thumbHotImage_;
    ImageRef thumbPushedImage_;
    Color thumbColor_ = 0xFFFFFFFFu;
};

}  // namespace mousecfg::skin
