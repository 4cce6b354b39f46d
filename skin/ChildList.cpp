#include "skin/ChildList.h"

#include <algorithm>

#include "platform/TextEncoding.h"
#include "skin/AttributeText.h"
#include "skin/ControlEvent.h"
#include "skin/PaintManager.h"
#include "skin/Painter.h"

namespace mousecfg::skin {
namespace {

// "key='value'" pairs of a scroll bar style text: width, thumbcolor, bkcolor.
bool ParseScrollBarStyle(std::string_view text, int& width, Color& thumb, Color& track) {
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t equals = rest.find('=');
        if (equals == rest.npos || equals + 1 >= rest.size()) {
            return false;
        }
        const char quote = rest[equals + 1];
        const size_t close = rest.find(quote, equals + 2);
        if ((quote != '\'' && quote != '"') || close == rest.npos) {
            return false;
        }
        std::string key = ToAsciiLower(rest.substr(0, equals));
        key.erase(std::remove(key.begin(), key.end(), ' '), key.end());
        const std::string_view value = rest.substr(equals + 2, close - equals - 2);
        std::optional<Color> color;
        if (key == "width") {
            const auto number = attr::ParseInt(value);
            if (!number || *number < 0) {
                return false;
            }
            width = *number;
        } else if ((key == "thumbcolor" || key == "bkcolor") && (color = attr::ParseColor(value))) {
            (key == "thumbcolor" ? thumb : track) = *color;
        } else {
            return false;
        }
        rest = rest.substr(close + 1);
        while (!rest.empty() && rest.front() == ' ') {
            rest.remove_prefix(1);
        }
    }
    return true;
}

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, std::max(low, high)));
}

}  // namespace

ChildList::ChildList(Control& owner, LayoutKind kind) : owner_(owner), kind_(kind) {}

ChildList::~ChildList() {
    // Children leave the manager's name registry before they are destroyed with the list.
    for (auto& item : items_) {
        item->Attach(nullptr, nullptr);
    }
}

Control* ChildList::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) {
        return nullptr;
    }
    return items_[static_cast<size_t>(index)].get();
}

int ChildList::GetItemIndex(const Control* control) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == control) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ChildList::SetItemIndex(Control* control, int index) {
    const int from = GetItemIndex(control);
    if (from < 0 || index < 0 || index >= GetCount()) {
        return false;
    }
    auto item = std::move(items_[static_cast<size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + index, std::move(item));
    owner_.NeedUpdate();
    return true;
}

Control* ChildList::Add(std::unique_ptr<Control> control) {
    return AddAt(std::move(control), GetCount());
}

Control* ChildList::AddAt(std::unique_ptr<Control> control, int index) {
    if (!control) {
        return nullptr;
    }
    index = Clamp(index, 0, GetCount());
    Control* added = control.get();
    items_.insert(items_.begin() + index, std::move(control));
    added->Attach(owner_.GetManager(), &owner_);
    owner_.NeedUpdate();
    return added;
}

std::unique_ptr<Control> ChildList::Take(Control* control) {
    const int index = GetItemIndex(control);
    if (index < 0) {
        return nullptr;
    }
    auto item = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    if (PaintManager* manager = item->GetManager()) {
        manager->ControlRemoved(item.get());
    }
    item->Attach(nullptr, nullptr);
    owner_.NeedUpdate();
    return item;
}

bool ChildList::Remove(Control* control) {
    PaintManager* manager = owner_.GetManager();
    auto item = Take(control);
    if (!item) {
        return false;
    }
    if (manager != nullptr) {
        manager->DestroyLater(std::move(item));
    }
    return true;
}

bool ChildList::RemoveAt(int index) {
    return Remove(GetItemAt(index));
}

void ChildList::RemoveAll() {
    while (!items_.empty()) {
        Remove(items_.back().get());
    }
    scrollPos_ = {};
}

void ChildList::AttachAll(PaintManager* manager) {
    for (auto& item : items_) {
        item->Attach(manager, &owner_);
    }
}

AttributeStatus ChildList::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "inset") {
        const auto rect = attr::ParseRect(value);
        if (!rect) {
            return AttributeStatus::Invalid;
        }
        SetInset(*rect);
        return AttributeStatus::Applied;
    }
    if (name == "childpadding" || name == "scrollstepsize") {
        const auto number = attr::ParseInt(value);
        if (!number || *number < 0 || (name == "scrollstepsize" && *number == 0)) {
            return AttributeStatus::Invalid;
        }
        (name == "childpadding" ? childPadding_ : scrollStep_) = *number;
        owner_.NeedUpdate();
        return AttributeStatus::Applied;
    }
    if (name == "childalign" || name == "childvalign") {
        const std::string lower = ToAsciiLower(value);
        const bool horizontal = name == "childalign";
        const char* const names[] = {horizontal ? "left" : "top", horizontal ? "center" : "vcenter",
                                     horizontal ? "right" : "bottom"};
        for (unsigned i = 0; i < 3; ++i) {
            if (lower == names[i]) {
                (horizontal ? childAlign_ : childVAlign_) = i;
                owner_.NeedUpdate();
                return AttributeStatus::Applied;
            }
        }
        return AttributeStatus::Invalid;
    }
    if (name == "mousechild") {
        mouseChild_ = ToAsciiLower(value) == "true";
        return AttributeStatus::Applied;
    }
    if (name == "vscrollbar" || name == "hscrollbar") {
        (name == "vscrollbar" ? vScroll_ : hScroll_) = ToAsciiLower(value) == "true";
        owner_.NeedUpdate();
        return AttributeStatus::Applied;
    }
    if (name == "vscrollbarstyle" || name == "hscrollbarstyle") {
        return ParseScrollBarStyle(value, scrollBarWidth_, scrollThumbColor_, scrollTrackColor_)
                   ? AttributeStatus::Applied
                   : AttributeStatus::Invalid;
    }
    return AttributeStatus::Unknown;
}

void ChildList::SetInset(const Rect& inset) {
    inset_ = inset;
    owner_.NeedUpdate();
}

Rect ChildList::InnerRect() const {
    Rect inner = lastRect_.deflate(inset_);
    if (ShowsBar(true)) {
        inner.right -= scrollBarWidth_;
    }
    if (ShowsBar(false)) {
        inner.bottom -= scrollBarWidth_;
    }
    return inner;
}

void ChildList::Place(const Rect& rect) {
    lastRect_ = rect;
    for (auto& item : items_) {
        if (item->IsVisible() && item->IsFloat()) {
            PlaceFloat(*item, rect);
        }
    }
    switch (kind_) {
        case LayoutKind::Stack:
            scrollRange_ = {};
            scrollPos_ = {};
            PlaceStack(InnerRect());
            break;
        case LayoutKind::Vertical:
        case LayoutKind::Horizontal:
            PlaceLine(rect.deflate(inset_), kind_ == LayoutKind::Vertical);
            break;
    }
    if (owner_.IsMirrored()) {
        Mirror(rect);
    }
}

// Right to left: every child moves to the mirror image of its place in `rect` (floating ones too), so rows run
// from the right and insets and alignments change sides. Children then lay out their own children again.
void ChildList::Mirror(const Rect& rect) {
    for (auto& item : items_) {
        if (!item->IsVisible()) {
            continue;
        }
        const Rect pos = item->GetPos();
        item->SetPos({rect.left + rect.right - pos.right, pos.top, rect.left + rect.right - pos.left, pos.bottom});
    }
}

// The area inside the inset as the children are laid out: mirrored, the left and right insets change sides.
Rect ChildList::InsideInset() const {
    return lastRect_.deflate(owner_.IsMirrored() ? Rect{inset_.right, inset_.top, inset_.left, inset_.bottom} : inset_);
}

void ChildList::PlaceFloat(Control& child, const Rect& rect) {
    const Point xy = child.GetFixedXY();
    const Size estimate = child.EstimateSize({rect.width(), rect.height()});
    const int width = estimate.cx > 0 ? estimate.cx : rect.width() - xy.x;
    const int height = estimate.cy > 0 ? estimate.cy : rect.height() - xy.y;
    const int left = rect.left + xy.x;
    const int top = rect.top + xy.y;
    child.SetPos({left, top, left + width, top + height});
}

void ChildList::PlaceStack(const Rect& inner) {
    for (auto& item : items_) {
        if (!item->IsVisible() || item->IsFloat()) {
            continue;
        }
        const Rect area = inner.deflate(item->GetPadding());
        const Size estimate = item->EstimateSize({area.width(), area.height()});
        const int width = Clamp(estimate.cx > 0 ? estimate.cx : area.width(), item->GetMinWidth(),
                                item->GetMaxWidth());
        const int height = Clamp(estimate.cy > 0 ? estimate.cy : area.height(), item->GetMinHeight(),
                                 item->GetMaxHeight());
        const int left = area.left + static_cast<int>(childAlign_) * (area.width() - width) / 2;
        const int top = area.top + static_cast<int>(childVAlign_) * (area.height() - height) / 2;
        item->SetPos({left, top, left + width, top + height});
    }
}

int ChildList::MeasureSlots(const Rect& inner, bool vertical, std::vector<Slot>& slots) const {
    int fixedTotal = 0;
    for (const auto& item : items_) {
        if (!item->IsVisible() || item->IsFloat()) {
            continue;
        }
        const Rect& pad = item->GetPadding();
        const Size estimate = item->EstimateSize({inner.width(), inner.height()});
        const int wanted = vertical ? estimate.cy : estimate.cx;
        const int low = vertical ? item->GetMinHeight() : item->GetMinWidth();
        const int high = vertical ? item->GetMaxHeight() : item->GetMaxWidth();
        fixedTotal += vertical ? pad.top + pad.bottom : pad.left + pad.right;
        fixedTotal += slots.empty() ? 0 : childPadding_;
        const int main = wanted > 0 ? Clamp(wanted, low, high) : 0;
        fixedTotal += main;
        slots.push_back({item.get(), estimate, main, wanted <= 0});
    }
    return fixedTotal;
}

// Children of size 0 share what is left; one whose share breaks its minimum or maximum keeps the limit and
// leaves the rest to the others, until every share fits.
void ChildList::ShareRemaining(std::vector<Slot>& slots, int remaining, bool vertical) {
    for (bool changed = true; changed;) {
        changed = false;
        int open = static_cast<int>(std::count_if(slots.begin(), slots.end(), [](const Slot& s) { return s.stretch; }));
        if (open == 0) {
            return;
        }
        const int share = std::max(0, remaining) / open;
        for (Slot& slot : slots) {
            const int low = vertical ? slot.control->GetMinHeight() : slot.control->GetMinWidth();
            const int high = vertical ? slot.control->GetMaxHeight() : slot.control->GetMaxWidth();
            if (slot.stretch && (share < low || share > high)) {
                slot.main = Clamp(share, low, high);
                slot.stretch = false;
                remaining -= slot.main;
                changed = true;
            }
        }
        if (!changed) {
            // The last stretching child takes what the division leaves over.
            int left = std::max(0, remaining);
            for (Slot& slot : slots) {
                if (slot.stretch) {
                    slot.main = --open == 0 ? left : share;
                    left -= slot.main;
                }
            }
        }
    }
}

void ChildList::PlaceLine(const Rect& innerWithBar, bool vertical) {
    std::vector<Slot> slots;
    Rect inner = innerWithBar;
    const int available = vertical ? inner.height() : inner.width();
    ShareRemaining(slots, available - MeasureSlots(inner, vertical, slots), vertical);
    int content = 0;
    for (size_t i = 0; i < slots.size(); ++i) {
        const Rect& pad = slots[i].control->GetPadding();
        content += slots[i].main + (vertical ? pad.top + pad.bottom : pad.left + pad.right);
        content += i > 0 ? childPadding_ : 0;
    }
    const bool scrollable = vertical ? vScroll_ : hScroll_;
    const int range = scrollable ? std::max(0, content - available) : 0;
    scrollRange_ = vertical ? Size{0, range} : Size{range, 0};
    scrollPos_ = {vertical ? 0 : std::min(scrollPos_.x, range), vertical ? std::min(scrollPos_.y, range) : 0};
    if (range > 0) {
        (vertical ? inner.right : inner.bottom) -= scrollBarWidth_;
    }
    int cursor = vertical ? inner.top - scrollPos_.y : inner.left - scrollPos_.x;
    for (const Slot& slot : slots) {
        cursor = PlaceSlot(slot, inner, cursor, vertical);
    }
}

int ChildList::PlaceSlot(const Slot& slot, const Rect& inner, int cursor, bool vertical) const {
    Control& child = *slot.control;
    const Rect& pad = child.GetPadding();
    const int crossFixed = vertical ? slot.estimate.cx : slot.estimate.cy;
    const int crossRoom = vertical ? inner.width() - pad.left - pad.right : inner.height() - pad.top - pad.bottom;
    const int cross = crossFixed > 0 ? Clamp(crossFixed, vertical ? child.GetMinWidth() : child.GetMinHeight(),
                                             vertical ? child.GetMaxWidth() : child.GetMaxHeight())
                                     : crossRoom;
    const int shift = static_cast<int>(vertical ? childAlign_ : childVAlign_) * (crossRoom - cross) / 2;
    if (vertical) {
        const int top = cursor + pad.top;
        const int left = inner.left + pad.left + shift;
        child.SetPos({left, top, left + cross, top + slot.main});
        return top + slot.main + pad.bottom + childPadding_;
    }
    const int left = cursor + pad.left;
    const int top = inner.top + pad.top + shift;
    child.SetPos({left, top, left + slot.main, top + cross});
    return left + slot.main + pad.right + childPadding_;
}

Size ChildList::ContentSize(Size available) {
    Size total;
    bool first = true;
    for (auto& item : items_) {
        if (!item->IsVisible() || item->IsFloat()) {
            continue;
        }
        const Size estimate = item->EstimateSize(available);
        const Rect& pad = item->GetPadding();
        const int gap = first ? 0 : childPadding_;
        first = false;
        if (kind_ == LayoutKind::Horizontal) {
            total.cx += gap + estimate.cx + pad.left + pad.right;
            total.cy = std::max(total.cy, estimate.cy + pad.top + pad.bottom);
        } else if (kind_ == LayoutKind::Vertical) {
            total.cy += gap + estimate.cy + pad.top + pad.bottom;
            total.cx = std::max(total.cx, estimate.cx + pad.left + pad.right);
        } else {
            total.cx = std::max(total.cx, estimate.cx + pad.left + pad.right);
            total.cy = std::max(total.cy, estimate.cy + pad.top + pad.bottom);
        }
    }
    total.cx += inset_.left + inset_.right;
    total.cy += inset_.top + inset_.bottom;
    return total;
}

void ChildList::MoveAll(int dx, int dy) {
    lastRect_ = lastRect_.offset(dx, dy);
    for (auto& item : items_) {
        item->Move(dx, dy);
    }
}

void ChildList::SetScrollPos(Point pos, bool byUser) {
    const Point clamped{Clamp(pos.x, 0, scrollRange_.cx), Clamp(pos.y, 0, scrollRange_.cy)};
    const int dx = clamped.x - scrollPos_.x;
    const int dy = clamped.y - scrollPos_.y;
    if (dx == 0 && dy == 0) {
        return;
    }
    scrollPos_ = clamped;
    for (auto& item : items_) {
        if (item->IsVisible() && !item->IsFloat()) {
            item->Move(-dx, -dy);
        }
    }
    owner_.Invalidate();
    if (byUser && vScroll_) {
        owner_.Notify("scroll", static_cast<uintptr_t>((scrollStep_ + scrollPos_.y) / scrollStep_));
    }
}

void ChildList::Page(bool vertical, int direction) {
    const Rect inner = InnerRect();
    const int page = std::max(scrollStep_, (vertical ? inner.height() : inner.width()) - scrollStep_) * direction;
    SetScrollPos({scrollPos_.x + (vertical ? 0 : page), scrollPos_.y + (vertical ? page : 0)}, true);
}

bool ChildList::Wheel(int delta) {
    if (scrollRange_.cy > 0) {
        delta > 0 ? LineUp() : LineDown();
        return true;
    }
    if (scrollRange_.cx > 0) {
        delta > 0 ? LineLeft() : LineRight();
        return true;
    }
    return false;
}

void ChildList::EnsureVisible(const Control* child) {
    if (scrollRange_.cy == 0 || child == nullptr) {
        return;
    }
    const Rect inner = InnerRect();
    const Rect& pos = child->GetPos();
    if (pos.top < inner.top) {
        SetScrollPos({scrollPos_.x, scrollPos_.y - (inner.top - pos.top)});
    } else if (pos.bottom > inner.bottom) {
        SetScrollPos({scrollPos_.x, scrollPos_.y + (pos.bottom - inner.bottom)});
    }
}

Rect ChildList::ScrollBarTrack(bool vertical) const {
    if (!ShowsBar(vertical)) {
        return {};
    }
    const Rect inner = InsideInset();
    // The bars do not cross: the horizontal one ends where the vertical one starts. Mirrored, the vertical bar
    // is on the left, where the mirrored children leave it room.
    if (vertical) {
        return owner_.IsMirrored() ? Rect{inner.left, inner.top, inner.left + scrollBarWidth_, inner.bottom}
                                   : Rect{inner.right - scrollBarWidth_, inner.top, inner.right, inner.bottom};
    }
    return {inner.left, inner.bottom - scrollBarWidth_, inner.right - (ShowsBar(true) ? scrollBarWidth_ : 0),
            inner.bottom};
}

Rect ChildList::ScrollBarThumb(bool vertical) const {
    const Rect track = ScrollBarTrack(vertical);
    if (track.empty()) {
        return {};
    }
    const int visible = vertical ? track.height() : track.width();
    const int range = vertical ? scrollRange_.cy : scrollRange_.cx;
    const int thumb = std::min(visible, std::max(16, visible * visible / std::max(1, visible + range)));
    const int start = (visible - thumb) * (vertical ? scrollPos_.y : scrollPos_.x) / std::max(1, range);
    if (vertical) {
        return {track.left, track.top + start, track.right, track.top + start + thumb};
    }
    return {track.left + start, track.top, track.left + start + thumb, track.bottom};
}

void ChildList::Paint(Painter& painter) {
    painter.PushClip(InsideInset());
    for (auto& item : items_) {
        if (item->IsVisible() && !item->GetPos().intersect(lastRect_).empty()) {
            item->Paint(painter);
        }
    }
    painter.PopClip();
    for (const bool vertical : {true, false}) {
        if (!ShowsBar(vertical)) {
            continue;
        }
        if (scrollTrackColor_ != kNoColor) {
            painter.FillRect(ScrollBarTrack(vertical), scrollTrackColor_);
        }
        painter.FillRect(ScrollBarThumb(vertical), scrollThumbColor_);
    }
}

Control* ChildList::FindAt(Point point) {
    if (ScrollBarTrack(true).contains(point) || ScrollBarTrack(false).contains(point)) {
        return &owner_;
    }
    if (!InsideInset().contains(point)) {
        return nullptr;
    }
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if (Control* hit = (*it)->FindAt(point)) {
            return mouseChild_ ? hit : &owner_;
        }
    }
    return nullptr;
}

bool ChildList::HandleScrollBarEvent(const ControlEvent& event) {
    if (event.type == EventType::ButtonDown) {
        for (const bool vertical : {true, false}) {
            if (!ScrollBarTrack(vertical).contains(event.point)) {
                continue;
            }
            const Rect thumb = ScrollBarThumb(vertical);
            const int at = vertical ? event.point.y : event.point.x;
            if (thumb.contains(event.point)) {
                dragFrom_ = at;
                dragPos_ = vertical ? scrollPos_.y : scrollPos_.x;
                dragVertical_ = vertical;
            } else {
                Page(vertical, at < (vertical ? thumb.top : thumb.left) ? -1 : 1);
            }
            return true;
        }
        return false;
    }
    if (dragFrom_ >= 0 && event.type == EventType::MouseMove) {
        const bool vertical = dragVertical_;
        const Rect track = ScrollBarTrack(vertical);
        const Rect thumb = ScrollBarThumb(vertical);
        const int travel = std::max(1, vertical ? track.height() - thumb.height() : track.width() - thumb.width());
        const int moved = (vertical ? event.point.y : event.point.x) - dragFrom_;
        const int pos = dragPos_ + moved * (vertical ? scrollRange_.cy : scrollRange_.cx) / travel;
        SetScrollPos(vertical ? Point{scrollPos_.x, pos} : Point{pos, scrollPos_.y}, true);
        return true;
    }
    if (dragFrom_ >= 0 && event.type == EventType::ButtonUp) {
        dragFrom_ = -1;
        return true;
    }
    return false;
}

}  // namespace mousecfg::skin
