#include "device/BleReplyDecoder.h"

#include <array>
#include <string>

#include "device/CommandFrame.h"
#include "device/CommandSet.h"
#include "device/ConnectionState.h"
#include "device/DeviceStateModel.h"
#include "device/HexText.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

constexpr size_t kLengthAt = 1 + CommandFrame::kLengthAt;  // report byte 8
constexpr size_t kDataAt = 1 + CommandFrame::kDataAt;      // report byte 9
constexpr uint8_t kChargingBit = 0x80;
constexpr int kProfiles = 4;
constexpr int kDpiLevels = 8;
constexpr int kLightColours = 7;
constexpr int kFirstLightingMode = 129;
constexpr int kLastLightingMode = 137;
constexpr int kBrightnessSteps = 6;

bool IsProfileTags(uint8_t type, uint8_t subtype) {
    return type == request::kSystemSetting && subtype == request::kProfileTag;
}

}  // namespace

BleReplyDecoder::BleReplyDecoder(CommandSet& commands, DeviceStateModel& model, ConnectionState& state)
    : commands_(commands), model_(model), state_(state) {}

size_t BleReplyDecoder::DataNeeded(uint8_t readType, uint8_t subtype, uint8_t part) {
    switch (readType) {
        case request::kReadDeviceInfo:
            return 3;
        case request::kSystemSetting:
            return IsProfileTags(readType, subtype) ? 8 : 1;
        case request::kDpiTable:
            return 20;
        case request::kLightEffect:
            return part == request::kLightRecord ? 25 : 3;
        default:
            return 0;
    }
}

BleMessageOutcome BleReplyDecoder::Decode(uintptr_t code, std::string_view text, uint8_t& storedVariant) {
    const auto type = static_cast<uint8_t>(code & 0x0F);
    const auto bytes = ParseHexText(text);
    if (!bytes || bytes->size() <= kLengthAt || (*bytes)[kLengthAt] == 0) {
        trace::Printf("BLE reply %#x ignored: not a reply with data\n", static_cast<unsigned>(code));
        return {};
    }
    // Which reply of types 2 and 9 this is: the reply's own header, which echoes its request's index and offset,
    // tells it; where it does not (a mouse that does not echo, or a lighting reply at offset 0), the copy of the
    // last BLE read of that type does. The request block is no guide: replies come back asynchronously, the block
    // may already name a later request, and while an apply run holds it the main thread must not wait for it.
    const ReplyKind kind = IdentifyReply(type, *bytes);
    const size_t needed = DataNeeded(type, kind.subtype, kind.part);
    if (needed == 0 || (*bytes)[kLengthAt] < needed || bytes->size() < kDataAt + needed) {
        trace::Printf("BLE reply %#x ignored: %zu bytes\n", static_cast<unsigned>(code), bytes->size());
        return {};
    }
    const uint8_t* d = bytes->data() + kDataAt;
    switch (type) {
        case request::kReadDeviceInfo:
            return DeviceInfo(d, storedVariant);
        case request::kSystemSetting:
            if (kind.subtype == request::kProfileTag) {
                std::array<uint16_t, kProfiles> tags{};
                for (size_t k = 0; k < tags.size(); ++k) {
                    tags[k] = static_cast<uint16_t>(d[2 * k] << 8 | d[2 * k + 1]);
                }
                model_.SetMouseProfileTags(tags);
            } else if (kind.subtype == request::kActiveProfile) {
                model_.SetCurrentProfileFromMouse(d[0] > 3 ? 0 : d[0]);
            }
            return {};
        case request::kDpiTable:
            DpiTable(d);
            return {};
        case request::kLightEffect:
            if (kind.part == request::kLightHeader) {
                // The header names the mode; its effect record is asked for at once, or as soon as the run that
                // holds the request block has ended.
                deferredRecordMode_ = LightingHeader(d);
                if (auto session = commands_.TryAcquire()) {
                    ReadLightingRecord(*session);
                }
            } else if (kind.part == request::kLightRecord) {
                LightingRecord(d);
            }
            return {};
        default:
            return {};
    }
}

BleReplyDecoder::ReplyKind BleReplyDecoder::IdentifyReply(uint8_t type, const std::vector<uint8_t>& reply) const {
    const uint8_t index = reply[1 + CommandFrame::kIndexAt];
    const size_t offsetAt = 1 + CommandFrame::kOffsetLowAt;
    const bool atStart = reply[offsetAt] == 0 && reply[offsetAt + 1] == 0;
    const CommandSet::BleReadKind last = commands_.LastBleRead(type);
    ReplyKind kind;
    kind.subtype = index == request::kProfileTag || index == request::kActiveProfile ? index : last.subtype;
    // Only the header lives at offset 0, but a reply without an echo shows offset 0 too.
    if (!atStart) {
        kind.part = request::kLightRecord;
    } else {
        kind.part = last.part != 0 ? last.part : request::kLightHeader;
    }
    return kind;
}

void BleReplyDecoder::RunDeferredReads() {
    if (!deferredRecordMode_) {
        return;
    }
    if (auto session = commands_.TryAcquire()) {
        ReadLightingRecord(*session);
    }
}

void BleReplyDecoder::ReadLightingRecord(CommandSet::Session& session) {
    if (!deferredRecordMode_) {
        return;
    }
    session->param[0] = *deferredRecordMode_;
    session->type = request::kLightEffect;
    session->part = request::kLightRecord;
    deferredRecordMode_.reset();
    session.DeviceRead();
}

BleMessageOutcome BleReplyDecoder::DeviceInfo(const uint8_t* d, uint8_t& storedVariant) {
    BleMessageOutcome outcome;
    if (d[2] != storedVariant) {
        storedVariant = d[2];
        outcome.reloadConfiguration = true;
    }
    outcome.charging = (d[1] & kChargingBit) != 0;
    if (state_.batteryPending.exchange(false)) {
        outcome.battery = MakeBatteryDisplay(d[1], true);
    }
    return outcome;
}

void BleReplyDecoder::DpiTable(const uint8_t* d) {
    std::array<DpiLevelReading, kDpiLevels> levels{};
    const auto multipliers = static_cast<uint16_t>(d[18] | d[19] << 8);
    for (size_t k = 0; k < levels.size(); ++k) {
        levels[k].enabled = ((d[0] >> k) & 1) != 0;
        levels[k].sensorValue = static_cast<uint16_t>(d[2 + 2 * k] | d[3 + 2 * k] << 8);
        levels[k].multiplier = (multipliers >> (2 * k)) & 3;
    }
    model_.SetDpiLevelsFromMouse(d[1] - 1, levels);
}

uint8_t BleReplyDecoder::LightingHeader(const uint8_t* d) {
    uint8_t mode = d[0];
    if (mode > kLastLightingMode) {
        mode = static_cast<uint8_t>(mode & ~0x40);
    }
    if (mode >= kFirstLightingMode && mode <= kLastLightingMode) {
        model_.BeginLightingRead(mode, static_cast<uint16_t>(d[1] + 256 * d[2]));
    }
    return mode;
}

void BleReplyDecoder::LightingRecord(const uint8_t* d) {
    if (d[0] < 1 || d[0] > 7) {
        return;  // no effect record: the mode has no speed
    }
    LightingRecordReading record;
    record.speed = d[0];
    record.direction = d[1];
    record.brightness = kBrightnessSteps - d[2];
    for (size_t k = 0; k < kLightColours; ++k) {
        record.colourEnabled[k] = ((d[3] >> k) & 1) != 0;
        const uint8_t* triple = d + 4 + 3 * k;
        // The record holds each colour as the device image laid it out; the configuration keeps 0xFFRRGGBB.
        record.colours[k] =
            0xFF000000u | static_cast<uint32_t>(triple[1]) << 16 | static_cast<uint32_t>(triple[0]) << 8 | triple[2];
    }
    model_.SetLightingRecord(record);
}

}  // namespace mousecfg
