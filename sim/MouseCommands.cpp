#include "sim/MouseCommands.h"

#include <algorithm>
#include <cstdio>

namespace mousecfg::sim {
namespace {

// Command codes without the read flag.
constexpr uint8_t kDeviceInfo = 0x01;  // read only
constexpr uint8_t kSystemSetting = 0x02;
constexpr uint8_t kReportRate = 0x03;
constexpr uint8_t kKeyAssignment = 0x04;
constexpr uint8_t kExtraKeyAssignment = 0x05;
constexpr uint8_t kDpiTable = 0x06;
constexpr uint8_t kDpiColours = 0x07;
constexpr uint8_t kMacroData = 0x08;
constexpr uint8_t kLightEffect = 0x09;
constexpr uint8_t kDeviceOption = 0x0A;

// Indexes of the system-setting command.
constexpr uint8_t kProfileTags = 1;
constexpr uint8_t kActiveProfile = 2;
constexpr uint8_t kSleepSeconds = 3;
constexpr uint8_t kPowerDownSeconds = 4;
constexpr uint8_t kSensorFlags = 5;
constexpr uint8_t kLiftOff = 6;
constexpr uint8_t kChargeCount = 7;

constexpr size_t kKeySlotSize = 4;
constexpr uint8_t kLastDeviceOption = 7;
constexpr size_t kMacroPageSize = 32;
constexpr size_t kMacroHeaderSize = 4;  // repeat count and item length, both u16 LE
constexpr uint8_t kDpiLevels = 8;
constexpr uint8_t kPowerSaveFlag = 0x40;
constexpr uint8_t kFirstLightingMode = 129;
constexpr uint8_t kLastLightingMode = 137;

std::string Describe(const CommandFrame& frame, const char* problem) {
    char text[128];
    std::snprintf(text, sizeof text, "code %02x index %u offset %u length %u: %s", frame.code, frame.index,
                  frame.offset, frame.length, problem);
    return text;
}

// A frame addressing a single fixed record: the given index, offset 0 and exactly `length` data bytes.
bool Addresses(const CommandFrame& frame, uint8_t index, uint8_t length) {
    return frame.index == index && frame.offset == 0 && frame.length == length;
}

uint16_t LittleEndian(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)); }

void PutLittleEndian(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

template <size_t N>
void CopyData(const CommandFrame& frame, std::array<uint8_t, N>& target, size_t at = 0) {
    std::copy_n(frame.data.begin(), frame.length, target.begin() + static_cast<std::ptrdiff_t>(at));
}

// A 4-byte key slot write: offset = slot * 4 with slot < `slots`.
template <size_t Slots>
bool WriteKeySlot(const CommandFrame& frame, std::array<std::array<uint8_t, 4>, Slots>& table) {
    if (frame.index != 0 || frame.length != kKeySlotSize || frame.offset % kKeySlotSize != 0 ||
        frame.offset / kKeySlotSize >= Slots) {
        return false;
    }
    CopyData(frame, table[frame.offset / kKeySlotSize]);
    return true;
}

// A macro page: it continues the slot's image (offset 0 starts a new one, any other page follows the last
// without a gap) and agrees with the length field the image's first page carries.
bool WriteMacroPage(const CommandFrame& frame, ProfileMemory& profile, std::string& refusal) {
    const size_t end = size_t{frame.offset} + frame.length;
    if (frame.index >= kMacroSlots || frame.length == 0 || end > kMacroSlotSize) {
        refusal = Describe(frame, "outside the macro slots");
        return false;
    }
    uint16_t& written = profile.macroBytesWritten[frame.index];
    if (frame.offset % kMacroPageSize != 0 || (frame.offset != 0 && frame.offset != written)) {
        refusal = Describe(frame, "not the next page of the macro image");
        return false;
    }
    if (frame.offset == 0 && frame.length < kMacroHeaderSize) {
        refusal = Describe(frame, "a macro image shorter than its header");
        return false;
    }
    const auto& image = profile.macros[frame.index];
    const size_t announced =
        kMacroHeaderSize + (frame.offset == 0 ? LittleEndian(&frame.data[2]) : LittleEndian(&image[2]));
    // A page shorter than 32 bytes is the image's last.
    if (end > announced || (frame.length < kMacroPageSize && end != announced)) {
        refusal = Describe(frame, "the macro image disagrees with its length field");
        return false;
    }
    CopyData(frame, profile.macros[frame.index], frame.offset);
    written = static_cast<uint16_t>(end);
    return true;
}

bool WriteLightRecord(const CommandFrame& frame, ProfileMemory& profile, std::string& refusal) {
    if (frame.index != 0 || frame.length != kLightRecordSize || frame.offset % kLightRecordSize != 0 ||
        frame.offset / kLightRecordSize >= kLightRecords) {
        refusal = Describe(frame, "not a lighting record");
        return false;
    }
    const uint8_t mode = frame.data[0] & ~kPowerSaveFlag;
    if (frame.offset == 0 && (mode < kFirstLightingMode || mode > kLastLightingMode)) {
        refusal = Describe(frame, "a lighting header of no lighting mode");
        return false;
    }
    CopyData(frame, profile.light[frame.offset / kLightRecordSize]);
    return true;
}

bool WriteDpiTable(const CommandFrame& frame, ProfileMemory& profile, std::string& refusal) {
    if (!Addresses(frame, 0, static_cast<uint8_t>(profile.dpiTable.size()))) {
        refusal = Describe(frame, "not a DPI table");
        return false;
    }
    // Byte 0 switches levels on (at least one), byte 1 names the level in use plus one.
    if (frame.data[0] == 0 || frame.data[1] < 1 || frame.data[1] > kDpiLevels) {
        refusal = Describe(frame, "a DPI table without levels or with a level number out of range");
        return false;
    }
    CopyData(frame, profile.dpiTable);
    return true;
}

bool WriteSystemSetting(const CommandFrame& frame, SystemMemory& system) {
    const uint8_t* d = frame.data.data();
    switch (frame.index) {
        case kProfileTags:
            // One big-endian entry of the four-entry tag table, addressed by its byte offset.
            if (frame.length != 2 || frame.offset % 2 != 0 || frame.offset / 2 >= kProfiles) {
                return false;
            }
            system.profileTags[frame.offset / 2] = static_cast<uint16_t>((d[0] << 8) | d[1]);
            return true;
        case kActiveProfile:
            if (!Addresses(frame, kActiveProfile, 1) || d[0] >= kProfiles) {
                return false;
            }
            system.activeProfile = d[0];
            return true;
        case kSleepSeconds:
        case kPowerDownSeconds:
            if (!Addresses(frame, frame.index, 2)) {
                return false;
            }
            (frame.index == kSleepSeconds ? system.sleepSeconds : system.powerDownSeconds) = LittleEndian(d);
            return true;
        case kSensorFlags:
        case kLiftOff:
            if (!Addresses(frame, frame.index, 1)) {
                return false;
            }
            (frame.index == kSensorFlags ? system.sensorFlags : system.liftOff) = d[0];
            return true;
        default:
            return false;  // index 7 (charge count) is read only
    }
}

bool WriteProfileSetting(const CommandFrame& frame, ProfileMemory& profile, std::string& refusal) {
    switch (frame.code) {
        case kReportRate:
            if (!Addresses(frame, 0, 1)) {
                return false;
            }
            profile.reportRate = frame.data[0];
            return true;
        case kKeyAssignment:
            return WriteKeySlot(frame, profile.keys);
        case kExtraKeyAssignment:
            return WriteKeySlot(frame, profile.extraKeys);
        case kDpiTable:
            return WriteDpiTable(frame, profile, refusal);
        case kDpiColours:
            if (!Addresses(frame, 0, static_cast<uint8_t>(profile.dpiColours.size()))) {
                return false;
            }
            CopyData(frame, profile.dpiColours);
            return true;
        case kMacroData:
            return WriteMacroPage(frame, profile, refusal);
        case kLightEffect:
            return WriteLightRecord(frame, profile, refusal);
        default:
            refusal = Describe(frame, "an unknown command");
            return false;
    }
}

std::optional<std::vector<uint8_t>> ReadSystemSetting(const CommandFrame& frame, const SystemMemory& system) {
    std::vector<uint8_t> out;
    switch (frame.index) {
        case kProfileTags:
            for (uint16_t tag : system.profileTags) {
                out.push_back(static_cast<uint8_t>(tag >> 8));
                out.push_back(static_cast<uint8_t>(tag & 0xFF));
            }
            break;
        case kActiveProfile:
            out.push_back(system.activeProfile);
            break;
        case kSleepSeconds:
            PutLittleEndian(out, system.sleepSeconds);
            break;
        case kPowerDownSeconds:
            PutLittleEndian(out, system.powerDownSeconds);
            break;
        case kSensorFlags:
            out.push_back(system.sensorFlags);
            break;
        case kLiftOff:
            out.push_back(system.liftOff);
            break;
        case kChargeCount:
            out.push_back(system.chargeCount);
            break;
        default:
            return std::nullopt;
    }
    return out;
}

}  // namespace

std::optional<CommandFrame> DecodeCommandReport(std::span<const uint8_t> report) {
    if (report.size() != kFeatureReportSize || report[0] != kCommandReportId) {
        return std::nullopt;
    }
    const uint8_t* frame = report.data() + 1;
    if (frame[0] != 0 || frame[1] != 0 || frame[CommandFrame::kLengthAt] > kMaxFrameData) {
        return std::nullopt;
    }
    return CommandFrame::FromReport(report.first<kFeatureReportSize>());
}

bool ApplyWrite(const CommandFrame& frame, SystemMemory& system, std::array<ProfileMemory, kProfiles>& profiles,
                std::string& refusal) {
    if (frame.code == kSystemSetting) {
        if (!WriteSystemSetting(frame, system)) {
            refusal = Describe(frame, "not a system setting");
            return false;
        }
        return true;
    }
    if (frame.code == kDeviceOption) {
        if (frame.index < 1 || frame.index > kLastDeviceOption || frame.offset != 0 || frame.length != 1) {
            refusal = Describe(frame, "not a device option");
            return false;
        }
        system.deviceOptions[frame.index] = frame.data[0];
        return true;
    }
    if (!WriteProfileSetting(frame, profiles[system.activeProfile], refusal)) {
        if (refusal.empty()) {
            refusal = Describe(frame, "outside the addressed table");
        }
        return false;
    }
    return true;
}

std::optional<std::vector<uint8_t>> ReadData(const CommandFrame& frame, const SystemMemory& system,
                                             const ProfileMemory& active, const std::array<uint8_t, 3>& deviceInfo) {
    if ((frame.code & kReadFlag) == 0) {
        return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> out;
    switch (frame.code & ~kReadFlag) {
        case kDeviceInfo:
            if (frame.index == 0 && frame.offset == 0) {
                out.emplace(deviceInfo.begin(), deviceInfo.end());
            }
            break;
        case kSystemSetting:
            if (frame.offset == 0) {
                out = ReadSystemSetting(frame, system);
            }
            break;
        case kReportRate:
            if (frame.index == 0 && frame.offset == 0) {
                out.emplace(1, active.reportRate);
            }
            break;
        case kDpiTable:
            if (frame.index == 0 && frame.offset == 0) {
                out.emplace(active.dpiTable.begin(), active.dpiTable.end());
            }
            break;
        case kLightEffect:
            if (frame.index == 0 && frame.offset % kLightRecordSize == 0 &&
                frame.offset / kLightRecordSize < kLightRecords) {
                const auto& record = active.light[frame.offset / kLightRecordSize];
                out.emplace(record.begin(), record.end());
            }
            break;
        default:
            break;
    }
    // A request names the length it expects; one that does not match the record is not understood.
    if (out && out->size() != frame.length) {
        return std::nullopt;
    }
    return out;
}

FeatureReport BuildReply(const CommandFrame& request, std::span<const uint8_t> data, bool echo) {
    CommandFrame reply = echo ? request : CommandFrame{};
    reply.length = static_cast<uint8_t>(std::min(data.size(), kMaxFrameData));
    reply.data.fill(0);
    std::copy_n(data.begin(), reply.length, reply.data.begin());
    return reply.ToReport();
}

}  // namespace mousecfg::sim
