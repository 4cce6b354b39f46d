#include "config/ImageWriter.h"

#include <algorithm>

#include "config/MouseConfig.h"
#include "config/ReportRate.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

constexpr int kSecondsPerMinute = 60;

uint16_t Seconds(int minutes) {
    return static_cast<uint16_t>(std::clamp(minutes * kSecondsPerMinute, 0, 0xFFFF));
}

}  // namespace

ImageWriter::ImageWriter(CommandSet::Session& session, DeviceImage& image, const KeyFunctionSources& sources,
                         LinkKind link)
    : session_(session), image_(image), sources_(sources), link_(link) {}

int ImageWriter::Send() {
    const int result = session_.DeviceWrite();
    ++writes_;
    if (result != 1) {
        ++failedWrites_;
    }
    return result;
}

bool ImageWriter::FillSystemSetting(DeviceRequest& r, int profile, int subtype) const {
    switch (subtype) {
        case request::kProfileTag:
            r[0] = static_cast<uint8_t>(profile);
            r.SetU16(2 + 2 * static_cast<size_t>(profile), image_.profileTags[static_cast<size_t>(profile)]);
            return true;
        case request::kActiveProfile:
            r[0] = static_cast<uint8_t>(profile);
            return true;
        case request::kSleepTime:
            r.SetU16(10, Seconds(image_.sleepMinutes));
            return true;
        case request::kPowerDownTime:
            r.SetU16(12, Seconds(image_.pdMinutes));
            return true;
        case request::kSensorFlags:
            r[14] = image_.sensorOptionByte;
            return true;
        case request::kLiftOff:
            r[15] = static_cast<uint8_t>(image_.lodCode);
            return true;
        default:
            return false;
    }
}

void ImageWriter::FillDpiTable(DeviceRequest& r, size_t p) const {
    uint8_t enabled = 0;
    uint32_t multipliers = 0;
    for (size_t k = 0; k < 8; ++k) {
        if (image_.dpiEnabled[p][k] != 0) {
            enabled = static_cast<uint8_t>(enabled | 1u << k);
        }
        r.SetU32(4 + 4 * k, static_cast<uint32_t>(image_.dpiSensorValue[p][k]));
        // Two bits per level: a larger multiplier code would spill into the next level's field.
        multipliers |= (static_cast<uint32_t>(image_.dpiMultiplier[p][k]) & 3u) << (2 * k);
    }
    r[0] = enabled;
    r[36] = static_cast<uint8_t>(image_.dpiCurrent[p] + 1);
    r.SetU32(40, multipliers);
}

void ImageWriter::FillLighting(DeviceRequest& r, size_t p) const {
    r[0] = image_.ledModeByte[p];
    r[2] = image_.ledSpeed[p];
    r[3] = image_.ledDirection[p];
    r[4] = image_.ledLevel[p];
    r[5] = image_.ledColourMask[p];
    r.SetU16(6, image_.ledModeMask);
    for (size_t k = 0; k < 7; ++k) {
        r.SetU32(8 + 4 * k, static_cast<uint32_t>(image_.ledColour[p][k]));
    }
}

int ImageWriter::WriteKey(int type, int profile) {
    const bool extra = type == request::kExtraKeyAssignment;
    const int slot = image_.editedSlot;
    if (extra ? slot != kWheelUp && slot != kWheelDown : slot < 0 || slot > kLastWrittenKeySlot) {
        return 0;  // slots above 11 are not written; the extra positions are the two wheel positions
    }
    const auto p = static_cast<size_t>(profile);
    const auto button = static_cast<size_t>(extra ? slot : image_.editedButton);
    if (button >= kImageSlots) {
        return 0;
    }
    DeviceRequest& r = session_.request();
    r.type = static_cast<uint8_t>(type);
    r[0] = static_cast<uint8_t>(extra ? slot - kWheelUp : slot);
    r[8] = extra ? 1 : 0;
    const int code = image_.slotCodes[p][static_cast<size_t>(slot)];
    const KeyFunctionInput input{
        code, image_.slotGroupGuid[p][button], image_.slotMacroGuid[p][button], slot, extra, image_.fireValue[p]};
    EncodeKeyFunction(session_, input, sources_);
    fireKeyEncoded_ = fireKeyEncoded_ || code == kFireKeyCode;
    return Send();  // the assignment, or the macro's data after a macro assignment
}

int ImageWriter::WriteSetting(int type, int profile, int subtype) {
    if (profile < 0 || profile >= kImageProfiles) {
        return 0;
    }
    const auto p = static_cast<size_t>(profile);
    DeviceRequest& r = session_.request();
    r.type = static_cast<uint8_t>(type);
    r.subtype = static_cast<uint8_t>(subtype);
    switch (type) {
        case request::kSystemSetting:
            return FillSystemSetting(r, profile, subtype) ? Send() : 0;
        case request::kReportRate:
            r[0] = image_.rateCode[p];
            return Send();
        case request::kKeyAssignment:
        case request::kExtraKeyAssignment:
            return WriteKey(type, profile);
        case request::kDpiTable:
            FillDpiTable(r, p);
            return Send();
        case request::kDpiColours:
            for (size_t k = 0; k < 8; ++k) {
                r.SetU32(4 * k, static_cast<uint32_t>(image_.dpiColour[p][k]));
            }
            return Send();
        case request::kLightEffect:
            FillLighting(r, p);
            return Send();
        case request::kDeviceOption:
            if (subtype == 2 || subtype == 6) {
                r[subtype == 2 ? 1 : 5] = subtype == 2 ? image_.shortPress : image_.moveWake;
                return Send();
            }
            return 0;
        default:
            return 0;  // type 8 and others send nothing
    }
}

void ImageWriter::Repeat(int type, int profile, int subtype, int times) {
    for (int i = 0; i < times; ++i) {
        WriteSetting(type, profile, subtype);
    }
}

std::vector<WriteStep> ImageWriter::FullWritePlan(int profile) const {
    const int n = image_.repeatCount;
    std::vector<WriteStep> plan;
    const bool ble = link_ == LinkKind::Ble;
    const auto keySteps = [&] {
        for (int b = 0; b < image_.keyCount && b < kImageSlots; ++b) {
            const int slot = image_.buttonSlot[static_cast<size_t>(b)];
            const bool inRange = slot >= 0 && slot < kImageSlots && profile >= 0 && profile < kImageProfiles;
            const int code = inRange ? image_.slotCodes[static_cast<size_t>(profile)][static_cast<size_t>(slot)] : 0;
            // The BLE link carries no macros: such buttons are left out.
            if (ble && IsUserMacroCode(code)) {
                continue;
            }
            plan.push_back({request::kKeyAssignment, 0, b, n});
        }
        plan.push_back({request::kExtraKeyAssignment, 0, kWheelUp, 1});
        plan.push_back({request::kExtraKeyAssignment, 0, kWheelDown, 1});
    };
    if (image_.keysOnly) {
        keySteps();
        return plan;
    }
    plan.push_back({request::kSystemSetting, request::kActiveProfile, -1, n});
    plan.push_back({request::kSystemSetting, request::kProfileTag, -1, n});
    if (!ble) {
        plan.push_back({request::kReportRate, 0, -1, n});
    }
    keySteps();
    for (const auto& [type, subtype] :
         std::initializer_list<std::pair<int, int>>{{request::kDpiTable, 0},
                                                    {request::kDpiColours, 0},
                                                    {request::kLightEffect, 0},
                                                    {request::kSystemSetting, request::kSleepTime},
                                                    {request::kSystemSetting, request::kSensorFlags},
                                                    {request::kSystemSetting, request::kLiftOff},
                                                    {request::kDeviceOption, 2},
                                                    {request::kDeviceOption, 6}}) {
        plan.push_back({type, subtype, -1, n});
    }
    return plan;
}

void ImageWriter::InitApply(int profile) {
    trace::Write("InitApply应用应用应用应用应用应用应用应用应用应用。。。。\n");
    const std::vector<WriteStep> plan = FullWritePlan(profile);
    int total = 0;
    for (const WriteStep& step : plan) {
        total += step.times;
    }
    int done = 0;
    for (const WriteStep& step : plan) {
        if (step.button >= 0) {
            image_.editedButton = step.button;
            image_.editedSlot = step.type == request::kExtraKeyAssignment
                                    ? step.button
                                    : image_.buttonSlot[static_cast<size_t>(step.button)];
        }
        for (int i = 0; i < step.times; ++i) {
            WriteSetting(step.type, profile, step.subtype);
            if (observer_) {
                observer_(++done, total);
            }
        }
    }
}

void ImageWriter::ReadLighting() {
    DeviceRequest& r = session_.request();
    r.type = request::kLightEffect;
    r.part = request::kLightHeader;
    image_.readLedMode = -1;
    if (session_.DeviceRead() != 1) {
        return;
    }
    const auto mode = static_cast<uint8_t>(r[0] & ~kPowerSaveFlag);
    for (const auto& [index, code] : image_.ledModeMap) {
        if (code == mode && code != 0) {
            image_.readLedMode = index;
            return;
        }
    }
}

void ImageWriter::ReadBackState(std::string_view modelName) {
    ReadLighting();
    DeviceRequest& r = session_.request();
    r.type = request::kDpiTable;
    image_.readDpiLevel = session_.DeviceRead() == 1 ? r[36] - 1 : -1;
    r.type = request::kReportRate;
    image_.readRate = session_.DeviceRead() == 1 ? RateIndexFromCode(modelName, r[0]) : -1;
}

}  // namespace mousecfg
