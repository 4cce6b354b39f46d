#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/MessageSink.h"
#include "platform/WindowTimers.h"
#include "skin/Control.h"
#include "skin/ControlFactory.h"
#include "skin/Notification.h"
#include "skin/PaintManager.h"
#include "skin/WindowStyles.h"

namespace mousecfg::skin {

class Mailbox;
class WindowHost;

// Message number of the internal "windowinit" step, posted at creation.
inline constexpr uint32_t kWindowInitMessage = 0x7FFF0001u;

// The base of every window: a class names its skin file and window class, builds on InitWindow, reacts to
// notifications in Notify and to numbered messages in HandleCustomMessage. All methods run on the window's
// (user-interface) thread except Post, Send and GetMessageTarget, which any thread may call.
//
//   class CCloseWnd : public SkinWindow {
//       std::string GetSkinFile() override { return "ClosePop.xml"; }
//       std::string GetWindowClassName() const override { return "CloseWnd"; }
//       void Notify(Notification& n) override {
//           if (n.type == notify::kClick && n.senderName == "OkButton") Close(1);
//       }
//   };
//   CCloseWnd popup;
//   popup.Create(&mainWindow, "", style::kWsPopup, style::kWsExToolWindow);
//   popup.CenterWindow();
//   int result = popup.ShowModal();
//
// Lifetime: Close() ends a modal run with its result and destroys the native window; OnFinalMessage runs
// afterwards from the event loop, where a window created with `new` may `delete this`. Destroying the object
// while its native window exists closes the window without OnFinalMessage.
class SkinWindow : public MessageSink, public WindowTimers, public NotifyListener, public ControlCallback {
public:
    SkinWindow();
    ~SkinWindow() override;
    SkinWindow(const SkinWindow&) = delete;
    SkinWindow& operator=(const SkinWindow&) = delete;

    // The skin file, relative to the resource path (or absolute).
    virtual std::string GetSkinFile() = 0;
    virtual std::string GetWindowClassName() const = 0;
    // After the skin is loaded, before the window is shown. "windowinit" follows as a notification.
    virtual void InitWindow() {}
    void Notify(Notification& /*notification*/) override {}
    // Every message first; set `handled` to skip the default handling (input to controls, timers, close).
    virtual intptr_t HandleCustomMessage(const Message& /*message*/, bool& handled) {
        handled = false;
        return 0;
    }
    // After the native window is gone.
    virtual void OnFinalMessage() {}
    // Controls of custom classes named in the skin files; none for unknown classes.
    std::unique_ptr<Control> CreateControl(std::string_view /*className*/) override { return nullptr; }

    // Creates the native window and loads the skin. An empty size in `rect` takes the skin's size. A skin that
    // cannot be loaded is traced and leaves an empty window. False when already created.
    bool Create(SkinWindow* parent, std::string title, uint32_t style = style::kWsPopup, uint32_t exStyle = 0,
                Rect rect = {});
    bool IsCreated() const { return host_ != nullptr; }
    void ShowWindow(bool show = true, bool activate = true);
    bool IsVisible() const;
    // Centres the window over its parent, or on the work area when it has none.
    void CenterWindow();
    // Screen coordinates of the client area.
    Rect GetWindowRect() const;
    void MoveWindow(const Rect& rect);
    void ResizeClient(int cx, int cy);
    void Minimize();
    void Restore();
    bool IsMinimized() const;
    void BringToTop();
    // Flashes the window's task bar entry until the window is next activated.
    void Flash();
    void SetWindowText(const std::string& title);
    // While grabbed, every key event comes to this window as key messages (WindowMessages.h) and, where the window
    // system allows it (X11), reaches no other program. Hiding or closing the window ends the grab. A window that
    // is not shown cannot grab.
    void GrabKeyboard(bool grab);
    bool KeyboardGrabbed() const;
    // Shows the window and blocks until Close; returns Close's result (-1 when the window is not created).
    int ShowModal();
    bool IsModal() const { return modal_; }
    // Ends a modal run with `result` and destroys the native window.
    void Close(int result = 0);

    PaintManager& GetPaintManager() { return manager_; }
    Control* FindControl(std::string_view name) const { return manager_.FindControl(name); }
    template <class T>
    T* Find(std::string_view name) const {
        return manager_.Find<T>(name);
    }
    SkinWindow* GetParent() const { return parent_; }
    WindowHost* GetHost() const { return host_.get(); }

    void Post(Message message) override;
    intptr_t Send(Message message) override;
    // The window's message queue for workers to keep: posts to it after the window is gone are dropped and
    // sends return 0.
    std::shared_ptr<MessageSink> GetMessageTarget() const;
    // Closes the window's message queue for good: queued and later posts are dropped and sends return 0, so
    // that workers waiting in a send to this window can be joined while it shuts down. Window's thread.
    void DetachMessages();

    void SetTimer(int id, std::chrono::milliseconds interval) override;
    void KillTimer(int id) override;
    bool IsTimerRunning(int id) const override;

    // Handles one message on the window's thread: HandleCustomMessage, then the default handling.
    intptr_t HandleMessage(const Message& message);
    // Called by the host when the native window is gone.
    void OnHostDestroyed();

private:
    intptr_t DefaultHandling(const Message& message);
    bool HandleInput(const Message& message);

    SkinWindow* parent_ = nullptr;
    PaintManager manager_;
    std::unique_ptr<WindowHost> host_;
    std::shared_ptr<Mailbox> mailbox_;
    bool modal_ = false;
    int modalResult_ = 0;
};

}  // namespace mousecfg::skin
