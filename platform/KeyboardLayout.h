#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct xkb_context;
struct xkb_keymap;

namespace mousecfg {

// PC set-1 scan codes as the program stores them (an extended key is 0xE000 + its code, 0xE048 is Up) and the
// Linux input key codes (evdev) of the same keys. 0 / nullopt for a code without a counterpart.
int ScanCodeToEvdev(int scanCode);
std::optional<int> EvdevToScanCode(int evdevCode);

// A keyboard layout compiled with xkbcommon: which character each key gives. Built from layout names (rules,
// model, layout, variant, options, as the desktop's keyboard settings name them) or from a keymap text the
// display server hands out. Immutable once built: any thread may use it.
class KeyboardLayout {
public:
    struct Names {
        std::string rules;
        std::string model;
        std::string layout;   // for example "us" or "de"
        std::string variant;
        std::string options;
    };

    // Nullptr when the names do not compile to a keymap. Empty names take xkbcommon's defaults (which follow
    // the XKB_DEFAULT_* environment variables).
    static std::unique_ptr<KeyboardLayout> FromNames(const Names& names);
    static std::unique_ptr<KeyboardLayout> FromKeymapText(std::string_view keymapText);

    ~KeyboardLayout();
    KeyboardLayout(const KeyboardLayout&) = delete;
    KeyboardLayout& operator=(const KeyboardLayout&) = delete;

    // The upper-case character the key with `scanCode` gives without modifiers in the first group of the
    // layout; a dead key gives its spacing accent ("^" for a dead circumflex). Nullopt when the key gives no
    // printable character (control keys, keypad keys with Num Lock off, unknown codes).
    std::optional<char32_t> UpperCharacter(int scanCode) const;

private:
    KeyboardLayout(xkb_context* context, xkb_keymap* keymap) : context_(context), keymap_(keymap) {}
    static std::unique_ptr<KeyboardLayout> Wrap(xkb_context* context, xkb_keymap* keymap);
    xkb_context* context_;
    xkb_keymap* keymap_;
};

}  // namespace mousecfg
