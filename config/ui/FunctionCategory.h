#pragma once

#include <optional>
#include <string_view>

namespace mousecfg::ui {

// The categories of the assignment panel, in the order of their options in the group "PopMouseKey" and of the
// pages of the tab layout "MouseKey_switch".
enum class Category { Mouse = 0, ShortCut, Macro, Media, Dpi, Mode, Led, Scroll };
inline constexpr int kCategoryCount = 8;

// The option of a category and its list (empty for the macro category, which has pickers instead).
struct CategoryControls {
    std::string_view option;
    std::string_view list;
};
CategoryControls ControlsOf(Category category);
// The category of an option name; none for other names.
std::optional<Category> CategoryOfOption(std::string_view option);

// The category showing a function code on a button of the mouse: 100 and 103..110 shortcuts, 120..259 macros,
// 29..39 media, 6, 11 and 12 DPI, 22..26, 50 and 51 profile functions, 16 and 21 lighting, every other code below
// 120 a mouse function. A recorded key (260 and above) shows on the shortcut page, where keys are recorded.
Category CategoryOfCode(int code);
// The same for a wheel position: its scroll functions (every code below 120), or a macro.
Category WheelCategoryOfCode(int code);

// A list item's function code, carried in its name: "ItemValue" + the decimal code + "_" + a text
// ("ItemValue10_ReportRate" -> 10). In the profile list (Category::Mode) the code is the two characters after
// "ItemValue". None when the name does not carry a number.
struct ParsedItem {
    int code = 0;
    bool named = false;  // the name has the "_" that ends the code (else its text is "Unknown Key")
};
std::optional<ParsedItem> ParseItemName(std::string_view name, Category category);

}  // namespace mousecfg::ui
