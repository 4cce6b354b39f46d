// What the controls draw in each state, through a recording painter: the renderer only executes these calls.
#include <gtest/gtest.h>

#include <filesystem>

#include "skin/Button.h"
#include "skin/Combo.h"
#include "skin/Edit.h"
#include "skin/Option.h"
#include "skin/PaintManager.h"
#include "skin/Progress.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinResources.h"
#include "skin/Slider.h"
#include "tests/skin/RecordingPainter.h"
#include "tests/support/TempDir.h"

namespace mousecfg::skin::test {
namespace {

using Calls = std::vector<std::string>;

class PaintTest : public ::testing::Test {
protected:
    void Load(const std::string& body) {
        const auto file = dir_.Write("paint.xml", "<Window size='300,100'><Font id='0' size='12' default='true'/>"
                                                  "<HorizontalLayout>" + body + "</HorizontalLayout></Window>");
        SkinBuilder builder(manager_, nullptr);
        ASSERT_TRUE(builder.LoadWindow(file));
        manager_.SetClientSize({300, 100});
        manager_.UpdateLayout();
    }
    Calls Paint(const char* name, const std::string& prefix) {
        RecordingPainter painter;
        manager_.FindControl(name)->Paint(painter);
        EXPECT_EQ(painter.depth, 0) << "clips are balanced";
        return painter.With(prefix);
    }
    void Input(void (PaintManager::*handler)(Point), const char* name) {
        const Rect& pos = manager_.FindControl(name)->GetPos();
        (manager_.*handler)({pos.left + 1, pos.top + 1});
    }

    mousecfg::test::TempDir dir_;
    PaintManager manager_;
};

TEST_F(PaintTest, ButtonsDrawTheImageAndTextColourOfTheirState) {
    Load("<Button name='b' width='100' text='Go' textcolor='#FF000001' hottextcolor='#FF000002' "
         "pushedtextcolor='#FF000003' disabledtextcolor='#FF000004' normalimage='file=\"s.png\" source=\"0,0,10,10\"' "
         "hotimage='file=\"s.png\" source=\"10,0,20,10\"' pushedimage='file=\"s.png\" source=\"20,0,30,10\"' "
         "disabledimage='file=\"s.png\" source=\"30,0,40,10\"'/>");
    EXPECT_EQ(Paint("b", "image"), (Calls{"image file='s.png' source='0,0,10,10' at 0,0,100,100"}));
    EXPECT_EQ(Paint("b", "text"), (Calls{"text 'Go' 0,0,100,100 #FF000001 12"}));
    manager_.HandleMouseMove({5, 5});
    EXPECT_EQ(Paint("b", "image"), (Calls{"image file='s.png' source='10,0,20,10' at 0,0,100,100"}));
    EXPECT_EQ(Paint("b", "text"), (Calls{"text 'Go' 0,0,100,100 #FF000002 12"}));
    manager_.HandleButtonDown({5, 5});
    EXPECT_EQ(Paint("b", "image"), (Calls{"image file='s.png' source='20,0,30,10' at 0,0,100,100"}));
    EXPECT_EQ(Paint("b", "text"), (Calls{"text 'Go' 0,0,100,100 #FF000003 12"}));
    manager_.HandleButtonUp({5, 5});
    manager_.FindControl("b")->SetEnabled(false);
    EXPECT_EQ(Paint("b", "image"), (Calls{"image file='s.png' source='30,0,40,10' at 0,0,100,100"}));
    EXPECT_EQ(Paint("b", "text"), (Calls{"text 'Go' 0,0,100,100 #FF000004 12"}));
}

TEST_F(PaintTest, RoundedControlsFillOnlyInsideTheirCorners) {
    Load("<Button name='swatch' width='32' bkcolor='#FF112233' borderround='9'/>"
         "<Button name='square' width='32' bkcolor='#FF112233'/>");
    EXPECT_EQ(Paint("swatch", "fill"), (Calls{"fill 0,0,32,100 #FF112233 round 9"}));
    EXPECT_EQ(Paint("square", "fill"), (Calls{"fill 32,0,64,100 #FF112233"}));
}

TEST_F(PaintTest, SelectedOptionsKeepTheirLookUnderTheCursor) {
    Load("<Option name='o' width='50' text='x' normalimage='n.png' selectedimage='sel.png' "
         "selectedtextcolor='#FF00FF00'/>"
         "<Option name='h' width='50' normalimage='n.png' hotimage='hot.png' selectedimage='sel.png' selected='true' "
         "hottextcolor='#FF0000FF' selectedtextcolor='#FF00FF00' text='y'/>"
         "<Option name='sh' width='50' hotimage='hot.png' selectedimage='sel.png' selectedhotimage='selhot.png' "
         "selected='true'/>");
    EXPECT_EQ(Paint("o", "image"), (Calls{"image file='n.png' at 0,0,50,100"}));
    dynamic_cast<Option*>(manager_.FindControl("o"))->Selected(true);
    manager_.HandleMouseMove({5, 5});
    EXPECT_EQ(Paint("o", "image"), (Calls{"image file='sel.png' at 0,0,50,100"})) << "no hot image: stays selected";
    EXPECT_EQ(Paint("o", "text"), (Calls{"text 'x' 0,0,50,100 #FF00FF00 12"}));
    manager_.HandleMouseMove({55, 5});
    EXPECT_EQ(Paint("h", "image"), (Calls{"image file='sel.png' at 50,0,100,100"}))
        << "the hot image is the unselected option's: a chosen category does not look unchosen under the cursor";
    EXPECT_EQ(Paint("h", "text"), (Calls{"text 'y' 50,0,100,100 #FF00FF00 12"}));
    manager_.HandleMouseMove({105, 5});
    EXPECT_EQ(Paint("sh", "image"), (Calls{"image file='selhot.png' at 100,0,150,100"}));
}

TEST_F(PaintTest, BarsFillInProportionAndTheThumbFollowsTheValue) {
    Load("<Progress name='p' width='100' min='10' max='20' value='15' forecolor='#FF00FF00'/>"
         "<Slider name='s' width='110' min='0' max='10' value='5' thumbsize='10,10' forecolor='#FF0000FF' "
         "thumbimage='t.png'/>");
    EXPECT_EQ(Paint("p", "fill"), (Calls{"fill 0,0,50,100 #FF00FF00"}));
    EXPECT_EQ(Paint("s", "image"), (Calls{"image file='t.png' dest='50,45,60,55' at 100,0,210,100"}));
    manager_.FindControl("p")->SetEnabled(false);
    EXPECT_EQ(Paint("p", "fill"), (Calls{"fill 0,0,50,100 #7F00FF00"})) << "disabled: half strength";
}

TEST_F(PaintTest, BarsLaidOutRightToLeftFillFromTheRight) {
    Load("<Progress name='p' width='100' value='25' mirror='true' forecolor='#FF00FF00'/>"
         "<Progress name='v' width='100' value='25' mirror='true' hor='false' forecolor='#FF00FF00'/>");
    EXPECT_EQ(Paint("p", "fill"), (Calls{"fill 0,0,25,100 #FF00FF00"})) << "left to right";
    SkinResources::SetRightToLeft(true);
    EXPECT_EQ(Paint("p", "fill"), (Calls{"fill 75,0,100,100 #FF00FF00"}));
    EXPECT_EQ(Paint("v", "fill"), (Calls{"fill 100,75,200,100 #FF00FF00"})) << "an upright bar still fills upwards";
    SkinResources::SetRightToLeft(false);
}

TEST_F(PaintTest, SlidersRunningFromTheRightFillAndPlaceTheirThumbFromTheRight) {
    Load("<Slider name='s' width='110' min='0' max='10' value='2' thumbsize='10,10' forecolor='#FF0000FF' "
         "thumbimage='t.png'/>"
         "<Container width='110' mirror='true'><Slider name='m' min='0' max='10' value='2' thumbsize='10,10' "
         "thumbimage='t.png'/></Container>");
    EXPECT_EQ(Paint("m", "image"), (Calls{"image file='t.png' dest='20,45,30,55' at 110,0,220,100"}));
    SkinResources::SetRightToLeft(true);
    manager_.UpdateLayout();
    EXPECT_EQ(Paint("s", "fill"), (Calls{"fill 88,0,110,100 #FF0000FF"})) << "the value fills from the right";
    EXPECT_EQ(Paint("s", "image"), (Calls{"image file='t.png' dest='80,45,90,55' at 0,0,110,100"}));
    // In a mirrored layout the picture's "dest" is mirrored when drawn: it still lands on the thumb.
    EXPECT_EQ(manager_.Find<Slider>("m")->ThumbRect(), (Rect{190, 45, 200, 55}));
    EXPECT_EQ(Paint("m", "image"), (Calls{"image file='t.png' dest='80,45,90,55' at 110,0,220,100"}));
    SkinResources::SetRightToLeft(false);
}

TEST_F(PaintTest, APictureMarkedToMirrorIsFlippedOnlyWhileItsControlIsMirrored) {
    Load("<Control name='card' width='100' mirror='true' bkimage=\"file='bg.png' mirror='true'\"/>"
         "<Control name='plain' width='100' mirror='true' bkimage=\"file='bg.png'\"/>"
         "<Control name='kept' width='100' mirror='false' bkimage=\"file='bg.png' mirror='true'\"/>");
    EXPECT_EQ(Paint("card", "image"), (Calls{"image file='bg.png' at 0,0,100,100"}));
    SkinResources::SetRightToLeft(true);
    EXPECT_EQ(Paint("card", "image"), (Calls{"image file='bg.png' mirror='true' at 0,0,100,100"}));
    EXPECT_EQ(Paint("plain", "image"), (Calls{"image file='bg.png' at 100,0,200,100"})) << "not marked: as drawn";
    EXPECT_EQ(Paint("kept", "image"), (Calls{"image file='bg.png' at 200,0,300,100"})) << "not mirrored: as drawn";
    SkinResources::SetRightToLeft(false);
}

TEST_F(PaintTest, EditsMaskPasswordsAndShowPromptsOnlyWhenEmpty) {
    Load("<Edit name='pw' width='100' text='héllo' password='true' textpadding='0,0,0,0'/>"
         "<Edit name='empty' width='100' prompttext='Type' textpadding='0,0,0,0'/>"
         "<Combo name='c' width='100'><ListLabelElement text='first'/><ListLabelElement text='second'/></Combo>");
    EXPECT_EQ(Paint("pw", "text"), (Calls{"text '*****' 0,0,100,100 #FF000000 12"}));
    EXPECT_EQ(Paint("empty", "text"), (Calls{"text 'Type' 100,0,200,100 #FF999999 12"}));
    auto* combo = dynamic_cast<Combo*>(manager_.FindControl("c"));
    combo->SelectItem(1, false);
    const Calls texts = Paint("c", "text");
    ASSERT_EQ(texts.size(), 2u) << "the selected item's text and the arrow";
    EXPECT_EQ(texts[0].substr(0, 13), "text 'second'");
}

}  // namespace
}  // namespace mousecfg::skin::test
