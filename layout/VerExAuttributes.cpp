#include "layout/VerExAuttributes.h"

#include "skin/ChildList.h"
#include "skin/Control.h"

namespace mousecfg::layout {
namespace {

// The picture of a card's switch sits at this fixed place of every page image.
constexpr const char* kSwitchSource = "222,47,255,53";

// A descendant of `parent` by name: the cards repeat their children's names, so the search stays in one card.
skin::Control* FindChild(skin::Control& parent, const std::string& name) {
    skin::ChildList* children = parent.Children();
    if (children == nullptr) {
        return nullptr;
    }
    for (const auto& child : children->items()) {
        if (child->GetName() == name) {
            return child.get();
        }
        if (skin::Control* found = FindChild(*child, name)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

void VerExAuttributes::Dress(skin::Control& control, const PageImages& images) const {
    COptionAttributes::Dress(control, images);
    if (!HasPos()) {
        return;
    }
    if (skin::Control* toggle = FindChild(control, "switch")) {
        toggle->SetAttribute("pos", "34,9,67,15");
        const auto image = [](const std::string& file) {
            return "file='" + file + "' source='" + kSwitchSource + "'";
        };
        toggle->SetAttribute("normalimage", image(images.normal));
        toggle->SetAttribute("hotimage", image(images.hot));
        toggle->SetAttribute("pushedimage", image(images.down));
        toggle->SetAttribute("selectedimage", image(images.down));
    }
    if (skin::Control* value = FindChild(control, "value")) {
        value->SetAttribute("pos", "0,40,40,70");
    }
    if (skin::Control* color = FindChild(control, "color")) {
        color->SetAttribute("pos", "0,80,40,90");
    }
}

}  // namespace mousecfg::layout
