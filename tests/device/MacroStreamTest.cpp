#include "device/MacroStream.h"

#include <gtest/gtest.h>

#include "device/CommandSet.h"
#include "device/ReportTransport.h"
#include "tests/support/FakeHidHandle.h"
#include "tests/support/RecordingPacer.h"

namespace mousecfg {
namespace {

using Bytes = std::vector<uint8_t>;

struct Item {
    uint8_t code;
    uint8_t state;
    int32_t delay;
    uint16_t x = 0;
    uint16_t y = 0;
};

MacroBlock Block(const std::vector<Item>& items, uint16_t repeat = 1) {
    MacroBlock block;
    block.macRpt = repeat;
    block.num = static_cast<uint16_t>(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        block.macVal[i] = items[i].code;
        block.macSta[i] = items[i].state;
        block.macDly[i] = items[i].delay;
        block.extVal[i] = {items[i].x, items[i].y};
    }
    return block;
}

Bytes Items(const MacroBlock& block) {
    const auto image = EncodeMacro(MapItemCodes(block));
    EXPECT_TRUE(image.has_value());
    return image ? Bytes(image->begin() + 4, image->end()) : Bytes{};
}

TEST(MacroStream, ItemEncodingsByKindAndDelay) {
    struct Case {
        const char* name;
        Item item;
        Bytes bytes;
    };
    const std::vector<Case> cases = {
        {"press A, 20 ms", {0x04, 1, 20}, {0x04, 0x14}},
        {"release A, 20 ms", {0x04, 2, 20}, {0x04, 0x94}},
        {"press, 127 ms still short", {0x04, 1, 127}, {0x04, 0x7F}},
        {"press, 128 ms long", {0x04, 1, 128}, {0x04, 0x7F, 0xFF, 0x01, 0x00, 0x00}},
        {"release, 128 ms long", {0x04, 2, 128}, {0x04, 0xFF, 0xFF, 0x01, 0x00, 0x00}},
        {"left button press", {0xF1, 1, 10}, {0xE8, 0x0A}},
        {"middle button release", {0xF2, 2, 10}, {0xEA, 0x8A}},
        {"right, 4, 5", {0xF3, 1, 0}, {0xE9, 0x00}},
        {"button 5 press", {0xF5, 1, 0}, {0xEC, 0x00}},
        {"move left and up", {0xF6, 3, 5, 10, 20}, {0xFE, 0x05, 0xF6, 0xFF, 0xEC, 0xFF}},
        {"move right and down, long", {0xF6, 6, 300, 1, 2}, {0xFE, 0xFF, 1, 0, 2, 0, 0xFF, 0x2D, 0, 0}},
        {"move left and down", {0xF6, 4, 0, 1, 1}, {0xFE, 0x00, 0xFF, 0xFF, 1, 0}},
        {"move right and up", {0xF6, 5, 0, 1, 1}, {0xFE, 0x00, 1, 0, 0xFF, 0xFF}},
        {"DPI switch, 300 ms", {0xF8, 1, 300, 0x07}, {0xFD, 0x07, 0x00, 0xFF, 0xFF, 0x2D, 0x00, 0x00}},
        {"DPI switch, 255 ms", {0xF8, 1, 255, 0x07}, {0xFD, 0x07, 0x00, 0xFF}},
        {"negative delay counts as 0", {0x05, 1, -40}, {0x05, 0x00}},
        {"huge delay is cut to the format's maximum", {0x05, 1, 0x7FFFFFFF}, {0x05, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Items(Block({c.item})), c.bytes) << c.name;
    }
}

TEST(MacroStream, HeaderHoldsRepeatCountAndItemByteCount) {
    const auto image = EncodeMacro(MapItemCodes(Block({{0x04, 1, 20}}, 1)));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(*image, (Bytes{0x01, 0x00, 0x02, 0x00, 0x04, 0x14}));
    const auto empty = EncodeMacro(Block({}, 3));
    EXPECT_EQ(*empty, (Bytes{0x03, 0x00, 0x00, 0x00}));
}

TEST(MacroStream, ItemsWithoutDeviceEncodingAreSkippedAndTheirDelayKept) {
    // press A 20, pure delay 100, wheel 7, release A 20: the release still comes 127 ms after the press.
    const auto block = Block({{0x04, 1, 20}, {0x00, 0, 100}, {0xF7, 1, 7}, {0x04, 2, 20}});
    EXPECT_EQ(Items(block), (Bytes{0x04, 0x7F, 0x04, 0x94}));
    // A delay before the first encodable item has nothing to join and is dropped.
    EXPECT_EQ(Items(Block({{0x00, 0, 50}, {0xFF, 1, 5}, {0x04, 1, 1}})), (Bytes{0x04, 0x01}));
}

TEST(MacroStream, MappingTouchesOnlyTheFirstNumItemsOfACopy) {
    auto block = Block({{0xF1, 1, 0}});
    block.macVal[1] = 0xF6;  // beyond num
    const auto mapped = MapItemCodes(block);
    EXPECT_EQ(mapped.macVal[0], 0xE8);
    EXPECT_EQ(mapped.macVal[1], 0xF6);
    EXPECT_EQ(block.macVal[0], 0xF1);
}

TEST(MacroStream, ANumBeyondTheArraysIsLimitedTo500Items) {
    MacroBlock block;
    block.num = 60000;
    block.macVal.fill(0x04);
    block.macSta.fill(1);
    EXPECT_FALSE(EncodeMacro(block).has_value()) << "1000 item bytes exceed the image";
    block.macVal.fill(0x00);
    block.macVal[499] = 0x04;
    const auto image = EncodeMacro(block);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), 6u);
}

TEST(MacroStream, BlockSurvivesItsDeviceRequestLayout) {
    auto block = Block({{0xF6, 3, 70000, 10, 20}, {0x04, 2, -5}}, 9);
    block.rptType = 2;
    block.numXY = 1;
    block.numLed = 3;
    block.yStep = 4;
    std::array<uint8_t, MacroBlock::kSerializedSize> bytes{};
    block.Serialize(bytes);
    EXPECT_EQ(bytes[60], 2);
    EXPECT_EQ(bytes[62], 9);
    EXPECT_EQ(bytes[64], 2);
    EXPECT_EQ(bytes[82], 3);    // macSta[0]
    EXPECT_EQ(bytes[582], 0xF6);  // macVal[0]
    EXPECT_EQ(bytes[1082], 10);  // extVal[0].x
    EXPECT_EQ(bytes[3084], 0x70);  // macDly[0] = 70000 = 0x11170
    EXPECT_EQ(MacroBlock::Deserialize(bytes), block);
}

class MacroWriteTest : public ::testing::Test {
protected:
    MacroWriteTest() : transport_(PacingValues::Zero(), pacer_) { transport_.SetHandles(hid_, nullptr); }

    test::RecordingPacer pacer_;
    ReportTransport transport_;
    std::shared_ptr<test::FakeHidHandle> hid_ = std::make_shared<test::FakeHidHandle>();
};

TEST_F(MacroWriteTest, ImageIsSentInPagesOf32BytesUpTo512) {
    // 254 short key items make a 512-byte image: 16 full pages.
    std::vector<Item> items(254, Item{0x04, 1, 1});
    EXPECT_EQ(WriteMacro(transport_, 15, MapItemCodes(Block(items))), 1);
    const auto frames = hid_->SentFrames();
    ASSERT_EQ(frames.size(), 16u);
    for (size_t page = 0; page < frames.size(); ++page) {
        EXPECT_EQ(frames[page].code, 0x08);
        EXPECT_EQ(frames[page].index, 15);
        EXPECT_EQ(frames[page].offset, 32 * page);
        EXPECT_EQ(frames[page].length, 32);
    }
    EXPECT_EQ(frames[0].data[2], 0xFC);  // 508 item bytes
    EXPECT_EQ(frames[0].data[3], 0x01);

    hid_->ClearSent();
    items.push_back({0x00, 0, 0});
    items.back() = {0x04, 1, 200};  // 4 more bytes: 516
    EXPECT_EQ(WriteMacro(transport_, 1, MapItemCodes(Block(items))), -1);
    EXPECT_TRUE(hid_->Sent().empty());
}

TEST_F(MacroWriteTest, AnEmptyMacroIsOneFourBytePageAndSlot16IsRefused) {
    EXPECT_EQ(WriteMacro(transport_, 0, Block({})), 1);
    ASSERT_EQ(hid_->SentFrames().size(), 1u);
    EXPECT_EQ(hid_->SentFrames()[0].length, 4);
    EXPECT_EQ(hid_->SentFrames()[0].data[2], 0);
    EXPECT_EQ(hid_->SentFrames()[0].data[3], 0);
    EXPECT_EQ(WriteMacro(transport_, 16, Block({})), 0);
    EXPECT_EQ(WriteMacro(transport_, -1, Block({})), 0);
    EXPECT_EQ(hid_->Sent().size(), 1u);
}

TEST_F(MacroWriteTest, MacroDataRequestTakesTheBlockFromTheParameterArea) {
    CommandSet commands(transport_);
    auto session = commands.Acquire();
    session->Clear();
    session->type = request::kMacroData;
    session.request()[0] = 3;
    MapItemCodes(Block({{0x04, 1, 20}, {0x04, 2, 20}}, 2))
        .Serialize(std::span<uint8_t, MacroBlock::kSerializedSize>(&session.request()[DeviceRequest::kMacroBlockAt],
                                                                   MacroBlock::kSerializedSize));
    EXPECT_EQ(session.DeviceWrite(), 1);
    const auto frames = hid_->SentFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].index, 3);
    EXPECT_EQ(std::vector<uint8_t>(frames[0].data.begin(), frames[0].data.begin() + frames[0].length),
              (Bytes{0x02, 0x00, 0x04, 0x00, 0x04, 0x14, 0x04, 0x94}));
}

}  // namespace
}  // namespace mousecfg
