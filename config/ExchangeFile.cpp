#include "config/ExchangeFile.h"

#include <nlohmann/json.hpp>

#include "config/MouseConfig.h"
#include "macro/MacroRecordJson.h"
#include "platform/TextEncoding.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;

constexpr const char* kMouseName = "MouseName";

char16_t FoldAscii(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
}

}  // namespace

FileFilter ExchangeFileFilter() {
    return FileFilter{"Config Flie(*.Mouse.Config)", "*.Mouse.Config", "Config"};
}

bool SameDeviceName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

ExchangeCheck CheckExchangeText(std::string_view text, std::string_view deviceName) {
    json document;
    try {
        document = json::parse(text);
    } catch (const json::exception&) {
        return ExchangeCheck::NotJson;
    }
    if (!document.is_object() || !document.contains(kMouseName)) {
        return ExchangeCheck::NoName;
    }
    if (!document.at(kMouseName).is_array()) {
        return ExchangeCheck::BadContents;
    }
    std::u16string name;
    try {
        // The macro document's reading of names: a unit beyond 16 bits is damaged, never wrapped into a name.
        name = NameFromJson(document.at(kMouseName));
    } catch (const json::exception&) {
        return ExchangeCheck::BadContents;
    }
    if (!SameDeviceName(name, Utf8ToUtf16(deviceName))) {
        return ExchangeCheck::OtherDevice;
    }
    // The whole configuration must load: a file that stops half-way would leave a mixed document behind.
    MouseConfig scratch;
    return ParseMouseConfig(scratch, text).ok() ? ExchangeCheck::Accepted : ExchangeCheck::BadContents;
}

Result<std::string> ExchangeText(std::string_view configText, std::string_view deviceName) {
    json document;
    try {
        document = json::parse(configText);
    } catch (const json::exception& error) {
        return Status::Error(std::string("the configuration is not valid JSON: ") + error.what());
    }
    if (!document.is_object()) {
        return Status::Error("the configuration is not a JSON object");
    }
    json units = json::array();
    for (char16_t unit : Utf8ToUtf16(deviceName)) {
        units.push_back(static_cast<int>(unit));
    }
    document[kMouseName] = std::move(units);
    return document.dump(4, ' ', false, json::error_handler_t::replace);
}

}  // namespace mousecfg
