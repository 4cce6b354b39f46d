#include "app/LanguageTable.h"

#include <array>
#include <string>

#include "platform/TextEncoding.h"

namespace mousecfg::app {
namespace {

constexpr std::array<std::string_view, kLanguageCount> kNames = {
    "lan_cn", "lan_en",   "lan_fr",   "lan_bili", "lan_de", "lan_sp", "lan_it", "lan_ru",   "lan_tu", "lan_po",
    "lan_th", "lan_kr",   "lan_jp",   "lan_ar",   "lan_pl", "lan_cz", "lan_se", "lan_nl",   "lan_pobr",
    "lan_cntw", "lan_nlbe", "lan_da", "lan_sl",   "lan_fa", "lan_ua", "lan_frbe", "lan_hun", "lan_ind", "lan_gr"};

// The tags in the order of the names above.
constexpr std::array<std::string_view, kLanguageCount> kTags = {
    "zh-cn", "en", "fr", "nl", "de", "es", "it", "ru", "tr", "pt", "th", "ko", "ja", "ar", "pl",
    "cs",    "sv", "nl", "pt", "zh-tw", "nl", "da", "sl", "fa", "uk", "fr", "hu", "id", "el"};

}  // namespace

std::string_view LanguageTag(int index) {
    return index >= 0 && index < kLanguageCount ? kTags[static_cast<size_t>(index)] : kTags[kEnglish];
}

bool IsRightToLeft(int index) {
    return LanguageTag(index) == "ar" || LanguageTag(index) == "fa";
}

std::string_view LanguageName(int index) {
    return index >= 0 && index < kLanguageCount ? kNames[static_cast<size_t>(index)] : kNames[kEnglish];
}

std::optional<int> LanguageIndex(std::string_view name) {
    for (int i = 0; i < kLanguageCount; ++i) {
        if (EqualsIgnoringAsciiCase(kNames[static_cast<size_t>(i)], name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::filesystem::path LanguageFile(const std::filesystem::path& languageFolder, int index) {
    return languageFolder / (std::string(LanguageName(index)) + ".ini");
}

}  // namespace mousecfg::app
