#pragma once

#include <string>

#include "skin/SkinWindow.h"

namespace mousecfg::skin {
class AnimLayout;
}

namespace mousecfg::app {

// What the DPI pop-up shows.
struct DpiPopupValues {
    int level = 0;                // the DPI level number, from 1
    std::string positionText;     // the language's "Current DPI Position"
    std::string dpiText;          // the level's DPI as text
    int dpiValue = 0;             // the same as a number, for the slider
    std::string deviceName;
    std::string profileText;      // the language's "Profile1" .. "Profile4"
    int maxDpi = 0;               // the model's highest DPI: the slider's maximum
};

// The DPI pop-up: a toast in the work area's bottom-right corner that shows the DPI level when it changes on
// the mouse. It hides itself 2 s after the last change, but not while the cursor rests on it; a change while it
// is shown only updates its texts. Created hidden with the main window (and again after a skin switch).
class CPopPush final : public skin::SkinWindow {
public:
    static constexpr int kHideTimer = 1;
    static constexpr int kGoneTimer = 2;  // the window goes once the hide animation has played
    static constexpr std::chrono::milliseconds kShowTime{2000};
    static constexpr std::chrono::milliseconds kHideAnimationTime{320};

    std::string GetSkinFile() override { return "poppush.xml"; }
    std::string GetWindowClassName() const override { return "CPopPush"; }
    std::unique_ptr<skin::Control> CreateControl(std::string_view className) override;
    void InitWindow() override;
    void Notify(skin::Notification& notification) override;
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;

    // Shows the values: fills the texts and, when the pop-up is not shown, places and shows it.
    void Show(const DpiPopupValues& values);
    // Updates the texts only when the pop-up is shown.
    void Refresh(const DpiPopupValues& values);
    bool IsShown() const { return shown_; }
    // How often the pop-up appeared (each time with the show animation).
    int ShowCount() const { return showCount_; }

private:
    void PlaceInCorner();
    void FillTexts(const DpiPopupValues& values);
    void StartHide();

    skin::AnimLayout* anim_ = nullptr;
    bool shown_ = false;
    bool placed_ = false;
    bool hovering_ = false;
    int showCount_ = 0;
};

}  // namespace mousecfg::app
