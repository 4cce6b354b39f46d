// The button assignment panel: categories and code ranges, assignments, the one-left-button rule, macros and
// binding counts, BLE restrictions, the wheel and key recording.
#include <gtest/gtest.h>

#include "config/ui/FunctionCategory.h"
#include "tests/config_ui/PageFixture.h"

namespace mousecfg::test {
namespace {

using ui::Category;

TEST(FunctionCategory, ItemNamesCarryTheirCode) {
    struct Case {
        const char* name;
        Category category;
        std::optional<int> code;
        bool named;
    };
    const Case cases[] = {
        {"ItemValue10_ReportRate", Category::Mouse, 10, true},
        {"ItemValue10", Category::Mouse, 10, false},
        {"ItemValue117_PageUp", Category::Mouse, 117, true},
        {"ItemValue22_ProfileCycle", Category::Mode, 22, true},
        {"ItemValue5_x", Category::Mode, 5, true},
        {"ItemValueX_Broken", Category::Mouse, std::nullopt, false},
        {"ItemValue", Category::Mouse, std::nullopt, false},
        {"mac_list_items", Category::Mouse, std::nullopt, false},
    };
    for (const Case& c : cases) {
        const auto parsed = ui::ParseItemName(c.name, c.category);
        ASSERT_EQ(parsed.has_value(), c.code.has_value()) << c.name;
        if (parsed) {
            EXPECT_EQ(parsed->code, *c.code) << c.name;
            EXPECT_EQ(parsed->named, c.named) << c.name;
        }
    }
}

TEST(FunctionCategory, EveryCodeRangeHasItsCategory) {
    const std::pair<int, Category> cases[] = {
        {0, Category::Mouse},     {1, Category::Mouse},    {5, Category::Mouse},     {101, Category::Mouse},
        {102, Category::Mouse},   {7, Category::Mouse},    {117, Category::Mouse},   {100, Category::ShortCut},
        {103, Category::ShortCut}, {110, Category::ShortCut}, {120, Category::Macro}, {259, Category::Macro},
        {29, Category::Media},    {39, Category::Media},   {6, Category::Dpi},       {11, Category::Dpi},
        {12, Category::Dpi},      {22, Category::Mode},    {26, Category::Mode},     {50, Category::Mode},
        {51, Category::Mode},     {16, Category::Led},     {21, Category::Led},      {260, Category::ShortCut},
        {300, Category::ShortCut},
    };
    for (const auto& [code, category] : cases) {
        EXPECT_EQ(ui::CategoryOfCode(code), category) << code;
    }
    EXPECT_EQ(ui::WheelCategoryOfCode(58), Category::Scroll);
    EXPECT_EQ(ui::WheelCategoryOfCode(120), Category::Macro);
}

}  // namespace
}  // namespace mousecfg::test
