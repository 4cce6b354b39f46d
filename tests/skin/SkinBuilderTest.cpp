#include "skin/SkinBuilder.h"

#include <gtest/gtest.h>

#include "skin/Button.h"
#include "skin/CVerticalLayoutExUI.h"
#include "skin/ControlFactory.h"
#include "skin/List.h"
#include "skin/PaintManager.h"
#include "skin/SkinResources.h"
#include "skin/TextQuery.h"
#include "tests/support/TempDir.h"

namespace mousecfg::skin {
namespace {

struct CustomClasses : ControlCallback {
    std::unique_ptr<Control> CreateControl(std::string_view className) override {
        return CreateCustomLayout(className);
    }
};

bool Mentions(const std::vector<std::string>& problems, const std::string& text) {
    for (const auto& problem : problems) {
        if (problem.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(SkinBuilder, ReportsEveryProblemWithFileAndLineAndBuildsTheRest) {
    mousecfg::test::TempDir dir;
    dir.Write("ok.png", "not really a picture, but present");
    const auto file = dir.Write("window.xml", R"(<Window size="200,100">
  <VerticalLayout name="root">
    <Gizmo name="unknown"/>
    <Button name="b1" flavour="sweet" width="wide"/>
    <Button name="b2" normalimage="gone.png" hotimage="ok.png"/>
    <Label name="l1"><Button name="inside"/></Label>
    <Include source="missing.xml"/>
    <Button name="b3" text="still here"/>
  </VerticalLayout>
</Window>)");
    PaintManager manager;
    SkinBuilder builder(manager, nullptr);
    ASSERT_TRUE(builder.LoadWindow(file));
    const auto& problems = builder.problems();
    EXPECT_TRUE(Mentions(problems, "window.xml:3: unknown control class <Gizmo>"));
    EXPECT_TRUE(Mentions(problems, "window.xml:4: Button 'b1': unknown attribute 'flavour'"));
    EXPECT_TRUE(Mentions(problems, "window.xml:4: Button 'b1': bad value for attribute 'width' = 'wide'"));
    EXPECT_TRUE(Mentions(problems, "window.xml:5: Button 'b2': attribute 'normalimage' names a missing image 'gone.png'"));
    EXPECT_FALSE(Mentions(problems, "'ok.png'"));
    EXPECT_TRUE(Mentions(problems, "window.xml:6: <Label> cannot hold other controls"));
    EXPECT_TRUE(Mentions(problems, "missing.xml"));
    EXPECT_EQ(manager.Find<Button>("b3")->GetText(), "still here");
    EXPECT_EQ(manager.FindControl("inside"), nullptr);
    EXPECT_EQ(manager.windowInfo().size, (Size{200, 100}));
}

TEST(SkinBuilder, MalformedFileFailsWithItsLineAndKeepsThePreviousTree) {
    mousecfg::test::TempDir dir;
    const auto good = dir.Write("good.xml", "<Window><Label name='kept'/></Window>");
    const auto bad = dir.Write("bad.xml", "<Window>\n<Label name='x'>\n</Window>");
    PaintManager manager;
    SkinBuilder first(manager, nullptr);
    ASSERT_TRUE(first.LoadWindow(good));
    SkinBuilder second(manager, nullptr);
    EXPECT_FALSE(second.LoadWindow(bad));
    ASSERT_EQ(second.problems().size(), 1u);
    EXPECT_EQ(second.problems()[0].rfind("bad.xml:3: ", 0), 0u) << second.problems()[0];
    EXPECT_NE(manager.FindControl("kept"), nullptr);
    SkinBuilder third(manager, nullptr);
    EXPECT_FALSE(third.LoadWindow(dir / "absent.xml"));
}

TEST(SkinBuilder, StylesFontsIncludesAndCustomClasses) {
    mousecfg::test::TempDir dir;
    dir.Write("row.xml", "<Part><Style class='Label' textcolor='#FF00FF00'/><Label name='from_part'/></Part>");
    dir.Write("loop.xml", "<Part><Include source='loop.xml'/></Part>");
    const auto file = dir.Write("window.xml", R"(<Window>
  <Font id="3" family="Serif" size="20" bold="true"/>
  <Font id="4" size="0"/>
  <Style class="button" textcolor="#FF112233" height="25"/>
  <VerticalLayout>
    <Button name="styled"/>
    <Button name="own" textcolor="#FF445566"/>
    <Include source="row.xml" count="2"/>
    <Include source="loop.xml"/>
    <VerticalLayoutEx name="card" group="cards" inset="1,2,3,4"><Label name="value"/></VerticalLayoutEx>
  </VerticalLayout>
</Window>)");
    PaintManager manager;
    CustomClasses custom;
    SkinBuilder builder(manager, &custom);
    ASSERT_TRUE(builder.LoadWindow(file));
    EXPECT_EQ(manager.Find<Button>("styled")->GetTextColor(), 0xFF112233u) << "class styles match without case";
    EXPECT_EQ(manager.Find<Button>("styled")->GetFixedHeight(), 25);
    EXPECT_EQ(manager.Find<Button>("own")->GetTextColor(), 0xFF445566u) << "own attributes win";
    EXPECT_EQ(manager.GetFont(3), (FontSpec{"Serif", 20, true, false, false}));
    EXPECT_TRUE(Mentions(builder.problems(), "window.xml:3: Font: bad or missing 'size'"));
    EXPECT_EQ(manager.FindControl("from_part")->GetTextColor(), 0xFF00FF00u);
    EXPECT_TRUE(Mentions(builder.problems(), "nested too deeply"));
    auto* card = manager.Find<CVerticalLayoutExUI>("card");
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->GetCount(), 1);
    EXPECT_EQ(manager.GetOptionGroup("cards").size(), 1u);
    EXPECT_EQ(card->Children()->GetInset(), (Rect{1, 2, 3, 4}));

    SkinBuilder withoutCallback(manager, nullptr);
    ASSERT_TRUE(withoutCallback.LoadWindow(file));
    EXPECT_TRUE(Mentions(withoutCallback.problems(), "unknown control class <VerticalLayoutEx>"));
}

TEST(SkinBuilder, PartsBecomeRowsOfAnExistingWindow) {
    PaintManager manager;
    auto list = std::make_unique<List>();
    List* rows = list.get();
    manager.SetRoot(std::move(list));
    for (int i = 0; i < 3; ++i) {
        SkinBuilder builder(manager, nullptr);
        auto row = builder.BuildPartControl(mousecfg::test::TestDataPath("skin/row.xml"));
        ASSERT_NE(row, nullptr);
        EXPECT_TRUE(builder.problems().empty());
        rows->Add(std::move(row));
    }
    EXPECT_EQ(rows->GetCount(), 3);
    EXPECT_EQ(rows->GetItemAt(2)->Children()->GetItemAt(2)->GetName(), "modify");
}

struct Texts : TextQuery {
    std::string title = "Titel";
    std::optional<std::string> QueryControlText(std::string_view id, std::string_view) override {
        if (id == "TitleId") {
            return title;
        }
        return std::nullopt;
    }
};

TEST(SkinBuilder, TextIdsFollowTheTextSourceAndReload) {
    Texts texts;
    SkinResources::SetTextQueryInterface(&texts);
    PaintManager manager;
    SkinBuilder builder(manager, nullptr);
    ASSERT_TRUE(builder.LoadWindow(mousecfg::test::TestDataPath("skin/controls.xml")));
    EXPECT_EQ(manager.FindControl("title")->GetText(), "Titel");
    texts.title = "Title";
    SkinResources::ReloadText();
    EXPECT_EQ(manager.FindControl("title")->GetText(), "Title");
    SkinResources::SetTextQueryInterface(nullptr);
}

TEST(SkinBuilder, TheLanguagesFaceReachesWindowsOpenAndLoadedLater) {
    PaintManager open;
    SkinBuilder(open, nullptr).LoadWindow(mousecfg::test::TestDataPath("skin/controls.xml"));
    const std::string skinFace = open.GetDefaultFont().family;
    SkinResources::SetFontFamily("Noto Sans Arabic UI,DejaVu Sans");
    EXPECT_EQ(open.GetDefaultFont().family, "Noto Sans Arabic UI,DejaVu Sans");
    PaintManager later;
    SkinBuilder(later, nullptr).LoadWindow(mousecfg::test::TestDataPath("skin/controls.xml"));
    EXPECT_EQ(later.GetDefaultFont().family, "Noto Sans Arabic UI,DejaVu Sans");
    EXPECT_EQ(later.GetFont(1).family, "Noto Sans Arabic UI,DejaVu Sans");
    SkinResources::SetFontFamily("");
    PaintManager plain;
    SkinBuilder(plain, nullptr).LoadWindow(mousecfg::test::TestDataPath("skin/controls.xml"));
    EXPECT_EQ(plain.GetDefaultFont().family, skinFace) << "without a language face the skin's own stays";
}

}  // namespace
}  // namespace mousecfg::skin
