#include "skin/HeadlessWindowHost.h"

#include "platform/TextEncoding.h"
#include "platform/Trace.h"
#include "skin/Combo.h"
#include "skin/Edit.h"
#include "skin/HeadlessPlatform.h"
#include "skin/SkinWindow.h"

namespace mousecfg::skin {
namespace {

// A modal run that nothing ends in this time is a test that forgot to close its window.
constexpr std::chrono::seconds kModalLimit{10};

}  // namespace

HeadlessWindowHost::HeadlessWindowHost(HeadlessPlatform& platform, SkinWindow& window,
                                       const WindowCreateParams& params)
    : platform_(platform), window_(window), rect_(params.rect), title_(params.title) {}

HeadlessWindowHost::~HeadlessWindowHost() {
    platform_.StopTimers(this);
}

void HeadlessWindowHost::Invalidate(const Rect& /*rect*/) {
    ++invalidations_;
}

Size HeadlessWindowHost::MeasureText(std::string_view text, const FontSpec& font) {
    return {static_cast<int>(CountUtf16Units(text)) * font.size * 6 / 10, font.size * 4 / 3};
}

// Each line of the text takes as many rows as its one-line width needs.
Size HeadlessWindowHost::MeasureWrappedText(std::string_view text, const FontSpec& font, int width) {
    int rows = 0;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const int lineWidth = MeasureText(text.substr(start, end - start), font).cx;
        rows += std::max(1, (lineWidth + std::max(1, width) - 1) / std::max(1, width));
        start = end + 1;
    }
    return {width, rows * MeasureText("", font).cy};
}

void HeadlessWindowHost::EndTextEdit(Edit& edit) {
    if (editing_ == &edit) {
        editing_ = nullptr;
    }
}

void HeadlessWindowHost::ForgetControl(const Control* subtreeRoot) {
    if (editing_ != nullptr && editing_->IsSelfOrDescendantOf(subtreeRoot)) {
        editing_ = nullptr;
    }
    if (dropped_ != nullptr && dropped_->IsSelfOrDescendantOf(subtreeRoot)) {
        dropped_ = nullptr;
    }
}

PixelBuffer HeadlessWindowHost::RenderControl(Control& control) {
    PixelBuffer picture;
    picture.width = control.GetPos().width();
    picture.height = control.GetPos().height();
    if (!picture.empty()) {
        picture.pixels.assign(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height), 0xFF808080u);
    }
    return picture;
}

void HeadlessWindowHost::Show(bool /*activate*/) {
    visible_ = true;
    minimized_ = false;
}

Rect HeadlessWindowHost::GetWorkArea() const {
    return {0, 0, HeadlessPlatform::kScreenWidth, HeadlessPlatform::kScreenHeight};
}

int HeadlessWindowHost::RunModal() {
    modalRunning_ = true;
    if (!platform_.RunUntil([this] { return !modalRunning_; }, kModalLimit)) {
        trace::Printf("skin: modal run of '%s' was not ended\n", title_.c_str());
        modalRunning_ = false;
        return -1;
    }
    return modalResult_;
}

void HeadlessWindowHost::EndModal(int result) {
    modalResult_ = result;
    modalRunning_ = false;
}

void HeadlessWindowHost::Destroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    visible_ = false;
    keyboardGrabbed_ = false;
    platform_.StopTimers(this);
    std::weak_ptr<int> alive = alive_;
    SkinWindow* window = &window_;
    platform_.RunOnUiThread([alive, window] {
        if (!alive.expired()) {
            window->OnHostDestroyed();
        }
    });
}

void HeadlessWindowHost::SetTimer(int id, std::chrono::milliseconds interval) {
    platform_.StartTimer(this, id, interval, window_.GetMessageTarget());
}

void HeadlessWindowHost::KillTimer(int id) {
    platform_.StopTimer(this, id);
}

bool HeadlessWindowHost::IsTimerRunning(int id) const {
    return platform_.TimerRunning(this, id);
}

}  // namespace mousecfg::skin
