#pragma once

#include <cstdint>
#include <string>

namespace mousecfg::macroui {

// What the item dialog does with its item: insert it before or after the selected row, or replace that row.
inline constexpr int kInsertBefore = 0;
inline constexpr int kInsertAfter = 1;
inline constexpr int kEditRow = 0xFF;

// One macro item as the editor hands it to the item dialog and gets it back: the item code (a HID key usage,
// 0xF1..0xF5 mouse buttons, 0xF6 pointer move, 0xF8 DPI switch), its text, its state (1 press, 2 release, 3..6
// the direction of a move), its delay in ms, and for a move the two distances (also written in `text`).
struct MacroItem {
    int code = 0;
    std::string text;
    int state = 1;
    int delay = 0;
    int mode = kEditRow;
    uint16_t x = 0;
    uint16_t y = 0;
};

}  // namespace mousecfg::macroui
