#include "macro/MacroRecordJson.h"

#include "macro/MacroDataJson.h"
#include "platform/JsonNumbers.h"

namespace mousecfg {

using json = nlohmann::json;

namespace {

const json& ArrayValue(const json& value) {
    if (!value.is_array()) {
        throw json::type_error::create(302, std::string("type must be array, but is ") + value.type_name(), &value);
    }
    return value;
}

}  // namespace

std::u16string NameFromJson(const json& units) {
    std::u16string name;
    name.reserve(ArrayValue(units).size());
    for (const json& unit : units) {
        // Narrowing would turn such a unit into another character without a word: the name is damaged. (Unsigned
        // numbers beyond the signed range read as negative.)
        const auto value = NarrowNumber<int64_t>(unit);
        if (value < 0 || value > 0xFFFF) {
            throw json::out_of_range::create(406, "code unit " + unit.dump() + " of a name is outside 0..65535",
                                             &unit);
        }
        name.push_back(static_cast<char16_t>(value));
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

MacroGroup MacroGroupFromJson(json& object) {
    MacroGroup group;
    group.name = NameFromJson(object.at("GrpName"));
    group.guid = object.at("GrpGuid").get<std::string>();
    group.forbidView = ForbidViewFromJson(object);
    if (object.contains("MacroInfo")) {
        // Editing writes into "MacroInfo" as an array: any other value would be replaced, and its macros lost.
        for (const json& macro : ArrayValue(object.at("MacroInfo"))) {
            group.macros.push_back(MacroRecordFromJson(macro));
        }
        for (json& macro : object.at("MacroInfo")) {
            if (!macro.contains("ForbidView")) {
                macro["ForbidView"] = false;
            }
        }
    }
    if (!object.contains("ForbidView")) {
        object["ForbidView"] = false;
    }
    return group;
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
