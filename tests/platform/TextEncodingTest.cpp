#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

namespace mousecfg {
namespace {

TEST(TextEncoding, WellFormedTextRoundTripsBetweenUtf8AndUtf16) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"Mouse A", u"Mouse A"},
        {"caf\xC3\xA9 \xE2\x82\xAC", u"caf\u00E9 \u20AC"},
        {"\xF0\x9F\x98\x80x", u"\U0001F600x"},  // a surrogate pair
        {"\xEF\xBF\xBD", u"\uFFFD"},            // a genuine replacement character is valid text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_TRUE(IsValidUtf8(c.utf8));
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
        EXPECT_EQ(CountUtf16Units(c.utf8), c.utf16.size());
    }
}

TEST(TextEncoding, CodePointsBecomeUtf8AndInvalidOnesReplacements) {
    EXPECT_EQ(Utf32ToUtf8(U"caf\u00E9 \U0001F600"), "caf\xC3\xA9 \xF0\x9F\x98\x80");
    const char32_t invalid[] = {0xD800, 0x110000, 0x41, 0};
    EXPECT_EQ(Utf32ToUtf8(invalid), "\xEF\xBF\xBD\xEF\xBF\xBD" "A");
}

TEST(TextEncoding, IllFormedUtf8BecomesOneReplacementPerMaximalPart) {
    struct Case {
        std::string bytes;
        std::u16string expected;
    };
    const Case cases[] = {
        {"q\xFFz", u"q\uFFFDz"},
        {"\xC3", u"\uFFFD"},                                // cut short at the end
        {"\xE2\x82Z", u"\uFFFDZ"},                          // cut short before an ASCII byte
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\xF0\x9F\x98Z", u"\uFFFDZ"},                      // four-byte form missing its last byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_FALSE(IsValidUtf8(c.bytes));
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.expected);
        EXPECT_EQ(CountUtf16Units(c.bytes), c.expected.size());
    }
}

TEST(TextEncoding, UnpairedSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'q'}), "\xEF\xBF\xBDq");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'x', 0xDBFF}), "x\xEF\xBF\xBD");
}

TEST(TextEncoding, CutKeepsWholeCharactersWithinTheUnitCount) {
    const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80z";  // a, e-acute, emoji (2 units), z: 5 units
    struct Case {
        std::size_t units;
        std::string expected;
    };
    const Case cases[] = {
        {0, ""}, {1, "a"}, {2, "a\xC3\xA9"}, {3, "a\xC3\xA9"}, {4, "a\xC3\xA9\xF0\x9F\x98\x80"}, {5, text}, {99, text},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutToUtf16Units(text, c.units), c.expected) << c.units;
    }
    EXPECT_EQ(CutToUtf16Units("ab\xFF", 2), "ab");
}

TEST(TextEncoding, AsciiCaseFoldingLeavesOtherBytesAlone) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase("KeySelLedVis", "KEYSELLEDVIS"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC3\x89", "\xC3\xA9"));  // E-acute and e-acute differ
    EXPECT_FALSE(EqualsIgnoringAsciiCase("ab", "abc"));
    EXPECT_EQ(ToAsciiLower("MiX\xC3\x89[Z]"), "mix\xC3\x89[z]");
}

TEST(TextEncoding, FileEncodingIsDetectedFromBomOrValidity) {
    struct Case {
        std::string bytes;
        TextFileEncoding expected;
    };
    const Case cases[] = {
        {"", TextFileEncoding::Utf8},
        {"[A]\nk=caf\xC3\xA9", TextFileEncoding::Utf8},
        {"\xEF\xBB\xBF[A]", TextFileEncoding::Utf8Bom},
        {std::string("\xFF\xFE[\0", 4), TextFileEncoding::Utf16Le},
        {std::string("\xFE\xFF\0[", 4), TextFileEncoding::Utf16Be},
        {"k=caf\xE9", TextFileEncoding::Latin1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DetectTextFileEncoding(c.bytes), c.expected) << testing::PrintToString(c.bytes);
    }
}

TEST(TextEncoding, FileBytesSurviveDecodeAndEncodeInEveryEncoding) {
    std::string everyHighByte;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        everyHighByte += static_cast<char>(byte);
    }
    const std::string files[] = {
        "k=caf\xC3\xA9\r\n",
        "\xEF\xBB\xBFk=\xE2\x82\xAC\n",
        std::string("\xFF\xFEk\0=\0\xAC\x20\x3D\xD8\x00\xDE", 12),  // k=, euro sign, U+1F600
        std::string("\xFE\xFF\0k\0=\x20\xAC", 8),
        "old ANSI " + everyHighByte,
    };
    for (const std::string& bytes : files) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        const DecodedTextFile decoded = DecodeTextFile(bytes);
        EXPECT_TRUE(IsValidUtf8(decoded.text));
        EXPECT_EQ(EncodeTextFile(decoded.text, decoded.encoding), bytes);
    }
    EXPECT_EQ(DecodeTextFile(std::string("\xFF\xFEk\0=\0\xAC\x20", 8)).text, "k=\xE2\x82\xAC");
    EXPECT_EQ(DecodeTextFile("caf\xE9").text, "caf\xC3\xA9");
}

TEST(TextEncoding, UnrepresentableOrBrokenInputIsReportedOrReplaced) {
    EXPECT_FALSE(EncodeText("\xE2\x82\xAC", TextFileEncoding::Latin1).has_value());
    EXPECT_EQ(EncodeText("\xC3\xBF", TextFileEncoding::Latin1), "\xFF");
    EXPECT_EQ(EncodeText("a\xFF", TextFileEncoding::Utf8), "a\xEF\xBF\xBD");  // a file stays valid UTF-8
    EXPECT_EQ(DecodeText(std::string("a\0b", 3), TextFileEncoding::Utf16Le), "a\xEF\xBF\xBD");  // odd last byte
}

}  // namespace
}  // namespace mousecfg
