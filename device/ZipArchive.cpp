#include "device/ZipArchive.h"

#include <unzip.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "device/ZipCrypto.h"
#include "platform/AtomicFile.h"

namespace mousecfg {
namespace {

constexpr size_t kMaxNameLength = 1024;

std::string NormalisedName(const std::string& name) {
    std::string result = name;
    for (char& c : result) {
        if (c == '\\') {
            c = '/';
        }
    }
    return result;
}

// Decrypts `data` in place and drops its encryption header.
int Decrypt(const std::string& password, uint8_t checkByte, std::string& data) {
    if (data.size() < ZipCrypto::kHeaderSize) {
        return UNZ_BADZIPFILE;
    }
    ZipCrypto crypto(password);
    for (char& c : data) {
        c = static_cast<char>(crypto.Decrypt(static_cast<uint8_t>(c)));
    }
    if (static_cast<uint8_t>(data[ZipCrypto::kHeaderSize - 1]) != checkByte) {
        return ZipArchive::kWrongPassword;
    }
    data.erase(0, ZipCrypto::kHeaderSize);
    return 0;
}

// Inflates raw deflate data that should give `size` bytes; more than that is refused.
int Inflate(const std::string& data, uint64_t size, std::string& plain) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return Z_MEM_ERROR;
    }
    plain.resize(size + 1);  // one byte more than expected, to notice data that inflates to more
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(plain.data());
    stream.avail_out = static_cast<uInt>(plain.size());
    const int result = inflate(&stream, Z_FINISH);
    plain.resize(stream.total_out);
    inflateEnd(&stream);
    if (result == Z_STREAM_END) {
        return 0;
    }
    return result == Z_OK || result == Z_BUF_ERROR ? UNZ_CRCERROR : result;
}

}  // namespace

ZipArchive::~ZipArchive() {
    Close();
}

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

void ZipArchive::SetBaseFolder(std::filesystem::path folder) {
    base_ = std::move(folder);
}

int ZipArchive::Count() const {
    return count_;
}

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
    const int result =
        unzGetCurrentFileInfo64(static_cast<unzFile>(zip_), &info, name.data(), kMaxNameLength, nullptr, 0, nullptr, 0);
    if (result != UNZ_OK) {
        return result;
    }
    entry.name.assign(name.data(), std::min<size_t>(info.size_filename, kMaxNameLength));
    entry.encrypted = (info.flag & 1) != 0;
    entry.size = info.uncompressed_size;
    entry.compressedSize = info.compressed_size;
    entry.crc = static_cast<uint32_t>(info.crc);
    // With a data descriptor (flag bit 3) the CRC is not known when the header is written: the time stands in.
    entry.checkByte = static_cast<uint8_t>((info.flag & 8) != 0 ? (info.dosDate >> 8) & 0xFF : info.crc >> 24);
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
    lastSystemError_ = 0;
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
        lastSystemError_ = error.value();
        return error ? UNZ_ERRNO : 0;
    }
    if (entry.size > kMaxEntrySize) {
        return kTooLarge;
    }
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) {
        lastSystemError_ = error.value();
        return UNZ_ERRNO;
    }
    return ExtractFile(entry, target);
}

int ZipArchive::ReadRaw(const Entry& entry, std::string& data, int& method) {
    if (entry.compressedSize > kMaxEntrySize + ZipCrypto::kHeaderSize) {
        return kTooLarge;
    }
    auto* zip = static_cast<unzFile>(zip_);
    int level = 0;
    // Raw: the library hands over the stored bytes and leaves decryption and inflation to the caller.
    if (const int result = unzOpenCurrentFile2(zip, &method, &level, 1); result != UNZ_OK) {
        return result;
    }
    data.resize(entry.compressedSize);
    const int read = entry.compressedSize == 0
                         ? 0
                         : unzReadCurrentFile(zip, data.data(), static_cast<unsigned>(entry.compressedSize));
    unzCloseCurrentFile(zip);
    if (read < 0) {
        return read;
    }
    if (static_cast<uint64_t>(read) != entry.compressedSize) {
        return UNZ_BADZIPFILE;
    }
    return 0;
}

int ZipArchive::Read(int index, std::string& contents) {
    lastSystemError_ = 0;
    contents.clear();
    Entry entry;
    if (const int result = GetEntry(index, entry); result != 0) {
        return result;
    }
    if (!IsSafeName(entry.name)) {
        return kUnsafeName;
    }
    if (entry.directory) {
        return 0;
    }
    if (entry.size > kMaxEntrySize) {
        return kTooLarge;
    }
    return ReadContents(entry, contents);
}

int ZipArchive::ReadContents(const Entry& entry, std::string& plain) {
    std::string data;
    int method = 0;
    if (const int result = ReadRaw(entry, data, method); result != 0) {
        return result;
    }
    if (entry.encrypted) {
        if (const int result = Decrypt(password_, entry.checkByte, data); result != 0) {
            return result;
        }
    }
    if (method == 0) {
        plain = std::move(data);
    } else if (method == Z_DEFLATED) {
        if (const int result = Inflate(data, entry.size, plain); result != 0) {
            return result;
        }
    } else {
        return kUnsupportedMethod;
    }
    if (plain.size() != entry.size ||
        crc32(0L, reinterpret_cast<const Bytef*>(plain.data()), static_cast<uInt>(plain.size())) != entry.crc) {
        return UNZ_CRCERROR;
    }
    return 0;
}

int ZipArchive::ExtractFile(const Entry& entry, const std::filesystem::path& target) {
    std::string plain;
    if (const int result = ReadContents(entry, plain); result != 0) {
        return result;
    }
    // Written beside the target and renamed over it: a failure never leaves a half-written catalogue.
    errno = 0;
    if (!WriteFileAtomically(target, plain)) {
        lastSystemError_ = errno;
        return UNZ_ERRNO;
    }
    return 0;
}

}  // namespace mousecfg
