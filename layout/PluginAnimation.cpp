#include "layout/PluginAnimation.h"

#include <chrono>

namespace mousecfg::layout {

PluginAnimation::PluginAnimation(UiEffectAnimation* animation, UiEffectReleaseAnimation release)
    : animation_(animation), release_(release) {}

PluginAnimation::~PluginAnimation() {
    Stop();
    release_(animation_);
}

bool PluginAnimation::Start(const skin::EffectRequest& request, skin::EffectCallback* callback) {
    if (callback == nullptr || request.picture.empty() || animation_->begin == nullptr ||
        animation_->render == nullptr) {
        return false;
    }
    const UiEffectRequest plain{request.picture.pixels.data(),
                                request.picture.width,
                                request.picture.height,
                                request.rect.left,
                                request.rect.top,
                                request.rect.right,
                                request.rect.bottom,
                                request.effect,
                                request.step,
                                request.direction ? 1 : 0};
    frames_ = animation_->begin(animation_, &plain);
    if (frames_ <= 0) {
        return false;
    }
    frame_ = request.picture;
    callback_ = callback;
    next_ = 0;
    callback_->OnEffectBegin();
    ticker_ = skin::SkinPlatform::Get().StartTicker(std::chrono::milliseconds(std::max(1, request.step)),
                                                    [this] { Tick(); });
    return true;
}

void PluginAnimation::Stop() {
    ticker_.reset();
    callback_ = nullptr;
}

void PluginAnimation::Tick() {
    if (callback_ == nullptr) {
        return;
    }
    if (next_ < frames_ && animation_->render(animation_, next_, frame_.pixels.data()) != 0) {
        ++next_;
        callback_->OnFrameDrawn(frame_);
        if (next_ < frames_) {
            return;
        }
    }
    // The last frame was drawn, or the plug-in failed one: the effect ends either way.
    skin::EffectCallback* callback = callback_;
    Stop();
    callback->OnEffectEnd();
}

}  // namespace mousecfg::layout
