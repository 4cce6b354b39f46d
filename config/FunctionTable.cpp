#include "config/FunctionTable.h"

#include <charconv>

#include <nlohmann/json.hpp>

#include "platform/AtomicFile.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;

bool ParseCode(std::string_view text, int& code) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

Status FunctionTable::Load(const std::filesystem::path& file) {
    const Result<std::string> text = ReadWholeFile(file);
    if (!text) {
        return text.status();
    }
    return Parse(*text);
}

Status FunctionTable::Parse(std::string_view text) {
    entries_.clear();
    try {
        const json document = json::parse(text);
        for (const auto& [name, texts] : document.at("MouseFunctionText").items()) {
            int code = 0;
            if (!ParseCode(name, code)) {
                continue;
            }
            entries_[code] = Texts{texts.at(0).get<std::string>(), texts.at(1).get<std::string>()};
        }
        return Status::Ok();
    } catch (const json::exception& error) {
        trace::Printf("%s\n", error.what());
        return Status::Error(error.what());
    }
}

std::string FunctionTable::FunctionListText(int code) const {
    const auto found = entries_.find(code);
    return found != entries_.end() ? found->second.list : std::string(kUnknownKey);
}

std::string FunctionTable::FunctionButtonText(int code) const {
    const auto found = entries_.find(code);
    return found != entries_.end() ? found->second.button : std::string(kUnknownKey);
}

}  // namespace mousecfg
