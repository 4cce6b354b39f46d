#include "device/CommandSet.h"

#include <array>

#include "device/BleLink.h"
#include "device/MacroStream.h"
#include "device/ReportTransport.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

// Command codes; reads use the same code with bit 7 set.
constexpr uint8_t kCodeDeviceInfo = 0x81;
constexpr uint8_t kCodeSystem = 0x02;
constexpr uint8_t kCodeRate = 0x03;
constexpr uint8_t kCodeKey = 0x04;
constexpr uint8_t kCodeExtraKey = 0x05;
constexpr uint8_t kCodeDpiTable = 0x06;
constexpr uint8_t kCodeDpiColours = 0x07;
constexpr uint8_t kCodeLight = 0x09;
constexpr uint8_t kCodeOption = 0x0A;

constexpr int kKeySlots = 16;
constexpr int kExtraKeySlots = 4;
constexpr int kProfileTags = 4;
constexpr uint8_t kLightRecordSize = 25;
constexpr uint8_t kLightModeBits = 0x3F;  // the mode byte without the power-save flag (bit 6)
constexpr int kDpiLevels = 8;
constexpr int kLightColours = 7;

// A 24-bit colour travels as bits 8..15, 0..7, 16..23: the mouse receives green, red, blue.
void PutColour(uint8_t* out, uint32_t value) {
    out[0] = static_cast<uint8_t>((value >> 8) & 0xFF);
    out[1] = static_cast<uint8_t>(value & 0xFF);
    out[2] = static_cast<uint8_t>((value >> 16) & 0xFF);
}

uint32_t GetColour(const uint8_t* in) {
    return static_cast<uint32_t>(in[2]) << 16 | static_cast<uint32_t>(in[0]) << 8 | in[1];
}

const uint8_t* ReplyData(const FeatureReport& reply) { return reply.data() + 1 + CommandFrame::kDataAt; }

template <typename Call>
int GuardBle(const char* what, Call call) {
    try {
        return call();
    } catch (const BleError& error) {
        trace::Printf("%s: %s\n", what, error.what());
        return 0;
    }
}

}  // namespace

CommandSet::CommandSet(ReportTransport& transport) : transport_(transport) {}

CommandSet::Session CommandSet::Acquire() { return Session(this, std::unique_lock<std::mutex>(busy_)); }

std::optional<CommandSet::Session> CommandSet::TryAcquire() {
    std::unique_lock<std::mutex> lock(busy_, std::try_to_lock);
    if (!lock.owns_lock()) {
        return std::nullopt;
    }
    return Session(this, std::move(lock));
}

int CommandSet::Session::DeviceWrite() {
    return GuardBle("DeviceWrite", [this] { return set_->Write(set_->request_); });
}

int CommandSet::Session::DeviceRead() {
    return GuardBle("DeviceRead", [this] { return set_->Read(set_->request_); });
}

int CommandSet::Write(DeviceRequest& r) {
    switch (r.type) {
        case request::kBleRegister: {
            BleLink* link = UsableLink();
            if (link == nullptr) {
                return 0;
            }
            const HResult result =
                link->RegisterDevices(r.bleDeviceString, r.bleWindow, static_cast<int>(r.U32(8)));
            if (Failed(result)) {
                throw BleError(result);
            }
            return 0;
        }
        case request::kBleQuery: {
            BleLink* link = UsableLink();
            if (link == nullptr) {
                return 0;
            }
            int16_t status = 0;
            const HResult result = link->QueryStatus(&status);
            if (Failed(result)) {
                throw BleError(result);
            }
            return status;
        }
        case request::kSystemSetting:
            return WriteSystemSetting(r);
        case request::kReportRate:
            return transport_.SendCommand(kCodeRate, 0, 0, 1, r.Bytes(0, 1));
        case request::kKeyAssignment:
        case request::kExtraKeyAssignment: {
            const int slot = r[0];
            const bool extra = r[8] != 0;
            if (slot >= (extra ? kExtraKeySlots : kKeySlots)) {
                return 0;
            }
            return transport_.SendCommand(extra ? kCodeExtraKey : kCodeKey, 0, static_cast<uint16_t>(4 * slot), 4,
                                          r.Bytes(1, 4));
        }
        case request::kDpiTable: {
            std::array<uint8_t, 20> data{};
            data[0] = r[0];
            data[1] = r[36];
            for (int level = 0; level < kDpiLevels; ++level) {
                const uint32_t value = r.U32(4 + 4 * static_cast<size_t>(level));
                data[2 + 2 * level] = static_cast<uint8_t>(value & 0xFF);
                data[3 + 2 * level] = static_cast<uint8_t>((value >> 8) & 0xFF);
            }
            const uint32_t multipliers = r.U32(40);
            data[18] = static_cast<uint8_t>(multipliers & 0xFF);
            data[19] = static_cast<uint8_t>((multipliers >> 8) & 0xFF);
            return transport_.SendCommand(kCodeDpiTable, 0, 0, static_cast<uint8_t>(data.size()), data.data());
        }
        case request::kDpiColours: {
            std::array<uint8_t, 24> data{};
            for (int level = 0; level < kDpiLevels; ++level) {
                PutColour(&data[3 * static_cast<size_t>(level)], r.U32(4 * static_cast<size_t>(level)));
            }
            return transport_.SendCommand(kCodeDpiColours, 0, 0, static_cast<uint8_t>(data.size()), data.data());
        }
        case request::kMacroData: {
            const auto block = MacroBlock::Deserialize(
                std::span<const uint8_t, MacroBlock::kSerializedSize>(
                    r.Bytes(DeviceRequest::kMacroBlockAt, MacroBlock::kSerializedSize), MacroBlock::kSerializedSize));
            return WriteMacro(transport_, r[0], block);
        }
        case request::kLightEffect:
            return WriteLightEffect(r);
        case request::kDeviceOption:
            switch (r.subtype) {
                case 1: return transport_.SendCommand(kCodeOption, 1, 0, 1, r.Bytes(0, 1));
                case 2: return transport_.SendCommand(kCodeOption, 2, 0, 1, r.Bytes(1, 1));
                case 6: return transport_.SendCommand(kCodeOption, 6, 0, 1, r.Bytes(5, 1));
                default: return 0;
            }
        default:
            return 0;
    }
}

BleLink* CommandSet::UsableLink() const {
    if (transport_.BleStatus() != 0) {
        return nullptr;  // no BLE link on this system: BLE requests do nothing
    }
    BleLink* link = transport_.Link();
    if (link == nullptr) {
        throw BleError(kE_POINTER);
    }
    return link;
}

int CommandSet::WriteSystemSetting(const DeviceRequest& r) {
    switch (r.subtype) {
        case request::kProfileTag: {
            const int k = r[0];
            if (k >= kProfileTags) {
                return 0;  // the mouse keeps four tags; anything else would land outside its table
            }
            const uint16_t tag = r.U16(2 + 2 * static_cast<size_t>(k));
            const std::array<uint8_t, 2> data{static_cast<uint8_t>(tag >> 8), static_cast<uint8_t>(tag & 0xFF)};
            return transport_.SendCommand(kCodeSystem, request::kProfileTag, static_cast<uint16_t>(2 * k), 2,
                                          data.data());
        }
        case request::kActiveProfile:
            return transport_.SendCommand(kCodeSystem, request::kActiveProfile, 0, 1, r.Bytes(0, 1));
        case request::kSleepTime:
            return transport_.SendCommand(kCodeSystem, request::kSleepTime, 0, 2, r.Bytes(10, 2));
        case request::kPowerDownTime:
            // The mouse answers index 4 with this value (u16 LE seconds), so the write carries it the same way.
            return transport_.SendCommand(kCodeSystem, request::kPowerDownTime, 0, 2, r.Bytes(12, 2));
        case request::kSensorFlags:
            return transport_.SendCommand(kCodeSystem, request::kSensorFlags, 0, 1, r.Bytes(14, 1));
        case request::kLiftOff:
            return transport_.SendCommand(kCodeSystem, request::kLiftOff, 0, 1, r.Bytes(15, 1));
        default:
            return 0;
    }
}

int CommandSet::WriteLightEffect(const DeviceRequest& r) {
    std::array<uint8_t, kLightRecordSize> header{};
    header[0] = r[0];
    header[1] = r[6];
    header[2] = r[7];
    transport_.SendCommand(kCodeLight, 0, 0, kLightRecordSize, header.data());

    const int mode = r[0] & kLightModeBits;
    if (mode < 1 || mode > 8) {
        return 0;
    }
    std::array<uint8_t, kLightRecordSize> effect{};
    for (size_t i = 0; i < 4; ++i) {
        effect[i] = r[2 + i];
    }
    for (size_t k = 0; k < kLightColours; ++k) {
        PutColour(&effect[4 + 3 * k], r.U32(8 + 4 * k));
    }
    return transport_.SendCommand(kCodeLight, 0, static_cast<uint16_t>(mode * kLightRecordSize), kLightRecordSize,
                                  effect.data());
}

int CommandSet::Read(DeviceRequest& r) {
    // The charge count and the report rate are read over HID whatever the path.
    const bool hidOnly = r.type == request::kReportRate ||
                         (r.type == request::kSystemSetting && r.subtype == request::kChargeCount);
    if (transport_.BleActive() && !hidOnly) {
        return ReadOverBle(r);
    }
    return ReadOverHid(r);
}

int CommandSet::ReadOverHid(DeviceRequest& r) {
    FeatureReport reply{};
    const uint8_t* d = ReplyData(reply);
    switch (r.type) {
        case request::kReadDeviceInfo: {
            const int result = transport_.ReadExchange(kCodeDeviceInfo, 0, 0, 3, reply);
            if (result != 0) {
                r.SetU32(0, d[0]);
                r.SetU32(4, d[1]);
                r.SetU32(8, d[2]);
            }
            return result;
        }
        case request::kSystemSetting: {
            const uint8_t code = kCodeSystem | kReadFlag;
            if (r.subtype == request::kProfileTag) {
                const int result = transport_.ReadExchange(code, request::kProfileTag, 0, 8, reply);
                if (result != 0) {
                    for (size_t k = 0; k < kProfileTags; ++k) {
                        r.SetU16(2 + 2 * k, static_cast<uint16_t>(d[2 * k] << 8 | d[2 * k + 1]));
                    }
                }
                return result;
            }
            if (r.subtype == request::kActiveProfile || r.subtype == request::kChargeCount) {
                const int result = transport_.ReadExchange(code, r.subtype, 0, 1, reply);
                if (result != 0) {
                    r[r.subtype == request::kActiveProfile ? 0 : 16] = d[0];
                }
                return result;
            }
            return 0;
        }
        case request::kReportRate: {
            // A rate that cannot be read counts as code 0, and the read as done.
            const int result = transport_.ReadExchange(kCodeRate | kReadFlag, 0, 0, 1, reply);
            r[0] = result != 0 ? d[0] : 0;
            return 1;
        }
        case request::kDpiTable: {
            const int result = transport_.ReadExchange(kCodeDpiTable | kReadFlag, 0, 0, 20, reply);
            if (result != 0) {
                r[0] = d[0];
                r[36] = d[1];
                for (size_t level = 0; level < kDpiLevels; ++level) {
                    r.SetU32(4 + 4 * level, static_cast<uint32_t>(d[2 + 2 * level] | d[3 + 2 * level] << 8));
                }
                r.SetU32(40, static_cast<uint32_t>(d[18] | d[19] << 8));
            }
            return result;
        }
        case request::kLightEffect:
            return ReadLightEffect(r);
        default:
            return 0;
    }
}

int CommandSet::ReadLightEffect(DeviceRequest& r) {
    const uint8_t code = kCodeLight | kReadFlag;
    FeatureReport reply{};
    const uint8_t* d = ReplyData(reply);
    const int header = transport_.ReadExchange(code, 0, 0, kLightRecordSize, reply);
    if (header != 0) {
        r[0] = d[0];
        r.SetU16(6, static_cast<uint16_t>(d[1] | d[2] << 8));
    }
    // The record is asked for even when the header stayed unanswered, for the mode held before. Bit 6 of the
    // mode byte is the power-save flag, not part of the mode: the record is the one the write addressed.
    const auto offset = static_cast<uint16_t>((r[0] & kLightModeBits) * kLightRecordSize);
    const int record = transport_.ReadExchange(code, 0, offset, kLightRecordSize, reply);
    if (record != 0) {
        for (size_t i = 0; i < 4; ++i) {
            r[2 + i] = d[i];
        }
        for (size_t k = 0; k < kLightColours; ++k) {
            r.SetU32(8 + 4 * k, GetColour(d + 4 + 3 * k));
        }
    }
    // The result is that of the exchanges as they ran, the record's being the last. A success always describes
    // one record: the mode in p[0] (read now, or kept from before when the header went unanswered) and the
    // record read for it.
    return record;
}

CommandSet::BleReadKind CommandSet::LastBleRead(uint8_t type) const {
    const uint16_t kind = lastBleReads_[type & 0x0F].load();
    return BleReadKind{static_cast<uint8_t>(kind & 0xFF), static_cast<uint8_t>(kind >> 8)};
}

void CommandSet::NoteBleRead(const DeviceRequest& r) {
    // Noted before the request goes out: its reply may be handled on another thread before SendCommand returns.
    lastBleReads_[r.type & 0x0F].store(static_cast<uint16_t>(r.subtype | r.part << 8));
}

int CommandSet::ReadOverBle(DeviceRequest& r) {
    const auto& pacing = transport_.Pacing();
    const auto wait = pacing.beforeRead;
    switch (r.type) {
        case request::kReadDeviceInfo:
            NoteBleRead(r);
            transport_.SendCommand(kCodeDeviceInfo, 0, 0, 3, nullptr);
            break;
        case request::kSystemSetting:
            if (r.subtype == request::kProfileTag) {
                NoteBleRead(r);
                transport_.SendCommand(kCodeSystem | kReadFlag, request::kProfileTag, 0, 8, nullptr);
                transport_.Pause(2 * wait);  // the four tags take longer to come back
                return 1;
            }
            if (r.subtype != request::kActiveProfile) {
                return 0;
            }
            NoteBleRead(r);
            transport_.SendCommand(kCodeSystem | kReadFlag, request::kActiveProfile, 0, 1, nullptr);
            break;
        case request::kDpiTable:
            NoteBleRead(r);
            transport_.SendCommand(kCodeDpiTable | kReadFlag, 0, 0, 20, nullptr);
            break;
        case request::kLightEffect:
            if (r.part == request::kLightHeader) {
                NoteBleRead(r);
                transport_.SendCommand(kCodeLight | kReadFlag, 0, 0, kLightRecordSize, nullptr);
            } else if (r.part == request::kLightRecord) {
                NoteBleRead(r);
                const auto offset = static_cast<uint16_t>((r[0] & kLightModeBits) * kLightRecordSize);
                transport_.SendCommand(kCodeLight | kReadFlag, 0, offset, kLightRecordSize, nullptr);
            }
            break;
        default:
            return 0;
    }
    transport_.Pause(wait);
    return 1;
}

}  // namespace mousecfg
