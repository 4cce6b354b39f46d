#pragma once

#include <memory>
#include <string_view>

namespace mousecfg::skin {

class Control;

// Creates controls of custom classes named in skin files; a window is one. Return none for a class you do not
// know: the built-in classes are tried next.
class ControlCallback {
public:
    virtual ~ControlCallback() = default;
    virtual std::unique_ptr<Control> CreateControl(std::string_view className) = 0;
};

// A control of a built-in class by its skin element name (matched without case): Control, Container,
// VerticalLayout, HorizontalLayout, TabLayout, Label, Text, Button, Option, CheckBox, Progress, Slider, Edit,
// Combo, List, ListElement, ListLabelElement, Tree, TreeNode, ColorPalette. None for other names.
std::unique_ptr<Control> CreateBuiltInControl(std::string_view className);

// The two layout extensions that windows create through CreateControl: "VerticalLayoutEx" and "AnimLayout".
std::unique_ptr<Control> CreateCustomLayout(std::string_view className);

}  // namespace mousecfg::skin
