#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace mousecfg {

// Reads a ZIP archive whose entries may be encrypted with the traditional ZIP password, and extracts its entries
// into one base folder, never outside it. The ZIP library reads the archive's structure and each entry's raw
// data; decryption (ZipCrypto), inflation and the checksum are done here. Result codes are 0 for success or a
// negative code: those of the ZIP library (-1 file error, -103 not an archive, -105 checksum mismatch), of the
// inflater (-3 damaged data) and the ones below. One thread at a time.
class ZipArchive {
  public:
    static constexpr int kUnsafeName = -200;         // an absolute name or one with a ".." part: not extracted
    static constexpr int kTooLarge = -201;           // an entry larger than kMaxEntrySize: not extracted
    static constexpr int kWrongPassword = -202;      // the encryption header's check byte does not match
    static constexpr int kUnsupportedMethod = -203;  // neither stored nor deflated
    static constexpr uint64_t kMaxEntrySize = 16ull << 20;

    struct Entry {
        std::string name;  // as stored, '/' or '\' separated
        bool directory = false;
        bool encrypted = false;
        uint64_t size = 0;            // uncompressed
        uint64_t compressedSize = 0;  // as stored, encryption header included
        uint32_t crc = 0;
        uint8_t checkByte = 0;  // what the decrypted header's last byte must be
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
    // Extracts entry `index` below the base folder, creating the folders it needs. The file is written only when
    // its checksum matched, and then atomically, so a failed extraction never replaces a good file. 0 or a
    // failure code.
    int Extract(int index);
    // Reads entry `index` into `contents` without writing anything (a directory reads as empty), with the same
    // checks as Extract: a safe name, the size limit, the password and the checksum. 0 or a failure code.
    int Read(int index, std::string& contents);
    void Close();
    // The system's error code of the last Extract: 0 unless a file or folder could not be written.
    int LastSystemError() const { return lastSystemError_; }

    // True when `name` names a place inside the base folder: not empty, not absolute (no leading '/' or '\', no
    // drive letter) and without a ".." part.
    static bool IsSafeName(const std::string& name);

  private:
    int GoTo(int index);
    int ExtractFile(const Entry& entry, const std::filesystem::path& target);
    // The entry's plain contents, decrypted, inflated and checked.
    int ReadContents(const Entry& entry, std::string& plain);
    // The entry's data as stored (compressed, maybe encrypted) and its compression method.
    int ReadRaw(const Entry& entry, std::string& data, int& method);

    void* zip_ = nullptr;  // the library's handle
    std::string password_;
    std::filesystem::path base_;
    int count_ = 0;
    int current_ = -1;  // the entry the library is positioned on
    int lastSystemError_ = 0;
};

}  // namespace mousecfg
