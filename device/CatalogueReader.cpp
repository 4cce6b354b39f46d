#include "device/CatalogueReader.h"

#include <algorithm>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "platform/AtomicFile.h"
#include "platform/JsonNumbers.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

using nlohmann::json;

constexpr int kNoId = -1;  // a number that is no USB ID, so it matches no device

void ReadInt(const json& element, const char* key, int& field) {
    if (element.contains(key)) {
        field = NarrowNumber<int>(element.at(key));
    }
}

void ReadString(const json& element, const char* key, std::string& field) {
    if (element.contains(key)) {
        field = element.at(key).get<std::string>();
    }
}

void ReadList(const json& element, const char* key, std::vector<std::string>& field) {
    if (element.contains(key)) {
        field = SplitList(element.at(key).get<std::string>());
    }
}

void ReadHexList(const json& element, const char* key, std::vector<int>& field) {
    if (element.contains(key)) {
        field = ParseHexList(element.at(key).get<std::string>());
    }
}

// Four integers in array order; a shorter array leaves the rest at 0, a longer one has the rest ignored.
void ReadPadding(const json& element, std::array<int, 4>& padding) {
    if (!element.contains("Padding")) {
        return;
    }
    const json& values = element.at("Padding");
    if (!values.is_array()) {
        throw json::type_error::create(302, std::string("type must be array, but is ") + values.type_name(), &values);
    }
    for (size_t i = 0; i < padding.size() && i < values.size(); ++i) {
        padding[i] = NarrowNumber<int>(values[i]);
    }
}

DeviceRecord ReadRecord(const json& element) {
    if (!element.is_object()) {
        throw json::type_error::create(302, std::string("type must be object, but is ") + element.type_name(),
                                       &element);
    }
    DeviceRecord record;
    ReadInt(element, "DevType", record.kind);
    ReadHexList(element, "Pid", record.productIds);
    ReadHexList(element, "Vid", record.vendorIds);
    ReadList(element, "Ser", record.names);
    ReadInt(element, "isUSB", record.isUSB);
    ReadList(element, "DevName", record.productNames);
    ReadString(element, "NormalImage", record.normalImage);
    ReadString(element, "HotImage", record.hotImage);
    ReadString(element, "PushedImage", record.pushedImage);
    ReadString(element, "DevFolder", record.folder);
    ReadString(element, "DevTypeString", record.typeString);
    ReadInt(element, "Width", record.width);
    ReadInt(element, "Height", record.height);
    ReadPadding(element, record.padding);
    ReadInt(element, "DevCmpStr", record.compareNames);
    ReadInt(element, "DevNO", record.number);
    return record;
}

}  // namespace

std::vector<std::string> SplitList(std::string_view text) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        pieces.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

std::vector<int> ParseHexList(std::string_view text) {
    std::vector<int> numbers;
    for (const std::string& piece : SplitList(text)) {
        if (piece.empty()) {
            numbers.push_back(kNoId);  // the position is kept, so that the lists still pair up
            continue;
        }
        const long value = std::strtol(piece.c_str(), nullptr, 16);
        numbers.push_back(value >= 0 && value <= 0xFFFF ? static_cast<int>(value) : kNoId);
    }
    return numbers;
}

Catalogue ParseCatalogue(std::string_view text) {
    Catalogue catalogue;
    try {
        const json root = json::parse(text);
        const json& devices = root.at("NDevice");
        if (!devices.is_array()) {
            throw json::type_error::create(302, std::string("NDevice must be an array, but is ") + devices.type_name(),
                                           &devices);
        }
        for (const json& element : devices) {
            DeviceRecord record = ReadRecord(element);
            if (std::find(catalogue.categories.begin(), catalogue.categories.end(), record.typeString) ==
                catalogue.categories.end()) {
                catalogue.categories.push_back(record.typeString);
            }
            catalogue.records.push_back(std::move(record));
        }
    } catch (const json::exception& error) {
        trace::Printf("Ndevice.json: %s\n", error.what());
    }
    return catalogue;
}

std::optional<Catalogue> ReadCatalogueFile(const std::filesystem::path& file) {
    auto text = ReadWholeFile(file);
    if (!text) {
        return std::nullopt;
    }
    return ParseCatalogue(*text);
}

}  // namespace mousecfg
