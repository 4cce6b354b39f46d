// A small effect plug-in for the tests: three frames, each filled with 0xFF000000 + its index. Built without
// "GetSurportAnimationType" when MISSING_ENTRY is defined.
#include <cstdint>
#include <vector>

#include "layout/UiEffectPlugin.h"

namespace {

struct Animation : UiEffectAnimation {
    int32_t pixels = 0;
};

int32_t Begin(UiEffectAnimation* self, const UiEffectRequest* request) {
    if (request->effect != 7 && request->effect != 8) {
        return 0;
    }
    static_cast<Animation*>(self)->pixels = request->width * request->height;
    return 3;
}

int32_t Render(UiEffectAnimation* self, int32_t index, uint32_t* out) {
    for (int32_t i = 0; i < static_cast<Animation*>(self)->pixels; ++i) {
        out[i] = 0xFF000000u + static_cast<uint32_t>(index);
    }
    return 1;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) UiEffectAnimation* GetAnimation() {
    auto* animation = new Animation;
    animation->begin = Begin;
    animation->render = Render;
    return animation;
}

__attribute__((visibility("default"))) void ReleaseAnimation(UiEffectAnimation* animation) {
    delete static_cast<Animation*>(animation);
}

#ifndef MISSING_ENTRY
__attribute__((visibility("default"))) uint32_t GetSurportAnimationType() {
    return (1u << 7) | (1u << 8);
}
#endif

}  // extern "C"
