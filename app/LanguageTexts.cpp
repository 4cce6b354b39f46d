#include "app/LanguageTexts.h"

#include "platform/PrivateProfile.h"
#include "platform/TextEncoding.h"

namespace mousecfg::app {
namespace {

constexpr int kWindowNameSize = 4096;

LanguageTexts::Section ReadSection(std::string_view section, const std::filesystem::path& file) {
    LanguageTexts::Section texts;
    for (const auto& [key, value] : ini::GetPrivateProfileEntries(section, file)) {
        texts.emplace(ToAsciiLower(key), value);  // the first of duplicate keys counts
    }
    return texts;
}

// "type,font index" of a "Controls" entry; a missing or bad index reads as 0.
ControlFont ParseControlFont(const std::string& control, const std::string& value) {
    const size_t comma = value.find(',');
    ControlFont font{control, value.substr(0, comma), 0};
    if (comma != std::string::npos) {
        font.fontIndex = ini::Atoi(std::string_view(value).substr(comma + 1));
    }
    return font;
}

}  // namespace

const std::vector<std::string>& LanguageTexts::SectionNames() {
    static const std::vector<std::string> kSections = {"OthersUI", "MouseUI",     "MacroUI", "MacroPopUI",
                                                       "KeyboardUI", "PadUI",     "PublicLedUI", "Mouse",
                                                       "Macro",    "MouseFunctionUI"};
    return kSections;
}

LanguageTexts LanguageTexts::Load(const std::filesystem::path& file) {
    LanguageTexts texts;
    std::error_code error;
    texts.loaded_ = std::filesystem::is_regular_file(file, error);
    if (!texts.loaded_) {
        return texts;
    }
    texts.windowName_ = ini::GetPrivateProfileString("WindowName", "WindowName", "", file, kWindowNameSize);
    texts.fontName_ = ini::GetPrivateProfileString("FontName", "FontName", "", file);
    for (const std::string& section : SectionNames()) {
        texts.sections_[ToAsciiLower(section)] = ReadSection(section, file);
    }
    for (const auto& [control, value] : ini::GetPrivateProfileEntries("Controls", file)) {
        texts.controls_.push_back(ParseControlFont(control, value));
    }
    return texts;
}

std::string LanguageTexts::AllTexts() const {
    std::string all = windowName_;
    for (const auto& [name, section] : sections_) {
        for (const auto& [key, text] : section) {
            all += '\n';
            all += text;
        }
    }
    return all;
}

std::optional<std::string> LanguageTexts::Find(std::string_view section, std::string_view key) const {
    const auto list = sections_.find(ToAsciiLower(section));
    if (list == sections_.end()) {
        return std::nullopt;
    }
    const auto text = list->second.find(ToAsciiLower(key));
    if (text == list->second.end()) {
        return std::nullopt;
    }
    return text->second;
}

std::optional<std::string> LanguageTexts::Lookup(std::string_view id, bool macroPageShown, bool deviceIsMouse) const {
    if (auto text = Find("OthersUI", id)) {
        return text;
    }
    if (macroPageShown) {
        return Find("MacroUI", id);
    }
    if (deviceIsMouse) {
        return Find("MouseUI", id);
    }
    return std::nullopt;
}

std::string LanguageTexts::Message(std::string_view key) const {
    return Find("Mouse", key).value_or(std::string());
}

std::string LanguageTexts::MacroMessage(std::string_view key) const {
    return Find("Macro", key).value_or(std::string());
}

}  // namespace mousecfg::app
