#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "macro/ui/MacroItem.h"

namespace mousecfg {
class KeyNames;
class KeySource;
}  // namespace mousecfg

namespace mousecfg::skin {
class Control;
class PaintManager;
struct Notification;
}  // namespace mousecfg::skin

namespace mousecfg::macroui {

// The logic of the macro item dialog on its controls: one item of a kind (0 mouse button, 1 keyboard key,
// 2 pointer move, 3 DPI switch, chosen with "btn_Modify_ListKeyType"), its press or release, the direction and
// distances of a move, and its delay. Fields are clamped while typed (delay 0..50000 ms, distances 0..65535). A
// keyboard key is captured from the real keyboard: a click on "chk_Modify_KeyboardValue" starts the capture
// through the key source (a keyboard grab of the dialog's window), any other click, selection or focus change
// ends it. The window around it turns the result into message 2027 (Apply) or 2035 (Cancel).
//
// UI thread only. The paint manager, key names and key source outlive the dialog.
class MacroItemDialog {
public:
    using TextLookup = std::function<std::optional<std::string>(std::string_view key)>;
    enum class Outcome { None, Apply, Cancel };

    // `keyNames` gives the names of keys as the current keyboard layout has them (it may change while the
    // dialog is open).
    MacroItemDialog(skin::PaintManager& manager, std::function<const KeyNames&()> keyNames, KeySource& capture,
                    TextLookup texts);

    // Fills the controls for `item` (its mode: insert before or after, or edit).
    void Open(const MacroItem& item);
    // A notification of the dialog's window; says whether it asks to apply or to cancel.
    Outcome Notify(skin::Notification& notification);
    // A key message (256, 257, 260, 261) with its scan code; true when the capture took it.
    bool OnKey(int message, int scanCode);
    // The keyboard layout changed: the key's name is given again in the new one.
    void OnKeyNamesChanged();
    // Ends a running capture (the window closes or loses the focus).
    void StopCapture();

    bool capturing() const { return capturing_; }
    int kind() const { return kind_; }
    // The item as the controls say it now.
    MacroItem Result() const;

private:
    skin::Control* Find(const char* name) const;
    void SetVisible(const char* name, bool visible);
    std::string Text(std::string_view key, const char* fallback) const;
    int Selected(const char* combo) const;
    void Choose(const char* combo, int index);
    void Arrange(int kind);
    void ShowKey();
    void MarksFollowDirection();
    void DirectionFollowsMarks();
    void ClampField(const char* name, int max);
    void SetCapture(bool on);

    skin::PaintManager& manager_;
    std::function<const KeyNames&()> keyNames_;
    KeySource& capture_;
    TextLookup texts_;
    int mode_ = kEditRow;
    int kind_ = 1;
    int keyCode_ = 0x04;  // the key of kind 1: the item's own, or the one captured
    std::string keyText_;
    std::optional<int> lastScan_;  // the scan code captured last; its name follows the keyboard layout
    bool capturing_ = false;
};

}  // namespace mousecfg::macroui
