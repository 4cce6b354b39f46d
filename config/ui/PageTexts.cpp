#include "config/ui/PageTexts.h"

namespace mousecfg::ui {
namespace {

struct DefaultText {
    std::string_view key;
    std::string_view text;
};

// The English texts of the keys the pages use, for a language file that lacks them.
constexpr DefaultText kDefaults[] = {
    {"Tip", "Note"},
    {"OnlyOneKey", "At least one button must keep the left click."},
    {"MessageOK", "OK"},
    {"MessageCancel", "Cancel"},
    {"Json Warn", "A layout file of this mouse is missing or damaged. The page keeps its default layout."},
    {"Error", "Something went wrong. Please try again."},
    {"NoSoftKeyboard", "No on-screen keyboard is installed."},
    {"Unknown Key", "Unknown Key"},
    {"SetWriteErr", "The setting could not be saved and keeps its previous value."},
};

}  // namespace

std::optional<std::string> PageTexts::Lookup(std::string_view section, std::string_view key) const {
    if (!lookup_) {
        return std::nullopt;
    }
    std::optional<std::string> text = lookup_(section, key);
    if (text && text->empty()) {
        return std::nullopt;
    }
    return text;
}

std::string PageTexts::Find(std::string_view section, std::string_view key) const {
    if (std::optional<std::string> text = Lookup(section, key)) {
        return *text;
    }
    for (const DefaultText& entry : kDefaults) {
        if (entry.key == key) {
            return std::string(entry.text);
        }
    }
    return std::string(key);
}

}  // namespace mousecfg::ui
