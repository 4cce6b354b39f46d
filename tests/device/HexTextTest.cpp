#include "device/HexText.h"

#include <gtest/gtest.h>

namespace mousecfg {
namespace {

TEST(HexText, EveryByteIsTwoLowerCaseDigitsAndABlank) {
    const std::vector<uint8_t> bytes = {0x06, 0x00, 0xAB, 0xff};
    EXPECT_EQ(ToHexText(bytes), "06 00 ab ff ");
    EXPECT_EQ(ToSpacedHex(bytes), "06 00 ab ff");
}

TEST(HexText, ParsesBlankSeparatedBytesAndRefusesAnythingElse) {
    EXPECT_EQ(ParseHexText("06 0 AB  ff "), (std::vector<uint8_t>{0x06, 0x00, 0xAB, 0xFF}));
    EXPECT_EQ(ParseHexText(""), std::vector<uint8_t>{});
    EXPECT_FALSE(ParseHexText("0g").has_value());
    EXPECT_FALSE(ParseHexText("123").has_value());
    EXPECT_FALSE(ParseHexText("12,34").has_value());
}

}  // namespace
}  // namespace mousecfg
