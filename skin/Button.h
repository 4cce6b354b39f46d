#pragma once

#include "skin/Label.h"

namespace mousecfg::skin {

// A label that reacts to the mouse and the keyboard: state images (normal, hot, pushed, focused, disabled),
// state text colours, "click" when released over it or on Space/Enter while focused, "setfocus" when it takes
// the focus, "mouseenter"/"mouseleave" as the cursor comes and goes.
class Button : public Label {
public:
    std::string_view GetClass() const override { return "Button"; }
    bool IsInteractive() const override { return true; }
    bool IsFocusable() const override { return focusable_; }
    void DoEvent(ControlEvent& event) override;
    // What a click does; Button raises "click". Returns false when the control refused (disabled).
    virtual bool Activate();

    const ImageRef& GetNormalImage() const { return normalImage_; }
    const ImageRef& GetHotImage() const { return hotImage_; }
    const ImageRef& GetPushedImage() const { return pushedImage_; }
    Color GetHotTextColor() const { return hotTextColor_; }
    Color GetPushedTextColor() const { return pushedTextColor_; }
    void SetHotTextColor(Color color) { hotTextColor_ = color; Invalidate(); }
    void SetPushedTextColor(Color color) { pushedTextColor_ = color; Invalidate(); }

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintBackground(Painter& painter) override;
    void PaintStatusImages(Painter& painter) override;
    Color CurrentTextColor() const override;
    // The state image to draw now (empty when the state has none); derived classes add selected states.
    virtual const ImageRef& CurrentImage() const;

private:
    ImageRef normalImage_;
    ImageRef hotImage_;
    ImageRef pushedImage_;
    ImageRef focusedImage_;
    ImageRef disabledImage_;
    ImageRef foreImage_;
    Color hotTextColor_ = kNoColor;
    Color pushedTextColor_ = kNoColor;
    Color focusedTextColor_ = kNoColor;
    Color hotBkColor_ = kNoColor;
    Color pushedBkColor_ = kNoColor;
    bool focusable_ = true;
};

}  // namespace mousecfg::skin
