#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/Color.h"
#include "skin/Control.h"
#include "skin/Geometry.h"

namespace mousecfg::skin {

class Painter;
class PaintManager;

// How a container places its children that are not floating.
enum class LayoutKind {
    Stack,       // each child fills the inner area (or takes its fixed size, aligned by childalign/childvalign)
    Vertical,    // top to bottom; fixed heights first, the rest shared among children of height 0
    Horizontal,  // left to right, likewise with widths
};

// The children of a container and everything that places, scrolls, paints and hit-tests them. Containers own one;
// the container operations (GetItemAt ... RemoveAll) are the same for every kind of container.
// Floating children keep their fixed position relative to the container's top-left corner.
class ChildList {
public:
    ChildList(Control& owner, LayoutKind kind);
    ~ChildList();

    Control* GetItemAt(int index) const;
    // The index of `control` among the children, -1 when it is not one.
    int GetItemIndex(const Control* control) const;
    bool SetItemIndex(Control* control, int index);
    int GetCount() const { return static_cast<int>(items_.size()); }
    // Adds a child at the end / at `index` (clamped) and returns it.
    Control* Add(std::unique_ptr<Control> control);
    Control* AddAt(std::unique_ptr<Control> control, int index);
    // Removes and destroys a child (after the current input event when one is being handled). False when
    // `control` is not a child.
    bool Remove(Control* control);
    bool RemoveAt(int index);
    void RemoveAll();
    // Removes a child and hands it to the caller instead of destroying it.
    std::unique_ptr<Control> Take(Control* control);
    const std::vector<std::unique_ptr<Control>>& items() const { return items_; }

    // Attributes of the children's placement: inset, childpadding, childalign, childvalign, mousechild,
    // vscrollbar, hscrollbar, vscrollbarstyle, hscrollbarstyle, scrollstepsize. `name` in lower case.
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value);
    const Rect& GetInset() const { return inset_; }
    void SetInset(const Rect& inset);
    int GetChildPadding() const { return childPadding_; }
    bool IsMouseChildEnabled() const { return mouseChild_; }
    LayoutKind kind() const { return kind_; }

    // Places every visible child inside `rect` (the owner's position).
    void Place(const Rect& rect);
    // The size the children need (the sum along the layout direction).
    Size ContentSize(Size available);
    void MoveAll(int dx, int dy);
    void AttachAll(PaintManager* manager);

    // Scrolling: the offset of the content, limited to 0..range. `byUser` raises the owner's "scroll"
    // notification with wParam = (step + position) / step.
    Point GetScrollPos() const { return scrollPos_; }
    Size GetScrollRange() const { return scrollRange_; }
    void SetScrollPos(Point pos, bool byUser = false);
    void LineUp() { SetScrollPos({scrollPos_.x, scrollPos_.y - scrollStep_}, true); }
    void LineDown() { SetScrollPos({scrollPos_.x, scrollPos_.y + scrollStep_}, true); }
    void LineLeft() { SetScrollPos({scrollPos_.x - scrollStep_, scrollPos_.y}, true); }
    void LineRight() { SetScrollPos({scrollPos_.x + scrollStep_, scrollPos_.y}, true); }
    void PageUp() { Page(true, -1); }
    void PageDown() { Page(true, 1); }
    // The wheel scrolls the content when it can: up and down, or along a row that only scrolls sideways.
    // False when there is nothing to scroll.
    bool Wheel(int delta);
    bool HasVerticalScrollBar() const { return vScroll_; }
    // Where the scroll bar of an axis is drawn (the right edge for vertical scrolling, the bottom edge for
    // horizontal); empty while that axis does not scroll.
    Rect ScrollBarTrack(bool vertical) const;
    Rect ScrollBarThumb(bool vertical) const;
    int GetScrollStepSize() const { return scrollStep_; }
    // Scrolls so that `child` is inside the visible area.
    void EnsureVisible(const Control* child);

    void Paint(Painter& painter);
    Control* FindAt(Point point);
    // Handles a press, drag or release on the scroll bar; true when the point was on it.
    bool HandleScrollBarEvent(const struct ControlEvent& event);

private:
    Rect InnerRect() const;
    Rect InsideInset() const;
    void PlaceFloat(Control& child, const Rect& rect);
    void Mirror(const Rect& rect);
    void PlaceStack(const Rect& inner);
    // One child of a vertical or horizontal line: its estimate and its size along the line.
    struct Slot {
        Control* control;
        Size estimate;
        int main;
        bool stretch;  // still shares the rest
    };
    void PlaceLine(const Rect& inner, bool vertical);
    // Collects the visible laid-out children; returns the room they take before stretching.
    int MeasureSlots(const Rect& inner, bool vertical, std::vector<Slot>& slots) const;
    static void ShareRemaining(std::vector<Slot>& slots, int remaining, bool vertical);
    // Places one child at `cursor` along the line; returns where the next one starts.
    int PlaceSlot(const Slot& slot, const Rect& inner, int cursor, bool vertical) const;
    bool ShowsBar(bool vertical) const {
        return vertical ? vScroll_ && scrollRange_.cy > 0 : hScroll_ && scrollRange_.cx > 0;
    }
    // Scrolls one page along an axis; `direction` -1 back, 1 forward.
    void Page(bool vertical, int direction);
    void Released(std::unique_ptr<Control> control);

    Control& owner_;
    LayoutKind kind_;
    std::vector<std::unique_ptr<Control>> items_;
    Rect inset_;
    int childPadding_ = 0;
    unsigned childAlign_ = 0;   // 0 left/top, 1 centre, 2 right/bottom
    unsigned childVAlign_ = 0;
    bool mouseChild_ = true;
    bool vScroll_ = false;
    bool hScroll_ = false;
    int scrollStep_ = 30;
    int scrollBarWidth_ = 6;
    Color scrollThumbColor_ = 0x80808080u;
    Color scrollTrackColor_ = kNoColor;
    Point scrollPos_;
    Size scrollRange_;
    Rect lastRect_;
    int dragFrom_ = -1;  // cursor position along the bar where a thumb drag started, -1 when none
    int dragPos_ = 0;
    bool dragVertical_ = true;
};

}  // namespace mousecfg::skin
