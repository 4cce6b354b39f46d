#pragma once

#include <string>
#include <string_view>
#include <vector>

// Font faces chosen with fontconfig from what the system has (the application fonts Qt added included).
namespace mousecfg::qt::fontconfig {

// See FontRegistry::FacesFor. `language` also picks the order of the faces found.
std::vector<std::string> FacesFor(std::string_view preferred, std::string_view text, std::string_view language);

// The code points of `text` (UTF-8) that show as glyphs: control characters and blanks are left out.
std::vector<char32_t> ShownCharacters(std::string_view text);

// Whether the face `family` (an installed family name) has a glyph for `character`.
bool FaceHas(const std::string& family, char32_t character);

}  // namespace mousecfg::qt::fontconfig
