#include "macro/MacroRecordJson.h"

#include "macro/MacroDataJson.h"
#include "platform/JsonNumbers.h"

namespace mousecfg {

using json = nlohmann::json;

std::u16string NameFromJson(const json& units) {
    if (!units.is_array()) {
        throw json::type_error::create(302, std::string("type must be array, but is ") + units.type_name(), &units);
    }
    std::u16string name;
    name.reserve(units.size());
    for (const json& unit : units) {
        name.push_back(static_cast<char16_t>(NarrowNumber<uint16_t>(unit)));
    }
    return name;
}

json NameToJson(const std::u16string& name) {
    json units = json::array();
    for (const char16_t unit : name) {
        units.push_back(static_cast<unsigned>(unit));
    }
    return units;
}

bool ForbidViewFromJson(const json& object) {
    const auto found = object.find("ForbidView");
    return found != object.end() && NarrowNumber<int64_t>(*found) != 0;
}

MacroRecord MacroRecordFromJson(const json& object) {
    MacroRecord record;
    record.name = NameFromJson(object.at("MacroName"));
    record.guid = object.at("MacroGuid").get<std::string>();
    record.forbidView = ForbidViewFromJson(object);
    if (object.contains("BindKeys")) {
        record.bindKeys = NarrowNumber<int32_t>(object.at("BindKeys"));
    }
    if (object.contains("BindKeysInfo")) {
        for (const json& device : object.at("BindKeysInfo")) {
            std::vector<MacroBinding> keys;
            for (const json& key : device.at("BindKeysData")) {
                keys.push_back({key.at("Config").get<std::string>(), key.at("KeyName").get<std::string>()});
            }
            record.bindings[NameFromJson(device.at("BindDeviceName"))] = std::move(keys);
        }
    }
    Result<MacroBlock> block = MacroBlockFromJson(object.at("macData"));
    if (!block) {
        throw json::other_error::create(501, block.message(), &object);
    }
    record.block = *block;
    return record;
}

json BindingsToJson(const MacroRecord& record) {
    json devices = json::array();
    for (const auto& [device, keys] : record.bindings) {
        json data = json::array();
        for (const MacroBinding& key : keys) {
            data.push_back({{"KeyName", key.keyName}, {"Config", key.config}});
        }
        devices.push_back({{"BindDeviceName", NameToJson(device)}, {"BindKeysData", std::move(data)}});
    }
    return devices;
}

}  // namespace mousecfg
