#pragma once

#include <memory>

#include "layout/UiEffectPlugin.h"
#include "skin/EffectAnimation.h"
#include "skin/SkinPlatform.h"

namespace mousecfg::layout {

// An animation object of the effect plug-in behind the skin's animation interface: asks the plug-in for the
// frames one by one on a ticker of the platform and hands them to the animated control.
class PluginAnimation final : public skin::EffectAnimation {
public:
    PluginAnimation(UiEffectAnimation* animation, UiEffectReleaseAnimation release);
    ~PluginAnimation() override;
    bool Start(const skin::EffectRequest& request, skin::EffectCallback* callback) override;
    void Stop() override;

private:
    void Tick();

    UiEffectAnimation* animation_;
    UiEffectReleaseAnimation release_;
    std::unique_ptr<skin::Ticker> ticker_;
    skin::EffectCallback* callback_ = nullptr;
    skin::PixelBuffer frame_;
    int frames_ = 0;
    int next_ = 0;
};

}  // namespace mousecfg::layout
