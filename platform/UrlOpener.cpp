#include "platform/UrlOpener.h"

namespace mousecfg {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != prefix[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsWebAddress(std::string_view text) {
    const size_t schemeEnd = StartsWithIgnoringCase(text, "https://") ? 8 : StartsWithIgnoringCase(text, "http://") ? 7 : 0;
    if (schemeEnd == 0 || text.size() <= schemeEnd || text[schemeEnd] == '/') {
        return false;
    }
    for (const char c : text) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' ||
            c == '`') {
            return false;
        }
    }
    return true;
}

}  // namespace mousecfg
