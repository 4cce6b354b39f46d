#pragma once

// The interface of the optional effect plug-in "libUiFeatureEffect.so", looked for in the program's folder.
// A plain C interface so that a plug-in built by any compiler loads. It exports three functions:
//   UiEffectAnimation* GetAnimation(void);              a new animation object, or null
//   void ReleaseAnimation(UiEffectAnimation* animation);  releases one
//   uint32_t GetSurportAnimationType(void);             bit n set: effect number n is supported
// The animation object renders frames on request; the program decides when a frame is drawn (on its own timer,
// on the user-interface thread), so the plug-in needs no threads and no event loop.
#include <cstdint>

extern "C" {

struct UiEffectRequest {
    const uint32_t* pixels;  // the captured picture, 0xAARRGGBB, row by row
    int32_t width;
    int32_t height;
    int32_t left, top, right, bottom;  // the control's rectangle in its window
    int32_t effect;                    // 7 show, 8 hide
    int32_t step;                      // 30: milliseconds between frames
    int32_t direction;                 // 1 show, 0 hide
};

struct UiEffectAnimation {
    // Prepares an effect; returns the number of frames (0: refused).
    int32_t (*begin)(UiEffectAnimation* self, const UiEffectRequest* request);
    // Renders frame `index` (0 .. frames-1) into `out` (width x height pixels); returns 0 on failure.
    int32_t (*render)(UiEffectAnimation* self, int32_t index, uint32_t* out);
};

using UiEffectGetAnimation = UiEffectAnimation* (*)();
using UiEffectReleaseAnimation = void (*)(UiEffectAnimation*);
using UiEffectSupportedTypes = uint32_t (*)();

}  // extern "C"
