#pragma once

#include "skin/Option.h"

namespace mousecfg::skin {

// An option without a group that toggles on every click; "checked" is another name for "selected".
class CheckBox : public Option {
public:
    std::string_view GetClass() const override { return "CheckBox"; }
    bool IsChecked() const { return IsSelected(); }
    void SetCheck(bool checked, bool notify = true) { Selected(checked, notify); }

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override {
        if (name == "checked") {
            return Option::ApplyAttribute("selected", value);
        }
        if (name == "group") {
            return AttributeStatus::Invalid;
        }
        return Option::ApplyAttribute(name, value);
    }
};

}  // namespace mousecfg::skin
