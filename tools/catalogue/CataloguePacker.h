#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/FileCipher.h"
#include "platform/Status.h"

// Writes the catalogue files in the forms the program reads: a ZIP archive whose entries are encrypted with the
// traditional ZIP password, and an encrypted list file (device/FileCipher.h). Used by the build to make them from
// the plain files kept in the repository, and by tests to make good and bad ones.
namespace mousecfg::catalogue {

struct ZipEntry {
    std::string name;  // stored as given: tests may store names no extractor should follow
    std::string contents;
};

// Writes `entries` into a new archive at `file`, deflated, each encrypted with `password` (none when empty).
Status WriteZip(const std::filesystem::path& file, const std::vector<ZipEntry>& entries, const std::string& password);

// Encrypts `plain` with the key derived from `password` and writes the vector and the ciphertext to `file`. The
// vector is random unless one is given.
Status WriteEncryptedList(const std::filesystem::path& file, std::string_view plain, std::string_view password,
                          std::optional<std::array<uint8_t, kListIvSize>> iv = std::nullopt);

}  // namespace mousecfg::catalogue
