#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceRecord.h"

namespace mousecfg {

// The device catalogue as read from Ndevice.json: records in file order and the distinct categories
// ("DevTypeString") in order of first appearance.
struct Catalogue {
    std::vector<DeviceRecord> records;
    std::vector<std::string> categories;
};

// Reads the catalogue text. Keys that are missing leave their field at its default; unknown keys are ignored.
// A text that is not JSON, a root without an "NDevice" array, or a value of the wrong type ends the reading: the
// records completed before it are kept and the error is traced. Any thread.
Catalogue ParseCatalogue(std::string_view text);

// ParseCatalogue of a file; nothing when the file cannot be opened.
std::optional<Catalogue> ReadCatalogueFile(const std::filesystem::path& file);

// "2221, 2222" as hexadecimal numbers the way strtol reads each piece (leading blanks, an optional 0x, digits up
// to the first other character, 0 when there are none). Pieces are separated by commas. The lists of a record
// pair up by position, so an empty piece keeps its place as -1, which no device has, as does a number outside
// 0..0xFFFF; an empty text gives an empty list.
std::vector<int> ParseHexList(std::string_view text);
// The comma-separated pieces of `text` in order, empty pieces kept as empty entries ("A,,C" gives three);
// an empty text gives an empty list.
std::vector<std::string> SplitList(std::string_view text);

}  // namespace mousecfg
