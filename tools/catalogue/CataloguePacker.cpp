#include "tools/catalogue/CataloguePacker.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <zip.h>
#include <zlib.h>

#include <memory>

#include "device/ZipCrypto.h"
#include "platform/AtomicFile.h"

namespace mousecfg::catalogue {
namespace {

constexpr int kMemLevel = 8;
constexpr uLong kVersionMadeBy = 20;  // ZIP 2.0, MS-DOS attributes

zip_fileinfo FixedDate() {
    // A fixed time stamp: the archive's content should not depend on when it was built.
    zip_fileinfo info{};
    info.tmz_date.tm_year = 2024;
    info.tmz_date.tm_mon = 0;
    info.tmz_date.tm_mday = 1;
    return info;
}

// Raw deflate data of `plain`.
std::string Deflate(const std::string& plain) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, kMemLevel, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(plain.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    stream.avail_in = static_cast<uInt>(plain.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// The encryption header (ten random bytes, then the CRC's two high bytes, the last one being the check byte) and
// the data, encrypted.
std::string Encrypt(const std::string& data, const std::string& password, uint32_t crc) {
    std::array<uint8_t, ZipCrypto::kHeaderSize> header{};
    RAND_bytes(header.data(), static_cast<int>(header.size()));
    header[10] = static_cast<uint8_t>(crc >> 16);
    header[11] = static_cast<uint8_t>(crc >> 24);
    ZipCrypto crypto(password);
    std::string out;
    out.reserve(header.size() + data.size());
    for (uint8_t byte : header) {
        out += static_cast<char>(crypto.Encrypt(byte));
    }
    for (char c : data) {
        out += static_cast<char>(crypto.Encrypt(static_cast<uint8_t>(c)));
    }
    return out;
}

// The entry is written raw: compressed and encrypted here, because the system's ZIP library cannot encrypt.
Status AddEntry(zipFile zip, const ZipEntry& entry, const std::string& password) {
    const zip_fileinfo info = FixedDate();
    const auto crc = static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(entry.contents.data()), static_cast<uInt>(entry.contents.size())));
    std::string data = Deflate(entry.contents);
    const int encryptedFlag = password.empty() ? 0 : 1;
    if (encryptedFlag != 0) {
        data = Encrypt(data, password, crc);
    }
    if (zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                Z_BEST_COMPRESSION, 1, -MAX_WBITS, kMemLevel, Z_DEFAULT_STRATEGY, nullptr, 0,
                                kVersionMadeBy, encryptedFlag, 0) != ZIP_OK) {
        return Status::Error("cannot add " + entry.name);
    }
    const int written = zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size()));
    const int closed = zipCloseFileInZipRaw64(zip, entry.contents.size(), crc);
    if (written != ZIP_OK || closed != ZIP_OK) {
        return Status::Error("cannot write " + entry.name);
    }
    return Status::Ok();
}

}  // namespace

Status WriteZip(const std::filesystem::path& file, const std::vector<ZipEntry>& entries, const std::string& password) {
    zipFile zip = zipOpen64(file.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        return Status::Error("cannot create " + file.string());
    }
    Status status = Status::Ok();
    for (const ZipEntry& entry : entries) {
        if (status = AddEntry(zip, entry, password); !status) {
            break;
        }
    }
    if (zipClose(zip, nullptr) != ZIP_OK && status) {
        status = Status::Error("cannot finish " + file.string());
    }
    return status;
}

Status WriteEncryptedList(const std::filesystem::path& file, std::string_view plain, std::string_view password,
                          std::optional<std::array<uint8_t, kListIvSize>> iv) {
    std::array<uint8_t, kListIvSize> vector{};
    if (iv) {
        vector = *iv;
    } else if (RAND_bytes(vector.data(), static_cast<int>(vector.size())) != 1) {
        return Status::Error("no random initialisation vector");
    }
    const auto key = DeriveListKey(password);
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    std::string out(vector.begin(), vector.end());
    out.resize(kListIvSize + plain.size() + EVP_MAX_BLOCK_LENGTH);
    auto* cipher = reinterpret_cast<unsigned char*>(out.data() + kListIvSize);
    int produced = 0;
    int finished = 0;
    if (!context || EVP_EncryptInit_ex(context.get(), EVP_aes_256_cbc(), nullptr, key.data(), vector.data()) != 1 ||
        EVP_EncryptUpdate(context.get(), cipher, &produced, reinterpret_cast<const unsigned char*>(plain.data()),
                          static_cast<int>(plain.size())) != 1 ||
        EVP_EncryptFinal_ex(context.get(), cipher + produced, &finished) != 1) {
        return Status::Error("cannot encrypt " + file.string());
    }
    out.resize(kListIvSize + static_cast<size_t>(produced + finished));
    return WriteFileAtomically(file, out);
}

}  // namespace mousecfg::catalogue
