#pragma once

#include <memory>
#include <string>

#include "skin/SkinPlatform.h"
#include "skin/WindowHost.h"

namespace mousecfg::skin {

class HeadlessPlatform;
class SkinWindow;

// The window host of the headless platform: keeps the window's rectangle, visibility and title, counts
// redraws, and remembers which edit has the native editor and which combo has its list open.
class HeadlessWindowHost final : public WindowHost {
public:
    HeadlessWindowHost(HeadlessPlatform& platform, SkinWindow& window, const WindowCreateParams& params);
    ~HeadlessWindowHost() override;

    void Invalidate(const Rect& rect) override;
    Size MeasureText(std::string_view text, const FontSpec& font) override;
    Size MeasureWrappedText(std::string_view text, const FontSpec& font, int width) override;
    void BeginTextEdit(Edit& edit) override { editing_ = &edit; }
    void EndTextEdit(Edit& edit) override;
    void OpenDropList(Combo& combo) override { dropped_ = &combo; }
    void CloseDropList() override { dropped_ = nullptr; }
    void ForgetControl(const Control* subtreeRoot) override;
    void ShowToolTip(const std::string& text, const Rect& anchor) override {
        toolTip_ = text;
        toolTipAnchor_ = anchor;
        ++toolTipRequests_;
    }
    void HideToolTip() override { toolTip_.clear(); }
    PixelBuffer RenderControl(Control& control) override;
    Point ClientToScreen(Point point) override { return {point.x + rect_.left, point.y + rect_.top}; }

    void Show(bool activate) override;
    void Hide() override {
        visible_ = false;
        keyboardGrabbed_ = false;
    }
    bool IsVisible() const override { return visible_; }
    Rect GetWindowRect() const override { return rect_; }
    void SetWindowRect(const Rect& rect) override { rect_ = rect; }
    Rect GetWorkArea() const override;
    void Minimize() override { minimized_ = true; }
    void Restore() override { minimized_ = false; }
    bool IsMinimized() const override { return minimized_; }
    void BringToFront() override { ++raised_; }
    void Flash() override { ++flashes_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    int RunModal() override;
    void EndModal(int result) override;
    void Destroy() override;
    void SetTimer(int id, std::chrono::milliseconds interval) override;
    void KillTimer(int id) override;
    bool IsTimerRunning(int id) const override;
    Point GetCursorPos() const override { return cursor_; }
    void GrabKeyboard(bool grab) override { keyboardGrabbed_ = grab && visible_; }
    bool KeyboardGrabbed() const override { return keyboardGrabbed_; }

    // For tests.
    Edit* editing() const { return editing_; }
    Combo* droppedCombo() const { return dropped_; }
    // The tip asked for and not hidden since (empty when none), where it belongs, and how often one was asked for.
    const std::string& toolTip() const { return toolTip_; }
    const Rect& toolTipAnchor() const { return toolTipAnchor_; }
    int toolTipRequests() const { return toolTipRequests_; }
    const std::string& title() const { return title_; }
    int invalidations() const { return invalidations_; }
    int raised() const { return raised_; }
    int flashes() const { return flashes_; }
    bool destroyed() const { return destroyed_; }
    void SetCursorPos(Point point) { cursor_ = point; }

private:
    HeadlessPlatform& platform_;
    SkinWindow& window_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // expires with the host; guards deferred tasks
    Rect rect_;
    std::string title_;
    bool visible_ = false;
    bool minimized_ = false;
    bool destroyed_ = false;
    bool keyboardGrabbed_ = false;
    bool modalRunning_ = false;
    int modalResult_ = 0;
    int invalidations_ = 0;
    int raised_ = 0;
    int flashes_ = 0;
    Point cursor_;
    Edit* editing_ = nullptr;
    std::string toolTip_;
    Rect toolTipAnchor_;
    int toolTipRequests_ = 0;
    Combo* dropped_ = nullptr;
};

}  // namespace mousecfg::skin
