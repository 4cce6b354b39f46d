#include "device/FileCipher.h"

#include <openssl/evp.h>

#include <fstream>
#include <memory>
#include <ostream>
#include <vector>

namespace mousecfg {
namespace {

// Chunks of the ciphertext decrypted at a time: a whole number of AES blocks.
constexpr size_t kChunkSize = 40960 + 32;

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

bool Fail(std::ostream& console, const char* text, const std::filesystem::path& output) {
    console << text << '\n';
    std::error_code ignored;
    std::filesystem::remove(output, ignored);
    return false;
}

}  // namespace

std::array<uint8_t, kListKeySize> DeriveListKey(std::string_view password) {
    std::array<uint8_t, kListKeySize> key{};
    std::array<uint8_t, EVP_MAX_IV_LENGTH> unusedIv{};
    EVP_BytesToKey(EVP_aes_256_cbc(), EVP_sha256(), nullptr, reinterpret_cast<const unsigned char*>(password.data()),
                   static_cast<int>(password.size()), 1, key.data(), unusedIv.data());
    return key;
}

bool DecryptFile(const std::filesystem::path& input, std::filesystem::path output, std::string_view password,
                 std::ostream& console) {
    const auto key = DeriveListKey(password);
    if (output == input) {
        output += ".temp";
    }
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        console << "无法打开输入文件：" << input.string() << '\n';
        return false;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out) {
        console << "无法打开输出文件：" << output.string() << '\n';
        return false;
    }
    std::array<uint8_t, kListIvSize> iv{};
    in.read(reinterpret_cast<char*>(iv.data()), iv.size());
    if (in.gcount() != static_cast<std::streamsize>(iv.size())) {
        return Fail(console, "无法解密输入数据", output);  // not even a whole initialisation vector
    }
    CipherContext context(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    if (!context) {
        return Fail(console, "无法创建解密上下文", output);
    }
    if (EVP_DecryptInit_ex(context.get(), EVP_aes_256_cbc(), nullptr, key.data(), iv.data()) != 1) {
        return Fail(console, "无法设置解密算法和密钥", output);
    }
    std::vector<unsigned char> chunk(kChunkSize);
    std::vector<unsigned char> plain(kChunkSize + EVP_MAX_BLOCK_LENGTH);
    int produced = 0;
    while (in) {
        in.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<int>(in.gcount());
        if (got <= 0) {
            break;
        }
        if (EVP_DecryptUpdate(context.get(), plain.data(), &produced, chunk.data(), got) != 1) {
            return Fail(console, "无法解密输入数据", output);
        }
        out.write(reinterpret_cast<const char*>(plain.data()), produced);
    }
    if (EVP_DecryptFinal_ex(context.get(), plain.data(), &produced) != 1) {
        return Fail(console, "无法完成解密", output);
    }
    out.write(reinterpret_cast<const char*>(plain.data()), produced);
    out.close();
    if (!out) {
        console << "无法打开输出文件：" << output.string() << '\n';  // the plain text could not be written
        std::error_code ignored;
        std::filesystem::remove(output, ignored);
        return false;
    }
    console << "解密完成：" << input.string() << " -> " << output.string() << '\n';
    return true;
}

}  // namespace mousecfg
