#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace mousecfg {

// The model's function names from "res/VeruzUrir/Language/LanguageText.json": its object "MouseFunctionText"
// maps a function code in decimal text to [text of the assignment lists, text shown on the page button].
// A plain value; read on the user-interface thread when the mouse pages are set up.
class FunctionTable {
public:
    struct Texts {
        std::string list;
        std::string button;
    };

    // Reads the file. A missing file leaves the table empty; a parse error or a member of the wrong type ends the
    // read there (the members read before it stay) and is traced and returned. Members whose name is not a
    // decimal number are skipped.
    Status Load(const std::filesystem::path& file);
    Status Parse(std::string_view text);

    // The two texts of a code; "Unknown Key" when the code is not in the table.
    std::string FunctionListText(int code) const;
    std::string FunctionButtonText(int code) const;
    bool Contains(int code) const { return entries_.contains(code); }
    const std::map<int, Texts>& entries() const { return entries_; }

private:
    std::map<int, Texts> entries_;
};

inline constexpr std::string_view kUnknownKey = "Unknown Key";

}  // namespace mousecfg
