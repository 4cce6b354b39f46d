#include "platform/TextEncoding.h"

namespace mousecfg {
namespace {

struct CodePoint {
    char32_t value;
    std::size_t length;  // code units taken from the input
    bool wellFormed = true;
};

// Decodes the character at `at` (< text.size()). An ill-formed sequence yields U+FFFD and the length of its
// maximal well-formed prefix (at least 1), so decoding resumes at the first byte that cannot continue it.
CodePoint DecodeUtf8At(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t trailing = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        value = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        value = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;   // no overlong forms
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
    } else {
        return {kReplacementCharacter, 1, false};
    }
    for (std::size_t k = 1; k <= trailing; ++k) {
        if (at + k >= text.size()) {
            return {kReplacementCharacter, k, false};
        }
        const auto next = static_cast<unsigned char>(text[at + k]);
        if (next < low || next > high) {
            return {kReplacementCharacter, k, false};
        }
        low = 0x80;
        high = 0xBF;
        value = (value << 6) | (next & 0x3F);
    }
    return {value, trailing + 1};
}

// Decodes the character at `at` (< text.size()); an unpaired surrogate yields U+FFFD.
CodePoint DecodeUtf16At(std::u16string_view text, std::size_t at) {
    const char16_t unit = text[at];
    if (unit < 0xD800 || unit > 0xDFFF) {
        return {unit, 1};
    }
    if (unit <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF) {
        return {0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[at + 1] - 0xDC00), 2};
    }
    return {kReplacementCharacter, 1, false};
}

void AppendUtf8(std::string& out, char32_t value) {
    if (value < 0x80) {
        out += static_cast<char>(value);
    } else if (value < 0x800) {
        out += static_cast<char>(0xC0 | (value >> 6));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
        out += static_cast<char>(0xE0 | (value >> 12));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (value >> 18));
        out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t value) {
    if (value < 0x10000) {
        out += static_cast<char16_t>(value);
    } else {
        out += static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF));
    }
}

std::size_t Utf16Length(char32_t value) {
    return value < 0x10000 ? 1 : 2;
}

// `utf8` with every ill-formed part replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const CodePoint point = DecodeUtf8At(utf8, at);
        AppendUtf8(out, point.value);
        at += point.length;
    }
    return out;
}

std::u16string UnitsFromBytes(std::string_view bytes, bool littleEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        units += static_cast<char16_t>(littleEndian ? first | (second << 8) : (first << 8) | second);
    }
    return units;
}

std::string BytesFromUnits(std::u16string_view units, bool littleEndian) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        const auto low = static_cast<char>(unit & 0xFF);
        const auto high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

}  // namespace

std::string CodePointToUtf8(char32_t character) {
    std::string out;
    AppendUtf8(out, character);
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const CodePoint point = DecodeUtf8At(utf8, at);
        AppendUtf16(out, point.value);
        at += point.length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t at = 0; at < utf16.size();) {
        const CodePoint point = DecodeUtf16At(utf16, at);
        AppendUtf8(out, point.value);
        at += point.length;
    }
    return out;
}

std::string Utf32ToUtf8(std::u32string_view utf32) {
    std::string out;
    out.reserve(utf32.size());
    for (char32_t value : utf32) {
        const bool valid = value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
        AppendUtf8(out, valid ? value : kReplacementCharacter);
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const CodePoint point = DecodeUtf8At(bytes, at);
        if (!point.wellFormed) {
            return false;
        }
        at += point.length;
    }
    return true;
}

std::size_t CountUtf16Units(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const CodePoint point = DecodeUtf8At(utf8, at);
        units += Utf16Length(point.value);
        at += point.length;
    }
    return units;
}

std::string_view CutToUtf16Units(std::string_view utf8, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const CodePoint point = DecodeUtf8At(utf8, at);
        units += Utf16Length(point.value);
        if (units > maxUnits) {
            break;
        }
        at += point.length;
    }
    return utf8.substr(0, at);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::string ToAsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

TextFileEncoding DetectTextFileEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        return TextFileEncoding::Utf8Bom;
    }
    if (bytes.starts_with(kUtf16LeBom)) {
        return TextFileEncoding::Utf16Le;
    }
    if (bytes.starts_with(kUtf16BeBom)) {
        return TextFileEncoding::Utf16Be;
    }
    return IsValidUtf8(bytes) ? TextFileEncoding::Utf8 : TextFileEncoding::Latin1;
}

std::string_view ByteOrderMark(TextFileEncoding encoding) {
    switch (encoding) {
        case TextFileEncoding::Utf8Bom:
            return kUtf8Bom;
        case TextFileEncoding::Utf16Le:
            return kUtf16LeBom;
        case TextFileEncoding::Utf16Be:
            return kUtf16BeBom;
        case TextFileEncoding::Utf8:
        case TextFileEncoding::Latin1:
            break;
    }
    return {};
}

std::size_t CodeUnitSize(TextFileEncoding encoding) {
    return encoding == TextFileEncoding::Utf16Le || encoding == TextFileEncoding::Utf16Be ? 2 : 1;
}

std::string DecodeText(std::string_view bytes, TextFileEncoding encoding) {
    switch (encoding) {
        case TextFileEncoding::Utf8:
        case TextFileEncoding::Utf8Bom:
            return SanitizeUtf8(bytes);
        case TextFileEncoding::Latin1: {
            std::string out;
            out.reserve(bytes.size() * 2);
            for (const char byte : bytes) {
                AppendUtf8(out, static_cast<unsigned char>(byte));
            }
            return out;
        }
        case TextFileEncoding::Utf16Le:
        case TextFileEncoding::Utf16Be: {
            std::string out = Utf16ToUtf8(UnitsFromBytes(bytes, encoding == TextFileEncoding::Utf16Le));
            if (bytes.size() % 2 != 0) {
                AppendUtf8(out, kReplacementCharacter);
            }
            return out;
        }
    }
    return {};
}

std::optional<std::string> EncodeText(std::string_view utf8, TextFileEncoding encoding) {
    switch (encoding) {
        case TextFileEncoding::Utf8:
        case TextFileEncoding::Utf8Bom:
            return SanitizeUtf8(utf8);
        case TextFileEncoding::Latin1: {
            std::string out;
            out.reserve(utf8.size());
            for (std::size_t at = 0; at < utf8.size();) {
                const CodePoint point = DecodeUtf8At(utf8, at);
                if (point.value > 0xFF) {
                    return std::nullopt;
                }
                out += static_cast<char>(point.value);
                at += point.length;
            }
            return out;
        }
        case TextFileEncoding::Utf16Le:
        case TextFileEncoding::Utf16Be:
            return BytesFromUnits(Utf8ToUtf16(utf8), encoding == TextFileEncoding::Utf16Le);
    }
    return std::nullopt;
}

DecodedTextFile DecodeTextFile(std::string_view bytes) {
    DecodedTextFile file;
    file.encoding = DetectTextFileEncoding(bytes);
    file.text = DecodeText(bytes.substr(ByteOrderMark(file.encoding).size()), file.encoding);
    return file;
}

std::optional<std::string> EncodeTextFile(std::string_view utf8, TextFileEncoding encoding) {
    std::optional<std::string> body = EncodeText(utf8, encoding);
    if (!body) {
        return std::nullopt;
    }
    return std::string(ByteOrderMark(encoding)) + *body;
}

}  // namespace mousecfg
