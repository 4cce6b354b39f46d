#include "platform/IniDocument.h"

namespace mousecfg::ini {
namespace {

// Blanks and tabs surround names and values; a stray carriage return (a CR-only line end, or one left on the last
// line of a file that does not end in a line feed) is trimmed with them.
constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The form under which a name is looked up.
std::string Fold(std::string_view name) {
    return ToAsciiLower(Trim(name));
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument document;
    document.encoding_ = DetectTextFileEncoding(bytes);
    const std::string_view body = bytes.substr(ByteOrderMark(document.encoding_).size());
    const std::size_t unit = CodeUnitSize(document.encoding_);
    const bool bigEndian = document.encoding_ == TextFileEncoding::Utf16Be;
    auto unitAt = [&](std::size_t at) -> unsigned {
        const auto first = static_cast<unsigned char>(body[at]);
        if (unit == 1) {
            return first;
        }
        const auto second = static_cast<unsigned char>(body[at + 1]);
        return bigEndian ? (first << 8) | second : first | (second << 8);
    };

    bool lineEndKnown = false;
    std::size_t start = 0;
    while (start < body.size()) {
        std::size_t end = body.size();
        std::size_t endUnits = 0;
        for (std::size_t at = start; at + unit <= body.size(); at += unit) {
            if (unitAt(at) == '\n') {
                end = at + unit;
                endUnits = at > start && unitAt(at - unit) == '\r' ? 2 : 1;
                break;
            }
        }
        Line line;
        line.raw = std::string(body.substr(start, end - start));
        line.lineEnd = endUnits == 2 ? "\r\n" : endUnits == 1 ? "\n" : "";
        line.text = DecodeText(body.substr(start, end - start - endUnits * unit), document.encoding_);
        if (!lineEndKnown && endUnits != 0) {
            document.lineEnd_ = line.lineEnd;
            lineEndKnown = true;
        }
        Classify(line);
        document.lines_.push_back(std::move(line));
        start = end;
    }
    document.Reindex();
    return document;
}

std::string IniDocument::Serialise() const {
    std::string bytes(ByteOrderMark(encoding_));
    for (const Line& line : lines_) {
        bytes += line.raw;
    }
    return bytes;
}

void IniDocument::Classify(Line& line) {
    const std::string_view text = line.text;
    line.name.clear();
    line.value.clear();
    line.hasEquals = false;
    line.editAt = 0;
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        line.kind = LineKind::Blank;
        return;
    }
    if (text[first] == ';' || text[first] == '#') {
        line.kind = LineKind::Comment;
        return;
    }
    if (text[first] == '[') {
        const std::size_t close = text.find(']', first + 1);
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = Trim(text.substr(first + 1, close - first - 1));
            return;
        }
    }
    line.kind = LineKind::Entry;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.name = Trim(text);
        line.editAt = text.find_last_not_of(kBlanks) + 1;
        return;
    }
    line.hasEquals = true;
    line.name = Trim(text.substr(0, equals));
    line.value = Trim(text.substr(equals + 1));
    const std::size_t valueStart = text.find_first_not_of(kBlanks, equals + 1);
    line.editAt = valueStart == std::string_view::npos ? text.size() : valueStart;
}

void IniDocument::Reindex() {
    sections_.clear();
    firstSection_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::Section) {
            if (!sections_.empty()) {
                sections_.back().end = i;
            }
            Section section;
            section.name = line.name;
            section.header = i;
            section.end = lines_.size();
            sections_.push_back(std::move(section));
            firstSection_.emplace(ToAsciiLower(line.name), sections_.size() - 1);
        } else if (line.kind == LineKind::Entry && !sections_.empty()) {
            Section& section = sections_.back();
            section.entries.push_back(i);
            (line.hasEquals ? section.firstEntry : section.firstBare).emplace(ToAsciiLower(line.name), i);
        }
    }
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
    const auto found = firstSection_.find(Fold(name));
    return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string_view> IniDocument::FindValue(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto entry = found->firstEntry.find(Fold(key));
    if (entry == found->firstEntry.end()) {
        return std::nullopt;
    }
    return std::string_view(lines_[entry->second].value);
}

std::vector<IniDocument::Entry> IniDocument::Entries(std::string_view section) const {
    std::vector<Entry> entries;
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return entries;
    }
    entries.reserve(found->entries.size());
    for (const std::size_t index : found->entries) {
        const Line& line = lines_[index];
        const auto& first = line.hasEquals ? found->firstEntry : found->firstBare;
        const bool duplicate = first.at(ToAsciiLower(line.name)) != index;
        entries.push_back(Entry{line.name, line.value, line.hasEquals, duplicate});
    }
    return entries;
}

std::vector<std::string_view> IniDocument::SectionNames() const {
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (firstSection_.at(ToAsciiLower(sections_[i].name)) == i) {
            names.push_back(sections_[i].name);
        }
    }
    return names;
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        InsertLine(lines_.size(), "[" + std::string(Trim(section)) + "]");
        InsertLine(lines_.size(), std::string(Trim(key)) + "=" + std::string(value));
        Reindex();
        return true;
    }
    const std::string folded = Fold(key);
    const auto entry = found->firstEntry.find(folded);
    const auto bare = found->firstBare.find(folded);
    if (entry == found->firstEntry.end() && bare == found->firstBare.end()) {
        const std::size_t at = found->entries.empty() ? found->header + 1 : found->entries.back() + 1;
        InsertLine(at, std::string(Trim(key)) + "=" + std::string(value));
        Reindex();
        return true;
    }
    Line& line = lines_[entry != found->firstEntry.end() ? entry->second : bare->second];
    if (line.hasEquals && line.value == Trim(value)) {
        return false;
    }
    line.text = line.text.substr(0, line.editAt) + (line.hasEquals ? "" : "=") + std::string(value);
    Classify(line);
    Encode(line);
    Reindex();
    return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return false;
    }
    const std::string folded = Fold(key);
    std::vector<std::size_t> doomed;
    for (const std::size_t index : found->entries) {
        if (ToAsciiLower(lines_[index].name) == folded) {
            doomed.push_back(index);
        }
    }
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    if (doomed.empty()) {
        return false;
    }
    Reindex();
    return true;
}

bool IniDocument::DeleteSection(std::string_view section) {
    const std::string folded = Fold(section);
    bool deleted = false;
    // From the last section back, so that the line numbers of the sections still to do stay valid.
    for (std::size_t i = sections_.size(); i-- > 0;) {
        const Section& candidate = sections_[i];
        if (ToAsciiLower(candidate.name) != folded) {
            continue;
        }
        std::size_t end = (candidate.entries.empty() ? candidate.header : candidate.entries.back()) + 1;
        while (end < candidate.end && lines_[end].kind == LineKind::Blank) {
            ++end;
        }
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(candidate.header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(end));
        deleted = true;
    }
    if (deleted) {
        Reindex();
    }
    return deleted;
}

void IniDocument::Encode(Line& line) {
    std::optional<std::string> bytes = EncodeText(line.text + line.lineEnd, encoding_);
    if (!bytes) {
        // Only Latin-1 lacks characters. Rather than lose the new text, the file becomes UTF-8; every other
        // line keeps its text, which Latin-1 decoding gave exactly.
        ConvertToUtf8();
        bytes = EncodeText(line.text + line.lineEnd, encoding_);
    }
    line.raw = std::move(*bytes);
}

void IniDocument::ConvertToUtf8() {
    for (Line& line : lines_) {
        line.raw = line.text + line.lineEnd;
    }
    encoding_ = TextFileEncoding::Utf8;
}

void IniDocument::InsertLine(std::size_t at, std::string text) {
    if (at > 0 && lines_[at - 1].lineEnd.empty()) {
        // The line before was the file's last and had no line end.
        Line& previous = lines_[at - 1];
        previous.lineEnd = lineEnd_;
        previous.raw += EncodeText(lineEnd_, encoding_).value_or(lineEnd_);
    }
    Line line;
    line.text = std::move(text);
    line.lineEnd = lineEnd_;
    Classify(line);
    Encode(line);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

}  // namespace mousecfg::ini
