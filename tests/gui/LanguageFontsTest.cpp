// The faces chosen for each language from the fonts the system has (fontconfig) can draw the language.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/LanguageTable.h"
#include "app/LanguageTexts.h"
#include "platform/qt/FontconfigFaces.h"
#include "platform/qt/QtFontRegistry.h"

namespace mousecfg::qt::test {
namespace {

const std::filesystem::path kLanguages = std::filesystem::path(MOUSECFG_RES_DIR) / "Language";

TEST(LanguageFonts, EveryLanguagesFacesHaveEveryCharacterOfItsFile) {
    QtFontRegistry registry;
    for (int index = 0; index < app::kLanguageCount; ++index) {
        const app::LanguageTexts texts = app::LanguageTexts::Load(app::LanguageFile(kLanguages, index));
        ASSERT_TRUE(texts.Loaded()) << app::LanguageName(index);
        const std::string all = texts.AllTexts();
        const std::vector<std::string> faces = registry.FacesFor(texts.FontName(), all, app::LanguageTag(index));
        ASSERT_FALSE(faces.empty()) << app::LanguageName(index);
        for (const char32_t c : fontconfig::ShownCharacters(all)) {
            const bool drawn = std::any_of(faces.begin(), faces.end(),
                                           [c](const std::string& face) { return fontconfig::FaceHas(face, c); });
            EXPECT_TRUE(drawn) << app::LanguageName(index) << ": no face of " << ::testing::PrintToString(faces)
                               << " has U+" << std::hex << static_cast<uint32_t>(c);
        }
    }
}

TEST(LanguageFonts, TheNamedFaceLeadsOnlyWhenItIsMadeForTheLanguage) {
    QtFontRegistry registry;
    // Greek with accented vowels in a face that has only plain Greek: a face with all of them goes first.
    const std::string greek = "Ρυθμίσεις ποντικιού — Έξοδος";
    const auto forGreek = registry.FacesFor("Noto Sans CJK SC", greek, "el");
    ASSERT_GE(forGreek.size(), 2u);
    EXPECT_NE(forGreek.front(), "Noto Sans CJK SC");
    EXPECT_TRUE(fontconfig::FaceHas(forGreek.front(), U'ί'));
    // Arabic in an Arabic face: it stays first; another face adds the Latin letters it lacks.
    const auto forArabic = registry.FacesFor("Noto Sans Arabic UI", "مستوى DPI الحالي", "ar");
    ASSERT_GE(forArabic.size(), 2u);
    EXPECT_EQ(forArabic.front(), "Noto Sans Arabic UI");
    EXPECT_TRUE(fontconfig::FaceHas(forArabic[1], U'D'));
    // A face that has everything is all there is; a face that is not installed is kept behind those found.
    EXPECT_EQ(registry.FacesFor("DejaVu Sans", "Hello", "en"), std::vector<std::string>{"DejaVu Sans"});
    const auto missing = registry.FacesFor("No Such Face", "Hello", "en");
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_EQ(missing.back(), "No Such Face");
}

}  // namespace
}  // namespace mousecfg::qt::test
