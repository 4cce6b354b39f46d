#include "config/ExchangeFile.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

std::string ShippedConfig() {
    return test::TempDir::Read(test::TestDataPath("../../res/VeruzUrir/MouseA/Config/MouseConfig.json"));
}

std::string WithMember(const std::string& config, const nlohmann::json& name, const char* key = "MouseName") {
    nlohmann::json document = nlohmann::json::parse(config);
    document[key] = name;
    return document.dump();
}

TEST(ExchangeFile, ChecksNameAndContentsBeforeAnythingIsCopied) {
    const std::string config = ShippedConfig();
    const auto units = [](std::u16string name) {
        nlohmann::json array = nlohmann::json::array();
        for (char16_t unit : name) {
            array.push_back(static_cast<int>(unit));
        }
        return array;
    };
    nlohmann::json wrongType = nlohmann::json::parse(WithMember(config, units(u"Virtual Mouse")));
    wrongType["mouseconfig"]["mouseadv"][1]["firevalue"] = "ten";
    struct Case {
        std::string text;
        ExchangeCheck expected;
    };
    for (const Case& c :
         {Case{"{ not json", ExchangeCheck::NotJson}, Case{"[1, 2]", ExchangeCheck::NoName},
          Case{config, ExchangeCheck::NoName},
          Case{WithMember(config, units(u"Other Mouse")), ExchangeCheck::OtherDevice},
          Case{WithMember(config, units(u"VIRTUAL mouse")), ExchangeCheck::Accepted},
          Case{WithMember(config, "Virtual Mouse"), ExchangeCheck::BadContents},
          Case{WithMember(config, {"V"}), ExchangeCheck::BadContents},
          // Units beyond 16 bits would wrap into the device's name.
          Case{WithMember(config, nlohmann::json{0x10000 + 'V', 'i', 'r', 't', 'u', 'a', 'l', ' ', 'M', 'o', 'u', 's', 'e'}),
               ExchangeCheck::BadContents},
          Case{WithMember(config, nlohmann::json{-65536 + 'V'}), ExchangeCheck::BadContents},
          Case{WithMember(R"({"mouseconfig": {}})", units(u"Virtual Mouse")), ExchangeCheck::BadContents},
          Case{wrongType.dump(), ExchangeCheck::BadContents}}) {
        EXPECT_EQ(CheckExchangeText(c.text, "Virtual Mouse"), c.expected) << c.text.substr(0, 60);
    }
}

TEST(ExchangeFile, NamesCompareWithoutAsciiCaseOnly) {
    EXPECT_TRUE(SameDeviceName(u"Mouse A", u"mOUSE a"));
    EXPECT_FALSE(SameDeviceName(u"Mouse A", u"Mouse A "));
    EXPECT_FALSE(SameDeviceName(u"\u00C9clair", u"\u00E9clair")) << "only ASCII letters fold";
}

TEST(ExchangeFile, ExportedTextCarriesTheNameAsCodeUnitsAndKeepsTheDocument) {
    const auto text = ExchangeText(R"({"mouseconfig": {"mousemain": {"ver": 3}}})", "M\xC3\xA4us \xF0\x9F\x90\xAD");
    ASSERT_TRUE(text);
    const nlohmann::json document = nlohmann::json::parse(*text);
    EXPECT_EQ(document["MouseName"], (nlohmann::json{77, 0xE4, 117, 115, 32, 0xD83D, 0xDC2D}));
    EXPECT_EQ(document["mouseconfig"]["mousemain"]["ver"], 3);
    EXPECT_NE(text->find("\n    \"MouseName\""), std::string::npos) << "indented by 4";
    EXPECT_FALSE(ExchangeText("[]", "x"));
    EXPECT_FALSE(ExchangeText("{", "x"));
}

}  // namespace
}  // namespace mousecfg
