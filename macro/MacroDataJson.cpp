#include "macro/MacroDataJson.h"

#include <algorithm>

#include "platform/JsonNumbers.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;

template <typename T>
void ReadNumber(const json& object, const char* key, T& out) {
    out = NarrowMember<T>(object, key);
}

// Reads up to 500 entries of an array into `out`; missing entries stay zero.
template <typename T, size_t N>
void ReadArray(const json& object, const char* key, std::array<T, N>& out) {
    const json& array = object.at(key);
    if (!array.is_array()) {
        throw json::type_error::create(302, std::string("type must be array, but is ") + array.type_name(), &array);
    }
    const size_t count = std::min(array.size(), N);
    for (size_t i = 0; i < count; ++i) {
        out[i] = NarrowNumber<T>(array[i]);
    }
}

}  // namespace

Result<MacroBlock> MacroBlockFromJson(const json& macData) {
    try {
        MacroBlock block;
        ReadNumber(macData, "rptType", block.rptType);
        ReadNumber(macData, "macRpt", block.macRpt);
        ReadNumber(macData, "num", block.num);
        ReadNumber(macData, "numXY", block.numXY);
        ReadNumber(macData, "numWhl", block.numWhl);
        ReadNumber(macData, "numCpi", block.numCpi);
        ReadNumber(macData, "numMedia", block.numMedia);
        ReadNumber(macData, "numLed", block.numLed);
        ReadNumber(macData, "YStepEn", block.yStepEn);
        ReadNumber(macData, "YStep", block.yStep);
        ReadArray(macData, "macSta", block.macSta);
        ReadArray(macData, "macVal", block.macVal);
        ReadArray(macData, "macDly", block.macDly);
        const json& extVal = macData.at("extVal");
        if (!extVal.is_array()) {
            throw json::type_error::create(302, std::string("type must be array, but is ") + extVal.type_name(),
                                           &extVal);
        }
        const size_t count = std::min<size_t>(extVal.size(), MacroBlock::kMaxItems);
        for (size_t i = 0; i < count; ++i) {
            block.extVal[i] = {NarrowNumber<uint16_t>(extVal[i].at(0)), NarrowNumber<uint16_t>(extVal[i].at(1))};
        }
        return block;
    } catch (const json::exception& error) {
        return Status::Error(error.what());
    }
}

json MacroBlockToJson(const MacroBlock& block) {
    json extVal = json::array();
    for (const auto& point : block.extVal) {
        extVal.push_back({point.x, point.y});
    }
    return json{
        {"rptType", block.rptType},
        {"macRpt", block.macRpt},
        {"num", block.num},
        {"numXY", block.numXY},
        {"numWhl", block.numWhl},
        {"numCpi", block.numCpi},
        {"numMedia", block.numMedia},
        {"numLed", block.numLed},
        {"YStepEn", block.yStepEn},
        {"YStep", block.yStep},
        {"macSta", block.macSta},
        {"macVal", block.macVal},
        {"extVal", std::move(extVal)},
        {"macDly", block.macDly},
    };
}

}  // namespace mousecfg
