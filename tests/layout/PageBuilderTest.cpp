#include "layout/PageBuilder.h"

#include <gtest/gtest.h>

#include "layout/PositionFile.h"
#include "layout/SliderAttributes.h"
#include "platform/MessageBoxes.h"
#include "skin/AttributeText.h"
#include "skin/Button.h"
#include "skin/CVerticalLayoutExUI.h"
#include "skin/ControlFactory.h"
#include "skin/Option.h"
#include "skin/PaintManager.h"
#include "skin/SkinBuilder.h"
#include "tests/support/TempDir.h"

namespace mousecfg::layout {
namespace {

using mousecfg::test::TestDataPath;

struct RecordingBoxes : MessageBoxes {
    int Show(const MessageBoxRequest& request) override {
        shown.push_back(request);
        return 1;
    }
    std::vector<MessageBoxRequest> shown;
};

struct CustomClasses : skin::ControlCallback {
    std::unique_ptr<skin::Control> CreateControl(std::string_view className) override {
        return skin::CreateCustomLayout(className);
    }
};

class PageBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        skin::SkinBuilder builder(manager_, &custom_);
        ASSERT_TRUE(builder.LoadWindow(TestDataPath("layout/page.xml")));
        manager_.SetClientSize({600, 400});
        manager_.UpdateLayout();
    }
    skin::Control& Get(const char* name) {
        skin::Control* control = manager_.FindControl(name);
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }
    template <class T>
    T& As(const char* name) {
        return *dynamic_cast<T*>(&Get(name));
    }
    CustomClasses custom_;
    skin::PaintManager manager_;
};

std::string Text(const skin::ImageRef& image) {
    return skin::attr::FormatImage(image);
}

TEST_F(PageBuilderTest, PlacesAndDressesEveryEntryTypeFromThePageImages) {
    const auto names = PageBuilder::LoadPageLayout(TestDataPath("layout/page.json"), manager_);
    EXPECT_EQ(names.size(), 11u);
    EXPECT_EQ(names[8], "no_such_control");
    manager_.UpdateLayout();
    EXPECT_EQ(Text(Get("page_main").GetBkImage()), "file='page_bk.png'");

    auto& key = As<skin::Button>("btn_key0");
    EXPECT_EQ(key.GetPos(), (skin::Rect{10, 20, 110, 60}));
    EXPECT_EQ(Text(key.GetNormalImage()), "file='page_n.png' source='10,20,110,60'");
    EXPECT_EQ(Text(key.GetHotImage()), "file='page_h.png' source='10,20,110,60'");
    EXPECT_EQ(Text(key.GetPushedImage()), "file='page_d.png' source='10,20,110,60'");

    auto& hidden = As<skin::Button>("btn_hidden");
    EXPECT_FALSE(hidden.IsVisible()) << "an entry without a position only changes the visibility";
    EXPECT_TRUE(hidden.GetNormalImage().empty());
    EXPECT_EQ(hidden.GetPos(), (skin::Rect{0, 0, 10, 10}));

    EXPECT_EQ(Text(As<skin::Option>("opt_dpi").GetSelectedImage()), "file='page_d.png' source='200,20,260,50'")
        << "an option's selected image comes from the down image";
    EXPECT_EQ(Text(Get("lab_title").GetBkImage()), "file='page_n.png' source='5,5,105,15'");
    EXPECT_FALSE(Get("lab_title").IsVisible());
    EXPECT_EQ(Get("slider_x").GetPos(), (skin::Rect{300, 300, 500, 320}));
    EXPECT_EQ(Text(As<skin::Button>("combo_mode").GetNormalImage()), "file='page_n.png' source='300,100,400,130'");
    EXPECT_EQ(Text(As<skin::Button>("btn_typed").GetNormalImage()), "file='page_n.png' source='1,2,3,4'")
        << "\"Button\" is not \"button\": dressed as a combo, which looks the same";
}

TEST_F(PageBuilderTest, CardChildrenGetTheirFixedPlacesInsideTheCard) {
    PageBuilder::LoadPageLayout(TestDataPath("layout/page.json"), manager_);
    manager_.UpdateLayout();
    auto& card = As<skin::CVerticalLayoutExUI>("card0");
    EXPECT_EQ(card.GetPos(), (skin::Rect{100, 200, 200, 300}));
    skin::Control* toggle = card.GetItemAt(0);
    EXPECT_EQ(toggle->GetPos(), (skin::Rect{134, 209, 167, 215}));
    EXPECT_EQ(Text(dynamic_cast<skin::Option*>(toggle)->GetSelectedImage()), "file='page_d.png' source='222,47,255,53'");
    EXPECT_EQ(card.GetItemAt(1)->GetPos(), (skin::Rect{100, 240, 140, 270}));
    EXPECT_EQ(card.GetItemAt(2)->GetPos(), (skin::Rect{100, 280, 140, 290}));
    card.Move(10, 10);
    EXPECT_EQ(toggle->GetPos(), (skin::Rect{144, 219, 177, 225}));
    skin::Control* otherSwitch = As<skin::CVerticalLayoutExUI>("card1").GetItemAt(0);
    EXPECT_EQ(otherSwitch->GetFixedWidth(), 0) << "only the entry's own card is dressed";
}

TEST_F(PageBuilderTest, BrokenFilesPlaceWhatTheyCanAndNeverThrow) {
    const PositionFile mistyped = PositionFile::Read(TestDataPath("layout/mistyped.json"));
    EXPECT_EQ(mistyped.containerName, "page_main");
    EXPECT_TRUE(mistyped.controls.empty()) << "reading stops at the mistyped width";
    EXPECT_FALSE(PageBuilder::ApplyPage(PositionFile::Parse("{}", "empty"), manager_));
    EXPECT_TRUE(PositionFile::Parse("not json", "junk").controls.empty());
    EXPECT_FALSE(PositionFile::Read(TestDataPath("layout/absent.json")).opened);

    const PositionFile page = PositionFile::Read(TestDataPath("layout/page.json"));
    ASSERT_EQ(page.controls.size(), 11u);
    EXPECT_EQ(page.controls[9]->GetControlName(), "btn_key0");
    EXPECT_EQ(page.controls[9]->GetPos(), CControlAttributes::kPosNotExist) << "a mistyped pos keeps the default";
    EXPECT_EQ(page.controls[10]->GetControlName(), "") << "an entry without a name keeps its defaults";
    EXPECT_EQ(page.controls[10]->GetVisibleText(), CControlAttributes::kVisNoChange);
    EXPECT_EQ(dynamic_cast<const SliderAttributes&>(*page.controls[4]).GetThumbImage(), "thumb.png");

    // A file is damaged when anything in it is not what a position file must be.
    EXPECT_TRUE(mistyped.damaged);
    EXPECT_TRUE(page.damaged) << "an entry with a mistyped pos";
    EXPECT_TRUE(PositionFile::Parse("not json", "junk").damaged);
    EXPECT_TRUE(PositionFile::Parse(R"({"Containerinfo": {"containname": "x")", "truncated").damaged);
    EXPECT_FALSE(PositionFile::Read(TestDataPath("layout/no_images.json")).damaged);
}

// Numbers a page could never hold would overflow the layout's arithmetic: such an entry keeps no position, and
// its control stays where the skin put it, undressed.
TEST_F(PageBuilderTest, APositionBeyondAnyPageIsRefusedAndTheControlKeepsItsPlace) {
    const PositionFile file = PositionFile::Parse(R"({"Containerinfo": {"containname": "page_main", "width": 990,
        "height": 690, "bkimage": "", "normalimage": "n.png", "overimage": "h.png", "downimage": "d.png"},
        "Controlinfo": [{"type": "button", "ctrlname": "btn_key0", "visible": "false",
                         "pos": [-2147483648, 0, 2147483647, 10]}]})",
                                                  "extreme");
    ASSERT_EQ(file.controls.size(), 1u);
    EXPECT_EQ(file.controls[0]->GetPos(), CControlAttributes::kPosNotExist);
    EXPECT_EQ(file.controls[0]->GetVisibleText(), "false") << "what was read before the position stays";
    ASSERT_TRUE(PageBuilder::ApplyPage(file, manager_));
    manager_.UpdateLayout();
    EXPECT_EQ(Get("btn_key0").GetFixedWidth(), 10);
    EXPECT_TRUE(As<skin::Button>("btn_key0").GetNormalImage().empty());
    EXPECT_FALSE(Get("btn_key0").IsVisible());
}

TEST_F(PageBuilderTest, WithoutPageImagesOnlyPositionsChange) {
    PageBuilder::LoadPageLayout(TestDataPath("layout/no_images.json"), manager_);
    EXPECT_EQ(Get("btn_key0").GetFixedWidth(), 100);
    EXPECT_TRUE(Get("btn_key0").IsVisible()) << "visibility is applied only with a normal image";
    EXPECT_TRUE(Get("lab_title").GetBkImage().empty());
}

TEST_F(PageBuilderTest, ModelLayoutsLoadInOrderAndAMissingFileShowsTheMessage) {
    RecordingBoxes boxes;
    const LayoutMessages texts{"Tip", "Json Warn", "OK", "Cancel"};
    const auto names = PageBuilder::LoadModelLayouts(TestDataPath("layout/device"), TestDataPath("layout/skin"),
                                                     manager_, boxes, texts);
    EXPECT_EQ(names, (std::vector<std::string>{"ctrl_mousekey", "ctrl_mouseadv", "ctrl_mouselight", "ctrl_mousemain",
                                               "ctrl_keysel"}));
    ASSERT_EQ(boxes.shown.size(), 1u) << "mousekey2.json is missing";
    EXPECT_EQ(boxes.shown[0].title, "Tip");
    EXPECT_EQ(boxes.shown[0].text, "Json Warn");
    EXPECT_EQ(boxes.shown[0].cancelText, "Cancel");
    EXPECT_TRUE(boxes.shown[0].modal);
    EXPECT_EQ(Text(Get("page_main").GetBkImage()), "file='sel.png'") << "the key selection file comes last";

    const auto home = PageBuilder::LoadHomeLayout(TestDataPath("layout/skin"), manager_, boxes);
    EXPECT_TRUE(home.empty());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "无法打开json文件");
    EXPECT_EQ(boxes.shown[1].title, "");
}

TEST_F(PageBuilderTest, KeyPageMarksRememberImagesAndHighlightButtonZeroOnOnePage) {
    KeyPageMarks marks = PageBuilder::PrepareKeyPageMarks(manager_, false);
    EXPECT_EQ(marks.markImages[0], "file='mark.png' source='1,2,3,4'");
    EXPECT_EQ(marks.markImages[1], "") << "missing mark";
    EXPECT_EQ(marks.markImages[2], "") << "mark without a selected image";
    EXPECT_EQ(marks.highlightColor, 0xFFFF8000u);
    EXPECT_FALSE(As<skin::Option>("btn_MouseKey_Click0").IsSelected());

    marks = PageBuilder::PrepareKeyPageMarks(manager_, true);
    auto& button = As<skin::Option>("btn_MouseKey_Click0");
    EXPECT_TRUE(button.IsSelected());
    EXPECT_EQ(button.GetHotTextColor(), 0xFFFF8000u);
    EXPECT_EQ(button.GetPushedTextColor(), 0xFFFF8000u);
    auto& mark = As<skin::Option>("btn_MouseKey_Mark0");
    EXPECT_TRUE(mark.IsSelected());
    EXPECT_EQ(Text(mark.GetHotImage()), "file='mark.png' source='1,2,3,4'");
}

}  // namespace
}  // namespace mousecfg::layout
