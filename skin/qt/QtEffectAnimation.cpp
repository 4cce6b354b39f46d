#include "skin/qt/QtEffectAnimation.h"

#include <QPainter>

namespace mousecfg::skin::qt {

QtEffectAnimation::QtEffectAnimation() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

QtEffectAnimation::~QtEffectAnimation() {
    timer_.stop();
}

bool QtEffectAnimation::Start(const EffectRequest& request, EffectCallback* callback) {
    if ((request.effect != kEffectShow && request.effect != kEffectHide) || request.picture.empty() ||
        callback == nullptr) {
        return false;
    }
    picture_ = QImage(reinterpret_cast<const uchar*>(request.picture.pixels.data()), request.picture.width,
                      request.picture.height, request.picture.width * 4, QImage::Format_ARGB32)
                   .copy();
    callback_ = callback;
    effect_ = request.effect;
    frame_ = 0;
    callback_->OnEffectBegin();
    callback_->OnFrameDrawn(Frame(picture_, effect_, 0.0));
    timer_.start(std::max(1, request.step));
    return true;
}

void QtEffectAnimation::Stop() {
    timer_.stop();
    callback_ = nullptr;
}

void QtEffectAnimation::Tick() {
    if (callback_ == nullptr) {
        timer_.stop();
        return;
    }
    ++frame_;
    callback_->OnFrameDrawn(Frame(picture_, effect_, static_cast<double>(frame_) / kFrames));
    if (frame_ >= kFrames) {
        timer_.stop();
        EffectCallback* callback = callback_;
        callback_ = nullptr;
        callback->OnEffectEnd();
    }
}

PixelBuffer QtEffectAnimation::Frame(const QImage& picture, int effect, double progress) {
    const double shown = effect == kEffectShow ? progress : 1.0 - progress;
    QImage frame(picture.size(), QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    {
        QPainter painter(&frame);
        painter.setOpacity(shown);
        painter.drawImage(QPoint(0, static_cast<int>((1.0 - shown) * picture.height() / 3)), picture);
    }
    PixelBuffer buffer;
    buffer.width = frame.width();
    buffer.height = frame.height();
    buffer.pixels.resize(static_cast<size_t>(buffer.width) * static_cast<size_t>(buffer.height));
    for (int y = 0; y < buffer.height; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(frame.constScanLine(y));
        std::copy(line, line + buffer.width, buffer.pixels.begin() + static_cast<ptrdiff_t>(y) * buffer.width);
    }
    return buffer;
}

}  // namespace mousecfg::skin::qt
