// Languages: the table, the order in which texts are looked up, language changes, and the extra fonts.
#include <gtest/gtest.h>

#include <fstream>

#include "app/ExtraFonts.h"
#include "app/LanguageTable.h"
#include "app/LanguageTexts.h"
#include "app/ShellMessages.h"
#include "skin/HeadlessWindowHost.h"
#include "skin/SkinResources.h"
#include "skin/TabLayout.h"
#include "skin/WindowMessages.h"
#include "tests/app/ShellHarness.h"

namespace mousecfg {
namespace {

using test::ShellHarness;
using test::TempDir;

TEST(LanguageTable, IndexOneAndUnknownIndexesAreEnglishAndNamesIgnoreCase) {
    EXPECT_EQ(app::LanguageName(1), "lan_en");
    EXPECT_EQ(app::LanguageName(0), "lan_cn");
    EXPECT_EQ(app::LanguageName(28), "lan_gr");
    for (const int unknown : {-1, 29, 1000}) {
        EXPECT_EQ(app::LanguageName(unknown), "lan_en") << unknown;
        EXPECT_EQ(app::LanguageFile("/l", unknown), std::filesystem::path("/l/lan_en.ini"));
    }
    EXPECT_EQ(app::LanguageIndex("LAN_DE"), 4);
    EXPECT_EQ(app::LanguageIndex("lan_pobr"), 18);
    EXPECT_EQ(app::LanguageIndex("lan_xx"), std::nullopt);
    EXPECT_EQ(app::LanguageIndex(""), std::nullopt);
}

TEST(LanguageTexts, OthersUiComesFirstAndThePageDecidesBetweenMacroAndMouseTexts) {
    TempDir dir;
    const auto file = dir.Write("lan.ini",
                                "[WindowName]\nWindowName=Title\n[FontName]\nFontName=Face\n"
                                "[OthersUI]\nshared=common\n"
                                "[MouseUI]\nShared=mouse\nmouseonly=mouse text\n"
                                "[MacroUI]\nmacroonly=macro text\n"
                                "[Mouse]\nNoDevice=none here\n"
                                "[Controls]\nlab_a=label,0\nbtn_b=button,3\nbad=label\n");
    const auto texts = app::LanguageTexts::Load(file);
    EXPECT_EQ(texts.WindowName(), "Title");
    EXPECT_EQ(texts.FontName(), "Face");
    EXPECT_EQ(texts.Lookup("SHARED", false, true), "common") << "OthersUI wins, keys ignore case";
    EXPECT_EQ(texts.Lookup("mouseonly", false, true), "mouse text");
    EXPECT_EQ(texts.Lookup("mouseonly", true, true), std::nullopt) << "not found on the macro page";
    EXPECT_EQ(texts.Lookup("macroonly", true, true), "macro text");
    EXPECT_EQ(texts.Lookup("macroonly", false, true), std::nullopt);
    EXPECT_EQ(texts.Lookup("mouseonly", false, false), std::nullopt) << "MouseUI only for a mouse";
    EXPECT_EQ(texts.Message("nodevice"), "none here");
    EXPECT_EQ(texts.Message("Tip"), "");
    ASSERT_EQ(texts.Controls().size(), 3u);
    EXPECT_EQ(texts.Controls()[1].type, "button");
    EXPECT_EQ(texts.Controls()[1].fontIndex, 3);
    EXPECT_EQ(texts.Controls()[2].fontIndex, 0);
}

TEST(LanguageTexts, AMissingFileGivesEmptyLists) {
    const auto texts = app::LanguageTexts::Load("/nonexistent/lan_en.ini");
    EXPECT_FALSE(texts.Loaded());
    EXPECT_EQ(texts.WindowName(), "");
    EXPECT_EQ(texts.Lookup("MousePage", false, true), std::nullopt);
}

TEST(Language, ChangingTheLanguageAppliesTextsTitleAndFontAndWritesTheIndex) {
    ShellHarness h;
    h.Start();
    h.Send(app::msg::kLanguageChange, 0, 0, "LAN_DE");
    EXPECT_EQ(h.Window().LanguageIndex(), 4);
    EXPECT_EQ(h.Setting("Set", "Language"), "4");
    EXPECT_EQ(h.Text("btn_Mac"), "Makros");
    EXPECT_EQ(h.Text("connect_text"), "Per 2,4-GHz-Empfänger verbunden");
    EXPECT_EQ(h.Platform().TrayToolTip(), "Gaming-Maus-Einstellungen");
    EXPECT_EQ(h.Window().GetPaintManager().GetFont(3).family, "Chosen Face,Noto Sans CJK SC");
    for (const auto& [button, tip] : {std::pair{"btn_min", "Minimieren"}, std::pair{"guideButton", "Handbuch"}}) {
        const skin::Rect pos = h.Window().FindControl(button)->GetPos();
        h.Window().HandleMessage(Message{skin::msg::kMouseMove, 0,
                                         skin::msg::MakePointParam((pos.left + pos.right) / 2, pos.top + 2), {}});
        EXPECT_EQ(static_cast<skin::HeadlessWindowHost*>(h.Window().GetHost())->toolTip(), tip)
            << "the tip of an icon button is in the language";
    }
    h.Send(app::msg::kLanguageChange, 0, 0, "lan_xx");
    EXPECT_EQ(h.Window().LanguageIndex(), 4) << "an unknown name changes nothing";
    h.Send(app::msg::kLanguageChange, 0, 0, "lan_cn");
    EXPECT_EQ(h.Text("btn_Mac"), "宏");
    EXPECT_EQ(h.Setting("Set", "Language"), "0");
}

TEST(Language, ArabicAndPersianRunRightToLeftInTheFacesChosenForThem) {
    ShellHarness h;
    h.Start();
    const auto left = [&h](const char* name) {
        h.Window().GetPaintManager().UpdateLayout();
        return h.Window().FindControl(name)->GetPos().left;
    };
    const auto inPage = [&] { return left("lab_mousehint") - left("tab_main"); };
    const int pageOffset = inPage();
    EXPECT_LT(left("title_text"), left("btn_close"));
    for (const char* name : {"lan_ar", "lan_fa"}) {
        SCOPED_TRACE(name);
        h.Send(app::msg::kLanguageChange, 0, 0, name);
        EXPECT_TRUE(skin::SkinResources::IsRightToLeft());
        EXPECT_EQ(h.fonts.languages.back(), std::string(name) == "lan_ar" ? "ar" : "fa");
        EXPECT_EQ(h.Window().GetPaintManager().GetFont(3).family, "Chosen Face,Noto Sans Arabic UI");
        EXPECT_GT(left("title_text"), left("btn_close")) << "the caption runs from the right";
        EXPECT_GT(left("home_layout"), left("tab_main")) << "the home card moves to the right";
        EXPECT_EQ(inPage(), pageOffset) << "the pages keep their layout";
    }
    h.Send(app::msg::kLanguageChange, 0, 0, "lan_en");
    EXPECT_FALSE(skin::SkinResources::IsRightToLeft());
    EXPECT_LT(left("title_text"), left("btn_close"));
    EXPECT_EQ(skin::SkinResources::GetFontFamily(), "Chosen Face,Noto Sans CJK SC") << "for windows opened later";
}

TEST(Language, AMissingLanguageFileKeepsTheSkinTextsAndAnEmptyTitle) {
    ShellHarness h(app::Simulation::Receiver, [](const auto& res) {
        std::filesystem::remove(res / "Language" / "lan_en.ini");
    });
    h.Start();
    EXPECT_EQ(h.Text("btn_Mac"), "Macros") << "the skin's own text";
    EXPECT_EQ(h.Text("connect_text"), "Connected by cable") << "the skin's own text: no language text replaces it";
    EXPECT_EQ(static_cast<skin::HeadlessWindowHost*>(h.Window().GetHost())->title().rfind(" \xE2\x80\x94", 0), 0u);
}

TEST(Language, MacroPageTextsAppearOnlyWhenTheMacroPageIsShown) {
    ShellHarness h(app::Simulation::Receiver, [](const auto& res) { test::SetSetting(res, "Set", "Language", "0"); });
    h.Start();
    EXPECT_EQ(h.Text("lab_mousehint"), "点击鼠标上的按键，为它选择功能。");
    ShellHarness::Click(h.Window(), "btn_Mac");
    h.Pump();
    EXPECT_EQ(h.Window().Find<skin::TabLayout>("tab_main")->GetCurSel(), 1);
    EXPECT_EQ(h.Window().QueryControlText("MacroRecordButton", "Button"), "录制");
    EXPECT_EQ(h.Text("btn_Macro_Record"), "录制");
    EXPECT_EQ(h.Window().QueryControlText("MouseHint", "Label"), std::nullopt) << "a mouse text is not found there";
}

TEST(ExtraFonts, RegistersEachNamedFontOnceAndRemovesThemAll) {
    TempDir dir;
    dir.Write("fonts/a.ttf", "font a");
    dir.Write("fonts/b.otf", "font b");
    const auto description = dir.Write("ExFont.json", R"({"Font": [
        {"FontName": "A", "FontPath": "fonts/a.ttf"},
        {"FontName": "A", "FontPath": "fonts/b.otf"},
        {"FontName": "Missing", "FontPath": "fonts/none.ttf"},
        {"FontName": "B", "FontPath": ")" + (dir.path() / "fonts/b.otf").string() + R"("}]})");
    test::RecordingFontRegistry registry;
    app::ExtraFonts fonts;
    EXPECT_EQ(fonts.Register(description, dir.path(), registry), 2);
    ASSERT_EQ(fonts.Registered().size(), 2u);
    EXPECT_EQ(fonts.Registered().at("A").first, dir.path() / "fonts/a.ttf") << "the first registration wins";
    EXPECT_EQ(fonts.RemoveAll(registry), 2);
    EXPECT_TRUE(registry.live.empty());
    EXPECT_TRUE(fonts.Registered().empty());
}

TEST(ExtraFonts, AMissingOrBrokenDescriptionRegistersNothing) {
    TempDir dir;
    dir.Write("a.ttf", "font");
    test::RecordingFontRegistry registry;
    for (const std::string& text : {std::string("{\"Font\": [{\"FontName\": \"A\"}]}"), std::string("not json"),
                                   std::string("{\"Font\": 3}"), std::string("[]")}) {
        app::ExtraFonts fonts;
        EXPECT_EQ(fonts.Register(dir.Write("ExFont.json", text), dir.path(), registry), 0) << text;
    }
    app::ExtraFonts fonts;
    EXPECT_EQ(fonts.Register(dir / "none.json", dir.path(), registry), 0);
    EXPECT_TRUE(registry.added.empty());
}

TEST(ExtraFonts, ExitRemovesTheFontsRegisteredAtStart) {
    ShellHarness h(app::Simulation::Receiver, [](const auto& res) {
        std::ofstream(res / "Language/extra.ttf") << "font";
        std::ofstream(res / "Language/ExFont.json")
            << R"({"Font": [{"FontName": "Extra", "FontPath": ")" << (res / "Language/extra.ttf").string() << "\"}]}";
        test::SetSetting(res, "CloseConfig", "CloseOption", "1");
    });
    h.Start();
    EXPECT_EQ(h.fonts.live.size(), 1u);
    ShellHarness::Click(h.Window(), "btn_close");
    h.Pump();
    EXPECT_TRUE(h.fonts.live.empty());
    EXPECT_EQ(h.quits, std::vector<int>{0});
}

}  // namespace
}  // namespace mousecfg
