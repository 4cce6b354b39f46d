#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace mousecfg::app {

// The languages by index (the value of "Set"/"Language") and name (the settings window's combo items).
inline constexpr int kLanguageCount = 29;
inline constexpr int kEnglish = 1;

// The name of language `index`; "lan_en" for an index outside 0..28.
std::string_view LanguageName(int index);
// The index of a name, compared without case; nothing for an unknown name.
std::optional<int> LanguageIndex(std::string_view name);
// The file of language `index` in the language folder ("lan_en.ini" for an unknown index).
std::filesystem::path LanguageFile(const std::filesystem::path& languageFolder, int index);
// The language's tag as font databases know it ("ar", "el", "zh-tw"); that of English for an unknown index.
std::string_view LanguageTag(int index);
// Whether the language is written from right to left (Arabic, Persian).
bool IsRightToLeft(int index);

}  // namespace mousecfg::app
