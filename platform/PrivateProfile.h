#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Status.h"

// INI files with the semantics of the Windows private-profile functions, so that files written by existing
// installations read and write as they always have:
//  - sections and keys match without regard to case; names and values are trimmed of blanks and tabs;
//    a value wrapped in matching single or double quotes loses the quotes;
//  - lines whose first non-blank character is ';' or '#' are comments: never read, kept when writing;
//  - a line without '=' is no key: reading its name gives the default and key listings leave it out;
//  - of duplicate sections and keys the first one counts, for reads and writes alike;
//  - a value read into a buffer of N UTF-16 code units keeps at most N - 1 of them;
//  - files are UTF-8 with or without BOM, UTF-16LE with BOM, or (when not valid UTF-8) Latin-1; a file keeps
//    its encoding and line endings when written, and every other line is kept byte for byte;
//  - writes are atomic: a temporary file beside the target, flushed, then renamed over it.
// Texts in and out are UTF-8. All functions may be called from any thread; a process-wide cache keyed by the
// file's size and modification time keeps repeated reads cheap.
namespace mousecfg::ini {

// The buffer size, in UTF-16 code units, that reads use unless told otherwise.
inline constexpr int kBufferSize = 260;

// The value of `key` in `section`, or `defaultValue` (trailing blanks removed) when the file, the section or
// the key is missing. The result is cut to `bufferSize` - 1 UTF-16 code units.
std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::filesystem::path& file, int bufferSize = kBufferSize);

// The value of `key` read as an integer the way the Windows function does: leading blanks skipped, an optional
// sign, decimal digits or a 0x / 0o / 0b prefix, stopping at the first other character. `defaultValue` when the
// key is missing or its value is empty.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::filesystem::path& file);

// The C library's atoi of a text: leading white space, optional sign, decimal digits up to the first other
// character; 0 when there are none; clamped to the int range.
int Atoi(std::string_view text);

// GetPrivateProfileString with a 260-unit buffer followed by Atoi: how the model files' numbers are read.
// A missing key or an empty value gives 0.
int GetProfileNumber(std::string_view section, std::string_view key, const std::filesystem::path& file);

// The entries of a section as "key=value" texts in file order (values trimmed, quotes kept as written), without
// comments; an entry without "=" is listed as its name. Empty when the section is missing.
std::vector<std::string> GetPrivateProfileSection(std::string_view section, const std::filesystem::path& file);

// The keys of a section as (key, value) pairs, values as GetPrivateProfileString reads them.
std::vector<std::pair<std::string, std::string>> GetPrivateProfileEntries(std::string_view section,
                                                                         const std::filesystem::path& file);

// The names of the sections in file order (the first of duplicates only).
std::vector<std::string> GetPrivateProfileSectionNames(const std::filesystem::path& file);

// The key names of a section in file order (the first of duplicates only).
std::vector<std::string> GetPrivateProfileKeys(std::string_view section, const std::filesystem::path& file);

// Writes `value` for `key` in `section`: replaces the value of an existing key in place, or adds the key at the
// end of the section, or adds the section at the end of the file, creating the file (UTF-8) when it is missing.
// No `key` deletes the whole section; a key without `value` deletes the key. Deleting what does not exist
// succeeds without touching the file. Fails, leaving the file as it was, when it cannot be read or written.
Status WritePrivateProfileString(std::string_view section, std::optional<std::string_view> key,
                                 std::optional<std::string_view> value, const std::filesystem::path& file);

// Forgets every cached file (tests that rewrite files behind the library's back within one clock tick).
void ClearCache();

}  // namespace mousecfg::ini
