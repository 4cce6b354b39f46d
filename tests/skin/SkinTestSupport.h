#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "skin/HeadlessPlatform.h"
#include "skin/Notification.h"
#include "skin/SkinWindow.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin::test {

// The headless platform that every skin test runs on (the default platform of the process).
HeadlessPlatform& Headless();

// A window of a skin file that records its notifications and messages; custom layouts are created.
class RecordingWindow : public SkinWindow {
public:
    explicit RecordingWindow(std::filesystem::path skin) : skin_(std::move(skin)) {}
    std::string GetSkinFile() override { return skin_.string(); }
    std::string GetWindowClassName() const override { return "RecordingWnd"; }
    std::unique_ptr<Control> CreateControl(std::string_view className) override;
    void Notify(Notification& notification) override;
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;
    void OnFinalMessage() override { ++finals; }

    // "type:sender" of every notification so far.
    std::vector<std::string> events;
    std::vector<Message> messages;  // numbered messages at or above msg::kUser, and timer ticks
    int finals = 0;
    // Optional reactions of a test.
    std::function<void(Notification&)> onNotify;
    std::function<intptr_t(const Message&)> onMessage;

    // Creates the window and handles the "windowinit" that creation posts.
    void Open(Size size = {});
    // Input at the centre of a control, as the host would deliver it.
    void ClickControl(const std::string& name);
    void SendMouse(uint32_t id, Point point, uintptr_t wParam = 0);
    Point CenterOf(const std::string& name);
    // The events since the last call, and clears them.
    std::vector<std::string> TakeEvents();

private:
    std::filesystem::path skin_;
};

}  // namespace mousecfg::skin::test
