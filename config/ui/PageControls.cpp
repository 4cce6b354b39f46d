#include "config/ui/PageControls.h"

#include <algorithm>

#include "skin/Option.h"
#include "skin/PaintManager.h"
#include "skin/SkinWindow.h"
#include "skin/Slider.h"

namespace mousecfg::ui::controls {

std::string Numbered(std::string_view prefix, int index) {
    return std::string(prefix) + std::to_string(index);
}

void Show(skin::SkinWindow& window, std::string_view name, bool visible) {
    if (skin::Control* control = window.FindControl(name)) {
        control->SetVisible(visible);
    }
}

void Enable(skin::SkinWindow& window, std::string_view name, bool enabled) {
    if (skin::Control* control = window.FindControl(name)) {
        control->SetEnabled(enabled);
    }
}

void SetText(skin::SkinWindow& window, std::string_view name, const std::string& text) {
    if (skin::Control* control = window.FindControl(name)) {
        control->SetText(text);
    }
}

void Select(skin::SkinWindow& window, std::string_view name, bool selected) {
    if (auto* option = window.Find<skin::Option>(name)) {
        option->Selected(selected, false);
    }
}

bool IsSelected(const skin::SkinWindow& window, std::string_view name) {
    const auto* option = window.Find<skin::Option>(name);
    return option != nullptr && option->IsSelected();
}

void SetSlider(skin::SkinWindow& window, std::string_view name, int min, int max, int value) {
    if (auto* slider = window.Find<skin::Progress>(name)) {
        slider->SetMinValue(min);
        slider->SetMaxValue(std::max(min, max));
        slider->SetValue(value);
    }
}

int GroupIndex(const skin::Option& option) {
    if (option.GetManager() == nullptr || option.GetGroup().empty()) {
        return -1;
    }
    const std::vector<skin::Option*>& members = option.GetManager()->GetOptionGroup(option.GetGroup());
    const auto at = std::find(members.begin(), members.end(), &option);
    return at == members.end() ? -1 : static_cast<int>(at - members.begin());
}

void SelectInGroup(skin::SkinWindow& window, std::string_view group, int index) {
    const std::vector<skin::Option*> members = window.GetPaintManager().GetOptionGroup(group);
    for (size_t i = 0; i < members.size(); ++i) {
        members[i]->Selected(index >= 0 && static_cast<size_t>(index) == i, false);
    }
}

}  // namespace mousecfg::ui::controls
