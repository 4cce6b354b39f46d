#include "device/ZipCrypto.h"

#include <zlib.h>

namespace mousecfg {
namespace {

uint32_t Crc32Byte(uint32_t crc, uint8_t byte) {
    static const z_crc_t* const table = get_crc_table();
    return static_cast<uint32_t>(table[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
}

}  // namespace

ZipCrypto::ZipCrypto(std::string_view password) : keys_{0x12345678u, 0x23456789u, 0x34567890u} {
    for (char c : password) {
        Update(static_cast<uint8_t>(c));
    }
}

uint8_t ZipCrypto::KeyStream() const {
    const uint32_t temp = (keys_[2] & 0xFFFF) | 2;
    return static_cast<uint8_t>(((temp * (temp ^ 1)) >> 8) & 0xFF);
}

void ZipCrypto::Update(uint8_t plain) {
    keys_[0] = Crc32Byte(keys_[0], plain);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
    keys_[2] = Crc32Byte(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
}

uint8_t ZipCrypto::Decrypt(uint8_t cipher) {
    const auto plain = static_cast<uint8_t>(cipher ^ KeyStream());
    Update(plain);
    return plain;
}

uint8_t ZipCrypto::Encrypt(uint8_t plain) {
    const auto cipher = static_cast<uint8_t>(plain ^ KeyStream());
    Update(plain);
    return cipher;
}

}  // namespace mousecfg
