#include "config/KeyFunction.h"

#include <optional>

#include "config/MouseConfig.h"
#include "config/PresetMacros.h"
#include "device/MacroStream.h"
#include "macro/MacroLookup.h"

namespace mousecfg {
namespace {

enum class Preset { None, ShortCut, OtherKey, OtherKeyMapped, FireKey };

struct BuiltIn {
    int code;
    uint8_t type;
    uint8_t value;
    uint8_t byte2;
    Preset preset = Preset::None;
    int entry = 0;  // entry of the preset list
};

// The built-in functions, codes 0..119. Codes not listed send four zero bytes. Type 0x01 mouse buttons (HID
// button bits), 0x02 keyboard usages, 0x04 consumer usages (low byte, high byte), 0x0A predefined macros
// (repeat mode, then the slot), the other types functions the mouse defines.
constexpr BuiltIn kBuiltIns[] = {
    {1, 0x01, 0x01, 0},    {2, 0x01, 0x04, 0},    {3, 0x01, 0x02, 0},    {4, 0x01, 0x08, 0},
    {5, 0x01, 0x10, 0},    {6, 0x08, 0x03, 0},    {11, 0x08, 0x01, 0},   {12, 0x08, 0x02, 0},
    {10, 0x06, 0x03, 0},   {16, 0x07, 0x04, 0},   {17, 0x07, 0x02, 0},   {20, 0x07, 0x01, 0},
    {21, 0x07, 0x01, 0},   {53, 0x07, 0x03, 0},   {22, 0x09, 0x03, 0},   {50, 0x09, 0x01, 0},
    {51, 0x09, 0x02, 0},   {23, 0x09, 0x04, 0},   {24, 0x09, 0x04, 1},   {25, 0x09, 0x04, 2},
    {26, 0x09, 0x04, 3},   {27, 0x03, 0x01, 0},   {28, 0x03, 0x02, 0},   {52, 0x03, 0x03, 0},
    {56, 0x0B, 0x81, 0},   {57, 0x0B, 0x01, 0},   {58, 0x05, 0x01, 0},   {59, 0x05, 0x81, 0},
    {117, 0x02, 0x4B, 0},  {118, 0x02, 0x4E, 0},  {29, 0x04, 0x23, 0x02}, {30, 0x04, 0x83, 0x01},
    {31, 0x04, 0x8A, 0x01}, {32, 0x04, 0xE9, 0},  {98, 0x04, 0xE9, 0},   {33, 0x04, 0xEA, 0},
    {99, 0x04, 0xEA, 0},   {34, 0x04, 0xB6, 0},   {35, 0x04, 0xB5, 0},   {36, 0x04, 0xE2, 0},
    {37, 0x04, 0xCD, 0},   {38, 0x04, 0x92, 0x01}, {39, 0x04, 0xB7, 0},  {60, 0x04, 0x6F, 0},
    {61, 0x04, 0x70, 0},
    {100, 0x0A, 0x00, 0, Preset::OtherKey, 0},      {101, 0x0A, 0x00, 0, Preset::OtherKeyMapped, 1},
    {102, 0x0A, 0x01, 0, Preset::FireKey, 2},       {111, 0x0A, 0x01, 0, Preset::OtherKeyMapped, 3},
    {103, 0x0A, 0x00, 0, Preset::ShortCut, 0},      {104, 0x0A, 0x00, 0, Preset::ShortCut, 1},
    {105, 0x0A, 0x00, 0, Preset::ShortCut, 2},      {106, 0x0A, 0x00, 0, Preset::ShortCut, 3},
    {107, 0x0A, 0x00, 0, Preset::ShortCut, 4},      {108, 0x0A, 0x00, 0, Preset::ShortCut, 5},
    {109, 0x0A, 0x00, 0, Preset::ShortCut, 6},      {110, 0x0A, 0x00, 0, Preset::ShortCut, 7},
    {112, 0x0A, 0x00, 0, Preset::ShortCut, 8},      {113, 0x0A, 0x00, 0, Preset::ShortCut, 9},
    {114, 0x0A, 0x00, 0, Preset::ShortCut, 10},     {115, 0x0A, 0x00, 0, Preset::ShortCut, 11},
};

const BuiltIn* FindBuiltIn(int code) {
    for (const BuiltIn& row : kBuiltIns) {
        if (row.code == code) {
            return &row;
        }
    }
    return nullptr;
}

// The block a preset row sends, prepared as the mouse expects it; nothing when the list lacks the entry.
std::optional<MacroBlock> PresetBlock(const BuiltIn& row, const PresetMacros& presets, int fireValue) {
    const auto& list = row.preset == Preset::ShortCut ? presets.shortCuts : presets.otherKeys;
    if (row.entry < 0 || static_cast<size_t>(row.entry) >= list.size()) {
        return std::nullopt;
    }
    MacroBlock block = list[static_cast<size_t>(row.entry)].block;
    if (row.preset == Preset::OtherKeyMapped || row.preset == Preset::FireKey) {
        block = MapItemCodes(block);
    }
    if (row.preset == Preset::FireKey) {
        // The fire key clicks as fast as the profile's fire value lets it: every delay grows by that value.
        for (int i = 0; i < block.ItemCount(); ++i) {
            block.macDly[static_cast<size_t>(i)] += fireValue;
        }
    }
    return block;
}

// Sends the macro assignment now and sets the request up for the macro's MacroData write.
EncodedKeyFunction SendMacroAssignment(CommandSet::Session& session, uint8_t repeatMode, int slot,
                                       const MacroBlock& mappedBlock) {
    DeviceRequest& request = session.request();
    request[1] = function::kMacro;
    request[2] = repeatMode;
    request[3] = static_cast<uint8_t>(slot);
    request[4] = 0;
    EncodedKeyFunction encoded{1, true, {function::kMacro, repeatMode, static_cast<uint8_t>(slot), 0}};
    session.DeviceWrite();
    request.type = request::kMacroData;
    request[0] = static_cast<uint8_t>(slot);
    mappedBlock.Serialize(std::span<uint8_t, MacroBlock::kSerializedSize>(
        request.param.data() + DeviceRequest::kMacroBlockAt, MacroBlock::kSerializedSize));
    return encoded;
}

EncodedKeyFunction EncodeUserMacro(CommandSet::Session& session, const KeyFunctionInput& input,
                                   const MacroLookup& macros) {
    const auto found = macros.Find(input.groupGuid, input.macroGuid);
    if (!found || found->block.ItemCount() == 0) {
        return {0, false, {}};
    }
    MacroBlock copy = found->block;
    uint8_t repeatMode = copy.rptType == 0 ? 0 : copy.rptType == 1 ? 1 : 2;
    if (input.extraPosition) {
        repeatMode = 0;  // at the wheel and further positions a macro plays once
        copy.macRpt = 1;
    }
    return SendMacroAssignment(session, repeatMode, input.slot, MapItemCodes(copy));
}

}  // namespace

EncodedKeyFunction EncodeKeyFunction(CommandSet::Session& session, const KeyFunctionInput& input,
                                     const KeyFunctionSources& sources) {
    DeviceRequest& request = session.request();
    for (size_t i = 1; i <= 4; ++i) {
        request[i] = 0;
    }
    if (input.code >= kFirstMacroCode && input.code <= kLastMacroCode) {
        return EncodeUserMacro(session, input, sources.macros);
    }
    if (input.code > kLastMacroCode) {
        const auto usage = static_cast<uint8_t>((input.code - kFirstKeyCode) & 0xFF);
        request[1] = function::kKeyboardKey;
        request[2] = usage;
        return {1, false, {function::kKeyboardKey, usage, 0, 0}};
    }
    const BuiltIn* row = FindBuiltIn(input.code);
    if (row == nullptr) {
        return {1, false, {}};
    }
    if (row->preset == Preset::None) {
        request[1] = row->type;
        request[2] = row->value;
        request[3] = row->byte2;
        return {1, false, {row->type, row->value, row->byte2, 0}};
    }
    const auto block = PresetBlock(*row, sources.presets, input.fireValue);
    if (!block || block->ItemCount() == 0) {
        return {0, false, {}};  // nothing to play: an empty assignment, as for an empty user macro
    }
    return SendMacroAssignment(session, row->value, input.slot, *block);
}

}  // namespace mousecfg
