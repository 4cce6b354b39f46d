#include "skin/ControlFactory.h"

#include <functional>
#include <utility>

#include "platform/TextEncoding.h"
#include "skin/AnimLayout.h"
#include "skin/Button.h"
#include "skin/CVerticalLayoutExUI.h"
#include "skin/CheckBox.h"
#include "skin/ColorPalette.h"
#include "skin/Combo.h"
#include "skin/Container.h"
#include "skin/Edit.h"
#include "skin/HorizontalLayout.h"
#include "skin/Label.h"
#include "skin/List.h"
#include "skin/ListLabelElement.h"
#include "skin/Option.h"
#include "skin/Progress.h"
#include "skin/Slider.h"
#include "skin/TabLayout.h"
#include "skin/Text.h"
#include "skin/Tree.h"
#include "skin/TreeNode.h"
#include "skin/VerticalLayout.h"

namespace mousecfg::skin {
namespace {

template <class T>
std::unique_ptr<Control> Make() {
    return std::make_unique<T>();
}

using Maker = std::unique_ptr<Control> (*)();

constexpr std::pair<std::string_view, Maker> kBuiltIn[] = {
    {"control", Make<Control>},
    {"container", Make<Container>},
    {"verticallayout", Make<VerticalLayout>},
    {"horizontallayout", Make<HorizontalLayout>},
    {"tablayout", Make<TabLayout>},
    {"label", Make<Label>},
    {"text", Make<Text>},
    {"button", Make<Button>},
    {"option", Make<Option>},
    {"checkbox", Make<CheckBox>},
    {"progress", Make<Progress>},
    {"slider", Make<Slider>},
    {"edit", Make<Edit>},
    {"combo", Make<Combo>},
    {"list", Make<List>},
    {"listelement", Make<ListElement>},
    {"listlabelelement", Make<ListLabelElement>},
    {"tree", Make<Tree>},
    {"treenode", Make<TreeNode>},
    {"colorpalette", Make<ColorPalette>},
};

}  // namespace

std::unique_ptr<Control> CreateBuiltInControl(std::string_view className) {
    const std::string lower = ToAsciiLower(className);
    for (const auto& [name, make] : kBuiltIn) {
        if (lower == name) {
            return make();
        }
    }
    return nullptr;
}

std::unique_ptr<Control> CreateCustomLayout(std::string_view className) {
    if (EqualsIgnoringAsciiCase(className, "VerticalLayoutEx")) {
        return std::make_unique<CVerticalLayoutExUI>();
    }
    if (EqualsIgnoringAsciiCase(className, "AnimLayout")) {
        return std::make_unique<AnimLayout>();
    }
    return nullptr;
}

}  // namespace mousecfg::skin
