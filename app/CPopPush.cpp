#include "app/CPopPush.h"

#include "skin/AnimLayout.h"
#include "skin/ControlFactory.h"
#include "skin/EffectAnimation.h"
#include "skin/Slider.h"
#include "skin/WindowHost.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {

std::unique_ptr<skin::Control> CPopPush::CreateControl(std::string_view className) {
    return skin::CreateCustomLayout(className);
}

void CPopPush::InitWindow() {
    anim_ = Find<skin::AnimLayout>("animlayout");
}

void CPopPush::Notify(skin::Notification& notification) {
    // Any activity keeps the pop-up up for another 2 s, unless the cursor rests on it (then it stays anyway).
    if (!hovering_) {
        SetTimer(kHideTimer, kShowTime);
    }
    if (notification.type == skin::notify::kWindowInit) {
        PlaceInCorner();
    } else if (notification.type == skin::notify::kClick && notification.senderName == "btn_close") {
        KillTimer(kHideTimer);
        shown_ = false;
        ShowWindow(false);
    }
}

intptr_t CPopPush::HandleCustomMessage(const Message& message, bool& handled) {
    if (message.id == skin::msg::kTimer && message.wParam == kHideTimer) {
        StartHide();
        handled = true;
    } else if (message.id == skin::msg::kTimer && message.wParam == kGoneTimer) {
        KillTimer(kGoneTimer);
        if (!shown_) {
            ShowWindow(false);
        }
        handled = true;
    } else if (message.id == skin::msg::kMouseHover) {
        hovering_ = true;
        KillTimer(kHideTimer);
    } else if (message.id == skin::msg::kMouseLeave) {
        hovering_ = false;
        if (shown_) {
            SetTimer(kHideTimer, kShowTime);
        }
    }
    return 0;
}

void CPopPush::StartHide() {
    KillTimer(kHideTimer);
    if (!shown_) {
        return;
    }
    shown_ = false;
    if (anim_ != nullptr && anim_->StartEffect(skin::kEffectHide, false)) {
        SetTimer(kGoneTimer, kHideAnimationTime);
    } else {
        ShowWindow(false);
    }
}

void CPopPush::PlaceInCorner() {
    if (GetHost() == nullptr) {
        return;
    }
    const skin::Rect area = GetHost()->GetWorkArea();
    const skin::Size size = GetPaintManager().windowInfo().size;
    MoveWindow({area.right - size.cx, area.bottom - size.cy, area.right, area.bottom});
    placed_ = true;
}

void CPopPush::FillTexts(const DpiPopupValues& values) {
    const auto set = [this](const char* name, const std::string& text) {
        if (skin::Control* control = FindControl(name)) {
            control->SetText(text);
        }
    };
    set("dpilevel", std::to_string(values.level));
    set("DPIText", values.positionText);
    set("curmode", values.profileText);
    set("dpivalue", values.dpiText);
    set("dev_name", values.deviceName);
    if (auto* slider = Find<skin::Slider>("slider_dpi")) {
        if (values.maxDpi > 0) {
            slider->SetMaxValue(values.maxDpi);
        }
        slider->SetValue(values.dpiValue);
    }
}

void CPopPush::Show(const DpiPopupValues& values) {
    if (!shown_ || !IsVisible()) {
        KillTimer(kGoneTimer);
        PlaceInCorner();
        FillTexts(values);
        ShowWindow(true, false);
        if (anim_ != nullptr) {
            anim_->StartEffect(skin::kEffectShow, true);
        }
        ++showCount_;
        shown_ = true;
    } else {
        FillTexts(values);
    }
    if (!hovering_) {
        SetTimer(kHideTimer, kShowTime);
    }
}

void CPopPush::Refresh(const DpiPopupValues& values) {
    if (shown_) {
        FillTexts(values);
    }
}

}  // namespace mousecfg::app
