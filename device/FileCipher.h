#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string_view>

namespace mousecfg {

// Encrypted list files: the first 16 bytes are the AES initialisation vector, the rest AES-256-CBC ciphertext with
// the standard block padding. The key comes from a password through OpenSSL's EVP_BytesToKey with SHA-256, no salt
// and one iteration (the vector derived with it is not used). `openssl enc -aes-256-cbc -md sha256 -nosalt
// -pass pass:PASSWORD -iv IV` makes the ciphertext of such a file.
inline constexpr size_t kListKeySize = 32;
inline constexpr size_t kListIvSize = 16;

std::array<uint8_t, kListKeySize> DeriveListKey(std::string_view password);

// Decrypts `input` into `output` (into `output` + ".temp" when the two paths are equal). Progress and errors go
// to `console` as one line each, in the texts the program has always printed there. Returns false on any
// failure; a partly written output is then removed. Any thread.
bool DecryptFile(const std::filesystem::path& input, std::filesystem::path output, std::string_view password,
                 std::ostream& console);

}  // namespace mousecfg
