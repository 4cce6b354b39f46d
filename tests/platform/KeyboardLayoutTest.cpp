#include "platform/KeyboardLayout.h"

#include <gtest/gtest.h>

namespace mousecfg {
namespace {

std::unique_ptr<KeyboardLayout> Layout(const char* name, const char* variant = "") {
    auto layout = KeyboardLayout::FromNames({"evdev", "pc105", name, variant, ""});
    EXPECT_NE(layout, nullptr) << name;
    return layout;
}

TEST(KeyboardLayout, ScanCodesAndEvdevCodesMapBothWays) {
    const std::pair<int, int> pairs[] = {{1, 1},          {0x1E, 30},      {0x45, 119},     {0xE045, 69},
                                         {0xE048, 103},   {0xE01C, 96},    {0xE038, 100},   {0xE05B, 125},
                                         {0x56, 86},      {0x58, 88},      {0xE053, 111}};
    for (const auto& [scan, evdev] : pairs) {
        EXPECT_EQ(ScanCodeToEvdev(scan), evdev) << std::hex << scan;
        EXPECT_EQ(EvdevToScanCode(evdev), scan) << evdev;
    }
    EXPECT_EQ(ScanCodeToEvdev(0x7F), 0);
    EXPECT_EQ(ScanCodeToEvdev(240), 0) << "mouse buttons are no keys";
    EXPECT_EQ(EvdevToScanCode(0x2FF), std::nullopt);
}

TEST(KeyboardLayout, CharactersFollowTheLayout) {
    const auto us = Layout("us");
    const auto de = Layout("de");
    ASSERT_TRUE(us && de);
    EXPECT_EQ(us->UpperCharacter(0x15), U'Y');
    EXPECT_EQ(de->UpperCharacter(0x15), U'Z');
    EXPECT_EQ(us->UpperCharacter(0x2C), U'Z');
    EXPECT_EQ(de->UpperCharacter(0x2C), U'Y');
    EXPECT_EQ(de->UpperCharacter(0x27), U'\u00D6') << "o umlaut in upper case";
    EXPECT_EQ(us->UpperCharacter(0x27), U';');
    EXPECT_EQ(de->UpperCharacter(0x29), U'^') << "a dead key gives its accent";
    EXPECT_EQ(de->UpperCharacter(0x0C), U'\u00DF') << "sharp s has no single upper-case letter";
    EXPECT_EQ(us->UpperCharacter(0x39), U' ');
    EXPECT_EQ(us->UpperCharacter(0x1C), std::nullopt) << "Enter gives a control character";
    EXPECT_EQ(us->UpperCharacter(0x47), std::nullopt) << "keypad 7 without Num Lock";
    EXPECT_EQ(us->UpperCharacter(0xE035), U'/');
}

TEST(KeyboardLayout, UnknownNamesAndTextsGiveNoLayout) {
    EXPECT_EQ(KeyboardLayout::FromNames({"evdev", "pc105", "no-such-layout", "", ""}), nullptr);
    EXPECT_EQ(KeyboardLayout::FromKeymapText("not a keymap"), nullptr);
}

}  // namespace
}  // namespace mousecfg
