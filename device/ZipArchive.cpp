#include "device/ZipArchive.h"

#include <unzip.h>

#include <cstdio>
#include <fstream>
#include <vector>

namespace mousecfg {
namespace {

constexpr size_t kMaxNameLength = 1024;
constexpr size_t kReadChunk = 64 * 1024;

std::string NormalisedName(const std::string& name) {
    std::string result = name;
    for (char& c : result) {
        if (c == '\\') {
            c = '/';
        }
    }
    return result;
}

}  // namespace

ZipArchive::~ZipArchive() { Close(); }

int ZipArchive::Open(const std::filesystem::path& file, std::string password) {
    Close();
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return UNZ_ERRNO;
    }
    unzFile zip = unzOpen64(file.c_str());
    if (zip == nullptr) {
        return UNZ_BADZIPFILE;
    }
    unz_global_info64 info{};
    if (const int result = unzGetGlobalInfo64(zip, &info); result != UNZ_OK) {
        unzClose(zip);
        return result;
    }
    zip_ = zip;
    password_ = std::move(password);
    count_ = static_cast<int>(info.number_entry);
    current_ = -1;
    return 0;
}

void ZipArchive::SetBaseFolder(std::filesystem::path folder) { base_ = std::move(folder); }

int ZipArchive::Count() const { return count_; }

void ZipArchive::Close() {
    if (zip_ != nullptr) {
        unzClose(static_cast<unzFile>(zip_));
        zip_ = nullptr;
    }
    count_ = 0;
    current_ = -1;
}

int ZipArchive::GoTo(int index) {
    if (zip_ == nullptr || index < 0 || index >= count_) {
        return UNZ_PARAMERROR;
    }
    auto* zip = static_cast<unzFile>(zip_);
    if (current_ < 0 || index < current_) {
        if (const int result = unzGoToFirstFile(zip); result != UNZ_OK) {
            return result;
        }
        current_ = 0;
    }
    while (current_ < index) {
        if (const int result = unzGoToNextFile(zip); result != UNZ_OK) {
            current_ = -1;
            return result;
        }
        ++current_;
    }
    return 0;
}

int ZipArchive::GetEntry(int index, Entry& entry) {
    if (const int result = GoTo(index); result != 0) {
        return result;
    }
    unz_file_info64 info{};
    std::vector<char> name(kMaxNameLength + 1, 0);
    const int result = unzGetCurrentFileInfo64(static_cast<unzFile>(zip_), &info, name.data(), kMaxNameLength,
                                               nullptr, 0, nullptr, 0);
    if (result != UNZ_OK) {
        return result;
    }
    entry.name.assign(name.data(), std::min<size_t>(info.size_filename, kMaxNameLength));
    entry.encrypted = (info.flag & 1) != 0;
    entry.size = info.uncompressed_size;
    entry.directory = !entry.name.empty() && (entry.name.back() == '/' || entry.name.back() == '\\');
    return 0;
}

bool ZipArchive::IsSafeName(const std::string& name) {
    const std::string normal = NormalisedName(name);
    if (normal.empty() || normal.front() == '/' || (normal.size() >= 2 && normal[1] == ':')) {
        return false;
    }
    size_t start = 0;
    while (start <= normal.size()) {
        size_t end = normal.find('/', start);
        if (end == std::string::npos) {
            end = normal.size();
        }
        if (normal.compare(start, end - start, "..") == 0) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

int ZipArchive::Extract(int index) {
    Entry entry;
    if (const int result = GetEntry(index, entry); result != 0) {
        return result;
    }
    if (!IsSafeName(entry.name)) {
        return kUnsafeName;
    }
    const std::filesystem::path target = base_ / std::filesystem::path(NormalisedName(entry.name)).relative_path();
    std::error_code error;
    if (entry.directory) {
        std::filesystem::create_directories(target, error);
        return error ? UNZ_ERRNO : 0;
    }
    if (entry.size > kMaxEntrySize) {
        return kTooLarge;
    }
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) {
        return UNZ_ERRNO;
    }
    return ExtractFile(entry, target);
}

int ZipArchive::ExtractFile(const Entry& entry, const std::filesystem::path& target) {
    auto* zip = static_cast<unzFile>(zip_);
    // Unencrypted entries must be opened without the password: the library would otherwise decrypt them too.
    int result = entry.encrypted ? unzOpenCurrentFilePassword(zip, password_.c_str()) : unzOpenCurrentFile(zip);
    if (result != UNZ_OK) {
        return result;
    }
    std::filesystem::path partial = target;
    partial += ".part";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(kReadChunk);
    uint64_t total = 0;
    int read = 0;
    while (out && (read = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
        total += static_cast<uint64_t>(read);
        if (total > kMaxEntrySize) {
            read = kTooLarge;  // the stored size lied
            break;
        }
        out.write(buffer.data(), read);
    }
    // Closing checks the CRC: with a wrong password the data decrypts to garbage that fails it (or fails to inflate).
    const int closed = unzCloseCurrentFile(zip);
    out.close();
    result = read < 0 ? read : (!out ? UNZ_ERRNO : closed);
    std::error_code error;
    if (result == UNZ_OK) {
        std::filesystem::rename(partial, target, error);
        if (error) {
            result = UNZ_ERRNO;
        }
    }
    if (result != UNZ_OK) {
        std::filesystem::remove(partial, error);
    }
    return result;
}

}  // namespace mousecfg
