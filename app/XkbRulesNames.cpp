#include "app/XkbRulesNames.h"

#include <algorithm>
#include <string>
#include <vector>

namespace mousecfg::app {

std::optional<KeyboardLayout::Names> ParseXkbRulesNames(std::string_view value) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() < 5 && start <= value.size()) {
        const size_t end = std::min(value.find('\0', start), value.size());
        parts.emplace_back(value.substr(start, end - start));
        start = end + 1;
    }
    parts.resize(5);
    if (parts[2].empty()) {
        return std::nullopt;
    }
    return KeyboardLayout::Names{parts[0], parts[1], parts[2], parts[3], parts[4]};
}

}  // namespace mousecfg::app
