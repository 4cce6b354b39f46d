#include "skin/AttributeText.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/TextEncoding.h"

namespace mousecfg::skin::attr {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::vector<int>> ParseInts(std::string_view text, size_t count) {
    std::vector<int> values;
    while (true) {
        const size_t comma = text.find(',');
        const auto value = ParseInt(text.substr(0, comma));
        if (!value || values.size() == count) {
            return std::nullopt;
        }
        values.push_back(*value);
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    if (values.size() != count) {
        return std::nullopt;
    }
    return values;
}

// Splits "key='value' key2='value2'" into pairs; nothing when the quoting is broken.
std::optional<std::vector<std::pair<std::string, std::string>>> SplitPairs(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> pairs;
    size_t at = 0;
    while (true) {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
            ++at;
        }
        if (at == text.size()) {
            return pairs;
        }
        const size_t equals = text.find('=', at);
        if (equals == text.npos || equals + 1 >= text.size()) {
            return std::nullopt;
        }
        const char quote = text[equals + 1];
        if (quote != '\'' && quote != '"') {
            return std::nullopt;
        }
        const size_t close = text.find(quote, equals + 2);
        if (close == text.npos) {
            return std::nullopt;
        }
        pairs.emplace_back(ToAsciiLower(Trim(text.substr(at, equals - at))),
                           std::string(text.substr(equals + 2, close - equals - 2)));
        at = close + 1;
    }
}

}  // namespace

std::optional<int> ParseInt(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > kMaxAttributeNumber ||
        value < -kMaxAttributeNumber) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> ParseBool(std::string_view text) {
    const std::string lower = ToAsciiLower(Trim(text));
    if (lower == "true" || lower == "1") {
        return true;
    }
    if (lower == "false" || lower == "0") {
        return false;
    }
    return std::nullopt;
}

std::optional<Rect> ParseRect(std::string_view text) {
    const auto values = ParseInts(text, 4);
    if (!values) {
        return std::nullopt;
    }
    return Rect{(*values)[0], (*values)[1], (*values)[2], (*values)[3]};
}

std::optional<Size> ParseSize(std::string_view text) {
    const auto values = ParseInts(text, 2);
    if (!values) {
        return std::nullopt;
    }
    return Size{(*values)[0], (*values)[1]};
}

std::optional<Color> ParseColor(std::string_view text) {
    text = Trim(text);
    if (text.starts_with('#')) {
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
    } else {
        return std::nullopt;
    }
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || (text.size() != 6 && text.size() != 8)) {
        return std::nullopt;
    }
    return text.size() == 6 ? (value | 0xFF000000u) : value;
}

std::optional<ImageRef> ParseImage(std::string_view text) {
    ImageRef image;
    text = Trim(text);
    if (text.empty()) {
        return image;
    }
    if (text.find('=') == text.npos) {
        image.file = std::string(text);
        return image;
    }
    const auto pairs = SplitPairs(text);
    if (!pairs) {
        return std::nullopt;
    }
    for (const auto& [key, value] : *pairs) {
        if (key == "file") {
            image.file = value;
            continue;
        }
        if (key == "mirror") {
            const auto flag = ParseBool(value);
            if (!flag) {
                return std::nullopt;
            }
            image.mirror = *flag;
            continue;
        }
        if (key == "fade") {
            const auto fade = ParseInt(value);
            if (!fade || *fade < 0 || *fade > 255) {
                return std::nullopt;
            }
            image.fade = *fade;
            continue;
        }
        const auto rect = ParseRect(value);
        if (!rect) {
            return std::nullopt;
        }
        if (key == "source") {
            image.source = rect;
        } else if (key == "corner") {
            image.corner = rect;
        } else if (key == "dest") {
            image.dest = rect;
        } else {
            return std::nullopt;
        }
    }
    if (image.file.empty()) {
        return std::nullopt;
    }
    return image;
}

std::string FormatRect(const Rect& rect) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d,%d,%d,%d", rect.left, rect.top, rect.right, rect.bottom);
    return buffer;
}

std::string FormatImage(const ImageRef& image) {
    if (image.empty()) {
        return {};
    }
    std::string text = "file='" + image.file + "'";
    const std::pair<const char*, const std::optional<Rect>*> parts[] = {
        {"source", &image.source}, {"corner", &image.corner}, {"dest", &image.dest}};
    for (const auto& [key, rect] : parts) {
        if (rect->has_value()) {
            text += std::string(" ") + key + "='" + FormatRect(**rect) + "'";
        }
    }
    if (image.fade != 255) {
        text += " fade='" + std::to_string(image.fade) + "'";
    }
    if (image.mirror) {
        text += " mirror='true'";
    }
    return text;
}

std::string FormatColor(Color color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%08X", color);
    return buffer;
}

}  // namespace mousecfg::skin::attr
