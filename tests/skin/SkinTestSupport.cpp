#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include "skin/Control.h"
#include "skin/ControlFactory.h"
#include "skin/SkinPlatform.h"

namespace mousecfg::skin::test {

HeadlessPlatform& Headless() {
    return static_cast<HeadlessPlatform&>(SkinPlatform::Get());
}

std::unique_ptr<Control> RecordingWindow::CreateControl(std::string_view className) {
    return CreateCustomLayout(className);
}

void RecordingWindow::Notify(Notification& notification) {
    events.push_back(notification.type + ":" + notification.senderName);
    if (onNotify) {
        onNotify(notification);
    }
}

intptr_t RecordingWindow::HandleCustomMessage(const Message& message, bool& handled) {
    if ((message.id >= msg::kUser && message.id != kWindowInitMessage) || message.id == kTimerMessage) {
        messages.push_back(message);
        handled = true;
        return onMessage ? onMessage(message) : 0;
    }
    handled = false;
    return 0;
}

void RecordingWindow::Open(Size size) {
    ASSERT_TRUE(Create(nullptr, "test", style::kWsPopup, 0, {0, 0, size.cx, size.cy}));
    Headless().ProcessPending();
}

Point RecordingWindow::CenterOf(const std::string& name) {
    GetPaintManager().UpdateLayout();
    const Control* control = FindControl(name);
    EXPECT_NE(control, nullptr) << name;
    if (control == nullptr) {
        return {};
    }
    const Rect& pos = control->GetPos();
    return {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
}

void RecordingWindow::SendMouse(uint32_t id, Point point, uintptr_t wParam) {
    HandleMessage(Message{id, wParam, msg::MakePointParam(point.x, point.y), {}});
}

void RecordingWindow::ClickControl(const std::string& name) {
    const Point point = CenterOf(name);
    SendMouse(msg::kMouseMove, point);
    SendMouse(msg::kLButtonDown, point);
    SendMouse(msg::kLButtonUp, point);
}

std::vector<std::string> RecordingWindow::TakeEvents() {
    auto taken = std::move(events);
    events.clear();
    return taken;
}

}  // namespace mousecfg::skin::test
