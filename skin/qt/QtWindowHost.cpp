#include "skin/qt/QtWindowHost.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QIntValidator>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "skin/Combo.h"
#include "skin/Edit.h"
#include "skin/PaintManager.h"
#include "skin/SkinWindow.h"
#include "skin/WindowMessages.h"
#include "skin/WindowStyles.h"
#include "skin/qt/QtDropList.h"
#include "skin/qt/QtKeys.h"
#include "skin/qt/QtPainter.h"
#include "skin/qt/QtToolTip.h"
#include "skin/qt/WindowShape.h"
#include "skin/qt/X11Hints.h"
#include "skin/PopupPlacement.h"
#include "skin/ToolTipStyle.h"

namespace mousecfg::skin::qt {
namespace {

unsigned ModifiersOf(Qt::KeyboardModifiers modifiers) {
    unsigned result = 0;
    if (modifiers & Qt::ShiftModifier) {
        result |= kModShift;
    }
    if (modifiers & Qt::ControlModifier) {
        result |= kModControl;
    }
    if (modifiers & Qt::AltModifier) {
        result |= kModAlt;
    }
    return result;
}

}  // namespace

QtWindowHost::QtWindowHost(SkinWindow& window, const WindowCreateParams& params) : window_(window) {
    // A window with a parent is a dialog of the parent's window: it stays above it and the window manager keeps
    // it with it. A tool window without one is a utility window. Neither has a task bar entry of its own.
    owner_ = params.parent != nullptr ? dynamic_cast<QtWindowHost*>(params.parent->GetHost()) : nullptr;
    const bool toolWindow = (params.exStyle & style::kWsExToolWindow) != 0;
    keepOutOfTaskBar_ = owner_ != nullptr || toolWindow;
    Qt::WindowFlags flags = Qt::FramelessWindowHint;
    flags |= owner_ != nullptr ? Qt::Dialog : toolWindow ? Qt::Tool : Qt::Window;
    if ((params.exStyle & style::kWsExTopmost) != 0) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    setWindowFlags(flags);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setObjectName(QString::fromStdString(window.GetWindowClassName()));
    setWindowTitle(QString::fromStdString(params.title));
    const WindowSkinInfo& info = window.GetPaintManager().windowInfo();
    if (info.minSize.cx > 0 || info.minSize.cy > 0) {
        setMinimumSize(info.minSize.cx, info.minSize.cy);
    }
    SetWindowRect(params.rect);
    lineEdit_ = new QLineEdit(this);
    lineEdit_->hide();
    lineEdit_->setFrame(false);
    lineEdit_->installEventFilter(this);
    connect(lineEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (editing_ != nullptr) {
            editing_->ReplaceText(text.toStdString());
            FollowRewrittenText();
        }
    });
    connect(lineEdit_, &QLineEdit::returnPressed, this, [this] {
        if (editing_ != nullptr) {
            editing_->PressReturn();
        }
    });
    toolTipTimer_ = new QTimer(this);
    toolTipTimer_->setSingleShot(true);
    connect(toolTipTimer_, &QTimer::timeout, this, &QtWindowHost::ShowPendingToolTip);
}

QtWindowHost::~QtWindowHost() {
    destroyed_ = true;
    if (modalLoop_ != nullptr) {
        modalLoop_->exit(0);
    }
    delete dropList_.data();
}

void QtWindowHost::Invalidate(const Rect& rect) {
    update(QRect(rect.left, rect.top, rect.width(), rect.height()));
}

Size QtWindowHost::MeasureText(std::string_view text, const FontSpec& font) {
    const QFontMetrics metrics(QtPainter::ToQFont(font));
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return {metrics.horizontalAdvance(string), metrics.height()};
}

Size QtWindowHost::MeasureWrappedText(std::string_view text, const FontSpec& font, int width) {
    const QFontMetrics metrics(QtPainter::ToQFont(font));
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QRect bounds = metrics.boundingRect(QRect(0, 0, std::max(1, width), 100000), Qt::TextWordWrap, string);
    return {bounds.width(), bounds.height()};
}

void QtWindowHost::BeginTextEdit(Edit& edit) {
    if (editing_ == &edit && lineEdit_->isVisible()) {
        FollowRewrittenText();  // the window set the text of the edit being typed in
        return;
    }
    editing_ = &edit;
    const Rect pos = edit.GetPos().deflate(edit.GetTextPadding());
    lineEdit_->setGeometry(pos.left, pos.top, pos.width(), pos.height());
    lineEdit_->setFont(QtPainter::ToQFont(window_.GetPaintManager().GetFont(edit.GetFont())));
    lineEdit_->setEchoMode(edit.IsPassword() ? QLineEdit::Password : QLineEdit::Normal);
    lineEdit_->setReadOnly(edit.IsReadOnly());
    lineEdit_->setMaxLength(edit.GetMaxChar());
    QPalette palette = lineEdit_->palette();
    palette.setColor(QPalette::Base, QtPainter::ToQColor(edit.GetNativeBkColor()));
    palette.setColor(QPalette::Text, QtPainter::ToQColor(edit.GetTextColor() ? edit.GetTextColor() : 0xFF000000u));
    lineEdit_->setPalette(palette);
    SyncLineEdit();
    lineEdit_->show();
    lineEdit_->setFocus(Qt::MouseFocusReason);
}

void QtWindowHost::SyncLineEdit() {
    if (editing_ != nullptr && lineEdit_->text().toStdString() != editing_->GetText()) {
        const int cursor = lineEdit_->cursorPosition();
        lineEdit_->setText(QString::fromStdString(editing_->GetText()));
        lineEdit_->setCursorPosition(std::min(cursor, static_cast<int>(lineEdit_->text().size())));
    }
}

void QtWindowHost::FollowRewrittenText() {
    const QString text = QString::fromStdString(editing_->GetText());
    const QString typed = lineEdit_->text();
    if (typed == text) {
        return;
    }
    // The control filtered what was typed, or its window rewrote it (a number clamped, leading zeros dropped, an
    // emptied number field filled in). What stood after the cursor stays after it, so typing goes on where it
    // was; a text put into an emptied field is selected, so that the next key replaces it instead of landing in
    // front of it (clearing a field that then reads "0" and typing 100 must give 100, not 1000).
    const auto fromEnd = typed.size() - lineEdit_->cursorPosition();
    lineEdit_->setText(text);
    if (typed.isEmpty()) {
        lineEdit_->selectAll();
    } else {
        lineEdit_->setCursorPosition(static_cast<int>(std::max<qsizetype>(0, text.size() - fromEnd)));
    }
}

void QtWindowHost::EndTextEdit(Edit& edit) {
    if (editing_ == &edit) {
        editing_ = nullptr;
        lineEdit_->hide();
        setFocus();
    }
}

void QtWindowHost::OpenDropList(Combo& combo) {
    CloseDropList();
    HideToolTip();
    dropList_ = new QtDropList(combo, window_.GetPaintManager());
    const Rect pos = combo.GetPos();
    const QPoint topLeft = mapToGlobal(QPoint(pos.left, pos.top));
    const Rect onScreen{topLeft.x(), topLeft.y(), topLeft.x() + pos.width(), topLeft.y() + pos.height()};
    dropList_->Popup(onScreen, GetWorkArea());
}

void QtWindowHost::CloseDropList() {
    if (dropList_) {
        dropList_->close();
        dropList_->deleteLater();
    }
}

QWidget* QtWindowHost::dropList() const {
    return dropList_.data();
}

QWidget* QtWindowHost::toolTip() const {
    return toolTip_ != nullptr && toolTip_->isVisible() ? toolTip_ : nullptr;
}

void QtWindowHost::ShowToolTip(const std::string& text, const Rect& anchor) {
    HideToolTip();
    pendingTip_ = QString::fromStdString(text);
    tipAnchor_ = anchor;
    toolTipTimer_->start(kToolTipDelayMs);
}

void QtWindowHost::HideToolTip() {
    toolTipTimer_->stop();
    pendingTip_.clear();
    if (toolTip_ != nullptr) {
        toolTip_->hide();
    }
}

// The hover delay is over: the tip shows when the cursor is still on its control and the window is up.
void QtWindowHost::ShowPendingToolTip() {
    if (pendingTip_.isEmpty() || destroyed_ || !isVisible() || isMinimized() ||
        !tipAnchor_.contains({lastMouse_.x(), lastMouse_.y()})) {
        return;
    }
    if (toolTip_ == nullptr) {
        toolTip_ = new QtToolTip(this);
    }
    toolTip_->ShowAt(pendingTip_, ToolTipStyle::Of(window_.GetPaintManager()), mapToGlobal(lastMouse_));
}

void QtWindowHost::ForgetControl(const Control* subtreeRoot) {
    if (editing_ != nullptr && editing_->IsSelfOrDescendantOf(subtreeRoot)) {
        editing_ = nullptr;
        lineEdit_->hide();
    }
    if (dropList_ && dropList_->combo().IsSelfOrDescendantOf(subtreeRoot)) {
        dropList_->Abandon();
        CloseDropList();
    }
}

PixelBuffer QtWindowHost::RenderControl(Control& control) {
    const Rect pos = control.GetPos();
    PixelBuffer picture;
    if (pos.empty()) {
        return picture;
    }
    QImage image(pos.width(), pos.height(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.translate(-pos.left, -pos.top);
        QtPainter skinPainter(painter);
        control.Paint(skinPainter);
    }
    picture.width = image.width();
    picture.height = image.height();
    picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        std::copy(line, line + picture.width, picture.pixels.begin() + static_cast<ptrdiff_t>(y) * picture.width);
    }
    return picture;
}

Point QtWindowHost::ClientToScreen(Point point) {
    const QPoint global = mapToGlobal(QPoint(point.x, point.y));
    return {global.x(), global.y()};
}

// Creates the native window with what has to be set before it is first mapped: its owner and its task bar hint.
void QtWindowHost::PrepareNativeWindow() {
    if (nativePrepared_) {
        return;
    }
    nativePrepared_ = true;
    // A skin with transparent pixels (rounded corners) gets a window whose background is transparent as well;
    // it must be chosen before the native window exists.
    const QImage picture = shape::RenderWindow(window_.GetPaintManager(), size());
    translucent_ = shape::HasTransparentPixels(picture);
    setAttribute(Qt::WA_TranslucentBackground, translucent_);
    winId();
    if (owner_ != nullptr) {
        owner_->winId();
        windowHandle()->setTransientParent(owner_->windowHandle());
    }
    if (keepOutOfTaskBar_) {
        KeepOutOfTaskBar(*windowHandle());
    }
    UpdateShape(picture);
}

// Where nothing blends a window's transparent pixels with what lies behind, the window is cut to the shape of
// what its skin draws.
void QtWindowHost::UpdateShape(const QImage& picture) {
    if (!translucent_ || !NeedsShapeForTransparency()) {
        return;
    }
    const QRegion drawn = shape::DrawnRegion(picture);
    drawn.isEmpty() ? clearMask() : setMask(drawn);
}

void QtWindowHost::Show(bool activate) {
    setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    PrepareNativeWindow();
    show();
    if (activate) {
        raise();
        activateWindow();
    }
}

void QtWindowHost::Hide() {
    GrabKeyboard(false);
    HideToolTip();
    hide();
}

void QtWindowHost::GrabKeyboard(bool grab) {
    if (grab == keyboardGrabbed_ || (grab && (destroyed_ || !isVisible()))) {
        return;
    }
    keyboardGrabbed_ = grab;
    grab ? grabKeyboard() : releaseKeyboard();
}

Rect QtWindowHost::GetWindowRect() const {
    const QRect area = geometry();
    return {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

void QtWindowHost::SetWindowRect(const Rect& rect) {
    setGeometry(rect.left, rect.top, std::max(0, rect.width()), std::max(0, rect.height()));
}

Rect QtWindowHost::GetWorkArea() const {
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    return {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

void QtWindowHost::Restore() {
    showNormal();
}

void QtWindowHost::BringToFront() {
    raise();
    activateWindow();
}

void QtWindowHost::Flash() {
    if (windowHandle() == nullptr) {
        return;
    }
    // Window managers refuse attention to the window that has the focus, and a window being minimised still has
    // it until the window manager has moved the focus on: the request waits for that.
    flashing_ = true;
    attentionDue_ = isActiveWindow();
    if (!attentionDue_) {
        AskForAttention();
    }
}

void QtWindowHost::AskForAttention() {
    if (!SetDemandsAttention(*windowHandle(), true)) {
        windowHandle()->alert(0);
    }
}

void QtWindowHost::SetTitle(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

int QtWindowHost::RunModal() {
    QEventLoop loop;
    modalLoop_ = &loop;
    // Qt takes a new modality only while the window is hidden.
    if (windowModality() != Qt::ApplicationModal) {
        const bool shown = isVisible();
        if (shown) {
            hide();
        }
        setWindowModality(Qt::ApplicationModal);
        if (shown) {
            show();
        }
    }
    // A window that closes itself during InitWindow or "windowinit" ends the loop before it starts.
    std::weak_ptr<int> alive = alive_;
    const int result = loop.exec();
    if (!alive.expired()) {
        modalLoop_ = nullptr;
        setWindowModality(Qt::NonModal);
    }
    return result;
}

void QtWindowHost::EndModal(int result) {
    if (modalLoop_ != nullptr) {
        modalLoop_->exit(result);
    }
}

void QtWindowHost::Destroy() {
    if (destroyed_) {
        return;
    }
    GrabKeyboard(false);
    HideToolTip();
    destroyed_ = true;
    hide();
    for (auto& [id, timer] : timers_) {
        timer->stop();
    }
    CloseDropList();
    // Reported from the event loop, never from inside the handler that asked for it.
    std::weak_ptr<int> alive = alive_;
    SkinWindow* window = &window_;
    QMetaObject::invokeMethod(
        qApp,
        [alive, window] {
            if (!alive.expired()) {
                window->OnHostDestroyed();
            }
        },
        Qt::QueuedConnection);
}

void QtWindowHost::SetTimer(int id, std::chrono::milliseconds interval) {
    QTimer*& timer = timers_[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] {
            window_.Post(Message{kTimerMessage, static_cast<uintptr_t>(id), 0, {}});
        });
    }
    timer->start(static_cast<int>(interval.count()));
}

void QtWindowHost::KillTimer(int id) {
    const auto it = timers_.find(id);
    if (it != timers_.end()) {
        it->second->stop();
    }
}

bool QtWindowHost::IsTimerRunning(int id) const {
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

Point QtWindowHost::GetCursorPos() const {
    const QPoint cursor = QCursor::pos();
    return {cursor.x(), cursor.y()};
}

void QtWindowHost::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QtPainter skinPainter(painter);
    window_.GetPaintManager().Paint(skinPainter);
}

void QtWindowHost::resizeEvent(QResizeEvent* event) {
    window_.GetPaintManager().SetClientSize({width(), height()});
    if (translucent_ && nativePrepared_) {
        UpdateShape(shape::RenderWindow(window_.GetPaintManager(), size()));
    }
    QWidget::resizeEvent(event);
}

void QtWindowHost::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    window_.Post(Message{msg::kMove, 0, msg::MakePointParam(x(), y()), {}});
}

intptr_t QtWindowHost::Deliver(uint32_t id, uintptr_t wParam, intptr_t lParam) {
    return window_.HandleMessage(Message{id, wParam, lParam, {}});
}

intptr_t QtWindowHost::DeliverMouse(uint32_t id, const QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    uintptr_t keys = 0;
    keys |= (event->modifiers() & Qt::ShiftModifier) ? 0x4 : 0;
    keys |= (event->modifiers() & Qt::ControlModifier) ? 0x8 : 0;
    return Deliver(id, keys, msg::MakePointParam(point.x(), point.y()));
}

bool QtWindowHost::InCaption(QPoint point) const {
    const Rect caption = window_.GetPaintManager().windowInfo().caption;
    const int bottom = caption.bottom == -1 ? height() : caption.bottom;
    if (point.y() < caption.top || point.y() >= bottom || caption.bottom == 0) {
        return false;
    }
    Control* hit = window_.GetPaintManager().FindControl(Point{point.x(), point.y()});
    return hit == nullptr || !hit->IsInteractive();
}

void QtWindowHost::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (InCaption(point)) {
            dragging_ = true;
            systemMoveTried_ = false;
            dragFrom_ = event->globalPosition().toPoint() - pos();
        }
        DeliverMouse(msg::kLButtonDown, event);
    } else if (event->button() == Qt::RightButton) {
        DeliverMouse(msg::kRButtonDown, event);
    }
}

void QtWindowHost::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        DeliverMouse(msg::kLButtonUp, event);
    } else if (event->button() == Qt::RightButton) {
        DeliverMouse(msg::kRButtonUp, event);
    }
}

void QtWindowHost::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        DeliverMouse(msg::kLButtonDblClk, event);
    }
}

void QtWindowHost::mouseMoveEvent(QMouseEvent* event) {
    lastMouse_ = event->position().toPoint();
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        // The window catches up with the pointer first: the window system moves it on from where the pointer is.
        move(event->globalPosition().toPoint() - dragFrom_);
        if (!systemMoveTried_) {
            StartSystemMove();
        }
        return;
    }
    DeliverMouse(msg::kMouseMove, event);
}

// Hands a caption drag to the window system, once per press: Wayland clients cannot place their windows, and
// window managers snap and constrain the moves they make. The window system keeps the pointer until the move
// ends, so the skin gets its button release now. False where the window system cannot do it (no window manager):
// the window then follows the pointer itself.
bool QtWindowHost::StartSystemMove() {
    systemMoveTried_ = true;
    if (windowHandle() == nullptr || !windowHandle()->startSystemMove()) {
        return false;
    }
    dragging_ = false;
    const QPoint point = mapFromGlobal(QCursor::pos());
    Deliver(msg::kLButtonUp, 0, msg::MakePointParam(point.x(), point.y()));
    return true;
}

void QtWindowHost::wheelEvent(QWheelEvent* event) {
    const QPoint point = event->position().toPoint();
    const int delta = event->angleDelta().y();
    Deliver(msg::kMouseWheel, static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16,
            msg::MakePointParam(point.x(), point.y()));
}

void QtWindowHost::keyPressEvent(QKeyEvent* event) {
    const unsigned key = VirtualKeyOf(event->key());
    const int scanCode = ScanCodeOf(*event);
    const intptr_t extra = msg::MakeKeyParam(ModifiersOf(event->modifiers()), scanCode, event->isAutoRepeat());
    const uint32_t id = (event->modifiers() & Qt::AltModifier) ? msg::kSysKeyDown : msg::kKeyDown;
    if (key != 0 || scanCode != 0) {
        Deliver(id, key, extra);
    }
    for (const QChar c : event->text()) {
        if (c.isPrint()) {
            Deliver(msg::kChar, c.unicode(), 0);
        }
    }
}

void QtWindowHost::keyReleaseEvent(QKeyEvent* event) {
    const unsigned key = VirtualKeyOf(event->key());
    const int scanCode = ScanCodeOf(*event);
    if (key != 0 || scanCode != 0) {
        Deliver((event->modifiers() & Qt::AltModifier) ? msg::kSysKeyUp : msg::kKeyUp, key,
                msg::MakeKeyParam(ModifiersOf(event->modifiers()), scanCode, event->isAutoRepeat()));
    }
}

void QtWindowHost::leaveEvent(QEvent* event) {
    Deliver(msg::kMouseLeave, 0, 0);
    QWidget::leaveEvent(event);
}

void QtWindowHost::enterEvent(QEnterEvent* event) {
    Deliver(msg::kMouseHover, 0, 0);
    QWidget::enterEvent(event);
}

void QtWindowHost::closeEvent(QCloseEvent* event) {
    // The window decides: the default handling of the close message destroys it.
    event->ignore();
    if (!destroyed_) {
        Deliver(msg::kClose, 0, 0);
    }
}

void QtWindowHost::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        const uintptr_t active = isActiveWindow() ? 1 : 0;
        // An activation still on its way from before the minimise (the click on the minimise button activates the
        // window) must not end the flash: only a window the user brought back ends it.
        if (active == 0 && attentionDue_ && windowHandle() != nullptr) {
            attentionDue_ = false;
            AskForAttention();
        }
        if (active != 0 && flashing_ && !isMinimized() && windowHandle() != nullptr) {
            flashing_ = false;
            attentionDue_ = false;
            SetDemandsAttention(*windowHandle(), false);
        }
        window_.Post(Message{msg::kActivate, active | (isMinimized() ? 0x10000u : 0u), 0, {}});
    }
    QWidget::changeEvent(event);
}

bool QtWindowHost::eventFilter(QObject* watched, QEvent* event) {
    // Tab in the native editor moves the focus among the skin's controls.
    if (watched == lineEdit_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            Deliver(msg::kKeyDown, msg::kVkTab, key->key() == Qt::Key_Backtab ? kModShift : 0);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace mousecfg::skin::qt
