#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mousecfg::app {

// A per-control font adjustment of the language file's "Controls" section: "name=type,font index".
struct ControlFont {
    std::string control;
    std::string type;  // "label", "option", "button", "edit"
    int fontIndex = 0;
};

// The texts of one language file: the window title, the font face, the text lists that controls ask for by
// text id, the message texts by key and the per-control font adjustments. Keys are compared without case.
// A missing file gives empty lists (every control keeps the text of its skin, the title is empty).
class LanguageTexts {
public:
    using Section = std::map<std::string, std::string>;  // key in lower case -> text

    static LanguageTexts Load(const std::filesystem::path& file);

    // The text for a control's text id: "OthersUI" first; then "MacroUI" when the macro page is shown, else
    // "MouseUI" when the selected device is a mouse. Nothing when none has it.
    std::optional<std::string> Lookup(std::string_view id, bool macroPageShown, bool deviceIsMouse) const;
    // A message text of section "Mouse" ("Tip", "NoDevice", ...); empty when the file lacks it.
    std::string Message(std::string_view key) const;
    // A message text of section "Macro".
    std::string MacroMessage(std::string_view key) const;
    // A text of any section, for the pages' own sections ("MacroPopUI", "PublicLedUI", ...).
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Every text the language shows (the window name and the texts of all sections), one after another: what
    // the language's fonts must be able to draw.
    std::string AllTexts() const;

    const std::string& WindowName() const { return windowName_; }
    const std::string& FontName() const { return fontName_; }
    const std::vector<ControlFont>& Controls() const { return controls_; }
    bool Loaded() const { return loaded_; }

    // The section names read into text lists.
    static const std::vector<std::string>& SectionNames();

private:
    std::string windowName_;
    std::string fontName_;
    std::map<std::string, Section> sections_;  // by section name in lower case
    std::vector<ControlFont> controls_;
    bool loaded_ = false;
};

}  // namespace mousecfg::app
