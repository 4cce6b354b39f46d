#include "macro/MacroRecorder.h"

#include <gtest/gtest.h>

#include "macro/MacroStore.h"
#include "tests/support/FakeKeySource.h"
#include "tests/support/ManualClock.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using keymsg::kKeyDown;
using keymsg::kKeyUp;

constexpr int kA = 30;  // scan code of the A key

class MacroRecorderTest : public ::testing::Test {
protected:
    MacroRecorderTest() : store_(dir_.path(), dialogs_, messages_), recorder_(store_, clock_, keys_) {
        dir_.Write("res/MacroDock/MacroData/macroConfig.json", "{}");
        EXPECT_TRUE(store_.LoadMacros());
        EXPECT_TRUE(store_.AddGroup(0, u"g"));
        EXPECT_TRUE(store_.InsertMacro(0, 0, u"m"));
        clock_.now = 10'000'000;
    }

    std::string At(int ms, int message, int scanCode) {
        clock_.now = ms;
        return recorder_.RecordEvent(message, 0, scanCode);
    }

    const MacroBlock& Stored() const { return store_.groups()[0].macros[0].block; }
    const MacroBlock& Working() const { return store_.workingMacro().block; }

    test::TempDir dir_;
    test::ScriptedFileDialogs dialogs_;
    test::RecordingMessageBoxes messages_;
    test::ManualClock clock_;
    test::FakeKeySource keys_;
    MacroStore store_;
    MacroRecorder recorder_;
};

TEST_F(MacroRecorderTest, APressAndReleaseBecomeTwoItemsWithTheGapBetweenThem) {
    ASSERT_TRUE(recorder_.StartRecording(0, 0, 0).ok);
    EXPECT_TRUE(keys_.capturing);
    EXPECT_EQ(At(1000, kKeyDown, kA), "Unknown Key") << "no layout given: letters have no fixed name";
    EXPECT_EQ(At(1150, kKeyUp, kA), "Unknown Key");
    const auto ended = recorder_.EndRecording(MacroRecorder::EndReason::RecordButton);
    EXPECT_TRUE(ended.saved);
    EXPECT_FALSE(ended.uncheckRecordButton);
    EXPECT_FALSE(keys_.capturing);
    const MacroBlock& block = Stored();
    EXPECT_EQ(block.num, 2);
    EXPECT_EQ(block.macVal[0], 0x04);
    EXPECT_EQ(block.macSta[0], 1);
    EXPECT_EQ(block.macDly[0], 150);
    EXPECT_EQ(block.macVal[1], 0x04);
    EXPECT_EQ(block.macSta[1], 2);
    EXPECT_EQ(block.macDly[1], 20);
    EXPECT_EQ(block.rptType, 1) << "option 0 repeats while held";
    EXPECT_EQ(block.macRpt, 1);
}

TEST_F(MacroRecorderTest, RepeatsAndReleasesWithoutPressAreNotRecorded) {
    recorder_.StartRecording(0, 0, std::nullopt);
    EXPECT_EQ(At(0, kKeyUp, 57), MacroRecorder::kError) << "held before the recording started";
    EXPECT_EQ(At(100, kKeyDown, kA), "Unknown Key");
    EXPECT_EQ(At(130, kKeyDown, kA), MacroRecorder::kError) << "auto-repeat";
    EXPECT_EQ(At(160, kKeyDown, kA), MacroRecorder::kError);
    EXPECT_EQ(At(400, kKeyUp, kA), "Unknown Key");
    EXPECT_EQ(recorder_.recordCount(), 2);
    EXPECT_EQ(Working().macDly[0], 300);
    recorder_.EndRecording(MacroRecorder::EndReason::Disconnect);
    EXPECT_EQ(Stored().num, 2);
    EXPECT_EQ(Stored().rptType, 0) << "no option selected: played a number of times";
    EXPECT_EQ(recorder_.RecordEvent(kKeyDown, 0, kA), "") << "idle";
}

TEST_F(MacroRecorderTest, GapsAreCappedAndSurviveMidnight) {
    recorder_.StartRecording(0, 0, 2);
    At(86'399'900, kKeyDown, 15);
    At(300, kKeyUp, 15);                  // 400 ms later, the next day
    At(300 + 120'000, kKeyDown, 0xE048);  // two minutes later
    EXPECT_EQ(Working().macDly[0], 400);
    EXPECT_EQ(Working().macDly[1], 50'000);
    EXPECT_EQ(Working().macVal[0], 0x2B) << "Tab";
    EXPECT_EQ(Working().macVal[2], 0x52) << "Up";
}

TEST_F(MacroRecorderTest, KeysAreNamedAndKeysWithoutUsageRecordedAsFF) {
    recorder_.StartRecording(0, 0, 1);
    EXPECT_EQ(At(0, kKeyDown, 15), "Tab");
    EXPECT_EQ(At(10, kKeyDown, 54), "Unknown Key");
    EXPECT_EQ(At(20, keymsg::kSysKeyDown, 0xE038), "R-Alt");
    EXPECT_EQ(Working().macVal[1], 0xFF);
    EXPECT_EQ(Working().macVal[2], 0xE6);
}

TEST_F(MacroRecorderTest, ATenthHeldKeyIsRefused) {
    recorder_.StartRecording(0, 0, 2);
    for (int key = 0; key < 9; ++key) {
        EXPECT_NE(At(key * 10, kKeyDown, 2 + key), MacroRecorder::kError) << key;
    }
    EXPECT_EQ(At(100, kKeyDown, 16), MacroRecorder::kError);
    EXPECT_EQ(At(110, kKeyUp, 2), "Unknown Key");
    EXPECT_NE(At(120, kKeyDown, 16), MacroRecorder::kError) << "room again";
}

TEST_F(MacroRecorderTest, AFullMacroEndsTheRecordingWithEveryItemKept) {
    store_.groups()[0].macros[0].bindKeys = 1;
    recorder_.StartRecording(0, 0, 2);
    std::string status;
    int events = 0;
    for (int t = 0; status != MacroRecorder::kOver && events < 400; ++events) {
        t += 200;  // long gaps: six bytes per item
        status = At(t, events % 2 == 0 ? kKeyDown : kKeyUp, kA);
    }
    EXPECT_EQ(status, MacroRecorder::kOver);
    EXPECT_EQ(events, 84) << "4 + 6 x 83 bytes exceed 500";
    const auto ended = recorder_.EndRecording(MacroRecorder::EndReason::Over);
    EXPECT_TRUE(ended.uncheckRecordButton);
    EXPECT_TRUE(ended.markToSave) << "the macro is bound";
    EXPECT_EQ(Stored().num, 84);
    EXPECT_EQ(store_.groups()[0].macros[0].bindKeys, 1);
}

TEST_F(MacroRecorderTest, NothingStartsWithoutASelectedMacro) {
    EXPECT_FALSE(recorder_.StartRecording(0, 3, 0).ok);
    EXPECT_FALSE(recorder_.StartRecording(-1, 0, 0).ok);
    EXPECT_FALSE(keys_.capturing);
    EXPECT_FALSE(recorder_.recording());
}

TEST_F(MacroRecorderTest, ANewRecordingReplacesTheOldItems) {
    recorder_.StartRecording(0, 0, 2);
    for (int i = 0; i < 6; ++i) {
        At(i * 10, i % 2 == 0 ? kKeyDown : kKeyUp, 2 + i / 2);
    }
    recorder_.EndRecording(MacroRecorder::EndReason::RecordButton);
    const auto started = recorder_.StartRecording(0, 0, std::nullopt);
    EXPECT_EQ(started.loopOption, 2);
    EXPECT_TRUE(started.resetRepeatCount);
    At(1000, kKeyDown, 40);
    recorder_.EndRecording(MacroRecorder::EndReason::RecordButton);
    EXPECT_EQ(Stored().num, 1);
    EXPECT_EQ(Stored().macVal[1], 0) << "nothing left behind the new items";
    EXPECT_EQ(keys_.starts, 2);
}

}  // namespace
}  // namespace mousecfg
