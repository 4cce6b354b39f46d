#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mousecfg::macroui {

// The language texts the macro page shows in its message windows (section "Macro" of the language file) and
// the profile names of its binding list. Missing texts keep the English defaults.
struct MacroPageTexts {
    using Lookup = std::function<std::optional<std::string>(std::string_view key)>;

    std::string newMacro = "New macro";
    std::string newGroup = "New group";
    std::string jsonWarn = "The layout file of the macro page is missing or damaged.";
    std::string tip = "Note";
    std::string ok = "OK";
    std::string cancel = "Cancel";
    std::string recordWarn = "The macro is full: recording stopped.";
    std::string exceed = "The macro is too long for the mouse's memory.";
    std::string selMacro = "Select a macro first.";
    std::string delMacro = "This macro is bound to buttons. Delete it anyway?";
    std::string selWarn = "Select a macro to insert into.";
    std::string selOne = "Select an item first.";
    std::string nullWarn = "The name must not be empty.";
    std::string macroRecord = "Recording…";
    std::string error = "Something went wrong. Please try again.";
    std::string importError = "The file could not be imported: it is not a valid macro group.";
    std::array<std::string, 3> profiles{"Profile 1", "Profile 2", "Profile 3"};
    std::string buttonName = "Button %d";  // a bound button in the binding list; %d its number from 1

    // `messages` answers the keys of the "Macro" section ("New Macro", "Tip", ...), `controls` the control
    // texts ("Profile1" ..., "BindButton").
    static MacroPageTexts From(const Lookup& messages, const Lookup& controls);
};

}  // namespace mousecfg::macroui
