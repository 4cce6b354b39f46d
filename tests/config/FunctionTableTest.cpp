#include "config/FunctionTable.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

TEST(FunctionTable, ShippedNamesCoverEveryFunctionTheListsOffer) {
    FunctionTable table;
    ASSERT_TRUE(table.Load(test::TestDataPath("../../res/VeruzUrir/Language/LanguageText.json")));
    const int offered[] = {0,  1,  2,  3,  4,  5,  6,  10, 11, 12,  16,  17,  20,  21,  22,  23,  24,  25,
                           26, 27, 28, 29, 30, 31, 32, 33, 34, 35,  36,  37,  38,  39,  50,  51,  52,  53,
                           56, 57, 58, 59, 60, 61, 98, 99, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109,
                           110, 111, 112, 113, 114, 115, 117, 118};
    for (const int code : offered) {
        EXPECT_TRUE(table.Contains(code)) << code;
        EXPECT_NE(table.FunctionButtonText(code), "") << code;
    }
    EXPECT_EQ(table.FunctionListText(102), "Fire Key");
}

TEST(FunctionTable, CodesOutsideTheTableAreUnknownKeys) {
    FunctionTable table;
    ASSERT_TRUE(
        table.Parse(R"({"MouseFunctionText": {"7": ["List seven", "Seven"], "07x": ["a", "b"], "": ["c", "d"]}})"));
    EXPECT_EQ(table.FunctionListText(7), "List seven");
    EXPECT_EQ(table.FunctionButtonText(7), "Seven");
    EXPECT_EQ(table.FunctionButtonText(8), "Unknown Key");
    EXPECT_EQ(table.entries().size(), 1u) << "names that are not numbers are skipped";
    EXPECT_FALSE(table.Parse(R"({"MouseFunctionText": {"7": ["only one"]}})"));
    EXPECT_FALSE(table.Load(test::TestDataPath("config/missing.json")));
}

}  // namespace
}  // namespace mousecfg
