#include "skin/Option.h"

#include "skin/AttributeText.h"
#include "skin/Notification.h"
#include "skin/PaintManager.h"
#include "skin/Painter.h"

namespace mousecfg::skin {

Option::~Option() {
    if (GetManager() != nullptr && !group_.empty()) {
        GetManager()->RemoveOptionGroupMember(group_, this);
    }
}

void Option::Attach(PaintManager* manager, Control* parent) {
    if (GetManager() != manager && !group_.empty()) {
        if (GetManager() != nullptr) {
            GetManager()->RemoveOptionGroupMember(group_, this);
        }
        if (manager != nullptr) {
            manager->AddOptionGroupMember(group_, this);
        }
    }
    Button::Attach(manager, parent);
}

void Option::SetGroup(std::string group) {
    if (group == group_) {
        return;
    }
    if (GetManager() != nullptr && !group_.empty()) {
        GetManager()->RemoveOptionGroupMember(group_, this);
    }
    group_ = std::move(group);
    if (GetManager() != nullptr && !group_.empty()) {
        GetManager()->AddOptionGroupMember(group_, this);
    }
}

bool Option::Activate() {
    if (!Button::Activate()) {
        return false;
    }
    Selected(group_.empty() ? !selected_ : true);
    return true;
}

void Option::Selected(bool selected, bool notify) {
    if (selected_ == selected) {
        return;
    }
    selected_ = selected;
    if (selected && !group_.empty() && GetManager() != nullptr) {
        // Copy: a handler of the notification below may change the group.
        const std::vector<Option*> members = GetManager()->GetOptionGroup(group_);
        for (Option* other : members) {
            if (other != this) {
                other->Selected(false, false);
            }
        }
    }
    Invalidate();
    if (notify && (selected || group_.empty())) {
        Notify(notify::kSelectChanged);
    }
}

AttributeStatus Option::ApplyAttribute(const std::string& name, std::string_view value) {
    if (name == "group") {
        SetGroup(std::string(value));
        return AttributeStatus::Applied;
    }
    if (name == "selected") {
        const auto flag = attr::ParseBool(value);
        if (!flag) {
            return AttributeStatus::Invalid;
        }
        Selected(*flag);
        return AttributeStatus::Applied;
    }
    if (name == "selectedimage") {
        return AssignImage(selectedImage_, value);
    }
    if (name == "selectedhotimage") {
        return AssignImage(selectedHotImage_, value);
    }
    if (name == "selectedtextcolor") {
        return AssignColor(selectedTextColor_, value);
    }
    if (name == "selectedbkcolor") {
        return AssignColor(selectedBkColor_, value);
    }
    return Button::ApplyAttribute(name, value);
}

void Option::PaintBackground(Painter& painter) {
    Button::PaintBackground(painter);
    if (selected_ && selectedBkColor_ != kNoColor) {
        painter.FillRect(GetPos(), selectedBkColor_);
    }
}

const ImageRef& Option::CurrentImage() const {
    // A selected option stays selected-looking under the cursor: its hot image is the unselected one's.
    if (selected_ && IsEnabledInTree() && !IsPushed()) {
        if (IsHot() && !selectedHotImage_.empty()) {
            return selectedHotImage_;
        }
        if (!selectedImage_.empty()) {
            return selectedImage_;
        }
    }
    const ImageRef& state = Button::CurrentImage();
    // A selected option without a hot image keeps its selected look under the cursor.
    if (selected_ && &state == &GetNormalImage() && !selectedImage_.empty()) {
        return selectedImage_;
    }
    return state;
}

Color Option::CurrentTextColor() const {
    if (selected_ && IsEnabledInTree() && selectedTextColor_ != kNoColor && !(IsPushed() && GetPushedTextColor())) {
        return selectedTextColor_;
    }
    return Button::CurrentTextColor();
}

}  // namespace mousecfg::skin
