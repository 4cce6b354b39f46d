// Feeds arbitrary bytes to the readers of a language's files: as a language file (INI, any encoding) and as the
// extra-font description. Texts are found without regard to the case of section and key, the first of duplicate
// keys counts, the window title keeps its bounded length, and a font name is registered at most once and removed
// once.
#include <cstdint>
#include <set>

#include "app/ExtraFonts.h"
#include "app/LanguageTexts.h"
#include "platform/FontRegistry.h"
#include "platform/PrivateProfile.h"
#include "platform/TextEncoding.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace mousecfg;

// Takes every font; ids count up.
class AcceptingRegistry final : public FontRegistry {
  public:
    int AddFont(const std::filesystem::path&) override {
        live.insert(next);
        return next++;
    }
    bool RemoveFont(int id) override { return live.erase(id) == 1; }
    std::set<int> live;
    int next = 0;
};

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

void CheckLanguageFile(const std::filesystem::path& file) {
    const app::LanguageTexts texts = app::LanguageTexts::Load(file);
    fuzz::Check(texts.Loaded(), "an existing language file counts as loaded");
    fuzz::Check(Utf8ToUtf16(texts.WindowName()).size() < 4096, "the window title fits its 4096-unit buffer");
    for (const std::string& section : app::LanguageTexts::SectionNames()) {
        std::set<std::string> seen;
        for (const auto& [key, value] : ini::GetPrivateProfileEntries(section, file)) {
            if (!seen.insert(ToAsciiLower(key)).second) {
                continue;  // a later duplicate: the first one counts
            }
            const auto found = texts.Find(Upper(section), Upper(key));
            fuzz::Check(found.has_value() && *found == value, "a text is found by its key in any case");
        }
    }
    for (const app::ControlFont& font : texts.Controls()) {
        fuzz::Check(font.type.find(',') == std::string::npos, "a control's type ends at the first comma");
    }
}

void CheckFontDescription(const std::filesystem::path& file) {
    AcceptingRegistry registry;
    app::ExtraFonts fonts;
    const int added = fonts.Register(file, fuzz::ScratchFolder(), registry);
    fuzz::Check(added == static_cast<int>(fonts.Registered().size()) && added == static_cast<int>(registry.live.size()),
                "every font added is remembered once");
    fuzz::Check(fonts.Register(file, fuzz::ScratchFolder(), registry) == 0, "a font name registers only once");
    fuzz::Check(fonts.RemoveAll(registry) == added && registry.live.empty(), "every font added is removed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietTraces();
    const auto file = fuzz::ScratchFolder() / "lan_fuzz.ini";
    fuzz::WriteBytes(file, fuzz::Text(data, size));
    ini::ClearCache();  // the file changes within one tick of the clock, often keeping its size
    CheckLanguageFile(file);
    CheckFontDescription(file);
    return 0;
}
