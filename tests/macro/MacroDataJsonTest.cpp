#include "macro/MacroDataJson.h"

#include <gtest/gtest.h>

namespace mousecfg {
namespace {

using json = nlohmann::json;

json MacData(int num) {
    return json{{"rptType", 1}, {"macRpt", 3},   {"num", num}, {"numXY", 0},   {"numWhl", 0},
                {"numCpi", 0},  {"numMedia", 0}, {"numLed", 0}, {"YStepEn", 0}, {"YStep", 0},
                {"macSta", json::array()}, {"macVal", json::array()}, {"extVal", json::array()},
                {"macDly", json::array()}};
}

TEST(MacroDataJson, RoundTripWritesAllFiveHundredEntries) {
    MacroBlock block;
    block.rptType = 2;
    block.macRpt = 7;
    block.num = 1;
    block.numXY = 1;
    block.macVal[0] = 0xF6;
    block.macSta[0] = 3;
    block.extVal[0] = {10, 20};
    block.macDly[0] = 70000;
    const json written = MacroBlockToJson(block);
    EXPECT_EQ(written.size(), 14u);
    for (const char* key : {"macSta", "macVal", "extVal", "macDly"}) {
        EXPECT_EQ(written[key].size(), 500u) << key;
    }
    EXPECT_EQ(written["extVal"][0], json({10, 20}));
    const auto read = MacroBlockFromJson(json::parse(written.dump(4)));
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(*read, block);
}

TEST(MacroDataJson, ShortArraysFillWithZerosAndLongOnesStopAt500) {
    json data = MacData(600);
    data["macVal"] = {4, 5};
    data["macSta"] = json::array();
    for (int i = 0; i < 700; ++i) {
        data["macSta"].push_back(1);
    }
    const auto read = MacroBlockFromJson(data);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(read->num, 600);
    EXPECT_EQ(read->ItemCount(), 500);
    EXPECT_EQ(read->macVal[1], 5);
    EXPECT_EQ(read->macVal[2], 0);
    EXPECT_EQ(read->macSta[499], 1);
}

TEST(MacroDataJson, NumbersOfAnyKindAreNarrowedToTheFieldWidth) {
    json data = MacData(1);
    data["rptType"] = 258;       // u8 keeps the low byte
    data["macRpt"] = 2.9;        // truncated toward zero
    data["numLed"] = true;
    data["macDly"] = {-1.5, 1e300, -1e300};
    data["macVal"] = {-1};
    const auto read = MacroBlockFromJson(data);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(read->rptType, 2);
    EXPECT_EQ(read->macRpt, 2);
    EXPECT_EQ(read->numLed, 1);
    EXPECT_EQ(read->macDly[0], -1);
    EXPECT_EQ(read->macVal[0], 0xFF);
}

TEST(MacroDataJson, WrongTypesAndMissingKeysFailWithTheLibraryText) {
    json data = MacData(1);
    data["num"] = "three";
    auto read = MacroBlockFromJson(data);
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.message().find("type must be number, but is string"), std::string::npos) << read.message();

    data = MacData(1);
    data.erase("macDly");
    EXPECT_FALSE(MacroBlockFromJson(data).ok());
    data = MacData(1);
    data["extVal"] = {7};
    EXPECT_FALSE(MacroBlockFromJson(data).ok());
    EXPECT_FALSE(MacroBlockFromJson(json::array()).ok());
}

}  // namespace
}  // namespace mousecfg
