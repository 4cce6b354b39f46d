#include "platform/qt/FontconfigFaces.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <memory>

namespace mousecfg::qt::fontconfig {
namespace {

struct CharSetFree {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};
struct PatternFree {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetFree {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using CharSet = std::unique_ptr<FcCharSet, CharSetFree>;
using Pattern = std::unique_ptr<FcPattern, PatternFree>;
using FontSet = std::unique_ptr<FcFontSet, FontSetFree>;

const FcChar8* Text(const std::string& text) {
    return reinterpret_cast<const FcChar8*>(text.c_str());
}

// The characters of all installed faces of `family` together; empty when the family is not installed.
CharSet FamilyCharacters(const std::string& family) {
    CharSet all(FcCharSetCreate());
    Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, Text(family));
    FcObjectSet* objects = FcObjectSetBuild(FC_CHARSET, nullptr);
    FontSet fonts(FcFontList(nullptr, pattern.get(), objects));
    FcObjectSetDestroy(objects);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcCharSet* characters = nullptr;
        if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &characters) == FcResultMatch) {
            FcCharSetMerge(all.get(), characters, nullptr);
        }
    }
    return all;
}

// Whether an installed face of `family` is made for `language` (fontconfig knows which letters each language
// needs).
bool FamilySupports(const std::string& family, std::string_view language) {
    Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, Text(family));
    FcObjectSet* objects = FcObjectSetBuild(FC_LANG, nullptr);
    FontSet fonts(FcFontList(nullptr, pattern.get(), objects));
    FcObjectSetDestroy(objects);
    const std::string tag(language);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcLangSet* languages = nullptr;
        if (FcPatternGetLangSet(fonts->fonts[i], FC_LANG, 0, &languages) == FcResultMatch &&
            FcLangSetHasLang(languages, Text(tag)) != FcLangDifferentLang) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> SplitFaces(std::string_view faces) {
    std::vector<std::string> list;
    while (!faces.empty()) {
        const size_t comma = std::min(faces.find(','), faces.size());
        std::string face(faces.substr(0, comma));
        face.erase(0, face.find_first_not_of(' '));
        face.erase(face.find_last_not_of(' ') + 1);
        if (!face.empty()) {
            list.push_back(face);
        }
        faces.remove_prefix(std::min(comma + 1, faces.size()));
    }
    return list;
}

std::string FamilyOf(FcPattern* font) {
    FcChar8* name = nullptr;
    return FcPatternGetString(font, FC_FAMILY, 0, &name) == FcResultMatch ? reinterpret_cast<char*>(name)
                                                                          : std::string();
}

FcCharSet* CharactersOf(FcPattern* font) {
    FcCharSet* set = nullptr;
    return FcPatternGetCharSet(font, FC_CHARSET, 0, &set) == FcResultMatch ? set : nullptr;
}

// The system's faces for `language` in fontconfig's order of preference, sans-serif first.
FontSet SortedFaces(const FcCharSet* wanted, std::string_view language) {
    Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, Text("sans-serif"));
    if (!language.empty()) {
        FcPatternAddString(pattern.get(), FC_LANG, Text(std::string(language)));
    }
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    return FontSet(FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
}

// Faces for the characters in `missing`: the first face in the order of preference that has them all, else,
// face by face in that order, each face that has some of those still missing.
std::vector<std::string> FacesForMissing(const FcCharSet* missing, std::string_view language) {
    std::vector<std::string> chosen;
    const FontSet sorted = SortedFaces(missing, language);
    if (!sorted) {
        return chosen;
    }
    for (int i = 0; i < sorted->nfont; ++i) {
        const FcCharSet* has = CharactersOf(sorted->fonts[i]);
        const std::string family = FamilyOf(sorted->fonts[i]);
        if (has != nullptr && !family.empty() && FcCharSetIsSubset(missing, has) != FcFalse) {
            return {family};
        }
    }
    CharSet rest(FcCharSetCopy(const_cast<FcCharSet*>(missing)));
    for (int i = 0; i < sorted->nfont && FcCharSetCount(rest.get()) > 0; ++i) {
        const FcCharSet* has = CharactersOf(sorted->fonts[i]);
        const std::string family = FamilyOf(sorted->fonts[i]);
        if (has == nullptr || family.empty() || FcCharSetIntersectCount(rest.get(), has) == 0 ||
            std::find(chosen.begin(), chosen.end(), family) != chosen.end()) {
            continue;
        }
        chosen.push_back(family);
        rest.reset(FcCharSetSubtract(rest.get(), has));
    }
    return chosen;
}

}  // namespace

std::vector<char32_t> ShownCharacters(std::string_view text) {
    std::vector<char32_t> shown;
    for (const char32_t c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUcs4()) {
        if (c > 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0xA0) && c != 0xFEFF && c != 0xFFFD) {
            shown.push_back(c);
        }
    }
    std::sort(shown.begin(), shown.end());
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    return shown;
}

bool FaceHas(const std::string& family, char32_t character) {
    return FcInit() != FcFalse && FcCharSetHasChar(FamilyCharacters(family).get(), character) != FcFalse;
}

std::vector<std::string> FacesFor(std::string_view preferred, std::string_view text, std::string_view language) {
    const std::vector<std::string> own = SplitFaces(preferred);
    if (FcInit() == FcFalse) {
        return own;
    }
    CharSet missing(FcCharSetCreate());
    for (const char32_t c : ShownCharacters(text)) {
        FcCharSetAddChar(missing.get(), c);
    }
    for (const std::string& face : own) {
        missing.reset(FcCharSetSubtract(missing.get(), FamilyCharacters(face).get()));
    }
    if (FcCharSetCount(missing.get()) == 0) {
        return own;
    }
    // A named face made for the language keeps its text; the faces found add what it lacks (Latin letters in an
    // Arabic text). Named faces that are not made for it go behind the faces found for the language, so that a
    // word does not mix letters of two faces (plain Greek letters of one, accented ones of another).
    const bool ownFirst = !language.empty() && !own.empty() && FamilySupports(own.front(), language);
    std::vector<std::string> found = FacesForMissing(missing.get(), language);
    std::vector<std::string> faces = ownFirst ? own : found;
    for (const std::string& face : ownFirst ? found : own) {
        if (std::find(faces.begin(), faces.end(), face) == faces.end()) {
            faces.push_back(face);
        }
    }
    return faces;
}

}  // namespace mousecfg::qt::fontconfig
