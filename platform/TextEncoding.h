#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Conversions between the program's UTF-8 texts, the UTF-16 code units that Windows-era files and documents count
// and store, and the bytes of text files. Pure functions: any thread. None of them throws on bad input; bytes that
// are not valid UTF-8 and unpaired UTF-16 surrogates become U+FFFD, one per maximal ill-formed part.
namespace mousecfg {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// UTF-8 to UTF-16 code units.
std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-16 code units to UTF-8.
std::string Utf16ToUtf8(std::u16string_view utf16);

// One character (a Unicode code point) as UTF-8.
std::string CodePointToUtf8(char32_t character);

// Code points (such as the wide strings of C libraries on Linux) to UTF-8; surrogates and values above U+10FFFF
// become U+FFFD.
std::string Utf32ToUtf8(std::u32string_view utf32);

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The number of UTF-16 code units that Utf8ToUtf16(utf8) would produce.
std::size_t CountUtf16Units(std::string_view utf8);

// The longest prefix of `utf8` that takes at most `maxUnits` UTF-16 code units, never ending inside a character
// (a character that needs a surrogate pair is dropped whole when only one unit is left). Returns a view into
// `utf8`.
std::string_view CutToUtf16Units(std::string_view utf8, std::size_t maxUnits);

// Compares two texts with ASCII letters folded to one case; other bytes must match exactly.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// `text` with the ASCII letters A..Z turned to a..z (a key for look-ups that ignore ASCII case).
std::string ToAsciiLower(std::string_view text);

// How the bytes of a text file are encoded. Files without a byte order mark are UTF-8 when their bytes are valid
// UTF-8 and Latin-1 otherwise: every byte of an old single-byte ("ANSI") file then maps to one character and back,
// so such a file is read and written again without losing bytes.
enum class TextFileEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Latin1 };

// The encoding of a file's bytes: by its byte order mark (EF BB BF, FF FE, FE FF), else UTF-8 or Latin-1.
TextFileEncoding DetectTextFileEncoding(std::string_view bytes);

// The byte order mark that files of `encoding` start with; empty for UTF-8 without BOM and Latin-1.
std::string_view ByteOrderMark(TextFileEncoding encoding);

// The size in bytes of one code unit of `encoding`: 2 for UTF-16, 1 otherwise.
std::size_t CodeUnitSize(TextFileEncoding encoding);

// Bytes of `encoding` (without a byte order mark) as UTF-8. A trailing odd byte of UTF-16 becomes U+FFFD.
std::string DecodeText(std::string_view bytes, TextFileEncoding encoding);

// UTF-8 text as bytes of `encoding`, without a byte order mark. Empty optional when the text holds a character
// that `encoding` cannot represent (above U+00FF for Latin-1).
std::optional<std::string> EncodeText(std::string_view utf8, TextFileEncoding encoding);

struct DecodedTextFile {
    TextFileEncoding encoding = TextFileEncoding::Utf8;
    std::string text;  // UTF-8, without the byte order mark
};

// Detects the encoding of a whole file's bytes and decodes them.
DecodedTextFile DecodeTextFile(std::string_view bytes);

// The bytes of a whole file: the byte order mark of `encoding` followed by the encoded text. Empty optional as
// for EncodeText.
std::optional<std::string> EncodeTextFile(std::string_view utf8, TextFileEncoding encoding);

}  // namespace mousecfg
