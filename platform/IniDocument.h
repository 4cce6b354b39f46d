#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/TextEncoding.h"

namespace mousecfg::ini {

// One INI file held as its lines, each line keeping the exact bytes it had in the file, with an index of the
// sections and keys for look-ups. Edits replace, add or remove whole lines and leave every other line's bytes
// as they were, so a file written back differs from the one read only where it was edited.
//
// Reading rules: a line whose first non-blank character is ';' or '#' is a comment; "[name]" starts a section
// (text after the first ']' is ignored, and a '[' line without ']' is an ordinary line); any other non-blank line
// is an entry "key=value" (split at the first '='). A line without '=' is kept and listed as an entry of its
// section, but it is not a key: look-ups pass over it, as the files' own system reads them. Names and values are
// trimmed of blanks and tabs. Entries before the first section belong to no section. Names match without regard
// to ASCII case; of duplicate sections and duplicate keys within a section the first one counts.
//
// A document is not synchronised: share it only as const.
class IniDocument {
  public:
    // An entry as written in the file: name and value trimmed, quotes kept.
    struct Entry {
        std::string_view name;
        std::string_view value;
        bool hasEquals = false;  // false for a line holding only a name, which is no key
        bool duplicate = false;  // an earlier entry of the section of the same kind has the same name
    };

    // An empty document, written as UTF-8 without byte order mark and with LF line ends.
    IniDocument() = default;

    // Reads the bytes of a file; never fails (bytes that are not text still form lines that are kept).
    static IniDocument Parse(std::string_view bytes);

    // The file's bytes: the byte order mark of the encoding followed by every line.
    std::string Serialise() const;

    TextFileEncoding encoding() const { return encoding_; }
    // "\r\n" or "\n": the ending of the file's first line, used for the lines that edits add.
    const std::string& lineEnd() const { return lineEnd_; }

    // The value (trimmed, quotes as written) of `key` in `section`; empty optional when either is missing (a line
    // without '=' does not count). The view lives as long as the document is not edited.
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

    // The entries of the first section named `section` in file order, duplicates included (and marked).
    // Empty when the section is missing.
    std::vector<Entry> Entries(std::string_view section) const;

    // The section names in file order, the first of duplicates only.
    std::vector<std::string_view> SectionNames() const;

    // Replaces the value of the first `key` of the first `section` in place (keeping the line's indentation, key
    // spelling and spacing before the value), so that FindValue reads it back; or, without such a key, gives the
    // first line of that name without '=' its value; or adds "key=value" after the last entry of the section (right
    // after its header when it has none), so blank lines and comments that close a section stay after it; or
    // adds the section with the entry at the end of the document. Returns false when nothing changed because
    // the key already holds `value`. The caller checks that the names and the value fit on one line.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    // Removes every entry named `key` of the first `section` (so that no duplicate shows up in its place).
    // Returns false when there is none.
    bool DeleteKey(std::string_view section, std::string_view key);

    // Removes every section named `section`: its header, its entries and the comments and blank lines among
    // them, and the blank lines that follow its last entry. Comments after the last entry are kept, as they
    // usually introduce what follows. Returns false when there is no such section.
    bool DeleteSection(std::string_view section);

  private:
    enum class LineKind { Blank, Comment, Section, Entry };

    struct Line {
        std::string raw;      // the bytes in the file, line end included
        std::string text;     // the line as UTF-8, line end excluded
        std::string lineEnd;  // "\r\n", "\n" or "" (last line only)
        LineKind kind = LineKind::Blank;
        std::string name;   // section or key name, trimmed
        std::string value;  // entries: the value, trimmed, quotes kept
        bool hasEquals = false;
        std::size_t editAt = 0;  // entries: where a new value replaces the rest of `text`
    };

    struct Section {
        std::string name;
        std::size_t header = 0;  // index of the header line
        std::size_t end = 0;     // index of the next header, or the line count
        std::vector<std::size_t> entries;
        // Folded key name -> line of its first entry with '='.
        std::unordered_map<std::string, std::size_t> firstEntry;
        // Folded name -> line of its first entry without '='.
        std::unordered_map<std::string, std::size_t> firstBare;
    };

    static void Classify(Line& line);
    void Reindex();
    const Section* FindSection(std::string_view name) const;
    // Re-encodes a line whose text or line end changed (possibly moving the whole document to UTF-8).
    void Encode(Line& line);
    void ConvertToUtf8();
    void InsertLine(std::size_t at, std::string text);

    TextFileEncoding encoding_ = TextFileEncoding::Utf8;
    std::string lineEnd_ = "\n";
    std::vector<Line> lines_;
    std::vector<Section> sections_;
    // Folded section name -> index in sections_ of its first occurrence.
    std::unordered_map<std::string, std::size_t> firstSection_;
};

}  // namespace mousecfg::ini
