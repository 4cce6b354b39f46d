#include "macro/KeyNames.h"

#include <gtest/gtest.h>

#include "macro/KeyTables.h"
#include "platform/KeyboardLayout.h"

namespace mousecfg {
namespace {

TEST(KeyTables, ScanCodesAndItemCodesConvertBothWays) {
    const std::pair<int, int> rows[] = {
        {0x04, 30},      {0x1C, 21},      {0x1D, 44},      {0x1E, 2},       {0x27, 11},      {0x28, 28},
        {0x2B, 15},      {0x31, 43},      {0x38, 53},      {0x39, 58},      {0x3A, 59},      {0x44, 87},
        {0x45, 88},      {0x46, 0xE037},  {0x47, 70},      {0x48, 69},      {0x49, 0xE052},  {0x4C, 0xE053},
        {0x4F, 0xE04D},  {0x52, 0xE048},  {0x53, 0xE045},  {0x54, 0xE035},  {0x55, 55},      {0x58, 0xE01C},
        {0x59, 79},      {0x5F, 71},      {0x62, 82},      {0x63, 83},      {0x64, 86},      {0x65, 0xE05D},
        {0x85, 126},     {0x87, 115},     {0xE0, 29},      {0xE3, 0xE05B},  {0xE5, 0xE036},  {0xE7, 0xE05C},
        {0xF1, 240},     {0xF2, 242},     {0xF3, 241},     {0xF4, 243},     {0xF5, 244},
    };
    for (const auto& [hid, scanCode] : rows) {
        EXPECT_EQ(HidToScan(hid), scanCode) << hid;
        EXPECT_EQ(ScanToHid(scanCode), hid) << scanCode;
    }
    EXPECT_EQ(HidToScan(0x32), 43) << "both backslash usages share a key";
    EXPECT_EQ(HidToScan(0x66), 255);
    EXPECT_EQ(HidToScan(0xFF), 255);
    EXPECT_EQ(HidToScan(600), 255);
    EXPECT_EQ(ScanToHid(54), 0xFF) << "the right shift's plain scan code has no item code";
    EXPECT_EQ(ScanToHid(0x7F), 0xFF);
    for (int hid = 0; hid < 256; ++hid) {
        const int scanCode = HidToScan(hid);
        if (scanCode != 255 && hid != 0x32) {
            EXPECT_EQ(ScanToHid(scanCode), hid) << hid;
        }
    }
}

TEST(KeyNames, LettersFollowTheLayoutAndOtherKeysTheirFixedNames) {
    const KeyNames us(KeyboardLayout::FromNames({"evdev", "pc105", "us", "", ""}));
    const KeyNames de(KeyboardLayout::FromNames({"evdev", "pc105", "de", "", ""}));
    const KeyNames none;
    EXPECT_EQ(us.ItemKeyName(0x1C), "Y");
    EXPECT_EQ(de.ItemKeyName(0x1C), "Z");
    EXPECT_EQ(de.ItemKeyName(0x33), "\u00D6");
    EXPECT_EQ(none.ItemKeyName(0x1C), "Unknown Key") << "letters have no fixed name";
    for (const KeyNames* names : {&us, &de, &none}) {
        EXPECT_EQ(names->ScanKeyName(1), "Escape");
        EXPECT_EQ(names->ScanKeyName(57), "Space");
        EXPECT_EQ(names->ScanKeyName(74), "Num -");
        EXPECT_EQ(names->ScanKeyName(15), "Tab");
        EXPECT_EQ(names->ScanKeyName(0xE048), "\u2191");
        EXPECT_EQ(names->ScanKeyName(240), "Left Click");
        EXPECT_EQ(names->ScanKeyName(0x7F), "Unknown Key");
        EXPECT_EQ(names->ScanKeyName(0xE01C), "Num Enter") << "no control character as a name";
        EXPECT_EQ(names->ScanKeyName(0xE053), "Delete");
        EXPECT_EQ(names->ScanKeyName(71), "Num 7");
        EXPECT_EQ(names->ItemKeyName(0xF3), "Right Click");
        EXPECT_EQ(names->ItemKeyName(0xFF), "Unknown Key");
    }
    EXPECT_EQ(none.ScanKeyName(53), "/");
    EXPECT_EQ(de.ScanKeyName(53), "-") << "the layout's character first";
}

}  // namespace
}  // namespace mousecfg
