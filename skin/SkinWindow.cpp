#include "skin/SkinWindow.h"

#include <thread>

#include "platform/Trace.h"
#include "skin/ControlEvent.h"
#include "skin/Mailbox.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinPlatform.h"
#include "skin/WindowHost.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin {
SkinWindow::SkinWindow() {
    // The wake function schedules Process() of this very mailbox without keeping it alive.
    auto self = std::make_shared<std::weak_ptr<Mailbox>>();
    mailbox_ = std::make_shared<Mailbox>(
        [self]() {
            std::weak_ptr<Mailbox> weak = *self;
            SkinPlatform::Get().RunOnUiThread([weak]() {
                if (auto mailbox = weak.lock()) {
                    mailbox->Process();
                }
            });
        },
        std::this_thread::get_id());
    *self = mailbox_;
    mailbox_->SetHandler([this](const Message& message) { return HandleMessage(message); });
}

SkinWindow::~SkinWindow() {
    mailbox_->Close();
    manager_.RemoveNotifier(this);
    manager_.SetHost(nullptr);
    host_.reset();
}

bool SkinWindow::Create(SkinWindow* parent, std::string title, uint32_t style, uint32_t exStyle, Rect rect) {
    if (host_) {
        return false;
    }
    parent_ = parent;
    SkinBuilder builder(manager_, this);
    if (!builder.LoadWindow(GetSkinFile())) {
        trace::Printf("skin: window '%s' starts without its skin\n", GetWindowClassName().c_str());
    }
    const Size size = manager_.windowInfo().size;
    if (rect.width() <= 0 || rect.height() <= 0) {
        rect.right = rect.left + size.cx;
        rect.bottom = rect.top + size.cy;
    }
    WindowCreateParams params{parent, title.empty() ? manager_.windowInfo().title : title, style, exStyle, rect};
    host_ = SkinPlatform::Get().CreateWindowHost(*this, params);
    manager_.SetHost(host_.get());
    manager_.AddNotifier(this);
    manager_.SetClientSize({rect.width(), rect.height()});
    manager_.ReloadText();
    InitWindow();
    Post(Message{kWindowInitMessage, 0, 0, {}});
    if ((style & style::kWsVisible) != 0) {
        ShowWindow(true, true);
    }
    return true;
}

void SkinWindow::ShowWindow(bool show, bool activate) {
    if (!host_) {
        return;
    }
    show ? host_->Show(activate) : host_->Hide();
}

void SkinWindow::GrabKeyboard(bool grab) {
    if (host_) {
        host_->GrabKeyboard(grab);
    }
}

bool SkinWindow::KeyboardGrabbed() const {
    return host_ && host_->KeyboardGrabbed();
}

bool SkinWindow::IsVisible() const {
    return host_ && host_->IsVisible();
}

void SkinWindow::CenterWindow() {
    if (!host_) {
        return;
    }
    const Rect area = parent_ != nullptr && parent_->IsCreated() ? parent_->GetWindowRect() : host_->GetWorkArea();
    const Rect own = host_->GetWindowRect();
    const int left = area.left + (area.width() - own.width()) / 2;
    const int top = area.top + (area.height() - own.height()) / 2;
    host_->SetWindowRect({left, top, left + own.width(), top + own.height()});
}

Rect SkinWindow::GetWindowRect() const {
    return host_ ? host_->GetWindowRect() : Rect{};
}

void SkinWindow::MoveWindow(const Rect& rect) {
    if (host_) {
        host_->SetWindowRect(rect);
        manager_.SetClientSize({rect.width(), rect.height()});
    }
}

void SkinWindow::ResizeClient(int cx, int cy) {
    const Rect rect = GetWindowRect();
    MoveWindow({rect.left, rect.top, rect.left + cx, rect.top + cy});
}

void SkinWindow::Minimize() {
    if (host_) {
        host_->Minimize();
    }
}

void SkinWindow::Restore() {
    if (host_) {
        host_->Restore();
    }
}

bool SkinWindow::IsMinimized() const {
    return host_ && host_->IsMinimized();
}

void SkinWindow::BringToTop() {
    if (host_) {
        host_->BringToFront();
    }
}

void SkinWindow::Flash() {
    if (host_) {
        host_->Flash();
    }
}

void SkinWindow::SetWindowText(const std::string& title) {
    if (host_) {
        host_->SetTitle(title);
    }
}

int SkinWindow::ShowModal() {
    if (!host_ || modal_) {
        return -1;
    }
    modal_ = true;
    modalResult_ = 0;
    host_->Show(true);
    const int result = host_->RunModal();
    modal_ = false;
    return result;
}

void SkinWindow::Close(int result) {
    if (!host_) {
        return;
    }
    modalResult_ = result;
    if (modal_) {
        host_->EndModal(result);
    }
    host_->Destroy();
}

void SkinWindow::OnHostDestroyed() {
    mailbox_->Close();
    manager_.RemoveNotifier(this);
    // The tree stays until the object goes: a handler further up the stack may still look at its controls.
    OnFinalMessage();
}

void SkinWindow::Post(Message message) {
    mailbox_->Post(std::move(message));
}

intptr_t SkinWindow::Send(Message message) {
    return mailbox_->Send(std::move(message));
}

std::shared_ptr<MessageSink> SkinWindow::GetMessageTarget() const {
    return mailbox_;
}

void SkinWindow::DetachMessages() {
    mailbox_->Close();
}

void SkinWindow::SetTimer(int id, std::chrono::milliseconds interval) {
    if (host_) {
        host_->SetTimer(id, interval);
    }
}

void SkinWindow::KillTimer(int id) {
    if (host_) {
        host_->KillTimer(id);
    }
}

bool SkinWindow::IsTimerRunning(int id) const {
    return host_ && host_->IsTimerRunning(id);
}

intptr_t SkinWindow::HandleMessage(const Message& message) {
    bool handled = false;
    const intptr_t result = HandleCustomMessage(message, handled);
    if (handled) {
        return result;
    }
    return DefaultHandling(message);
}

intptr_t SkinWindow::DefaultHandling(const Message& message) {
    switch (message.id) {
        case kWindowInitMessage:
            manager_.UpdateLayout();
            manager_.SendNotify(manager_.GetRoot(), notify::kWindowInit);
            return 0;
        case msg::kClose:
            Close(0);
            return 0;
        case msg::kSysCommand:
            if (message.wParam == msg::kScMinimize) {
                Minimize();
            } else if (message.wParam == msg::kScRestore) {
                Restore();
            } else if (message.wParam == msg::kScClose) {
                Close(0);
            }
            return 0;
        default:
            return HandleInput(message) ? 1 : 0;
    }
}

bool SkinWindow::HandleInput(const Message& message) {
    const Point point{msg::PointParamX(message.lParam), msg::PointParamY(message.lParam)};
    switch (message.id) {
        case msg::kMouseMove:
            manager_.HandleMouseMove(point);
            return true;
        case msg::kLButtonDown:
            return manager_.HandleButtonDown(point, false);
        case msg::kLButtonDblClk:
            return manager_.HandleButtonDown(point, true);
        case msg::kLButtonUp:
            return manager_.HandleButtonUp(point);
        case msg::kRButtonDown:
        case msg::kRButtonUp:
            return manager_.HandleRightButton(point, message.id == msg::kRButtonDown);
        case msg::kMouseWheel:
            return manager_.HandleWheel(point, static_cast<int16_t>((message.wParam >> 16) & 0xFFFF));
        case msg::kMouseLeave:
            manager_.HandleMouseLeaveWindow();
            return true;
        case msg::kKeyDown:
            return manager_.HandleKeyDown(static_cast<unsigned>(message.wParam), msg::KeyModifiersOf(message.lParam));
        case msg::kKeyUp:
            // An auto-repeating key reports releases between its repeats; only the real release counts.
            return !msg::IsAutoRepeat(message.lParam) &&
                   manager_.HandleKeyUp(static_cast<unsigned>(message.wParam), msg::KeyModifiersOf(message.lParam));
        case msg::kChar:
            return manager_.HandleChar(static_cast<char32_t>(message.wParam));
        default:
            return false;
    }
}

}  // namespace mousecfg::skin
