#include "app/CCloseWnd.h"

#include "app/ShellMessages.h"
#include "skin/CheckBox.h"
#include "skin/Option.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {

void CCloseWnd::InitWindow() {
    if (auto* minimize = Find<skin::Option>("Minimize"); minimize != nullptr && !trayAvailable_) {
        minimize->SetText("Minimize the window");
        minimize->SetAttribute("textid", "CloseMinimizeNoTray");
    }
    SelectOption(option_);
    if (auto* noRemind = Find<skin::CheckBox>("NotRemindAgain")) {
        noRemind->SetCheck(remind_ == 0, false);
    }
}

void CCloseWnd::SelectOption(int option) {
    option_ = option;
    if (auto* exit = Find<skin::Option>("Exit")) {
        exit->Selected(option == 1, false);
    }
    if (auto* minimize = Find<skin::Option>("Minimize")) {
        minimize->Selected(option != 1, false);
    }
}

void CCloseWnd::Notify(skin::Notification& notification) {
    if (notification.type != skin::notify::kClick) {
        return;
    }
    const std::string& name = notification.senderName;
    if (name == "btn_close" || name == "CancelButton") {
        Finish(0);
    } else if (name == "Minimize") {
        SelectOption(0);
    } else if (name == "Exit") {
        SelectOption(1);
    } else if (name == "NotRemindAgain") {
        // "click" comes before the check box changes: the state before the click is the remind value after it.
        if (auto* noRemind = Find<skin::CheckBox>("NotRemindAgain")) {
            remind_ = noRemind->IsChecked() ? 1 : 0;
        }
    } else if (name == "OkButton") {
        if (SkinWindow* parent = GetParent()) {
            parent->Send(Message{msg::kCloseConfig, static_cast<uintptr_t>(option_), -1, {}});
            parent->Send(Message{msg::kCloseConfig, static_cast<uintptr_t>(-1), remind_, {}});
            parent->Send(Message{msg::kCloseNow, 0, 0, {}});
        }
        Finish(1);
    }
}

intptr_t CCloseWnd::HandleCustomMessage(const Message& message, bool& handled) {
    const bool escape = message.id == skin::msg::kKeyDown && message.wParam == skin::msg::kVkEscape;
    if (message.id == skin::msg::kClose || escape) {
        Finish(0);
        handled = true;
    }
    return 0;
}

void CCloseWnd::Finish(int result) {
    if (finished_) {
        return;
    }
    finished_ = true;
    if (SkinWindow* parent = GetParent()) {
        parent->Post(Message{msg::kClosePopupClosed, 0, 0, {}});
    }
    Close(result);
}

}  // namespace mousecfg::app
