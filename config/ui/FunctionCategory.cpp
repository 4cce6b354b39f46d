#include "config/ui/FunctionCategory.h"

#include <charconv>

#include "config/MouseConfig.h"

namespace mousecfg::ui {
namespace {

constexpr std::string_view kItemPrefix = "ItemValue";

constexpr CategoryControls kControls[kCategoryCount] = {
    {"opt_MouseKey_Mouse", "list_MouseKey_Mouse"}, {"opt_MouseKey_ShortCut", "list_MouseKey_ShortCut"},
    {"opt_KBSet_Macro", ""},                       {"opt_MouseKey_Media", "list_MouseKey_Media"},
    {"opt_MouseKey_DPI", "list_MouseKey_DPI"},     {"opt_MouseKey_Mode", "list_MouseKey_Mode"},
    {"opt_MouseKey_Led", "list_MouseKey_Led"},     {"opt_ScrollKey_Base", "list_ScrollKey_Base"},
};

}  // namespace

CategoryControls ControlsOf(Category category) {
    return kControls[static_cast<int>(category)];
}

std::optional<Category> CategoryOfOption(std::string_view option) {
    for (int i = 0; i < kCategoryCount; ++i) {
        if (kControls[i].option == option) {
            return static_cast<Category>(i);
        }
    }
    return std::nullopt;
}

Category CategoryOfCode(int code) {
    if (code >= kFirstKeyCode + 4) {
        return Category::ShortCut;
    }
    if (code >= kFirstMacroCode) {
        return Category::Macro;
    }
    if (code == 100 || (code >= 103 && code <= 110)) {
        return Category::ShortCut;
    }
    if (code >= 29 && code <= 39) {
        return Category::Media;
    }
    if (code == 6 || code == 11 || code == 12) {
        return Category::Dpi;
    }
    if ((code >= 22 && code <= 26) || code == 50 || code == 51) {
        return Category::Mode;
    }
    if (code == 16 || code == 21) {
        return Category::Led;
    }
    return Category::Mouse;
}

Category WheelCategoryOfCode(int code) {
    return code < kFirstMacroCode ? Category::Scroll : Category::Macro;
}

std::optional<ParsedItem> ParseItemName(std::string_view name, Category category) {
    if (!name.starts_with(kItemPrefix)) {
        return std::nullopt;
    }
    const std::string_view rest = name.substr(kItemPrefix.size());
    const size_t underscore = rest.find('_');
    std::string_view digits = rest.substr(0, underscore);
    if (category == Category::Mode) {
        digits = rest.substr(0, 2);
    }
    int code = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
    if (error != std::errc() || end == digits.data() || code < 0) {
        return std::nullopt;
    }
    return ParsedItem{code, underscore != std::string_view::npos};
}

}  // namespace mousecfg::ui
