#include "device/CommandFrame.h"

#include <algorithm>

namespace mousecfg {

FeatureReport CommandFrame::ToReport() const {
    FeatureReport report{};
    report[0] = kCommandReportId;
    uint8_t* frame = report.data() + 1;
    frame[kCodeAt] = code;
    frame[kSequenceAt] = sequence;
    frame[kIndexAt] = index;
    frame[kOffsetLowAt] = static_cast<uint8_t>(offset & 0xFF);
    frame[kOffsetHighAt] = static_cast<uint8_t>(offset >> 8);
    const size_t n = std::min<size_t>(length, kMaxFrameData);
    frame[kLengthAt] = static_cast<uint8_t>(n);
    std::copy_n(data.begin(), n, frame + kDataAt);
    return report;
}

CommandFrame CommandFrame::FromReport(std::span<const uint8_t, kFeatureReportSize> report) {
    const uint8_t* frame = report.data() + 1;
    CommandFrame result;
    result.code = frame[kCodeAt];
    result.sequence = frame[kSequenceAt];
    result.index = frame[kIndexAt];
    result.offset = static_cast<uint16_t>(frame[kOffsetLowAt] | (frame[kOffsetHighAt] << 8));
    result.length = std::min<uint8_t>(frame[kLengthAt], kMaxFrameData);
    std::copy_n(frame + kDataAt, result.length, result.data.begin());
    return result;
}

}  // namespace mousecfg
