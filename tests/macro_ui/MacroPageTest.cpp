// The macro page on the main window's skin: the tree and its operations, renaming, the item list with insert,
// edit and delete through the item dialog, the loop mode and repeat count, the binding list, import and the
// "ToSave" marks.
#include <gtest/gtest.h>

#include "macro/MacroSize.h"
#include "skin/Edit.h"
#include "skin/Option.h"
#include "skin/Tree.h"
#include "skin/TreeNode.h"
#include "tests/macro_ui/MacroPageHarness.h"

namespace mousecfg {
namespace {

using macroui::MacroItem;
using test::MacroPageHarness;

class MacroPageTest : public ::testing::Test {
protected:
    void Rename(int g, int m, const std::string& name) {
        page_.RightClick(*page_.Node(g, m));
        ASSERT_TRUE(page_.platform.ChooseMenuItem(m < 0 ? "group_rename" : "marco_rename"));
        page_.platform.ProcessPending();
        ASSERT_TRUE(page_.Visible("EditGrpNodeAll"));
        EXPECT_EQ(page_.Text("EditGrpNodeAll"), page_.Node(g, m)->GetText());
        page_.Type("EditGrpNodeAll", name);
        EXPECT_FALSE(page_.Visible("EditGrpNodeAll"));
    }

    MacroPageHarness page_;
};

TEST_F(MacroPageTest, TreeShowsGroupsAndMacrosAndAMacroShowsItsItemsAndBindings) {
    EXPECT_EQ(page_.NodeTexts(), (std::vector<std::string>{"Work", "  Alpha", "  Beta", "Games", "  Gamma"}));
    EXPECT_EQ(page_.Node(0, -1)->GetTag(), 1u);
    EXPECT_EQ(page_.Node(0, 0)->GetTag(), 2u);
    // At the start group 0 is selected: no loop options, no list, export possible.
    EXPECT_EQ(page_.editor.selectedGroup(), 0);
    EXPECT_FALSE(page_.Visible("opt_Macro_CycleTimes"));
    EXPECT_TRUE(page_.Enabled("opt_Macro_exportMacGroup"));
    EXPECT_FALSE(page_.Enabled("Edit_Macro_Time"));

    page_.SelectNode(0, 0);
    EXPECT_EQ(page_.RowTexts(), (std::vector<std::string>{"A", "A"}));
    EXPECT_EQ(page_.RowTexts("delay"), (std::vector<std::string>{"150 ms", "20 ms"}));
    EXPECT_EQ(page_.RowTexts("type"),
              (std::vector<std::string>{"MacroDock/png/KB2.png", "MacroDock/png/KB2.png"}));
    EXPECT_EQ(page_.RowTexts("option"),
              (std::vector<std::string>{"MacroDock/png/KeyDown.png", "MacroDock/png/KeyUp.png"}));
    EXPECT_TRUE(page_.Visible("opt_Macro_CycleTimes"));
    EXPECT_TRUE(page_.window.Find<skin::Option>("opt_Macro_CycleTimes")->IsSelected());
    EXPECT_EQ(page_.Text("Edit_Macro_Time"), "1");
    EXPECT_FALSE(page_.Enabled("opt_Macro_exportMacGroup"));
    EXPECT_FALSE(page_.Visible("label_bindkeys_num")) << "Alpha is not bound";

    page_.SelectNode(1, 0);
    EXPECT_TRUE(page_.Visible("label_bindkeys_num"));
    EXPECT_EQ(page_.Text("label_bindkeys_num"), "2");
    skin::Control* rows = page_.window.FindControl("VLayout_BindKeys");
    ASSERT_EQ(rows->Children()->GetCount(), 2);
    EXPECT_EQ(page_.RowTexts().size(), 1u);
}

TEST_F(MacroPageTest, RowsTellKindsApartByPictureAndTag) {
    page_.SelectNode(0, 1);
    page_.AnswerDialogs([](MacroItem&) {});
    // Into the empty macro Beta: a mouse button, a move, a DPI switch (each appended after the selected row).
    for (const char* entry : {"menu_Macro_InsertMouse", "menu_Macro_InsertXY", "menu_Macro_InsertDpi"}) {
        page_.Click("btn_Macro_InsertKey");
        ASSERT_TRUE(page_.platform.ChooseMenuItem(entry)) << entry;
        page_.platform.ProcessPending();
    }
    EXPECT_EQ(page_.RowTexts(), (std::vector<std::string>{"Left Click", "[\u2190]:0,[\u2193]:1", "[DPI]:400 "}));
    EXPECT_EQ(page_.RowTexts("type"), (std::vector<std::string>{"MacroDock/png/mouse.png", "MacroDock/png/move.png",
                                                                "MacroDock/png/dpi.png"}));
    EXPECT_EQ(page_.RowTexts("option")[1], "MacroDock/png/1.png") << "left and down";
    EXPECT_EQ(macroui::FindIn(*page_.Row(1), "type")->GetTag(), 2u);
    EXPECT_EQ(page_.RowTexts("delay")[0], "10 ms");
}

TEST_F(MacroPageTest, RenamingFollowsTheRulesOfTheLevel) {
    Rename(0, 1, "Alpha");  // the neighbour's name
    EXPECT_EQ(page_.Node(0, 1)->GetText(), "Alpha0");
    EXPECT_EQ(page_.Macro(0, 1).name, u"Alpha0");

    Rename(0, -1, "   ");  // blanks keep the old name
    EXPECT_EQ(page_.Node(0, -1)->GetText(), "Work");
    EXPECT_EQ(page_.store.groups()[0].name, u"Work");

    Rename(1, -1, "  Work  ");  // trimmed, then made unique among the groups
    EXPECT_EQ(page_.Node(1, -1)->GetText(), "Work0");

    Rename(1, 0, "Alpha");  // another group's macro names do not count
    EXPECT_EQ(page_.Macro(1, 0).name, u"Alpha");
    EXPECT_NE(page_.DocumentBytes().find("\"MacroName\": [\n                        65,"), std::string::npos);
}

TEST_F(MacroPageTest, NewGroupsAndMacrosGetFreeNamesAndArePlacedAfterTheSelection) {
    page_.SelectNode(0, 0);
    page_.Click("opt_Macro_AddNewMac");
    EXPECT_EQ(page_.NodeTexts(),
              (std::vector<std::string>{"Work", "  Alpha", "  New macro", "  Beta", "Games", "  Gamma"}));
    EXPECT_EQ(page_.editor.selectedMacro(), 1);
    EXPECT_EQ(page_.Macro(0, 1).block.macRpt, 1);
    EXPECT_EQ(page_.Macro(0, 1).bindKeys, 0);

    page_.SelectNode(0, -1);  // no macro selected: the new one goes last
    page_.Click("opt_Macro_AddNewMac");
    EXPECT_EQ(page_.Node(0, 3)->GetText(), "New macro0");

    page_.Click("opt_Macro_AddMacGroup");  // after the selected group, with a first macro
    EXPECT_EQ(page_.NodeTexts()[5], "New group");
    EXPECT_EQ(page_.store.groups()[1].macros.size(), 1u);
    EXPECT_EQ(page_.editor.selectedGroup(), 1);
    EXPECT_EQ(page_.editor.selectedMacro(), 0);
}

TEST_F(MacroPageTest, DeletingSelectsANeighbourAndAskedForBoundMacrosTellsTheMouse) {
    page_.SelectNode(0, 1);
    page_.RightClick(*page_.Node(0, 1));
    ASSERT_TRUE(page_.platform.ChooseMenuItem("marco_delete"));
    page_.platform.ProcessPending();
    EXPECT_EQ(page_.editor.selectedMacro(), 0) << "the last macro went: the one before it is selected";
    EXPECT_TRUE(page_.boxes.shown.empty()) << "an unbound macro goes without a question";

    page_.boxes.answer = 0;  // the bound macro: asked, and cancelled
    page_.RightClick(*page_.Node(1, 0));
    ASSERT_TRUE(page_.platform.ChooseMenuItem("marco_delete"));
    page_.platform.ProcessPending();
    ASSERT_EQ(page_.boxes.shown.size(), 1u);
    EXPECT_EQ(page_.boxes.shown[0].text, page_.editor.texts().delMacro);
    EXPECT_EQ(page_.store.groups()[1].macros.size(), 1u);
    EXPECT_EQ(page_.host.macrosChanged, 0);

    page_.boxes.answer = 1;
    page_.RightClick(*page_.Node(1, -1));
    ASSERT_TRUE(page_.platform.ChooseMenuItem("GroupDelete"));
    page_.platform.ProcessPending();
    EXPECT_EQ(page_.store.groups().size(), 1u);
    EXPECT_EQ(page_.editor.selectedGroup(), 0) << "the last group went: the one before it is selected";
    EXPECT_EQ(page_.host.macrosChanged, 1) << "the mouse must drop the deleted bound macro";

    page_.RightClick(*page_.Node(0, -1));
    ASSERT_TRUE(page_.platform.ChooseMenuItem("GroupDelete"));
    page_.platform.ProcessPending();
    EXPECT_TRUE(page_.NodeTexts().empty());
    EXPECT_FALSE(page_.Enabled("opt_Macro_exportMacGroup"));
    EXPECT_TRUE(page_.RowTexts().empty());
}

TEST_F(MacroPageTest, InsertGoesBeforeOrAfterTheSelectedRowAndEditReplacesIt) {
    page_.SelectNode(0, 0);
    page_.AnswerDialogs([](MacroItem& item) {
        item.code = 0x05;  // B
        item.text = "B";
        item.delay = 40;
    });
    page_.SelectRow(0);
    page_.Click("btn_Macro_InsertKey");
    const std::vector<skin::MenuItem>* menu = page_.platform.OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(page_.platform.ChooseMenuItem("menu_Macro_InsertKB"));
    EXPECT_EQ(page_.editor.insertPlacement(), macroui::kInsertAfter) << "the first opening chooses after";
    ASSERT_EQ(page_.host.dialogs.size(), 1u);
    EXPECT_EQ(page_.host.dialogs[0].code, 0x04);
    EXPECT_EQ(page_.host.dialogs[0].delay, 10);
    EXPECT_EQ(page_.RowTexts("delay"), (std::vector<std::string>{"150 ms", "40 ms", "20 ms"}));

    page_.SelectRow(0);
    page_.Click("btn_Macro_InsertKey");
    ASSERT_TRUE(page_.platform.ChooseMenuItem("opt_InsertBefor"));  // the menu opens again with the choice made
    ASSERT_NE(page_.platform.OpenMenu(), nullptr);
    ASSERT_TRUE(page_.platform.ChooseMenuItem("menu_Macro_InsertKB"));
    EXPECT_EQ(page_.RowTexts("delay"), (std::vector<std::string>{"40 ms", "150 ms", "40 ms", "20 ms"}));
    EXPECT_EQ(page_.Macro(0, 0).block.num, 4);

    // "modify" on row 2 opens the dialog on that row's item; the answer replaces it.
    page_.AnswerDialogs([](MacroItem& item) {
        EXPECT_EQ(item.mode, macroui::kEditRow);
        EXPECT_EQ(item.delay, 40);
        item.delay = 777;
        item.state = item::kRelease;
    });
    page_.Click(*macroui::FindIn(*page_.Row(2), "modify"));
    EXPECT_EQ(page_.RowTexts("delay"), (std::vector<std::string>{"40 ms", "150 ms", "777 ms", "20 ms"}));
    EXPECT_EQ(page_.Macro(0, 0).block.macSta[2], item::kRelease);
    EXPECT_EQ(page_.Macro(0, 0).block.num, 4);
}

// Fills macro m of group 0 with `count` items of `code` (delay 5) after its own, in one write.
void Fill(MacroStore& store, int m, int count, uint8_t code, uint8_t state) {
    ASSERT_TRUE(store.SelectMacro(0, m));
    MacroBlock& block = store.workingMacro().block;
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<size_t>(block.num++);
        block.macVal[at] = code;
        block.macSta[at] = state;
        block.macDly[at] = 5;
        block.extVal[at] = {1, 1};
    }
    ASSERT_TRUE(store.StoreWorkingMacro(0, m));
}

TEST_F(MacroPageTest, ItemsThatWouldNotFitTheMouseAreRefusedBeforeAnythingIsStored) {
    // Alpha takes 12 bytes on the mouse; 83 pointer moves of 6 bytes make 510 (the estimate says 178).
    Fill(page_.store, 0, 83, item::kMove, item::kMoveLeftDown);
    page_.SelectNode(0, 0);
    const std::string before = page_.DocumentBytes();
    page_.AnswerDialogs([](MacroItem&) {});
    page_.Click("btn_Macro_InsertKey");
    ASSERT_TRUE(page_.platform.ChooseMenuItem("menu_Macro_InsertXY"));  // 6 more bytes: refused
    ASSERT_EQ(page_.boxes.shown.size(), 1u);
    EXPECT_EQ(page_.boxes.shown.back().text, page_.editor.texts().exceed);
    EXPECT_TRUE(page_.boxes.shown.back().cancelText.empty());
    EXPECT_EQ(page_.DocumentBytes(), before);
    EXPECT_EQ(page_.Macro(0, 0).block.num, 85);
    EXPECT_EQ(page_.Macro(0, 0).block.numXY, 0) << "the counters are those of before";
    EXPECT_EQ(page_.RowTexts().size(), 85u);

    page_.Click("btn_Macro_InsertKey");  // a key takes 2 bytes: 512 fits
    ASSERT_TRUE(page_.platform.ChooseMenuItem("menu_Macro_InsertKB"));
    EXPECT_EQ(page_.Macro(0, 0).block.num, 86);
    EXPECT_TRUE(FitsOnMouse(page_.Macro(0, 0).block));

    // Beta with 249 keys: the estimate (502) is past 500, so the insert menu does not open at all.
    Fill(page_.store, 1, 249, 0x06, item::kPress);
    page_.SelectNode(0, 1);
    page_.Click("btn_Macro_InsertKey");
    EXPECT_EQ(page_.platform.OpenMenu(), nullptr);
    EXPECT_EQ(page_.boxes.shown.back().text, page_.editor.texts().exceed);
}

TEST_F(MacroPageTest, ActionsWithoutTheirSelectionSayWhatIsMissing) {
    page_.SelectNode(0, -1);
    page_.Click("btn_Macro_InsertKey");
    page_.Click("btn_Macro_Delete");
    page_.Click("btn_Macro_Record");
    ASSERT_EQ(page_.boxes.shown.size(), 3u);
    EXPECT_EQ(page_.boxes.shown[0].text, page_.editor.texts().selWarn);
    EXPECT_EQ(page_.boxes.shown[1].text, page_.editor.texts().selOne);
    EXPECT_EQ(page_.boxes.shown[2].text, page_.editor.texts().selMacro);
    EXPECT_FALSE(page_.window.Find<skin::Option>("btn_Macro_Record")->IsSelected());
    EXPECT_FALSE(page_.recorder.recording());
    EXPECT_EQ(page_.platform.OpenMenu(), nullptr);
}

TEST_F(MacroPageTest, DeleteRemovesTheSelectedRow) {
    page_.SelectNode(0, 0);
    page_.SelectRow(1);
    page_.Click("btn_Macro_Delete");
    EXPECT_EQ(page_.RowTexts("delay"), (std::vector<std::string>{"150 ms"}));
    EXPECT_EQ(page_.Macro(0, 0).block.num, 1);
    EXPECT_EQ(page_.window.Find<skin::List>("list_Macro_KeyDisplay")->GetCurSel(), 0);
}

TEST_F(MacroPageTest, RepeatCountIsNormalisedWhileTypedAndStoredOnEnter) {
    page_.SelectNode(0, 0);
    for (const auto& [typed, shown] : std::vector<std::pair<std::string, std::string>>{
             {"70000", "65535"}, {"", "1"}, {"007", "7"}, {"0", "1"}}) {
        page_.Type("Edit_Macro_Time", typed, false);
        EXPECT_EQ(page_.Text("Edit_Macro_Time"), shown) << "typed '" << typed << "'";
    }
    page_.Type("Edit_Macro_Time", "12");
    EXPECT_EQ(page_.Macro(0, 0).block.macRpt, 12);
    EXPECT_NE(page_.DocumentBytes().find("\"macRpt\": 12"), std::string::npos);
    EXPECT_EQ(page_.window.GetPaintManager().GetFocus(), page_.window.FindControl("btn_Macro_Temp"));

    page_.Click("opt_Macro_CycleUntilClick");
    EXPECT_EQ(page_.Macro(0, 0).block.rptType & 3, 2);
    EXPECT_FALSE(page_.Enabled("Edit_Macro_Time"));
    EXPECT_EQ(page_.host.macrosChanged, 0) << "Alpha is bound to nothing";

    page_.SelectNode(1, 0);  // Gamma is bound: its loop mode reaches the mouse at once
    page_.Click("opt_Macro_CycleUntilRelease");
    EXPECT_EQ(page_.Macro(1, 0).block.rptType & 3, 1);
    EXPECT_EQ(page_.host.macrosChanged, 1);
}

TEST_F(MacroPageTest, ChangesToABoundMacroShowItsMarkUntilTheMarkIsClicked) {
    page_.SelectNode(1, 0);
    page_.SelectRow(0);
    page_.Click("btn_Macro_Delete");
    skin::Control* mark = macroui::FindIn(*page_.Node(1, 0), "ToSave");
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->IsVisible());
    EXPECT_TRUE(page_.editor.needsApply());
    EXPECT_FALSE(macroui::FindIn(*page_.Node(0, 0), "ToSave")->IsVisible());

    page_.editor.Refresh();  // the mark outlives a rebuilt tree
    mark = macroui::FindIn(*page_.Node(1, 0), "ToSave");
    EXPECT_TRUE(mark->IsVisible());

    page_.Click(*mark);
    EXPECT_FALSE(mark->IsVisible());
    EXPECT_FALSE(page_.editor.needsApply());
    EXPECT_EQ(page_.host.macrosChanged, 1);
}

TEST_F(MacroPageTest, BindingListFollowsTheDocumentAfterRebinding) {
    page_.SelectNode(1, 0);
    // The key page moved one binding of Gamma to Alpha and wrote the document; the main window reloads (2047).
    MacroRecord& gamma = page_.store.groups()[1].macros[0];
    MacroRecord& alpha = page_.store.groups()[0].macros[0];
    gamma.bindings[u"Virtual Mouse"].pop_back();
    gamma.bindKeys = 1;
    alpha.bindings[u"Virtual Mouse"] = {{"Profile2", "btn_MouseKey_Click3"}};
    alpha.bindKeys = 1;
    page_.store.SaveAllMacros();
    ASSERT_TRUE(page_.store.SaveMacros());
    page_.editor.ReloadDocument();
    EXPECT_EQ(page_.editor.selectedGroup(), 1);
    EXPECT_EQ(page_.editor.selectedMacro(), 0);
    EXPECT_EQ(page_.Text("label_bindkeys_num"), "1");
    skin::Control* rows = page_.window.FindControl("VLayout_BindKeys");
    ASSERT_EQ(rows->Children()->GetCount(), 1);
    skin::Control& row = *rows->Children()->GetItemAt(0);
    EXPECT_EQ(macroui::FindIn(row, "DeviceName")->GetText(), "Virtual Mouse");
    EXPECT_EQ(macroui::FindIn(row, "DeviceConfig")->GetText(), "Profile 1");
    EXPECT_EQ(macroui::FindIn(row, "DeviceKey")->GetText(), "Button 5");

    page_.SelectNode(0, 0);
    EXPECT_EQ(macroui::FindIn(*rows->Children()->GetItemAt(0), "DeviceConfig")->GetText(), "Profile 2");
}

TEST_F(MacroPageTest, ImportOfFilesThatAreNoMacroGroupChangesNothingAndSaysSo) {
    page_.SelectNode(0, 0);
    const std::string before = page_.DocumentBytes();
    const auto good = page_.dir.Write("good.Macro.Config",
                                      R"({"GrpName": [87, 111, 114, 107], "GrpGuid": "x", "ForbidView": false})");
    for (const char* text : {"{\"GrpName\": [1, 2", "[1, 2, 3]", R"({"GrpName": "Work", "GrpGuid": "x"})",
                             R"({"GrpName": [65], "MacroInfo": [{"MacroName": [66], "MacroGuid": "g", "macData": {"num": "x"}}]})"}) {
        page_.dialogs.openAnswers.push_back({page_.dir.Write("bad.Macro.Config", text).string()});
        page_.Click("opt_Macro_importMacGroup");
        ASSERT_FALSE(page_.boxes.shown.empty()) << text;
        EXPECT_EQ(page_.boxes.shown.back().text, page_.editor.texts().importError) << text;
        EXPECT_EQ(page_.DocumentBytes(), before) << text;
        EXPECT_EQ(page_.NodeTexts().size(), 5u);
    }
    page_.boxes.shown.clear();
    page_.dialogs.openAnswers.push_back({good.string()});
    page_.Click("opt_Macro_importMacGroup");
    EXPECT_TRUE(page_.boxes.shown.empty());
    EXPECT_EQ(page_.NodeTexts(), (std::vector<std::string>{"Work", "  Alpha", "  Beta", "Work0", "Games", "  Gamma"}));
    EXPECT_EQ(page_.editor.selectedGroup(), 0) << "the selection stays where it was";
}

TEST_F(MacroPageTest, GroupMenuOffersItsEntriesAndAForbiddenMacroCannotBeRenamed) {
    page_.RightClick(*page_.Node(0, -1));
    const std::vector<skin::MenuItem>* menu = page_.platform.OpenMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> names;
    for (const skin::MenuItem& item : *menu) {
        if (!item.separator) {
            names.push_back(item.name);
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"group_rename", "GroupDelete", "group_import", "group_export",
                                               "group_reset"}));
    page_.platform.ChooseMenuItem("group_export");  // the dialog is cancelled: nothing written
    page_.platform.ProcessPending();
    EXPECT_TRUE(page_.boxes.shown.empty());

    page_.store.groups()[0].macros[1].forbidView = true;
    page_.editor.Refresh();
    page_.RightClick(*page_.Node(0, 1));
    menu = page_.platform.OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->front().visible) << "marco_rename is hidden";
    EXPECT_FALSE(page_.Enabled("btn_Macro_Record"));
    EXPECT_FALSE(page_.Enabled("opt_Macro_CycleTimes"));
}

TEST_F(MacroPageTest, WithoutItsPositionFileAndPartsThePageSaysSoAndStillWorks) {
    // A skin folder without "MacroDock/Macro.json" and without the node and row files.
    page_.editor.Initialise(page_.window, page_.dir.path() / "bare-skin");
    ASSERT_EQ(page_.boxes.shown.size(), 1u);
    EXPECT_EQ(page_.boxes.shown[0].text, page_.editor.texts().jsonWarn);
    EXPECT_EQ(page_.NodeTexts(), (std::vector<std::string>{"Work", "  Alpha", "  Beta", "Games", "  Gamma"}));
    page_.SelectNode(0, 0);
    EXPECT_EQ(page_.RowTexts("<no parts>").size(), 2u) << "plain rows stand in";
}

TEST_F(MacroPageTest, ChangesThatCannotBeWrittenAreReportedToTheUser) {
    // The document's folder turned into a file: every save fails.
    const auto folder = page_.store.configPath().parent_path();
    const std::string before = page_.DocumentBytes();
    std::filesystem::remove_all(folder);
    page_.dir.Write("MacroDock/MacroData", "not a folder");
    page_.SelectNode(0, 0);
    page_.Type("Edit_Macro_Time", "9");
    ASSERT_EQ(page_.boxes.shown.size(), 1u);
    EXPECT_EQ(page_.boxes.shown[0].text.rfind(page_.editor.texts().error, 0), 0u) << page_.boxes.shown[0].text;
    EXPECT_NE(page_.boxes.shown[0].text.find("macroConfig.json"), std::string::npos) << "the file is named";

    page_.Click("btn_Macro_Record");
    page_.Key(keymsg::kKeyDown, 30);
    page_.Click("btn_Macro_Record");
    EXPECT_EQ(page_.boxes.shown.size(), 2u) << "the recording could not be stored either";
    EXPECT_EQ(test::TempDir::Read(folder), "not a folder");
    EXPECT_FALSE(before.empty());
}

TEST_F(MacroPageTest, AnItemEditThatCannotBeWrittenKeepsEveryItemOfTheMacro) {
    page_.SelectNode(0, 0);
    const std::vector<std::string> keys = page_.RowTexts();
    ASSERT_GE(keys.size(), 2u);
    const int count = page_.store.workingMacro().block.num;
    std::filesystem::remove_all(page_.store.configPath().parent_path());
    page_.dir.Write("MacroDock/MacroData", "not a folder");
    page_.AnswerDialogs([](MacroItem& item) { item.delay = 777; });
    page_.Click(*macroui::FindIn(*page_.Row(0), "modify"));
    ASSERT_FALSE(page_.boxes.shown.empty()) << "the failed write is reported";
    EXPECT_EQ(page_.store.workingMacro().block.num, count) << "the edited item is not lost";
    EXPECT_EQ(page_.RowTexts(), keys);
    EXPECT_EQ(page_.RowTexts("delay").front(), "777 ms");
}

}  // namespace
}  // namespace mousecfg
