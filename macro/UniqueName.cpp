#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "macro/MacroStore.h"

namespace mousecfg {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// The whole of `tail` read as a decimal integer (leading blanks and a sign allowed, nothing after the digits).
std::optional<int64_t> WholeNumber(std::u16string_view tail) {
    size_t i = 0;
    while (i < tail.size() && IsBlank(tail[i])) {
        ++i;
    }
    bool negative = false;
    if (i < tail.size() && (tail[i] == u'+' || tail[i] == u'-')) {
        negative = tail[i] == u'-';
        ++i;
    }
    const size_t digits = i;
    int64_t value = 0;
    for (; i < tail.size() && tail[i] >= u'0' && tail[i] <= u'9'; ++i) {
        value = std::min<int64_t>(value * 10 + (tail[i] - u'0'), std::numeric_limits<int32_t>::max());
    }
    if (i == digits || i != tail.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

std::u16string UniqueName(const std::u16string& base, const std::vector<std::u16string>& names) {
    std::vector<int64_t> taken;
    for (const std::u16string& name : names) {
        if (!name.starts_with(base)) {
            continue;
        }
        if (name.size() == base.size()) {
            taken.push_back(-1);
        } else if (const auto number = WholeNumber(std::u16string_view(name).substr(base.size()))) {
            taken.push_back(*number);
        }
    }
    std::sort(taken.begin(), taken.end());
    // The lowest free number from -1 (the base itself) on. Numbers below it and repeats are passed over, so the
    // result is never a name that is already taken.
    int64_t next = -1;
    for (const int64_t number : taken) {
        if (number == next) {
            ++next;
        } else if (number > next) {
            break;
        }
    }
    if (next == -1) {
        return base;
    }
    const std::string digits = std::to_string(next);
    return base + std::u16string(digits.begin(), digits.end());
}

}  // namespace mousecfg
