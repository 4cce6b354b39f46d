#pragma once

#include <memory>

#include "skin/EffectAnimation.h"
#include "skin/VerticalLayout.h"

namespace mousecfg::skin {

// A vertical layout that can play a show or hide animation of its own picture (the DPI pop-up). While an effect
// runs, the layout shows the frames of the animation instead of painting its children. Skin element
// "AnimLayout", created through a window's CreateControl.
class AnimLayout : public VerticalLayout, private EffectCallback {
public:
    AnimLayout();
    ~AnimLayout() override;
    std::string_view GetClass() const override { return "AnimLayout"; }
    void Paint(Painter& painter) override;

    // Starts effect `effect` (kEffectShow, kEffectHide) with `direction` (1 show, 0 hide). Refused (false)
    // while an effect runs, without an animation object, when the picture cannot be captured, and every
    // time the effect counter reaches 81 (the counter is then reset to 2).
    bool StartEffect(int effect, bool direction);
    bool IsAnimating() const { return animating_; }
    int GetEffectCounter() const { return counter_; }
    // Pixels that the capture left fully transparent but coloured become opaque (text drawn without alpha).
    static void FixAlpha(PixelBuffer& pixels);

private:
    void OnEffectBegin() override {}
    void OnEffectEnd() override;
    void OnFrameDrawn(const PixelBuffer& frame) override;

    std::unique_ptr<EffectAnimation> animation_;
    bool animating_ = false;
    PixelBuffer frame_;
    int counter_ = 2;
};

}  // namespace mousecfg::skin
