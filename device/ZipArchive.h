#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace mousecfg {

// Reads a ZIP archive whose entries may be encrypted with the traditional ZIP password, and extracts its entries
// into one base folder, never outside it. Result codes are 0 for success or a negative code: those of the ZIP
// library (-1 file error, -103 not an archive, -105 checksum mismatch, which is how a wrong password shows, or
// the inflater's codes such as -3 for damaged data) and the two below. One thread at a time.
class ZipArchive {
public:
    static constexpr int kUnsafeName = -200;  // an absolute name or one with a ".." part: not extracted
    static constexpr int kTooLarge = -201;    // an entry larger than kMaxEntrySize: not extracted
    static constexpr uint64_t kMaxEntrySize = 64ull << 20;

    struct Entry {
        std::string name;  // as stored, '/' or '\' separated
        bool directory = false;
        bool encrypted = false;
        uint64_t size = 0;
    };

    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Opens the archive; encrypted entries are read with `password`. 0, or the code of the failure.
    int Open(const std::filesystem::path& file, std::string password);
    void SetBaseFolder(std::filesystem::path folder);
    int Count() const;
    // Describes entry `index` (0..Count()-1). 0 or a failure code.
    int GetEntry(int index, Entry& entry);
    // Extracts entry `index` below the base folder, creating the folders it needs. A file is written beside its
    // target first and renamed over it only when its checksum matched, so a failed extraction never replaces a
    // good file. 0 or a failure code.
    int Extract(int index);
    void Close();

    // True when `name` names a place inside the base folder: not empty, not absolute (no leading '/' or '\', no
    // drive letter) and without a ".." part.
    static bool IsSafeName(const std::string& name);

private:
    int GoTo(int index);
    int ExtractFile(const Entry& entry, const std::filesystem::path& target);

    void* zip_ = nullptr;  // the library's handle
    std::string password_;
    std::filesystem::path base_;
    int count_ = 0;
    int current_ = -1;  // the entry the library is positioned on
};

}  // namespace mousecfg
