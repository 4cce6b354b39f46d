#include "platform/PrivateProfile.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>
#include <system_error>
#include <unordered_map>

#include "platform/AtomicFile.h"
#include "platform/IniDocument.h"
#include "platform/TextEncoding.h"
#include "platform/Trace.h"

namespace mousecfg::ini {
namespace {

namespace fs = std::filesystem;

using DocumentPtr = std::shared_ptr<const IniDocument>;

// What identifies one version of a file. Modification times are only as fine as the kernel's clock tick, so the
// inode (a new one after every atomic replacement) and the change time are part of it too.
struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    std::uintmax_t inode = 0;
    std::uintmax_t device = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const struct stat& info) {
    constexpr std::int64_t kNsPerSecond = 1000000000;
    FileStamp stamp;
    stamp.size = static_cast<std::uintmax_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNsPerSecond + info.st_mtim.tv_nsec;
    stamp.changedNs = static_cast<std::int64_t>(info.st_ctim.tv_sec) * kNsPerSecond + info.st_ctim.tv_nsec;
    stamp.inode = info.st_ino;
    stamp.device = info.st_dev;
    return stamp;
}

// Parsed files of the whole process, so that reading a file key by key parses it once per version.
class DocumentCache {
  public:
    static DocumentCache& Instance() {
        static DocumentCache cache;
        return cache;
    }

    DocumentPtr Find(const std::string& key, const FileStamp& stamp) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = entries_.find(key);
        return found != entries_.end() && found->second.stamp == stamp ? found->second.document : nullptr;
    }

    void Store(const std::string& key, const FileStamp& stamp, DocumentPtr document) {
        std::lock_guard<std::mutex> lock(mutex_);
        // The program uses a few dozen files at most; dropping everything now and then bounds a long-running
        // process that is handed many different paths.
        if (entries_.size() >= kMaxFiles && entries_.find(key) == entries_.end()) {
            entries_.clear();
        }
        entries_[key] = Entry{stamp, std::move(document)};
    }

    void Forget(const std::string& key) {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.erase(key);
    }

    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.clear();
    }

  private:
    static constexpr std::size_t kMaxFiles = 128;

    struct Entry {
        FileStamp stamp;
        DocumentPtr document;
    };

    // State below is protected by mutex_.
    std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
};

// Writes are read-modify-write cycles; one at a time, so that two threads writing keys of the same file do not
// lose each other's change.
std::mutex& WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string CacheKey(const fs::path& file) {
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    return (error ? file : absolute).lexically_normal().string();
}

DocumentPtr EmptyDocument() {
    static const DocumentPtr empty = std::make_shared<const IniDocument>();
    return empty;
}

// The parsed file: an empty document when it does not exist, a failure when it exists but cannot be read.
// `useCache` is false for writes, which always start from the file as it is on disk.
Result<DocumentPtr> LoadDocument(const fs::path& file, bool useCache) {
    struct stat before {};
    if (::stat(file.c_str(), &before) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            return EmptyDocument();
        }
        return Status::Error("cannot read " + file.string() + ": " + std::generic_category().message(error));
    }
    if (S_ISDIR(before.st_mode)) {
        return Status::Error("cannot read " + file.string() + ": it is a folder");
    }
    const std::string key = CacheKey(file);
    const FileStamp stamp = StampOf(before);
    if (useCache) {
        if (DocumentPtr cached = DocumentCache::Instance().Find(key, stamp)) {
            return cached;
        }
    }
    Result<std::string> bytes = ReadWholeFile(file);
    if (!bytes) {
        return bytes.status();
    }
    auto document = std::make_shared<const IniDocument>(IniDocument::Parse(*bytes));
    // Kept only when the file did not change while it was read.
    struct stat after {};
    if (::stat(file.c_str(), &after) == 0 && StampOf(after) == stamp) {
        DocumentCache::Instance().Store(key, stamp, document);
    }
    return DocumentPtr(document);
}

// Reads fall back to defaults when the file cannot be read, as the Windows functions do; the reason is traced.
DocumentPtr DocumentForReading(const fs::path& file) {
    Result<DocumentPtr> loaded = LoadDocument(file, true);
    if (!loaded) {
        trace::Printf("ini: %s\n", loaded.message().c_str());
        return EmptyDocument();
    }
    return *loaded;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool IsDigitOf(char c, unsigned base, unsigned& digit) {
    if (c >= '0' && c <= '9') {
        digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
        digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
        digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
        return false;
    }
    return digit < base;
}

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The integer reading of the Windows profile function: blanks and control characters skipped, one optional sign,
// then decimal digits or digits after a lowercase 0x, 0o or 0b prefix, up to the first other character.
// The Windows function returns an unsigned 32-bit value, so texts up to 4294967295 (0xFFFFFFFF, a colour for
// instance) keep their bit pattern; larger magnitudes give INT_MAX or INT_MIN instead of wrapping around.
int ParseProfileInt(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ') {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    unsigned base = 10;
    if (at + 1 < text.size() && text[at] == '0') {
        const char prefix = text[at + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10) {
            at += 2;
        }
    }
    constexpr std::uint64_t kLimit = UINT32_MAX;
    std::uint64_t magnitude = 0;
    bool tooLarge = false;
    unsigned digit = 0;
    for (; at < text.size() && IsDigitOf(text[at], base, digit); ++at) {
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit) {
            tooLarge = true;
            magnitude = kLimit;
        }
    }
    if (tooLarge || (negative && magnitude > static_cast<std::uint64_t>(INT_MAX) + 1)) {
        return negative ? INT_MIN : INT_MAX;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    return static_cast<int>(bits);
}

// Rejects what would not read back as written: a line break would start a new line (a new key or section), and
// a name that contains the separator of its line, or looks like a comment or a header, would read as something
// else.
Status CheckWritable(std::string_view section, std::string_view key, std::string_view value, const fs::path& file) {
    auto failure = [&](std::string_view what) {
        return Status::Error("cannot write " + file.string() + ": " + std::string(what));
    };
    if (section.find_first_of("\r\n]") != std::string_view::npos) {
        return failure("section name \"" + std::string(section) + "\" holds a line break or ']'");
    }
    const std::size_t first = key.find_first_not_of(" \t");
    if (key.find_first_of("\r\n=") != std::string_view::npos ||
        (first != std::string_view::npos && (key[first] == '[' || key[first] == ';' || key[first] == '#'))) {
        return failure("key name \"" + std::string(key) + "\" holds a line break or '=' or starts with [ ; #");
    }
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return failure("the value of key " + std::string(key) + " holds a line break");
    }
    return Status::Ok();
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const fs::path& file, int bufferSize) {
    if (bufferSize <= 0) {
        return {};
    }
    const DocumentPtr document = DocumentForReading(file);
    std::string_view text;
    if (const std::optional<std::string_view> value = document->FindValue(section, key)) {
        text = Unquote(*value);
    } else {
        text = defaultValue.substr(0, defaultValue.find_last_not_of(' ') + 1);
    }
    return std::string(CutToUtf16Units(text, static_cast<std::size_t>(bufferSize) - 1));
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue, const fs::path& file) {
    const DocumentPtr document = DocumentForReading(file);
    const std::optional<std::string_view> value = document->FindValue(section, key);
    if (!value || Unquote(*value).empty()) {
        return defaultValue;
    }
    return ParseProfileInt(Unquote(*value));
}

int Atoi(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsCSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // Accumulated as a negative number, whose range includes INT_MIN.
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 - (text[at] - '0');
        if (value < INT_MIN) {
            return negative ? INT_MIN : INT_MAX;
        }
    }
    if (negative) {
        return static_cast<int>(value);
    }
    return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}

int GetProfileNumber(std::string_view section, std::string_view key, const fs::path& file) {
    return Atoi(GetPrivateProfileString(section, key, "", file, kBufferSize));
}

std::vector<std::string> GetPrivateProfileSection(std::string_view section, const fs::path& file) {
    const DocumentPtr document = DocumentForReading(file);
    std::vector<std::string> lines;
    for (const IniDocument::Entry& entry : document->Entries(section)) {
        std::string line(entry.name);
        if (entry.hasEquals) {
            line += '=';
            line += entry.value;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::pair<std::string, std::string>> GetPrivateProfileEntries(std::string_view section,
                                                                          const fs::path& file) {
    const DocumentPtr document = DocumentForReading(file);
    std::vector<std::pair<std::string, std::string>> entries;
    for (const IniDocument::Entry& entry : document->Entries(section)) {
        if (entry.hasEquals && !entry.duplicate) {
            entries.emplace_back(std::string(entry.name), std::string(Unquote(entry.value)));
        }
    }
    return entries;
}

std::vector<std::string> GetPrivateProfileSectionNames(const fs::path& file) {
    const DocumentPtr document = DocumentForReading(file);
    std::vector<std::string> names;
    for (const std::string_view name : document->SectionNames()) {
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> GetPrivateProfileKeys(std::string_view section, const fs::path& file) {
    const DocumentPtr document = DocumentForReading(file);
    std::vector<std::string> keys;
    for (const IniDocument::Entry& entry : document->Entries(section)) {
        if (entry.hasEquals && !entry.duplicate) {
            keys.emplace_back(entry.name);
        }
    }
    return keys;
}

Status WritePrivateProfileString(std::string_view section, std::optional<std::string_view> key,
                                 std::optional<std::string_view> value, const fs::path& file) {
    if (key && value) {
        if (Status check = CheckWritable(section, *key, *value, file); !check) {
            return check;
        }
    }
    std::lock_guard<std::mutex> lock(WriteMutex());
    Result<DocumentPtr> loaded = LoadDocument(file, false);
    if (!loaded) {
        return loaded.status();
    }
    IniDocument document = **loaded;
    const bool changed = !key     ? document.DeleteSection(section)
                         : !value ? document.DeleteKey(section, *key)
                                  : document.SetValue(section, *key, *value);
    if (!changed) {
        return Status::Ok();
    }
    Status written = WriteFileAtomically(file, document.Serialise());
    DocumentCache::Instance().Forget(CacheKey(file));
    return written;
}

void ClearCache() {
    DocumentCache::Instance().Clear();
}

}  // namespace mousecfg::ini
