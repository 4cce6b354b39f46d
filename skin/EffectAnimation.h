#pragma once

#include <memory>

#include "skin/Geometry.h"
#include "skin/PixelBuffer.h"

namespace mousecfg::skin {

// Effect numbers of the show and hide animations.
inline constexpr int kEffectShow = 7;
inline constexpr int kEffectHide = 8;

// What an animation gets to play: the captured picture of the control, its rectangle, the effect number, the
// frame step and the direction (1 show, 0 hide).
struct EffectRequest {
    PixelBuffer picture;
    Rect rect;
    int effect = 0;
    int step = 30;
    bool direction = true;
};

// Receives the progress of an animation on the window's thread.
class EffectCallback {
public:
    virtual ~EffectCallback() = default;
    virtual void OnEffectBegin() = 0;
    // The animation finished (or was stopped); no frame follows.
    virtual void OnEffectEnd() = 0;
    // A new frame to show instead of the control, the size of the captured picture.
    virtual void OnFrameDrawn(const PixelBuffer& frame) = 0;
};

// One animation object per animated control. Start hands it a request; it calls the callback until Stop or the
// end. After Stop returns no callback is made.
class EffectAnimation {
public:
    virtual ~EffectAnimation() = default;
    // False when the effect is not supported or cannot start.
    virtual bool Start(const EffectRequest& request, EffectCallback* callback) = 0;
    virtual void Stop() = 0;
};

// Where animated controls get their animation objects: the effect manager of the program, set once at start.
class EffectSource {
public:
    virtual ~EffectSource() = default;
    // A new animation object; none when effects are unavailable.
    virtual std::unique_ptr<EffectAnimation> GetAnimation() = 0;

    // The process-wide source (none by default: nothing animates). The caller keeps it alive while set.
    static void Set(EffectSource* source);
    static EffectSource* Get();
};

}  // namespace mousecfg::skin
