#include "skin/PaintManager.h"

#include <algorithm>
#include <system_error>

#include "platform/TextEncoding.h"
#include "skin/ChildList.h"
#include "skin/Control.h"
#include "skin/ControlEvent.h"
#include "skin/Option.h"
#include "skin/PaintHost.h"
#include "skin/Painter.h"
#include "skin/SkinResources.h"
#include "skin/TextQuery.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin {
namespace {

bool IsInSubtree(const Control* control, const Control* subtreeRoot) {
    return control != nullptr && control->IsSelfOrDescendantOf(subtreeRoot);
}

// Calls `visit` for `control` and every descendant, parents first.
template <class Visit>
void Walk(Control* control, const Visit& visit) {
    if (control == nullptr) {
        return;
    }
    visit(control);
    if (ChildList* children = control->Children()) {
        for (const auto& child : children->items()) {
            Walk(child.get(), visit);
        }
    }
}

}  // namespace

// Counts nested input and notification handling; controls removed meanwhile are destroyed at the end.
class PaintManager::DispatchScope {
public:
    explicit DispatchScope(PaintManager& manager) : manager_(manager) { ++manager_.dispatchDepth_; }
    ~DispatchScope() {
        if (--manager_.dispatchDepth_ == 0) {
            auto dead = std::move(manager_.graveyard_);
            dead.clear();
        }
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

private:
    PaintManager& manager_;
};

PaintManager::PaintManager() {
    SkinResources::Register(this);
}

PaintManager::~PaintManager() {
    SkinResources::Unregister(this);
    if (root_) {
        root_->Attach(nullptr, nullptr);
    }
    root_.reset();
    graveyard_.clear();
}

void PaintManager::SetRoot(std::unique_ptr<Control> root) {
    if (root_) {
        ControlRemoved(root_.get());
        root_->Attach(nullptr, nullptr);
        DestroyLater(std::move(root_));
    }
    root_ = std::move(root);
    if (root_) {
        root_->Attach(this, nullptr);
    }
    NeedUpdate();
}

Control* PaintManager::FindControl(std::string_view name) const {
    const auto it = names_.find(std::string(name));
    if (it == names_.end() || it->second.empty()) {
        return nullptr;
    }
    return it->second.front();
}

Control* PaintManager::FindControl(Point point) {
    UpdateLayout();
    return root_ ? root_->FindAt(point) : nullptr;
}

const std::vector<Option*>& PaintManager::GetOptionGroup(std::string_view group) const {
    static const std::vector<Option*> kNone;
    const auto it = groups_.find(group);
    return it == groups_.end() ? kNone : it->second;
}

void PaintManager::AddFont(int id, FontSpec font) {
    fonts_[id] = std::move(font);
}

FontSpec PaintManager::GetFont(int id) const {
    const auto it = fonts_.find(id);
    return it == fonts_.end() ? defaultFont_ : it->second;
}

void PaintManager::SetFontFamilyForAll(const std::string& family) {
    defaultFont_.family = family;
    for (auto& [id, font] : fonts_) {
        font.family = family;
    }
    NeedUpdate();
}

void PaintManager::SetDefaultAttributes(std::string className, AttributeList attributes) {
    defaults_[ToAsciiLower(className)] = std::move(attributes);
}

const AttributeList* PaintManager::GetDefaultAttributes(std::string_view className) const {
    const auto it = defaults_.find(ToAsciiLower(className));
    return it == defaults_.end() ? nullptr : &it->second;
}

std::string PaintManager::ResolveImagePath(std::string_view file) const {
    const std::filesystem::path path{std::string(file)};
    if (path.is_absolute()) {
        return path.string();
    }
    std::error_code error;
    for (const auto& base : {skinFolder_, SkinResources::GetResourcePath(), std::filesystem::path()}) {
        const auto candidate = base / path;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate.string();
        }
    }
    return (skinFolder_ / path).string();
}

Size PaintManager::MeasureText(std::string_view text, const FontSpec& font) const {
    if (host_ != nullptr) {
        return host_->MeasureText(text, font);
    }
    // Without a window: an estimate of an average Latin text, good enough for layout arithmetic.
    return {static_cast<int>(CountUtf16Units(text)) * font.size * 6 / 10, font.size * 4 / 3};
}

Size PaintManager::MeasureWrappedText(std::string_view text, const FontSpec& font, int width) const {
    if (host_ != nullptr) {
        return host_->MeasureWrappedText(text, font, width);
    }
    const Size line = MeasureText(text, font);
    const int rows = std::max(1, (line.cx + std::max(1, width) - 1) / std::max(1, width)) +
                     static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return {std::min(line.cx, width), rows * line.cy};
}

void PaintManager::SetClientSize(Size size) {
    if (size != clientSize_) {
        clientSize_ = size;
        NeedUpdate();
    }
}

void PaintManager::NeedUpdate() {
    needUpdate_ = true;
    Invalidate({0, 0, clientSize_.cx, clientSize_.cy});
}

void PaintManager::UpdateLayout() {
    if (!needUpdate_ || !root_) {
        return;
    }
    needUpdate_ = false;
    root_->SetPos({0, 0, clientSize_.cx, clientSize_.cy});
}

void PaintManager::Invalidate(const Rect& rect) {
    if (host_ != nullptr && !rect.empty()) {
        host_->Invalidate(rect);
    }
}

void PaintManager::Paint(Painter& painter) {
    UpdateLayout();
    if (root_) {
        root_->Paint(painter);
    }
}

void PaintManager::SetFocus(Control* control) {
    if (control == focus_) {
        return;
    }
    DispatchScope scope(*this);
    Control* old = focus_;
    focus_ = control;
    if (old != nullptr) {
        old->focused_ = false;
        ControlEvent event{EventType::KillFocus};
        old->DoEvent(event);
        old->Invalidate();
    }
    // A handler of "killfocus" may have moved the focus elsewhere already.
    if (control != nullptr && focus_ == control) {
        control->focused_ = true;
        ControlEvent event{EventType::SetFocus};
        control->DoEvent(event);
        control->Invalidate();
    }
}

void PaintManager::Send(Control* control, ControlEvent& event) {
    if (control != nullptr) {
        control->DoEvent(event);
    }
}

void PaintManager::SetHotControl(Control* control, Point point) {
    if (control == hot_) {
        return;
    }
    Control* old = hot_;
    hot_ = control;
    if (old != nullptr) {
        ControlEvent leave{EventType::MouseLeave, point};
        Send(old, leave);
    }
    if (control != nullptr && hot_ == control) {
        ControlEvent enter{EventType::MouseEnter, point};
        Send(control, enter);
    }
    UpdateToolTip();
}

// A tip belongs to the control the cursor rests on while no button is held; pressing, scrolling, typing or
// leaving ends it until the cursor comes to another control.
void PaintManager::UpdateToolTip() {
    Control* wanted = hot_ != nullptr && capture_ == nullptr && !hot_->GetToolTip().empty() ? hot_ : nullptr;
    if (wanted == toolTip_) {
        return;
    }
    HideToolTip();
    if (wanted != nullptr && host_ != nullptr) {
        toolTip_ = wanted;
        host_->ShowToolTip(wanted->GetToolTip(), wanted->GetPos());
    }
}

void PaintManager::HideToolTip() {
    if (toolTip_ != nullptr) {
        toolTip_ = nullptr;
        if (host_ != nullptr) {
            host_->HideToolTip();
        }
    }
}

void PaintManager::HandleMouseMove(Point point) {
    DispatchScope scope(*this);
    ControlEvent event{EventType::MouseMove, point};
    if (capture_ != nullptr) {
        Send(capture_, event);
        return;
    }
    Control* target = FindControl(point);
    if (target != nullptr && !target->IsEnabledInTree()) {
        target = nullptr;
    }
    SetHotControl(target, point);
    Send(hot_, event);
}

bool PaintManager::HandleButtonDown(Point point, bool doubleClick) {
    DispatchScope scope(*this);
    HideToolTip();
    Control* target = FindControl(point);
    if (target == nullptr || !target->IsEnabledInTree()) {
        SetFocus(nullptr);
        return false;
    }
    SetHotControl(target, point);
    HideToolTip();
    SetFocus(target->IsFocusable() ? target : nullptr);
    capture_ = target;
    ControlEvent event{doubleClick ? EventType::DoubleClick : EventType::ButtonDown, point};
    Send(capture_, event);
    return true;
}

bool PaintManager::HandleButtonUp(Point point) {
    DispatchScope scope(*this);
    Control* target = capture_;
    capture_ = nullptr;
    if (target == nullptr) {
        return false;
    }
    ControlEvent event{EventType::ButtonUp, point};
    Send(target, event);
    HandleMouseMove(point);
    return true;
}

bool PaintManager::HandleRightButton(Point point, bool down) {
    DispatchScope scope(*this);
    HideToolTip();
    Control* target = FindControl(point);
    if (target == nullptr || !target->IsEnabledInTree()) {
        return false;
    }
    ControlEvent event{down ? EventType::RightButtonDown : EventType::RightButtonUp, point};
    Send(target, event);
    return true;
}

bool PaintManager::HandleWheel(Point point, int delta) {
    DispatchScope scope(*this);
    HideToolTip();
    Control* target = FindControl(point);
    if (target == nullptr) {
        return false;
    }
    ControlEvent event{EventType::Wheel, point, delta};
    Send(target, event);
    return true;
}

void PaintManager::HandleMouseLeaveWindow() {
    DispatchScope scope(*this);
    HideToolTip();
    if (capture_ == nullptr) {
        SetHotControl(nullptr, {-1, -1});
    }
}

bool PaintManager::HandleKeyDown(unsigned key, unsigned modifiers) {
    DispatchScope scope(*this);
    HideToolTip();
    if (key == msg::kVkTab) {
        Control* next = NextFocusable(focus_, (modifiers & kModShift) != 0);
        if (next != nullptr) {
            SetFocus(next);
        }
        return next != nullptr;
    }
    if (focus_ == nullptr) {
        return false;
    }
    ControlEvent event{EventType::KeyDown};
    event.key = key;
    event.modifiers = modifiers;
    Send(focus_, event);
    return true;
}

bool PaintManager::HandleKeyUp(unsigned key, unsigned modifiers) {
    DispatchScope scope(*this);
    if (focus_ == nullptr) {
        return false;
    }
    ControlEvent event{EventType::KeyUp};
    event.key = key;
    event.modifiers = modifiers;
    Send(focus_, event);
    return true;
}

bool PaintManager::HandleChar(char32_t character) {
    DispatchScope scope(*this);
    if (focus_ == nullptr) {
        return false;
    }
    ControlEvent event{EventType::Char};
    event.character = character;
    Send(focus_, event);
    return true;
}

Control* PaintManager::NextFocusable(Control* from, bool backwards) const {
    std::vector<Control*> order;
    Walk(root_.get(), [&order](Control* c) {
        if (c->IsFocusable() && c->IsVisibleInTree() && c->IsEnabledInTree()) {
            order.push_back(c);
        }
    });
    if (order.empty()) {
        return nullptr;
    }
    auto it = std::find(order.begin(), order.end(), from);
    if (it == order.end()) {
        return backwards ? order.back() : order.front();
    }
    const auto index = static_cast<size_t>(it - order.begin());
    return order[backwards ? (index + order.size() - 1) % order.size() : (index + 1) % order.size()];
}

void PaintManager::AddNotifier(NotifyListener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
        listeners_.push_back(listener);
    }
}

void PaintManager::RemoveNotifier(NotifyListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void PaintManager::SendNotify(Control* sender, std::string_view type, uintptr_t wParam, intptr_t lParam,
                              std::string text) {
    Notification notification;
    notification.type = std::string(type);
    notification.sender = sender;
    notification.senderName = sender != nullptr ? sender->GetName() : std::string();
    notification.wParam = wParam;
    notification.lParam = lParam;
    notification.text = std::move(text);
    SendNotify(notification);
}

void PaintManager::SendNotify(Notification& notification) {
    DispatchScope scope(*this);
    // Copy: a listener may remove itself or another while handling.
    const std::vector<NotifyListener*> listeners = listeners_;
    for (NotifyListener* listener : listeners) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) {
            listener->Notify(notification);
        }
    }
}

void PaintManager::ApplyTextQuery(Control& control) {
    TextQuery* query = SkinResources::GetTextQueryInterface();
    if (query == nullptr) {
        return;
    }
    if (!control.GetTextId().empty()) {
        if (auto text = query->QueryControlText(control.GetTextId(), control.GetClass())) {
            control.SetText(std::move(*text));
        }
    }
    if (!control.GetToolTipId().empty()) {
        if (auto tip = query->QueryControlText(control.GetToolTipId(), control.GetClass())) {
            control.SetToolTip(std::move(*tip));
        }
    }
}

void PaintManager::ReloadText() {
    Walk(root_.get(), [this](Control* c) { ApplyTextQuery(*c); });
    NeedUpdate();
}

void PaintManager::RegisterControl(Control* control) {
    if (!control->GetName().empty()) {
        names_[control->GetName()].push_back(control);
    }
}

void PaintManager::UnregisterControl(Control* control) {
    ControlRemoved(control);
    const auto it = names_.find(control->GetName());
    if (it != names_.end()) {
        auto& list = it->second;
        list.erase(std::remove(list.begin(), list.end(), control), list.end());
        if (list.empty()) {
            names_.erase(it);
        }
    }
}

void PaintManager::RenameControl(Control* control, const std::string& from, const std::string& to) {
    const auto it = names_.find(from);
    if (it != names_.end()) {
        auto& list = it->second;
        list.erase(std::remove(list.begin(), list.end(), control), list.end());
        if (list.empty()) {
            names_.erase(it);
        }
    }
    if (!to.empty()) {
        names_[to].push_back(control);
    }
}

void PaintManager::AddOptionGroupMember(const std::string& group, Option* option) {
    auto& members = groups_[group];
    if (std::find(members.begin(), members.end(), option) == members.end()) {
        members.push_back(option);
    }
}

void PaintManager::RemoveOptionGroupMember(const std::string& group, Option* option) {
    const auto it = groups_.find(group);
    if (it != groups_.end()) {
        auto& members = it->second;
        members.erase(std::remove(members.begin(), members.end(), option), members.end());
        if (members.empty()) {
            groups_.erase(it);
        }
    }
}

void PaintManager::ControlRemoved(Control* control) {
    // No events here: this runs while controls are being destroyed. The host closes a native editor or drop
    // list that belongs to the subtree.
    if (IsInSubtree(focus_, control)) {
        focus_->focused_ = false;
        focus_ = nullptr;
    }
    if (IsInSubtree(hot_, control)) {
        hot_->hot_ = false;
        hot_ = nullptr;
    }
    if (IsInSubtree(capture_, control)) {
        capture_->pushed_ = false;
        capture_ = nullptr;
    }
    if (IsInSubtree(toolTip_, control)) {
        HideToolTip();
    }
    if (host_ != nullptr) {
        host_->ForgetControl(control);
    }
}

void PaintManager::ControlHidden(Control* control) {
    ControlRemoved(control);
}

void PaintManager::DestroyLater(std::unique_ptr<Control> control) {
    if (dispatchDepth_ > 0) {
        graveyard_.push_back(std::move(control));
    }
}

}  // namespace mousecfg::skin
