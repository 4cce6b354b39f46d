// Recording on the macro page: the keyboard grab, the page locked while it runs, rows as keys arrive, and every
// way a recording ends.
#include <gtest/gtest.h>

#include "skin/Option.h"
#include "skin/WindowMessages.h"
#include "tests/macro_ui/MacroPageHarness.h"

namespace mousecfg {
namespace {

using keymsg::kKeyDown;
using keymsg::kKeyUp;
using test::MacroPageHarness;

constexpr int kA = 30;
constexpr int kB = 48;

class MacroRecordingTest : public ::testing::Test {
protected:
    void At(int64_t ms, int message, int scanCode, bool repeat = false) {
        page_.clock.now = ms;
        page_.Key(message, scanCode, repeat);
    }
    bool RecordChecked() { return page_.window.Find<skin::Option>("btn_Macro_Record")->IsSelected(); }

    MacroPageHarness page_;
};

TEST_F(MacroRecordingTest, RecordingGrabsTheKeyboardShowsKeysAsTheyComeAndStoresThemAtTheEnd) {
    page_.SelectNode(0, 1);
    page_.Click("btn_Macro_Record");
    ASSERT_TRUE(page_.recorder.recording());
    EXPECT_TRUE(RecordChecked());
    EXPECT_TRUE(page_.window.KeyboardGrabbed());
    EXPECT_TRUE(page_.Visible("lab_Macro_RecordStatus"));
    for (const char* locked : {"tre_Macro_GroupDisplay", "list_Macro_KeyDisplay", "btn_Macro_InsertKey",
                               "btn_Macro_Delete", "opt_Macro_CycleTimes", "opt_Macro_AddNewMac"}) {
        EXPECT_FALSE(page_.Enabled(locked)) << locked;
    }
    EXPECT_TRUE(page_.Enabled("btn_Macro_Record"));

    At(1000, kKeyDown, kA);
    At(1040, kKeyDown, kA, true);  // the keyboard repeating the held key
    At(1150, kKeyUp, kA);
    At(2150, kKeyDown, kB);
    At(2180, kKeyUp, kB);
    EXPECT_EQ(page_.RowTexts(), (std::vector<std::string>{"A", "A", "B", "B"}));
    EXPECT_EQ(page_.RowTexts("delay"), (std::vector<std::string>{"150 ms", "1000 ms", "30 ms", "20 ms"}));
    EXPECT_NE(page_.Text("lab_Macro_RecordStatus").find("20 / 512"), std::string::npos)
        << page_.Text("lab_Macro_RecordStatus");

    // The page hears nothing but the record button while recording.
    page_.editor.OnRightClick({page_.Node(0, 0)->GetPos().left + 5, page_.Node(0, 0)->GetPos().top + 5});
    EXPECT_EQ(page_.platform.OpenMenu(), nullptr);

    page_.Click("btn_Macro_Record");
    EXPECT_FALSE(page_.recorder.recording());
    EXPECT_FALSE(RecordChecked());
    EXPECT_FALSE(page_.window.KeyboardGrabbed());
    EXPECT_FALSE(page_.Visible("lab_Macro_RecordStatus"));
    EXPECT_TRUE(page_.Enabled("tre_Macro_GroupDisplay"));
    const MacroBlock& beta = page_.Macro(0, 1).block;
    EXPECT_EQ(beta.num, 4);
    EXPECT_EQ((std::vector<int>{beta.macVal[0], beta.macVal[1], beta.macVal[2], beta.macVal[3]}),
              (std::vector<int>{0x04, 0x04, 0x05, 0x05}));
    EXPECT_EQ((std::vector<int>{beta.macDly[0], beta.macDly[1], beta.macDly[2], beta.macDly[3]}),
              (std::vector<int>{150, 1000, 30, 20}));
    EXPECT_NE(page_.DocumentBytes().find("1000"), std::string::npos);
    EXPECT_EQ(page_.RowTexts("delay"), (std::vector<std::string>{"150 ms", "1000 ms", "30 ms", "20 ms"}));
    EXPECT_EQ(page_.host.macrosChanged, 0);
    EXPECT_FALSE(page_.editor.needsApply()) << "Beta is bound to nothing";
}

TEST_F(MacroRecordingTest, ABoundMacroRecordedAnewIsMarkedForTheMouse) {
    page_.SelectNode(1, 0);
    page_.Click("btn_Macro_Record");
    At(1000, kKeyDown, kB);
    At(1100, kKeyUp, kB);
    page_.Click("btn_Macro_Record");
    EXPECT_TRUE(page_.editor.needsApply());
    EXPECT_TRUE(page_.editor.marked().count(page_.Macro(1, 0).guid));
}

TEST_F(MacroRecordingTest, AFullMacroEndsTheRecordingWithTheItemsKeptAndAWarning) {
    page_.SelectNode(0, 1);
    page_.Click("btn_Macro_Record");
    int64_t now = 1000;
    // 2-byte items: after 249 of them the estimate passes 500 bytes with the next key.
    while (page_.recorder.recording() && now < 100'000) {
        At(now += 5, kKeyDown, kA);
        At(now += 5, kKeyUp, kA);
    }
    ASSERT_FALSE(page_.recorder.recording());
    EXPECT_FALSE(page_.window.KeyboardGrabbed());
    EXPECT_FALSE(RecordChecked()) << "the record button is unchecked when a full macro ended the recording";
    ASSERT_EQ(page_.boxes.shown.size(), 1u);
    EXPECT_EQ(page_.boxes.shown[0].text, page_.editor.texts().recordWarn);
    const MacroBlock& beta = page_.Macro(0, 1).block;
    EXPECT_EQ(beta.num, 250);
    EXPECT_TRUE(FitsOnMouse(beta));
    EXPECT_EQ(page_.RowTexts().size(), 250u);
}

TEST_F(MacroRecordingTest, TheMouseGoneOrThePageLeftEndsTheRecording) {
    page_.SelectNode(0, 1);
    page_.Click("btn_Macro_Record");
    At(1000, kKeyDown, kA);
    page_.editor.StopRecording();
    EXPECT_FALSE(page_.recorder.recording());
    EXPECT_FALSE(RecordChecked());
    EXPECT_FALSE(page_.window.KeyboardGrabbed());
    EXPECT_EQ(page_.Macro(0, 1).block.num, 1);

    page_.Click("btn_Macro_Record");
    ASSERT_TRUE(page_.recorder.recording());
    page_.Click("btn_Null");  // the mouse page's button: leaving the page
    EXPECT_FALSE(page_.recorder.recording());
    EXPECT_FALSE(page_.window.KeyboardGrabbed());

    // Keys that arrive after the end are nobody's.
    At(5000, kKeyDown, kB);
    EXPECT_EQ(page_.Macro(0, 1).block.num, 0);
}

}  // namespace
}  // namespace mousecfg
