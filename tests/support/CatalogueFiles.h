#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mousecfg::test {

// The catalogue the build packs (tools/catalogue/Ndevice.json): record 0 the virtual mouse's cable device,
// record 1 its receiver.
std::string VirtualMouseCatalogue();

// Writes `catalogueJson` as the entry Ndevice.json of a password-protected Home/Icons/Ndevice.zip below
// `resRoot`. Fails the test when it cannot.
void WriteCatalogueArchive(const std::filesystem::path& resRoot, std::string_view catalogueJson);
// Writes `listJson` as the encrypted Home/Icons/ble.json below `resRoot`.
void WriteBleList(const std::filesystem::path& resRoot, std::string_view listJson);

// The resource folder the build lays out (bin/res of the build folder).
std::filesystem::path BuiltResources();

}  // namespace mousecfg::test
