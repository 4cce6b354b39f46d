#include "macro/MacroStore.h"

#include <gtest/gtest.h>

#include "macro/MacroDataJson.h"
#include "platform/AtomicFile.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;
using test::TempDir;

constexpr const char* kConfig = "res/MacroDock/MacroData/macroConfig.json";

// A macro object with the given item codes (presses with 20 ms) and short arrays, as hand-edited files have.
json MacroObject(const std::string& guid, const std::string& name, std::vector<int> codes, bool forbidView = false) {
    json units = json::array();
    for (const char c : name) {
        units.push_back(static_cast<int>(c));
    }
    json data = {{"rptType", 0}, {"macRpt", 1}, {"num", codes.size()}, {"numXY", 0}, {"numWhl", 0},
                 {"numCpi", 0},  {"numMedia", 0}, {"numLed", 0}, {"YStepEn", 0}, {"YStep", 0},
                 {"macSta", json::array()}, {"macVal", codes}, {"extVal", json::array()}, {"macDly", json::array()}};
    for (size_t i = 0; i < codes.size(); ++i) {
        data["macSta"].push_back(1);
        data["extVal"].push_back({0, 0});
        data["macDly"].push_back(20);
    }
    json macro = {{"MacroGuid", guid}, {"MacroName", units}, {"BindKeys", 0}, {"macData", data}};
    if (forbidView) {
        macro["ForbidView"] = true;
    }
    return macro;
}

json Group(const std::string& guid, const std::string& name, json macros) {
    json units = json::array();
    for (const char c : name) {
        units.push_back(static_cast<int>(c));
    }
    json group = {{"GrpGuid", guid}, {"GrpName", units}, {"ForbidView", false}};
    if (!macros.is_null()) {
        group["MacroInfo"] = std::move(macros);
    }
    return group;
}

class MacroStoreTest : public ::testing::Test {
protected:
    MacroStoreTest() : store_(dir_.path(), dialogs_, messages_) {}

    void WriteDocument(const json& document) { dir_.Write(kConfig, document.dump(4)); }
    json SavedDocument() const { return json::parse(TempDir::Read(dir_ / kConfig)); }

    // Two groups: "Work" with macros "A" (2 items) and "B" (bound to a button), and "Play" that never had one.
    void LoadSample() {
        json bound = MacroObject("MB", "B", {5});
        bound["BindKeys"] = 1;
        bound["BindKeysInfo"] = {{{"BindDeviceName", {77, 49}},
                                  {"BindKeysData", {{{"KeyName", "btn_MouseKey_Click3"}, {"Config", "0"}}}}}};
        WriteDocument({{"MacroGrpInfo",
                        {Group("G1", "Work", {MacroObject("MA", "A", {4, 5}), bound}), Group("G2", "Play", nullptr)}}});
        ASSERT_TRUE(store_.LoadMacros());
    }

    // The model as a second store reads it back from the file.
    std::vector<MacroGroup> Reloaded() {
        MacroStore other(dir_.path(), dialogs_, messages_);
        EXPECT_TRUE(other.LoadMacros());
        return other.groups();
    }

    TempDir dir_;
    test::ScriptedFileDialogs dialogs_;
    test::RecordingMessageBoxes messages_;
    MacroStore store_;
};

TEST_F(MacroStoreTest, TheShippedDocumentSavesBackByteForByte) {
    const std::string shipped = TempDir::Read(test::TestDataPath("../../res/MacroDock/MacroData/macroConfig.json"));
    dir_.Write(kConfig, shipped);
    ASSERT_TRUE(store_.LoadMacros());
    ASSERT_EQ(store_.groups().size(), 1u);
    EXPECT_EQ(store_.groups()[0].macros.size(), 2u);
    ASSERT_TRUE(store_.SaveMacros());
    EXPECT_EQ(TempDir::Read(dir_ / kConfig), shipped);
}

TEST_F(MacroStoreTest, ADocumentWithoutGroupsLoadsEmptyAndIsNotRewritten) {
    dir_.Write(kConfig, "{\"Other\": 1}");
    ASSERT_TRUE(store_.LoadMacros());
    EXPECT_TRUE(store_.groups().empty());
    EXPECT_EQ(TempDir::Read(dir_ / kConfig), "{\"Other\": 1}");
}

TEST_F(MacroStoreTest, MissingForbidViewLoadsFalseAndIsAddedOnTheNextSave) {
    json group = Group("G", "g", json::array({MacroObject("M", "m", {4}), MacroObject("N", "n", {4}, true)}));
    group.erase("ForbidView");
    WriteDocument({{"MacroGrpInfo", {group}}});
    ASSERT_TRUE(store_.LoadMacros());
    EXPECT_FALSE(store_.groups()[0].forbidView);
    EXPECT_FALSE(store_.groups()[0].macros[0].forbidView);
    EXPECT_TRUE(store_.groups()[0].macros[1].forbidView);
    ASSERT_TRUE(store_.SaveMacros());
    const json saved = SavedDocument()["MacroGrpInfo"][0];
    EXPECT_EQ(saved["ForbidView"], false);
    EXPECT_EQ(saved["MacroInfo"][0]["ForbidView"], false);
}

TEST_F(MacroStoreTest, NamesAreKeptAsCodeUnitsWhateverTheyHold) {
    const std::u16string odd = {u'N', 0xD83D, 0xDE00, u'\u4E2D', 0xDC00, 0xD800};  // emoji, CJK, lone surrogates
    json group = Group("G", "", json::array({MacroObject("M", "", {4})}));
    group["GrpName"] = {78, 101, 119};
    group["MacroInfo"][0]["MacroName"] = json::array();
    for (const char16_t unit : odd) {
        group["MacroInfo"][0]["MacroName"].push_back(static_cast<int>(unit));
    }
    WriteDocument({{"MacroGrpInfo", {group}}});
    ASSERT_TRUE(store_.LoadMacros());
    EXPECT_EQ(store_.groups()[0].name, u"New");
    EXPECT_EQ(store_.groups()[0].macros[0].name, odd);
    ASSERT_TRUE(store_.RenameGroup(0, odd));
    EXPECT_EQ(Reloaded()[0].name, odd);
    EXPECT_EQ(Reloaded()[0].macros[0].name, odd);
}

TEST_F(MacroStoreTest, MacroDataIsAlwaysWrittenWithFiveHundredEntries) {
    LoadSample();
    ASSERT_TRUE(store_.SelectMacro(0, 0));
    ASSERT_TRUE(store_.InsertItem(0, 0, 2, 6, 1, 30, "C"));
    const json data = SavedDocument()["MacroGrpInfo"][0]["MacroInfo"][0]["macData"];
    EXPECT_EQ(data["num"], 3);
    for (const char* key : {"macSta", "macVal", "extVal", "macDly"}) {
        ASSERT_EQ(data[key].size(), 500u) << key;
        EXPECT_EQ(data[key][3], key == std::string("extVal") ? json({0, 0}) : json(0)) << key;
    }
    EXPECT_EQ(data["macVal"][2], 6);
}

TEST_F(MacroStoreTest, ADamagedDocumentKeepsTheMacrosInMemory) {
    LoadSample();
    const auto before = store_.groups();
    for (const std::string& text : {std::string("{\"MacroGrpInfo\": [ {"), std::string("[1, 2]"),
                                    std::string("{\"MacroGrpInfo\": [{\"GrpName\": \"text\", \"GrpGuid\": \"x\"}]}")}) {
        dir_.Write(kConfig, text);
        const Status loaded = store_.LoadMacros();
        EXPECT_FALSE(loaded) << text;
        EXPECT_EQ(store_.groups(), before) << text;
    }
    ASSERT_TRUE(store_.AddGroup(5, u"Next"));
    EXPECT_EQ(Reloaded().size(), 3u) << "the next change writes the kept document";
}

// A damaged file is what the user had: the next write keeps it aside under a numbered name instead of
// replacing it, and a write that cannot do so fails.
TEST_F(MacroStoreTest, ADamagedDocumentIsKeptAsideBeforeAnythingReplacesIt) {
    const std::string shipped = TempDir::Read(test::TestDataPath("../../res/MacroDock/MacroData/macroConfig.json"));
    const std::string cut = shipped.substr(0, shipped.size() / 2);
    const auto file = dir_ / kConfig;
    dir_.Write(kConfig, cut);
    EXPECT_FALSE(store_.LoadMacros());
    EXPECT_TRUE(store_.documentDamaged());
    EXPECT_FALSE(store_.Complete()) << "bindings to its macros are not to be reverted";

    SetWriteFailureForTesting([&](const std::filesystem::path& target) { return target == file; });
    const Result<int> refused = store_.AddGroup(0, u"New");
    SetWriteFailureForTesting({});
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message().find(file.string()), std::string::npos) << refused.message();
    EXPECT_EQ(TempDir::Read(file), cut);

    ASSERT_TRUE(store_.AddGroup(0, u"Next"));
    EXPECT_EQ(TempDir::Read(dir_ / (std::string(kConfig) + ".damaged")), cut);
    EXPECT_EQ(Reloaded().size(), 2u) << "the groups of the model, not of the damaged file";
    EXPECT_FALSE(store_.documentDamaged());

    dir_.Write(kConfig, "{\"MacroGrpInfo\": 7}");
    EXPECT_FALSE(store_.LoadMacros());
    dir_.Write("res/MacroDock/MacroDataReset/macroConfigReset.json", "{}");
    dir_.Write(std::string(kConfig) + ".bak", "last good backup");
    ASSERT_TRUE(store_.ResetMacros());
    EXPECT_EQ(TempDir::Read(dir_ / (std::string(kConfig) + ".damaged")), cut) << "an earlier copy stays";
    EXPECT_EQ(TempDir::Read(dir_ / (std::string(kConfig) + ".damaged.2")), "{\"MacroGrpInfo\": 7}");
    EXPECT_EQ(TempDir::Read(dir_ / (std::string(kConfig) + ".bak")), "last good backup");
    EXPECT_EQ(TempDir::Read(file), "{}");

    std::filesystem::remove(dir_ / "res/MacroDock/MacroDataReset/macroConfigReset.json");
    dir_.Write(kConfig, "[");
    EXPECT_FALSE(store_.LoadMacros());
    ASSERT_TRUE(store_.ResetMacros()) << "without a factory file";
    EXPECT_EQ(TempDir::Read(dir_ / (std::string(kConfig) + ".damaged.3")), "[");
    EXPECT_EQ(TempDir::Read(dir_ / (std::string(kConfig) + ".bak")), "last good backup");

    std::filesystem::remove(file);
    EXPECT_FALSE(store_.LoadMacros());
    EXPECT_FALSE(store_.documentDamaged()) << "a missing file is an empty document";
    ASSERT_TRUE(store_.AddGroup(0, u"Fresh"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / (std::string(kConfig) + ".damaged.4")));
}

TEST_F(MacroStoreTest, NameCodeUnitsOutsideSixteenBitsAreDamagedContents) {
    for (const json& units : {json{78, 65536}, json{-1}, json{1e10}}) {
        json group = Group("G", "g", json::array({MacroObject("M", "m", {4})}));
        group["MacroInfo"][0]["MacroName"] = units;
        WriteDocument({{"MacroGrpInfo", {group}}});
        EXPECT_FALSE(store_.LoadMacros()) << units;
        EXPECT_TRUE(store_.documentDamaged()) << units;
    }
    WriteDocument({{"MacroGrpInfo", {Group("G", "g", nullptr)}}});
    json name = SavedDocument();
    name["MacroGrpInfo"][0]["GrpName"] = {0, 65535, 77.9};
    WriteDocument(name);
    ASSERT_TRUE(store_.LoadMacros());
    EXPECT_EQ(store_.groups()[0].name, (std::u16string{0, 0xFFFF, u'M'}));
}

TEST_F(MacroStoreTest, AnOversizedItemCountNeverReachesPastTheArrays) {
    json macro = MacroObject("M", "m", {4, 5, 6});
    macro["macData"]["num"] = 600;
    WriteDocument({{"MacroGrpInfo", {Group("G", "g", json::array({macro}))}}});
    ASSERT_TRUE(store_.LoadMacros());
    ASSERT_TRUE(store_.SelectMacro(0, 0));
    EXPECT_FALSE(store_.InsertItem(0, 0, 0, 4, 1, 20, "A")) << "the macro counts as full";
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, " More than limit!");
    EXPECT_EQ(messages_.shown[0].title, "\u63D0\u793A\u6846");
    EXPECT_EQ(store_.DescribeItem(499).code, 0);
    EXPECT_EQ(store_.DescribeItem(500).text, "");
    ASSERT_TRUE(store_.DeleteItem(0, 0, 0));
    EXPECT_EQ(store_.workingMacro().block.num, 499);
    EXPECT_EQ(store_.workingMacro().block.macVal[0], 5);
}

TEST_F(MacroStoreTest, GroupsAreAddedRenamedAndDeletedInModelAndFile) {
    LoadSample();
    const Result<int> added = store_.AddGroup(1, u"Middle");
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, 1);
    ASSERT_TRUE(store_.AddGroup(7, u"Last"));
    ASSERT_TRUE(store_.RenameGroup(0, u"Jobs"));
    ASSERT_TRUE(store_.DeleteGroup(2));
    EXPECT_FALSE(store_.DeleteGroup(3));
    const auto groups = Reloaded();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].name, u"Jobs");
    EXPECT_EQ(groups[1].name, u"Middle");
    EXPECT_EQ(groups[2].name, u"Last");
    EXPECT_TRUE(groups[1].macros.empty());
    EXPECT_NE(groups[1].guid, groups[2].guid);
    EXPECT_EQ(groups, store_.groups());
    EXPECT_FALSE(SavedDocument()["MacroGrpInfo"][1].contains("MacroInfo")) << "a new group has no macro list";
}

TEST_F(MacroStoreTest, MacrosAreInsertedRenamedAndDeleted) {
    LoadSample();
    ASSERT_TRUE(store_.SelectMacro(0, 1));
    const Result<int> inserted = store_.InsertMacro(0, 1, u"New");
    ASSERT_TRUE(inserted);
    EXPECT_EQ(*inserted, 1);
    ASSERT_TRUE(store_.InsertMacro(1, 0, u"First"));
    ASSERT_TRUE(store_.RenameMacro(0, 2, u"Bee"));
    ASSERT_TRUE(store_.DeleteMacro(0, 0));
    const auto groups = Reloaded();
    ASSERT_EQ(groups[0].macros.size(), 2u);
    const MacroRecord& fresh = groups[0].macros[0];
    EXPECT_EQ(fresh.name, u"New");
    EXPECT_EQ(fresh.block.num, 0);
    EXPECT_EQ(fresh.block.macRpt, 1);
    EXPECT_EQ(fresh.bindKeys, 0) << "a new macro starts unbound";
    EXPECT_TRUE(fresh.bindings.empty());
    EXPECT_EQ(groups[0].macros[1].name, u"Bee");
    EXPECT_EQ(groups[0].macros[1].bindKeys, 1) << "renaming keeps the bindings";
    EXPECT_EQ(groups[0].macros[1].block.macVal[0], 5) << "renaming keeps the items";
    EXPECT_EQ(groups[1].macros[0].name, u"First");
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(MacroStoreTest, DeletingFromAnEmptyGroupShowsAMessage) {
    LoadSample();
    EXPECT_FALSE(store_.DeleteMacro(1, 0));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, " DeleteMacro  !");
    EXPECT_EQ(store_.groups()[0].macros.size(), 2u);
}

TEST_F(MacroStoreTest, LoopModesKeepTheHighBitsOfTheLoopByte) {
    LoadSample();
    const struct {
        uint8_t before;
        const char* option;
        uint8_t after;
    } cases[] = {{0x00, "opt_Macro_CycleUntilRelease", 0x01}, {0x0A, "opt_Macro_CycleUntilRelease", 0x09},
                 {0x01, "opt_Macro_CycleUntilClick", 0x02},   {0x0A, "opt_Macro_CycleTimes", 0x00},
                 {0x1E, "opt_Macro_CycleTimes", 0x14},        {0x02, "anything else", 0x00}};
    for (const auto& c : cases) {
        ASSERT_TRUE(store_.SelectMacro(0, 0));
        store_.workingMacro().block.rptType = c.before;
        ASSERT_TRUE(store_.SetLoopMode(0, 0, c.option, 12));
        EXPECT_EQ(store_.groups()[0].macros[0].block.rptType, c.after) << c.option << " " << int(c.before);
        EXPECT_EQ(Reloaded()[0].macros[0].block.macRpt, 12);
        EXPECT_EQ(Reloaded()[0].macros[0].block.rptType, c.after);
    }
}

TEST_F(MacroStoreTest, ItemsAreInsertedAndDeletedWithTheirCounters) {
    LoadSample();
    store_.SetDpiCode(7);
    ASSERT_TRUE(store_.SelectMacro(0, 0));
    ASSERT_TRUE(store_.InsertItem(0, 0, 1, 0xF6, 3, 5, "[\u2190]:10,[\u2191]:200"));
    const MacroBlock& block = store_.groups()[0].macros[0].block;
    EXPECT_EQ(block.num, 3);
    EXPECT_EQ(block.macVal[0], 4);
    EXPECT_EQ(block.macVal[1], 0xF6);
    EXPECT_EQ(block.macVal[2], 5) << "later items moved up";
    EXPECT_EQ(block.extVal[1], (MacroBlock::Point{10, 200}));
    EXPECT_EQ(block.numXY, 1);
    ASSERT_TRUE(store_.InsertItem(0, 0, 99, 0xF8, 1, 40, ""));
    EXPECT_EQ(block.macVal[3], 0xF8) << "a position past the end appends";
    EXPECT_EQ(block.extVal[3].x, 7);
    EXPECT_EQ(block.numCpi, 1);
    EXPECT_EQ(block.rptType, 1) << "a DPI item turns loop mode 0 into 1";
    store_.workingMacro().block.rptType = 2;
    ASSERT_TRUE(store_.InsertItem(0, 0, 0, 0xF8, 1, 40, ""));
    EXPECT_EQ(block.rptType, 2);

    ASSERT_TRUE(store_.DeleteItem(0, 0, 2));
    EXPECT_EQ(block.num, 4);
    EXPECT_EQ(block.numXY, 0);
    EXPECT_EQ(block.macVal[2], 5);
    EXPECT_EQ(block.macVal[4], 0) << "the freed entry is zeroed";
    EXPECT_FALSE(store_.DeleteItem(0, 0, 4));
    EXPECT_EQ(Reloaded()[0].macros[0].block, block);
}

TEST_F(MacroStoreTest, DeletingTheOnlyItemLeavesAnEmptyMacro) {
    json macro = MacroObject("M", "m", {0xF7});
    macro["macData"]["numWhl"] = 0;  // a count lower than its items must not wrap around
    macro["macData"]["extVal"][0] = {3, 4};
    WriteDocument({{"MacroGrpInfo", {Group("G", "g", json::array({macro}))}}});
    ASSERT_TRUE(store_.LoadMacros());
    ASSERT_TRUE(store_.SelectMacro(0, 0));
    ASSERT_TRUE(store_.DeleteItem(0, 0, 0));
    EXPECT_EQ(store_.workingMacro().block, (MacroBlock{.rptType = 0, .macRpt = 1}));
    ASSERT_TRUE(store_.DeleteItem(0, 0, 0));
    EXPECT_EQ(store_.workingMacro().block.num, 0);
}

TEST_F(MacroStoreTest, ItemsAreDescribedByTheirKind) {
    LoadSample();
    ASSERT_TRUE(store_.SelectMacro(0, 0));
    MacroBlock& block = store_.workingMacro().block;
    const struct {
        uint8_t code, state;
        MacroBlock::Point point;
        const char* text;
    } cases[] = {
        {0xF6, 3, {10, 20}, "[\u2190]:10,[\u2191]:20"}, {0xF6, 4, {1, 2}, "[\u2190]:1,[\u2193]:2"},
        {0xF6, 5, {1, 2}, "[\u2192]:1,[\u2191]:2"},     {0xF6, 6, {1, 2}, "[\u2192]:1,[\u2193]:2"},
        {0xF6, 1, {1, 2}, "[X]:error,[Y]:error"},       {0xF8, 1, {9, 0}, "[DPI]:400 "},
        {0xF9, 13, {3, 0}, "LED  3 "},                  {0xF9, 15, {4, 0}, "LED  4"},
        {0xF9, 2, {4, 0}, "[LED0/1/2]:error"},          {0x00, 0, {}, "[Delay]"},
        {0x29, 1, {}, "Escape"},                        {0xF1, 2, {}, "Left Click"},
        {0xF7, 1, {}, "Unknown Key"},
    };
    store_.ResetItemCounts();
    for (const auto& c : cases) {
        block.macVal[0] = c.code;
        block.macSta[0] = c.state;
        block.extVal[0] = c.point;
        block.macDly[0] = 77;
        const auto description = store_.DescribeItem(0);
        EXPECT_EQ(description.text, c.text) << int(c.code);
        EXPECT_EQ(description.delay, 77);
        EXPECT_EQ(description.state, c.state);
    }
    EXPECT_EQ(store_.pressCount(), 2) << "Escape and the wheel item";
    EXPECT_EQ(store_.releaseCount(), 1);
}

TEST_F(MacroStoreTest, ExportWritesOneUnboundGroup) {
    LoadSample();
    dialogs_.saveAnswers.push_back((dir_ / "work.Macro.Config").string());
    ASSERT_TRUE(store_.ExportGroup(0));
    EXPECT_EQ(dialogs_.filters.at(0).text, "Config Flie(*.Macro.Config)");
    EXPECT_EQ(dialogs_.filters.at(0).pattern, "*.Macro.Config");
    const json exported = json::parse(TempDir::Read(dir_ / "work.Macro.Config"));
    EXPECT_EQ(exported["GrpGuid"], "G1");
    EXPECT_EQ(exported["MacroInfo"][1]["BindKeys"], 0);
    EXPECT_FALSE(exported["MacroInfo"][1].contains("BindKeysInfo"));
    EXPECT_EQ(SavedDocument()["MacroGrpInfo"][0]["MacroInfo"][1]["BindKeys"], 1) << "the document keeps them";
    EXPECT_EQ(store_.groups()[0].macros[1].bindings.size(), 1u);
    EXPECT_TRUE(store_.ExportGroup(0)) << "cancelled: nothing to do";
}

TEST_F(MacroStoreTest, ImportedGroupsGetUniqueNamesAndNewIdentities) {
    LoadSample();
    const auto file =
        dir_.Write("in.Macro.Config", Group("GX", "Work", json::array({MacroObject("MX", "x", {4})})).dump());
    const auto broken = dir_.Write("broken.Macro.Config", "{\"GrpName\": 5}");
    dialogs_.openAnswers.push_back({file.string(), broken.string()});
    dialogs_.openAnswers.push_back({file.string()});
    ASSERT_TRUE(store_.ImportGroups(1));
    ASSERT_TRUE(store_.ImportGroups(1));
    EXPECT_TRUE(dialogs_.lastMultiple);
    EXPECT_FALSE(store_.ImportGroups(0)) << "no file chosen";
    const auto& groups = store_.groups();
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(groups[1].name, u"Work1") << "the second import goes in front of the first";
    EXPECT_EQ(groups[2].name, u"Work0");
    EXPECT_EQ(groups[3].name, u"Play");
    EXPECT_NE(groups[1].guid, "GX");
    EXPECT_NE(groups[1].guid, groups[2].guid);
    EXPECT_EQ(groups[1].macros[0].guid, "MX") << "macro identities stay";
    EXPECT_EQ(groups, Reloaded());
}

// A group the loader would not convert must not reach the document: saved, it would make the file unreadable,
// and the model would no longer match the document, so that later edits lose groups.
TEST_F(MacroStoreTest, ImportRefusesGroupsTheLoaderWouldNotConvert) {
    LoadSample();
    const std::string before = TempDir::Read(dir_ / kConfig);
    json textFlag = Group("GX", "Text", json::array({MacroObject("MX", "x", {4})}));
    textFlag["ForbidView"] = "no";
    json objectList = Group("GY", "Object", json::array());
    objectList["MacroInfo"] = {{"first", MacroObject("MY", "y", {4})}};
    json textCount = Group("GZ", "Count", json::array({MacroObject("MZ", "z", {4})}));
    textCount["MacroInfo"][0]["macData"]["macRpt"] = "twice";
    std::vector<std::string> files;
    for (const json* group : {&textFlag, &objectList, &textCount}) {
        files.push_back(dir_.Write("bad" + std::to_string(files.size()) + ".Macro.Config", group->dump()).string());
    }
    dialogs_.openAnswers.push_back(files);
    ASSERT_TRUE(store_.ImportGroups(0));

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text.rfind(MacroStore::MessageTexts().importError, 0), 0u) << messages_.shown[0].text;
    for (const std::string& file : files) {
        EXPECT_NE(messages_.shown[0].text.find(file), std::string::npos) << file;
    }
    EXPECT_EQ(store_.groups().size(), 2u);
    EXPECT_EQ(json::parse(TempDir::Read(dir_ / kConfig)), json::parse(before));
    ASSERT_TRUE(store_.DeleteGroup(0));
    ASSERT_EQ(Reloaded().size(), 1u);
    EXPECT_EQ(Reloaded()[0].name, u"Play");
}

TEST_F(MacroStoreTest, AnImportThatCannotBeSavedKeepsNothingAndSaysSo) {
    LoadSample();
    const std::string before = TempDir::Read(dir_ / kConfig);
    const auto groups = store_.groups();
    const auto file =
        dir_.Write("in.Macro.Config", Group("GX", "Work", json::array({MacroObject("MX", "x", {4})})).dump());
    dialogs_.openAnswers.push_back({file.string()});
    const auto config = dir_ / kConfig;
    SetWriteFailureForTesting([&](const std::filesystem::path& target) { return target == config; });
    ASSERT_TRUE(store_.ImportGroups(0));
    SetWriteFailureForTesting({});
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_NE(messages_.shown[0].text.find(config.string()), std::string::npos) << messages_.shown[0].text;
    EXPECT_EQ(TempDir::Read(config), before);
    EXPECT_EQ(store_.groups(), groups) << "the model matches the file";
}

TEST_F(MacroStoreTest, ResetRestoresTheFactoryDocumentAndKeepsABackup) {
    LoadSample();
    const std::string before = TempDir::Read(dir_ / kConfig);
    dir_.Write("res/MacroDock/MacroDataReset/macroConfigReset.json",
               json{{"MacroGrpInfo", {Group("F", "Factory", nullptr)}}}.dump(4));
    ASSERT_TRUE(store_.ResetMacros());
    EXPECT_EQ(TempDir::Read(dir_ / (std::string(kConfig) + ".bak")), before);
    ASSERT_EQ(store_.groups().size(), 1u);
    EXPECT_EQ(store_.groups()[0].name, u"Factory");
}

TEST_F(MacroStoreTest, ResetWithoutAFactoryFileLeavesAnEmptyDocument) {
    LoadSample();
    const json before = store_.document();  // the document as held, defaults added
    ASSERT_TRUE(store_.ResetMacros());
    EXPECT_EQ(TempDir::Read(dir_ / kConfig), "{}");
    EXPECT_EQ(json::parse(TempDir::Read(dir_ / (std::string(kConfig) + ".bak"))), before);
    EXPECT_TRUE(store_.groups().empty());
}

TEST_F(MacroStoreTest, SnapshotsAnswerFromTheirCopy) {
    LoadSample();
    const auto snapshot = store_.Snapshot();
    ASSERT_TRUE(store_.DeleteGroup(0));
    EXPECT_FALSE(store_.Find("G1", "MA"));
    const auto found = snapshot->Find("G1", "MA");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, u"A");
    EXPECT_EQ(found->block.num, 2);
    EXPECT_FALSE(snapshot->Find("G2", "MA")) << "the macro must be in the named group";
}

TEST(UniqueName, TakesTheLowestFreeNumber) {
    const struct {
        std::vector<std::u16string> names;
        std::u16string expected;
    } cases[] = {
        {{}, u"Macro"},
        {{u"Macro", u"Macro0", u"Macro2"}, u"Macro1"},
        {{u"Macro1"}, u"Macro"},
        {{u"Macro x"}, u"Macro"},
        {{u"New Group"}, u"New Group0"},
        {{u"New Group", u"New Group0"}, u"New Group1"},
        {{u"Macro", u"Macro 0", u"Macro+1"}, u"Macro2"},
        {{u"Macro-5", u"Macro"}, u"Macro0"},
        {{u"Macro", u"Macro", u"Macro0"}, u"Macro1"},
        {{u"Other", u"Macro99999999999999999999"}, u"Macro"},
    };
    for (const auto& c : cases) {
        const std::u16string base = c.expected.starts_with(u"New Group") ? u"New Group" : u"Macro";
        EXPECT_EQ(UniqueName(base, c.names), c.expected) << c.names.size();
    }
}

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" in upper-case hexadecimal digits.
bool IsGuidText(const std::string& text) {
    if (text.size() != 36) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const char c = text[i];
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

TEST(NewGuid, GivesDistinctUpperCaseGuids) {
    const Result<std::string> a = NewGuid();
    const Result<std::string> b = NewGuid();
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(IsGuidText(*a)) << *a;
    EXPECT_FALSE(IsGuidText("c0ffee00-1D2B-4C3A-8E4F-5A6B7C8D9E01"));
    EXPECT_NE(*a, *b);
}

}  // namespace
}  // namespace mousecfg
