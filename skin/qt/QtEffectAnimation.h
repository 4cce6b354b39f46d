#pragma once

#include <QImage>
#include <QTimer>
#include <memory>

#include "skin/EffectAnimation.h"

namespace mousecfg::skin::qt {

// The built-in animations: effect 7 slides the captured picture up into place while it fades in, effect 8
// fades it out while it slides down. Frames come every `step` milliseconds (30 by default) for 300 ms.
class QtEffectAnimation final : public EffectAnimation {
public:
    QtEffectAnimation();
    ~QtEffectAnimation() override;
    bool Start(const EffectRequest& request, EffectCallback* callback) override;
    void Stop() override;
    // The frame at `progress` (0..1) of an effect; public for tests.
    static PixelBuffer Frame(const QImage& picture, int effect, double progress);

private:
    void Tick();

    QTimer timer_;
    QImage picture_;
    EffectCallback* callback_ = nullptr;
    int effect_ = 0;
    int frame_ = 0;
    static constexpr int kFrames = 10;
};

// The source of the built-in animations.
class QtEffectSource final : public EffectSource {
public:
    std::unique_ptr<EffectAnimation> GetAnimation() override { return std::make_unique<QtEffectAnimation>(); }
};

}  // namespace mousecfg::skin::qt
