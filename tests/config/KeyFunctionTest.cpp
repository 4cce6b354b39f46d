#include "config/KeyFunction.h"

#include <gtest/gtest.h>

#include <map>

#include "config/PresetMacros.h"
#include "device/MacroStream.h"
#include "device/ReportTransport.h"
#include "tests/support/FakeHidHandle.h"
#include "tests/support/FakeMacroLookup.h"
#include "tests/support/RecordingPacer.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using Bytes = std::array<uint8_t, 4>;

MacroBlock Block(std::initializer_list<std::tuple<uint8_t, uint8_t, int32_t>> items, uint8_t rptType = 0,
                 uint16_t macRpt = 3) {
    MacroBlock block;
    block.rptType = rptType;
    block.macRpt = macRpt;
    for (const auto& [code, state, delay] : items) {
        const auto i = static_cast<size_t>(block.num++);
        block.macVal[i] = code;
        block.macSta[i] = state;
        block.macDly[i] = delay;
    }
    return block;
}

class KeyFunctionTest : public ::testing::Test {
protected:
    KeyFunctionTest() : transport_(PacingValues::Zero(), pacer_), commands_(transport_) {
        transport_.SetHandles(hid_, nullptr);
        for (int i = 0; i < 12; ++i) {
            presets_.shortCuts.push_back({"S" + std::to_string(i), u"s", Block({{uint8_t(4 + i), 1, 20}})});
        }
        for (int i = 0; i < 4; ++i) {
            presets_.otherKeys.push_back(
                {"O" + std::to_string(i), u"o", Block({{0xF1, 1, 10 + i}, {0xF1, 2, 20 + i}}, 1)});
        }
    }

    EncodedKeyFunction Encode(int code, int slot = 2, bool extra = false, std::string_view group = "",
                              std::string_view macro = "", int fireValue = 0) {
        hid_->ClearSent();
        auto session = commands_.Acquire();
        session->type = extra ? request::kExtraKeyAssignment : request::kKeyAssignment;
        session->param.fill(0xEE);
        session.request()[0] = static_cast<uint8_t>(slot);
        session.request()[8] = extra ? 1 : 0;
        const EncodedKeyFunction encoded =
            EncodeKeyFunction(session, {code, group, macro, slot, extra, fireValue}, {presets_, macros_});
        const Bytes inRequest{session.request()[1], session.request()[2], session.request()[3], session.request()[4]};
        EXPECT_EQ(inRequest, encoded.payload) << "code " << code;
        requestType_ = session->type;
        if (encoded.macroFollows) {
            macroSlot_ = session.request()[0];
            sentBlock_ = MacroBlock::Deserialize(std::span<const uint8_t, MacroBlock::kSerializedSize>(
                session->Bytes(DeviceRequest::kMacroBlockAt, MacroBlock::kSerializedSize),
                MacroBlock::kSerializedSize));
        }
        return encoded;
    }

    test::RecordingPacer pacer_;
    ReportTransport transport_;
    CommandSet commands_;
    std::shared_ptr<test::FakeHidHandle> hid_ = std::make_shared<test::FakeHidHandle>();
    PresetMacros presets_;
    test::FakeMacroLookup macros_;
    uint8_t requestType_ = 0;
    int macroSlot_ = -1;
    MacroBlock sentBlock_;
};

TEST_F(KeyFunctionTest, EveryBuiltInCodeEncodesAsItsTableRow) {
    const std::map<int, Bytes> table = {
        {1, {0x01, 0x01, 0, 0}},    {2, {0x01, 0x04, 0, 0}},    {3, {0x01, 0x02, 0, 0}},    {4, {0x01, 0x08, 0, 0}},
        {5, {0x01, 0x10, 0, 0}},    {6, {0x08, 0x03, 0, 0}},    {11, {0x08, 0x01, 0, 0}},   {12, {0x08, 0x02, 0, 0}},
        {10, {0x06, 0x03, 0, 0}},   {16, {0x07, 0x04, 0, 0}},   {17, {0x07, 0x02, 0, 0}},   {20, {0x07, 0x01, 0, 0}},
        {21, {0x07, 0x01, 0, 0}},   {53, {0x07, 0x03, 0, 0}},   {22, {0x09, 0x03, 0, 0}},   {50, {0x09, 0x01, 0, 0}},
        {51, {0x09, 0x02, 0, 0}},   {23, {0x09, 0x04, 0, 0}},   {24, {0x09, 0x04, 1, 0}},   {25, {0x09, 0x04, 2, 0}},
        {26, {0x09, 0x04, 3, 0}},   {27, {0x03, 0x01, 0, 0}},   {28, {0x03, 0x02, 0, 0}},   {52, {0x03, 0x03, 0, 0}},
        {56, {0x0B, 0x81, 0, 0}},   {57, {0x0B, 0x01, 0, 0}},   {58, {0x05, 0x01, 0, 0}},   {59, {0x05, 0x81, 0, 0}},
        {117, {0x02, 0x4B, 0, 0}},  {118, {0x02, 0x4E, 0, 0}},  {29, {0x04, 0x23, 2, 0}},   {30, {0x04, 0x83, 1, 0}},
        {31, {0x04, 0x8A, 1, 0}},   {32, {0x04, 0xE9, 0, 0}},   {98, {0x04, 0xE9, 0, 0}},   {33, {0x04, 0xEA, 0, 0}},
        {99, {0x04, 0xEA, 0, 0}},   {34, {0x04, 0xB6, 0, 0}},   {35, {0x04, 0xB5, 0, 0}},   {36, {0x04, 0xE2, 0, 0}},
        {37, {0x04, 0xCD, 0, 0}},   {38, {0x04, 0x92, 1, 0}},   {39, {0x04, 0xB7, 0, 0}},   {60, {0x04, 0x6F, 0, 0}},
        {61, {0x04, 0x70, 0, 0}},
        // Predefined macros: type 0x0A, the repeat mode, the slot (2).
        {100, {0x0A, 0, 2, 0}},     {101, {0x0A, 0, 2, 0}},     {102, {0x0A, 1, 2, 0}},     {111, {0x0A, 1, 2, 0}},
        {103, {0x0A, 0, 2, 0}},     {104, {0x0A, 0, 2, 0}},     {105, {0x0A, 0, 2, 0}},     {106, {0x0A, 0, 2, 0}},
        {107, {0x0A, 0, 2, 0}},     {108, {0x0A, 0, 2, 0}},     {109, {0x0A, 0, 2, 0}},     {110, {0x0A, 0, 2, 0}},
        {112, {0x0A, 0, 2, 0}},     {113, {0x0A, 0, 2, 0}},     {114, {0x0A, 0, 2, 0}},     {115, {0x0A, 0, 2, 0}},
    };
    for (int code = -1; code < 120; ++code) {
        const auto row = table.find(code);
        const Bytes expected = row != table.end() ? row->second : Bytes{};
        const EncodedKeyFunction encoded = Encode(code);
        EXPECT_EQ(encoded.payload, expected) << "code " << code;
        EXPECT_EQ(encoded.result, 1) << "code " << code;
        const bool macro = expected[0] == 0x0A;
        EXPECT_EQ(encoded.macroFollows, macro) << "code " << code;
        EXPECT_EQ(hid_->SentFrames().size(), macro ? 1u : 0u) << "code " << code << ": only macros send at once";
        EXPECT_EQ(requestType_, macro ? request::kMacroData : request::kKeyAssignment) << "code " << code;
    }
    EXPECT_EQ(Encode(264).payload, (Bytes{0x02, 0x08, 0, 0}));
    EXPECT_EQ(Encode(256 + 0xE7).payload, (Bytes{0x02, 0xE7, 0, 0}));
}

TEST_F(KeyFunctionTest, PresetMacrosAreCopiedFromTheirListEntry) {
    Encode(110, 5);
    EXPECT_EQ(macroSlot_, 5);
    EXPECT_EQ(sentBlock_, presets_.shortCuts[7].block) << "shortcuts are sent as stored";
    Encode(113);
    EXPECT_EQ(sentBlock_, presets_.shortCuts[9].block);
    Encode(100);
    EXPECT_EQ(sentBlock_, presets_.otherKeys[0].block) << "entry 0 is sent as stored";
    Encode(111);
    EXPECT_EQ(sentBlock_, MapItemCodes(presets_.otherKeys[3].block)) << "mouse buttons in the mouse's codes";
    EXPECT_EQ(sentBlock_.macVal[0], 0xE8);
    const auto frames = hid_->SentFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].code, 0x04);
    EXPECT_EQ(frames[0].offset, 8) << "slot 2";
}

TEST_F(KeyFunctionTest, TheFireKeyAddsTheFireValueToEveryDelay) {
    Encode(102, 3, false, "", "", 30);
    const MacroBlock expected = MapItemCodes(presets_.otherKeys[2].block);
    EXPECT_EQ(sentBlock_.macDly[0], expected.macDly[0] + 30);
    EXPECT_EQ(sentBlock_.macDly[1], expected.macDly[1] + 30);
    EXPECT_EQ(sentBlock_.macDly[2], 0) << "only the macro's items";
}

TEST_F(KeyFunctionTest, AMissingOrEmptyPresetSendsAnEmptyAssignment) {
    presets_.otherKeys.resize(1);
    presets_.shortCuts[0].block = MacroBlock{};
    for (const int code : {101, 102, 111, 103}) {
        const EncodedKeyFunction encoded = Encode(code);
        EXPECT_EQ(encoded.result, 0) << code;
        EXPECT_EQ(encoded.payload, Bytes{}) << code;
        EXPECT_FALSE(encoded.macroFollows) << code;
        EXPECT_TRUE(hid_->SentFrames().empty()) << code;
    }
}

TEST_F(KeyFunctionTest, UserMacrosCarryTheirLoopModeAndSlot) {
    const MacroBlock stored = Block({{0xF2, 1, 5}, {0x04, 2, 300}}, 5, 7);
    macros_.macros[{"G", "M"}] = FoundMacro{u"m", stored};
    const EncodedKeyFunction encoded = Encode(120, 2, false, "G", "M");
    EXPECT_EQ(encoded.payload, (Bytes{0x0A, 0x02, 0x02, 0x00}));
    EXPECT_EQ(encoded.result, 1);
    EXPECT_EQ(macroSlot_, 2);
    EXPECT_EQ(sentBlock_, MapItemCodes(stored));

    // The request then writes the macro into macro number 2.
    hid_->ClearSent();
    {
        auto session = commands_.Acquire();
        EncodeKeyFunction(session, {120, "G", "M", 2, false, 0}, {presets_, macros_});
        hid_->ClearSent();
        EXPECT_EQ(session.DeviceWrite(), 1);
    }
    const auto frames = hid_->SentFrames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames[0].code, 0x08);
    EXPECT_EQ(frames[0].index, 2);

    for (const auto& [rptType, mode] : std::vector<std::pair<uint8_t, uint8_t>>{{0, 0}, {1, 1}, {2, 2}}) {
        macros_.macros[{"G", "M"}].block.rptType = rptType;
        EXPECT_EQ(Encode(250, 4, false, "G", "M").payload, (Bytes{0x0A, mode, 4, 0})) << int(rptType);
    }
}

TEST_F(KeyFunctionTest, MacrosOnExtraPositionsPlayOnce) {
    macros_.macros[{"G", "M"}] = FoundMacro{u"m", Block({{0x04, 1, 5}}, 1, 9)};
    EXPECT_EQ(Encode(120, 16, true, "G", "M").payload, (Bytes{0x0A, 0x00, 16, 0x00}));
    EXPECT_EQ(sentBlock_.macRpt, 1);
}

TEST_F(KeyFunctionTest, EmptyOrMissingUserMacrosSendNothing) {
    macros_.macros[{"G", "Empty"}] = FoundMacro{u"e", MacroBlock{}};
    for (const auto& macro : {"Empty", "Gone"}) {
        const EncodedKeyFunction encoded = Encode(120, 2, false, "G", macro);
        EXPECT_EQ(encoded.result, 0) << macro;
        EXPECT_EQ(encoded.payload, Bytes{}) << macro;
        EXPECT_FALSE(encoded.macroFollows) << macro;
        EXPECT_TRUE(hid_->SentFrames().empty()) << macro;
    }
}

TEST(PresetMacros, ShippedFilesHoldTwelveShortcutsAndFourFurtherFunctions) {
    PresetMacros presets;
    ASSERT_TRUE(LoadPresetMacros(presets, test::TestDataPath("../../res/VeruzUrir")));
    ASSERT_EQ(presets.shortCuts.size(), 12u);
    ASSERT_EQ(presets.otherKeys.size(), 4u);
    for (const auto& macro : presets.shortCuts) {
        EXPECT_GT(macro.block.ItemCount(), 0);
        EXPECT_EQ(macro.block.macRpt, 1);
    }
    EXPECT_EQ(presets.otherKeys[2].block.macVal[0], 0xF1) << "the fire key clicks the left button";
    EXPECT_EQ(presets.otherKeys[2].block.rptType, 1) << "while the button is held";
}

TEST(PresetMacros, BrokenFilesLeaveTheirListEmpty) {
    test::TempDir dir;
    dir.Write("ShortCutMac.json", R"({"MacroInfo": [{"MacroGuid": "x", "MacroName": [65]}]})");
    dir.Write("OtherKeyMac.json", "{");
    PresetMacros presets;
    presets.shortCuts.resize(3);
    EXPECT_FALSE(LoadPresetMacros(presets, dir.path()));
    EXPECT_TRUE(presets.shortCuts.empty());
    EXPECT_TRUE(presets.otherKeys.empty());
}

}  // namespace
}  // namespace mousecfg
