#pragma once

#include <memory>
#include <string>

namespace mousecfg {

class KeyboardLayout;

// The names shown for keys everywhere in the program: the character a key gives in the user's keyboard layout
// (upper case, so "Z" on a German keyboard where a US one shows "Y"), or a fixed name for keys that give no
// character ("Escape", "Num -", "↑", "Left Click"); "Unknown Key" for codes without a name. Texts are UTF-8.
// Immutable: any thread.
class KeyNames {
public:
    // Without a layout every key is named from the fixed table.
    explicit KeyNames(std::shared_ptr<const KeyboardLayout> layout = nullptr) : layout_(std::move(layout)) {}

    // The name of a scan code (0xE000 + code for an extended key; 240..244 the mouse buttons).
    std::string ScanKeyName(int scanCode) const;
    // The name of a macro item code or key code (a HID keyboard usage, 0xF1..0xF5 the mouse buttons):
    // ScanKeyName of HidToScan of the code.
    std::string ItemKeyName(int code) const;

private:
    std::shared_ptr<const KeyboardLayout> layout_;
};

}  // namespace mousecfg
