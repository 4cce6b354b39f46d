#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mousecfg::ui {

// The texts of the language in use that the pages show themselves: message windows and tips. The program looks
// them up in its language file; without a lookup (tests, a language that lacks a key) the English text stands in.
// A plain value; UI thread only.
class PageTexts {
public:
    // Looks up `key` of `section` of the language file; nothing when the file lacks it.
    using LookupFunction = std::function<std::optional<std::string>(std::string_view section, std::string_view key)>;

    PageTexts() = default;
    explicit PageTexts(LookupFunction lookup) : lookup_(std::move(lookup)) {}

    // A message text of section "Mouse" ("Tip", "OnlyOneKey", "MessageOK", "MessageCancel", "Json Warn", ...).
    std::string Message(std::string_view key) const { return Find("Mouse", key); }
    // A text of any section; the English text when the language has none (the key itself for unknown keys).
    std::string Find(std::string_view section, std::string_view key) const;
    // As Find, but nothing when the language lacks the text.
    std::optional<std::string> Lookup(std::string_view section, std::string_view key) const;
    // The language's name of a mouse function (section "MouseFunctionUI", keyed by the code); nothing when the
    // language has none (the model's name stands then).
    std::optional<std::string> FunctionName(int code) const { return Lookup("MouseFunctionUI", std::to_string(code)); }

private:
    LookupFunction lookup_;
};

}  // namespace mousecfg::ui
