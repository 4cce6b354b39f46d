#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mousecfg::skin {

// The source of the texts that controls with a "textid" show (the program's language). A control whose id the
// source does not know keeps its own text.
class TextQuery {
public:
    virtual ~TextQuery() = default;
    virtual std::optional<std::string> QueryControlText(std::string_view textId, std::string_view controlClass) = 0;
};

}  // namespace mousecfg::skin
