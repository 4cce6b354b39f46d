#pragma once

#include <memory>

#include "skin/ChildList.h"
#include "skin/ControlEvent.h"

namespace mousecfg::skin {

// Gives a control class children: the container operations, placement of the children whenever the control
// is placed, their attributes, and wheel scrolling. Layouts derive from WithChildren<Control>; a selectable card
// that holds controls derives from WithChildren<Option>.
template <class Base>
class WithChildren : public Base {
public:
    explicit WithChildren(LayoutKind kind) : list_(*this, kind) {}

    ChildList* Children() override { return &list_; }
    Control* GetItemAt(int index) const { return list_.GetItemAt(index); }
    int GetItemIndex(const Control* control) const { return list_.GetItemIndex(control); }
    bool SetItemIndex(Control* control, int index) { return list_.SetItemIndex(control, index); }
    int GetCount() const { return list_.GetCount(); }
    Control* Add(std::unique_ptr<Control> control) { return list_.Add(std::move(control)); }
    Control* AddAt(std::unique_ptr<Control> control, int index) { return list_.AddAt(std::move(control), index); }
    bool Remove(Control* control) { return list_.Remove(control); }
    bool RemoveAt(int index) { return list_.RemoveAt(index); }
    void RemoveAll() { list_.RemoveAll(); }
    Point GetScrollPos() const { return list_.GetScrollPos(); }
    void SetScrollPos(Point pos) { list_.SetScrollPos(pos); }

    void SetPos(const Rect& rect) override {
        Base::SetPos(rect);
        list_.Place(rect);
    }

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override {
        const AttributeStatus status = list_.ApplyAttribute(name, value);
        return status != AttributeStatus::Unknown ? status : Base::ApplyAttribute(name, value);
    }

    void DoEvent(ControlEvent& event) override {
        if (list_.HandleScrollBarEvent(event)) {
            return;
        }
        if (event.type == EventType::Wheel && list_.Wheel(event.wheelDelta)) {
            return;
        }
        Base::DoEvent(event);
    }

    ChildList list_;
};

}  // namespace mousecfg::skin
