#include "layout/PositionFile.h"

#include <nlohmann/json.hpp>

#include "layout/CButtonAttributes.h"
#include "layout/CComboAttributes.h"
#include "layout/CLabelAttributes.h"
#include "layout/COptionAttributes.h"
#include "layout/SliderAttributes.h"
#include "layout/VerExAuttributes.h"
#include "platform/AtomicFile.h"
#include "platform/JsonNumbers.h"
#include "platform/Trace.h"

namespace mousecfg::layout {

std::unique_ptr<CControlAttributes> PositionFile::MakeEntry(const std::string& type) {
    if (type == "option") {
        return std::make_unique<COptionAttributes>();
    }
    if (type == "button") {
        return std::make_unique<CButtonAttributes>();
    }
    if (type == "optver") {
        return std::make_unique<VerExAuttributes>();
    }
    if (type == "slider") {
        return std::make_unique<SliderAttributes>();
    }
    if (type == "label") {
        return std::make_unique<CLabelAttributes>();
    }
    return std::make_unique<CComboAttributes>();
}

PositionFile PositionFile::Read(const std::filesystem::path& file) {
    auto bytes = ReadWholeFile(file);
    if (!bytes) {
        trace::Printf("layout: %s\n", bytes.message().c_str());
        return {};
    }
    PositionFile result = Parse(*bytes, file.string());
    result.opened = true;
    return result;
}

PositionFile PositionFile::Parse(std::string_view text, const std::string& name) {
    PositionFile result;
    result.opened = true;
    try {
        const nlohmann::json root = nlohmann::json::parse(text);
        const nlohmann::json& container = root.at("Containerinfo");
        result.containerName = container.at("containname").get<std::string>();
        result.width = NarrowMember<int>(container, "width");
        result.height = NarrowMember<int>(container, "height");
        result.bkImage = container.at("bkimage").get<std::string>();
        result.images.normal = container.at("normalimage").get<std::string>();
        result.images.hot = container.at("overimage").get<std::string>();
        result.images.down = container.at("downimage").get<std::string>();
        const nlohmann::json& controls = root.at("Controlinfo");
        if (!controls.is_array()) {
            throw nlohmann::json::type_error::create(302, "\"Controlinfo\" must be an array", &controls);
        }
        int index = 0;
        for (const nlohmann::json& entry : controls) {
            const std::string type = entry.is_object() && entry.contains("type") && entry["type"].is_string()
                                         ? entry["type"].get<std::string>()
                                         : std::string();
            auto attributes = MakeEntry(type);
            try {
                attributes->Parse(entry);
            } catch (const nlohmann::json::exception& error) {
                trace::Printf("layout: %s: entry %d: %s\n", name.c_str(), index, error.what());
                result.damaged = true;
            }
            result.controls.push_back(std::move(attributes));
            ++index;
        }
    } catch (const nlohmann::json::exception& error) {
        trace::Printf("layout: %s: %s\n", name.c_str(), error.what());
        result.damaged = true;
    }
    return result;
}

}  // namespace mousecfg::layout
