#pragma once

#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "skin/SkinPlatform.h"
#include "skin/WindowHost.h"

class QTimer;

namespace mousecfg::skin::qt {

class QtDropList;
class QtToolTip;

// The Qt widget of one skin window: paints the window's control tree, turns Qt input into the window's messages,
// runs its timers and modal loops, and shows the native line edit and combo drop lists. A frameless top-level
// widget; dragging a part of the skin's caption area that is not a control moves the window.
class QtWindowHost final : public QWidget, public WindowHost {
    Q_OBJECT

public:
    QtWindowHost(SkinWindow& window, const WindowCreateParams& params);
    ~QtWindowHost() override;

    void Invalidate(const Rect& rect) override;
    Size MeasureText(std::string_view text, const FontSpec& font) override;
    Size MeasureWrappedText(std::string_view text, const FontSpec& font, int width) override;
    void BeginTextEdit(Edit& edit) override;
    void EndTextEdit(Edit& edit) override;
    void OpenDropList(Combo& combo) override;
    void CloseDropList() override;
    void ForgetControl(const Control* subtreeRoot) override;
    void ShowToolTip(const std::string& text, const Rect& anchor) override;
    void HideToolTip() override;
    PixelBuffer RenderControl(Control& control) override;
    Point ClientToScreen(Point point) override;

    void Show(bool activate) override;
    void Hide() override;
    bool IsVisible() const override { return isVisible(); }
    Rect GetWindowRect() const override;
    void SetWindowRect(const Rect& rect) override;
    Rect GetWorkArea() const override;
    void Minimize() override { showMinimized(); }
    void Restore() override;
    bool IsMinimized() const override { return isMinimized(); }
    void BringToFront() override;
    void Flash() override;
    void SetTitle(const std::string& title) override;
    int RunModal() override;
    void EndModal(int result) override;
    void Destroy() override;
    void SetTimer(int id, std::chrono::milliseconds interval) override;
    void KillTimer(int id) override;
    bool IsTimerRunning(int id) const override;
    Point GetCursorPos() const override;
    void GrabKeyboard(bool grab) override;
    bool KeyboardGrabbed() const override { return keyboardGrabbed_; }

    // The native editor while an edit has the focus (tests type into it).
    QLineEdit* lineEdit() const { return lineEdit_; }
    QWidget* dropList() const;
    // The tip while it is shown, else none.
    QWidget* toolTip() const;
    // Whether the window's background is transparent where its skin draws nothing (decided when first shown).
    bool IsTranslucent() const { return translucent_; }
    // How long the cursor rests on a control before its tip shows.
    static constexpr int kToolTipDelayMs = 600;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Asks the window manager to mark the task bar entry (Qt's alert where that is not X11).
    void AskForAttention();
    intptr_t Deliver(uint32_t id, uintptr_t wParam, intptr_t lParam);
    intptr_t DeliverMouse(uint32_t id, const QMouseEvent* event);
    bool InCaption(QPoint point) const;
    bool StartSystemMove();
    void SyncLineEdit();
    void FollowRewrittenText();  // after the user's edit: the control's text, the cursor kept from the end
    void ShowPendingToolTip();
    void PrepareNativeWindow();
    void UpdateShape(const QImage& picture);

    SkinWindow& window_;
    QPointer<QtWindowHost> owner_;  // the parent's widget, for windows created with a parent
    bool keepOutOfTaskBar_ = false;
    bool nativePrepared_ = false;
    bool translucent_ = false;  // the skin leaves pixels transparent
    bool flashing_ = false;     // asked for attention and not activated since
    bool attentionDue_ = false;  // the request waits until the window has lost the focus
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::map<int, QTimer*> timers_;
    QEventLoop* modalLoop_ = nullptr;
    QLineEdit* lineEdit_ = nullptr;
    Edit* editing_ = nullptr;
    QPointer<QtDropList> dropList_;
    QtToolTip* toolTip_ = nullptr;
    QTimer* toolTipTimer_ = nullptr;
    QString pendingTip_;
    Rect tipAnchor_;
    QPoint lastMouse_{-1, -1};  // client coordinates of the last mouse move
    QPoint dragFrom_;
    bool dragging_ = false;
    bool systemMoveTried_ = false;  // this press has asked the window system to move the window
    bool destroyed_ = false;
    bool keyboardGrabbed_ = false;
};

}  // namespace mousecfg::skin::qt
