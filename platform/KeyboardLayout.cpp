#include "platform/KeyboardLayout.h"

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

#include <array>
#include <utility>

namespace mousecfg {
namespace {

constexpr int kEvdevToXkb = 8;  // xkb key codes are the evdev codes shifted by 8

// Scan codes whose evdev code differs from the plain set-1 code. Windows reports Pause as 0x45 and Num Lock as
// the extended 0xE045, the reverse of the raw set-1 codes.
constexpr std::array<std::pair<int, int>, 25> kSpecialScanCodes{{
    {0x45, KEY_PAUSE},         {0xE045, KEY_NUMLOCK},    {0xE01C, KEY_KPENTER},   {0xE01D, KEY_RIGHTCTRL},
    {0xE035, KEY_KPSLASH},     {0xE037, KEY_SYSRQ},      {0xE038, KEY_RIGHTALT},  {0xE047, KEY_HOME},
    {0xE048, KEY_UP},          {0xE049, KEY_PAGEUP},     {0xE04B, KEY_LEFT},      {0xE04D, KEY_RIGHT},
    {0xE04F, KEY_END},         {0xE050, KEY_DOWN},       {0xE051, KEY_PAGEDOWN},  {0xE052, KEY_INSERT},
    {0xE053, KEY_DELETE},      {0xE05B, KEY_LEFTMETA},   {0xE05C, KEY_RIGHTMETA}, {0xE05D, KEY_COMPOSE},
    {0x70, KEY_KATAKANAHIRAGANA}, {0x73, KEY_RO},        {0x79, KEY_HENKAN},      {0x7B, KEY_MUHENKAN},
    {0x7D, KEY_YEN},
}};

// Dead keys give no character of their own in xkbcommon; the name shows their spacing accent.
constexpr std::array<std::pair<xkb_keysym_t, char32_t>, 13> kDeadKeys{{
    {XKB_KEY_dead_grave, U'`'},      {XKB_KEY_dead_acute, U'\u00B4'},    {XKB_KEY_dead_circumflex, U'^'},
    {XKB_KEY_dead_tilde, U'~'},      {XKB_KEY_dead_macron, U'\u00AF'},   {XKB_KEY_dead_breve, U'\u02D8'},
    {XKB_KEY_dead_abovedot, U'\u02D9'}, {XKB_KEY_dead_diaeresis, U'\u00A8'}, {XKB_KEY_dead_abovering, U'\u02DA'},
    {XKB_KEY_dead_doubleacute, U'\u02DD'}, {XKB_KEY_dead_caron, U'\u02C7'}, {XKB_KEY_dead_cedilla, U'\u00B8'},
    {XKB_KEY_dead_ogonek, U'\u02DB'},
}};

}  // namespace

int ScanCodeToEvdev(int scanCode) {
    for (const auto& [scan, evdev] : kSpecialScanCodes) {
        if (scan == scanCode) {
            return evdev;
        }
    }
    // The main block of set 1 (Escape 0x01 to F12 0x58) has the same numbers as the evdev codes.
    if (scanCode >= KEY_ESC && scanCode <= KEY_F12 && scanCode != 0x54) {
        return scanCode;
    }
    return 0;
}

std::optional<int> EvdevToScanCode(int evdevCode) {
    for (const auto& [scan, evdev] : kSpecialScanCodes) {
        if (evdev == evdevCode) {
            return scan;
        }
    }
    if (evdevCode >= KEY_ESC && evdevCode <= KEY_F12 && evdevCode != 0x54 && evdevCode != KEY_NUMLOCK) {
        return evdevCode;
    }
    return std::nullopt;
}

std::unique_ptr<KeyboardLayout> KeyboardLayout::FromNames(const Names& names) {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (context == nullptr) {
        return nullptr;
    }
    auto field = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
    const xkb_rule_names rmlvo{field(names.rules), field(names.model), field(names.layout), field(names.variant),
                               field(names.options)};
    return Wrap(context, xkb_keymap_new_from_names(context, &rmlvo, XKB_KEYMAP_COMPILE_NO_FLAGS));
}

std::unique_ptr<KeyboardLayout> KeyboardLayout::FromKeymapText(std::string_view keymapText) {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (context == nullptr) {
        return nullptr;
    }
    const std::string text(keymapText);
    return Wrap(context, xkb_keymap_new_from_string(context, text.c_str(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                    XKB_KEYMAP_COMPILE_NO_FLAGS));
}

std::unique_ptr<KeyboardLayout> KeyboardLayout::Wrap(xkb_context* context, xkb_keymap* keymap) {
    if (keymap == nullptr) {
        xkb_context_unref(context);
        return nullptr;
    }
    return std::unique_ptr<KeyboardLayout>(new KeyboardLayout(context, keymap));
}

KeyboardLayout::~KeyboardLayout() {
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

std::optional<char32_t> KeyboardLayout::UpperCharacter(int scanCode) const {
    const int evdev = ScanCodeToEvdev(scanCode);
    if (evdev == 0) {
        return std::nullopt;
    }
    const xkb_keysym_t* symbols = nullptr;
    const int count = xkb_keymap_key_get_syms_by_level(keymap_, static_cast<xkb_keycode_t>(evdev + kEvdevToXkb), 0,
                                                       0, &symbols);
    if (count != 1) {
        return std::nullopt;
    }
    for (const auto& [dead, accent] : kDeadKeys) {
        if (symbols[0] == dead) {
            return accent;
        }
    }
    char32_t character = xkb_keysym_to_utf32(xkb_keysym_to_upper(symbols[0]));
    if (character == 0) {
        // No upper-case form that xkbcommon can print (it maps sharp s to an invalid symbol): keep the letter.
        character = xkb_keysym_to_utf32(symbols[0]);
    }
    // Control characters (Enter, Tab, Backspace, Delete, Escape) are named by the fixed table instead.
    if (character < 0x20 || (character >= 0x7F && character < 0xA0)) {
        return std::nullopt;
    }
    return character;
}

}  // namespace mousecfg
