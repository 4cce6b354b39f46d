#include "macro/KeyNames.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "macro/KeyTables.h"
#include "platform/KeyboardLayout.h"
#include "platform/TextEncoding.h"

namespace mousecfg {
namespace {

// Keys that are always named from the table even when the layout gives them a character.
constexpr std::array<int, 10> kAlwaysFixed{1, 14, 15, 28, 55, 57, 70, 74, 78, 0xE037};

constexpr std::pair<int, std::string_view> kFixedNames[] = {
    {1, "Escape"},         {14, "BackSpace"},     {15, "Tab"},          {28, "Enter"},
    {29, "L-Ctrl"},        {42, "L-Shift"},       {53, "/"},            {55, "Num *"},
    {56, "L-Alt"},         {57, "Space"},         {58, "Caps Lock"},    {59, "F1"},
    {60, "F2"},            {61, "F3"},            {62, "F4"},           {63, "F5"},
    {64, "F6"},            {65, "F7"},            {66, "F8"},           {67, "F9"},
    {68, "F10"},           {69, "Pause"},         {70, "Scroll Lock"},  {71, "Num 7"},
    {72, "Num 8"},         {73, "Num 9"},         {74, "Num -"},        {75, "Num 4"},
    {76, "Num 5"},         {77, "Num 6"},         {78, "Num +"},        {79, "Num 1"},
    {80, "Num 2"},         {81, "Num 3"},         {82, "Num 0"},        {83, "Num ."},
    {126, "Num ."},        {87, "F11"},           {88, "F12"},          {240, "Left Click"},
    {241, "Right Click"},  {242, "Middle Click"}, {243, "K4"},          {244, "K5"},
    {0xE01C, "Num Enter"}, {0xE01D, "R-Ctrl"},    {0xE035, "Num /"},    {0xE036, "R-Shift"},
    {0xE037, "Print Screen"}, {0xE038, "R-Alt"},  {0xE045, "Num Lock"}, {0xE047, "Home"},
    {0xE048, "\u2191"},    {0xE049, "Page Up"},   {0xE04B, "\u2190"},   {0xE04D, "\u2192"},
    {0xE04F, "End"},       {0xE050, "\u2193"},    {0xE051, "Page Down"}, {0xE052, "Insert"},
    {0xE053, "Delete"},    {0xE05B, "L-Win"},     {0xE05C, "R-Win"},    {0xE05D, "App"},
};

}  // namespace

std::string KeyNames::ScanKeyName(int scanCode) const {
    const bool fixed = std::find(kAlwaysFixed.begin(), kAlwaysFixed.end(), scanCode) != kAlwaysFixed.end();
    if (layout_ != nullptr && !fixed) {
        if (const auto character = layout_->UpperCharacter(scanCode)) {
            return CodePointToUtf8(*character);
        }
    }
    for (const auto& [code, name] : kFixedNames) {
        if (code == scanCode) {
            return std::string(name);
        }
    }
    return "Unknown Key";
}

std::string KeyNames::ItemKeyName(int code) const { return ScanKeyName(HidToScan(code)); }

}  // namespace mousecfg
