#include "skin/AnimLayout.h"

#include "skin/PaintHost.h"
#include "skin/PaintManager.h"
#include "skin/Painter.h"

namespace mousecfg::skin {
namespace {

EffectSource*& CurrentSource() {
    static EffectSource* source = nullptr;
    return source;
}

constexpr int kCounterLimit = 81;
constexpr int kCounterStart = 2;

}  // namespace

void EffectSource::Set(EffectSource* source) {
    CurrentSource() = source;
}

EffectSource* EffectSource::Get() {
    return CurrentSource();
}

AnimLayout::AnimLayout() {
    if (EffectSource* source = EffectSource::Get()) {
        animation_ = source->GetAnimation();
    }
}

AnimLayout::~AnimLayout() {
    if (animation_) {
        animation_->Stop();
    }
}

void AnimLayout::FixAlpha(PixelBuffer& pixels) {
    for (uint32_t& pixel : pixels.pixels) {
        if ((pixel & 0xFF000000u) == 0 && (pixel & 0x00FFFFFFu) != 0) {
            pixel |= 0xFF000000u;
        }
    }
}

bool AnimLayout::StartEffect(int effect, bool direction) {
    if (animating_ || !animation_) {
        return false;
    }
    if (counter_ >= kCounterLimit) {
        counter_ = kCounterStart;
        return false;
    }
    PaintManager* manager = GetManager();
    if (manager == nullptr || manager->GetHost() == nullptr) {
        return false;
    }
    EffectRequest request;
    request.picture = manager->GetHost()->RenderControl(*this);
    if (request.picture.empty()) {
        return false;
    }
    FixAlpha(request.picture);
    request.rect = GetPos();
    request.effect = effect;
    request.direction = direction;
    frame_ = request.picture;
    animating_ = true;
    if (!animation_->Start(request, this)) {
        animating_ = false;
        frame_ = {};
        return false;
    }
    ++counter_;
    Invalidate();
    return true;
}

void AnimLayout::OnEffectEnd() {
    animating_ = false;
    frame_ = {};
    Invalidate();
}

void AnimLayout::OnFrameDrawn(const PixelBuffer& frame) {
    frame_ = frame;
    Invalidate();
}

void AnimLayout::Paint(Painter& painter) {
    if (animating_ && IsVisible()) {
        painter.DrawPixels(frame_, GetPos());
        return;
    }
    VerticalLayout::Paint(painter);
}

}  // namespace mousecfg::skin
