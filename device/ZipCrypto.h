#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mousecfg {

// The traditional ZIP encryption ("ZipCrypto"): a stream cipher of three 32-bit keys set up from the password.
// An encrypted entry's data starts with a 12-byte header whose last byte, once decrypted, is a check byte: the
// high byte of the entry's CRC (or of its DOS time when the entry has a data descriptor).
// Done here rather than by the ZIP library because the system's build of it leaves decryption out.
class ZipCrypto {
  public:
    static constexpr size_t kHeaderSize = 12;

    explicit ZipCrypto(std::string_view password);

    uint8_t Decrypt(uint8_t cipher);
    uint8_t Encrypt(uint8_t plain);

  private:
    uint8_t KeyStream() const;
    void Update(uint8_t plain);

    uint32_t keys_[3];
};

}  // namespace mousecfg
