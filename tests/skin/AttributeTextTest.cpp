#include "skin/AttributeText.h"

#include <gtest/gtest.h>

namespace mousecfg::skin::attr {
namespace {

TEST(AttributeText, ParsesNumbersRectanglesAndColours) {
    EXPECT_EQ(ParseInt(" -12 "), -12);
    EXPECT_EQ(ParseInt("+7"), 7);
    EXPECT_FALSE(ParseInt("12px"));
    EXPECT_FALSE(ParseInt(""));
    EXPECT_EQ(ParseRect("1, 2,3 ,4"), (Rect{1, 2, 3, 4}));
    EXPECT_FALSE(ParseRect("1,2,3"));
    EXPECT_FALSE(ParseRect("1,2,3,4,5"));
    EXPECT_FALSE(ParseRect("1,,3,4"));
    // Beyond a million the layout's sums could overflow: such numbers are refused like malformed ones.
    EXPECT_EQ(ParseInt("-1000000"), -1000000);
    EXPECT_FALSE(ParseInt("1000001"));
    EXPECT_FALSE(ParseInt("99999999999"));
    EXPECT_FALSE(ParseRect("-2147483648,0,2147483647,10"));
    EXPECT_EQ(ParseSize("30,40"), (Size{30, 40}));
    EXPECT_EQ(ParseColor("#FF102030"), 0xFF102030u);
    EXPECT_EQ(ParseColor("0x80102030"), 0x80102030u);
    EXPECT_EQ(ParseColor("#102030"), 0xFF102030u) << "six digits are opaque";
    EXPECT_FALSE(ParseColor("102030"));
    EXPECT_FALSE(ParseColor("#12345"));
    EXPECT_EQ(ParseBool("TRUE"), true);
    EXPECT_EQ(ParseBool("0"), false);
    EXPECT_FALSE(ParseBool("yes"));
}

TEST(AttributeText, ImageTextOfPositionFilesRoundTrips) {
    const auto image = ParseImage("file='page.png' source='10,20,110,60'");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->file, "page.png");
    EXPECT_EQ(image->source, (Rect{10, 20, 110, 60}));
    EXPECT_EQ(FormatImage(*image), "file='page.png' source='10,20,110,60'");
    EXPECT_EQ(ParseImage(FormatImage(*image)), image);

    EXPECT_EQ(ParseImage("plain.png")->file, "plain.png");
    EXPECT_TRUE(ParseImage("")->empty()) << "an empty text removes the picture";
    const auto full = ParseImage("file=\"a b.png\" corner='1,2,3,4' dest='0,0,5,5' fade='128'");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->file, "a b.png");
    EXPECT_EQ(full->fade, 128);
    EXPECT_EQ(full->corner, (Rect{1, 2, 3, 4}));
    const auto flipped = ParseImage("file='bg.png' mirror='true'");
    ASSERT_TRUE(flipped);
    EXPECT_TRUE(flipped->mirror);
    EXPECT_EQ(ParseImage(FormatImage(*flipped)), flipped);
}

TEST(AttributeText, RejectsBrokenImageTexts) {
    for (const char* text : {"file='a.png", "file='a.png' source='1,2'", "source='1,2,3,4'", "file='a' what='x'",
                             "file='a' fade='300'", "file=a.png",
                             "file='a' mirror='maybe'"}) {
        EXPECT_FALSE(ParseImage(text)) << text;
    }
}

}  // namespace
}  // namespace mousecfg::skin::attr
