#pragma once

#include "skin/Label.h"

namespace mousecfg::skin {

// A one-line text field. While it has the focus the window shows a native line edit over it; what the user
// types arrives through ReplaceText ("textchanged"), Enter through PressReturn ("return"), and losing the focus
// raises "killfocus". Without a native editor (headless windows) typed characters and Backspace edit the text
// directly. SetText from code raises nothing.
class Edit : public Label {
public:
    Edit();
    std::string_view GetClass() const override { return "Edit"; }
    bool IsInteractive() const override { return true; }
    bool IsFocusable() const override { return true; }
    void DoEvent(ControlEvent& event) override;
    void SetText(std::string text) override;

    // Text typed by the user: limited to the allowed characters and length, then stored; raises "textchanged"
    // when the text changed. Returns the text as stored (the native editor shows that).
    const std::string& ReplaceText(std::string text);
    void PressReturn();

    int GetMaxChar() const { return maxChar_; }
    void SetMaxChar(int maxChar) { maxChar_ = maxChar; }
    bool IsNumberOnly() const { return numberOnly_; }
    void SetNumberOnly(bool numberOnly) { numberOnly_ = numberOnly; }
    bool IsPassword() const { return password_; }
    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    Color GetNativeBkColor() const { return nativeBkColor_; }
    // The text limited as ReplaceText limits it.
    std::string Filter(std::string_view text) const;

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintText(Painter& painter) override;

private:
    int maxChar_ = 255;  // in UTF-16 code units, as the program's documents count characters
    bool numberOnly_ = false;
    bool password_ = false;
    bool readOnly_ = false;
    Color nativeBkColor_ = 0xFFFFFFFFu;
    std::string promptText_;
    Color promptColor_ = 0xFF999999u;
};

}  // namespace mousecfg::skin
