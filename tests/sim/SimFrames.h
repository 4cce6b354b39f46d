#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "device/CommandFrame.h"

namespace mousecfg::sim::simtest {

// A feature report 6 carrying one frame, laid out as the host sends it.
inline FeatureReport MakeReport(uint8_t code, uint8_t index, uint16_t offset, const std::vector<uint8_t>& data,
                                uint8_t sequence = 1) {
    CommandFrame frame;
    frame.code = code;
    frame.sequence = sequence;
    frame.index = index;
    frame.offset = offset;
    frame.length = static_cast<uint8_t>(data.size());
    std::copy_n(data.begin(), std::min(data.size(), frame.data.size()), frame.data.begin());
    return frame.ToReport();
}

// A read request: no data, `length` the number of bytes expected back.
inline FeatureReport MakeRead(uint8_t code, uint8_t index, uint16_t offset, uint8_t length, uint8_t sequence = 1) {
    FeatureReport report = MakeReport(code, index, offset, {}, sequence);
    report[1 + CommandFrame::kLengthAt] = length;
    return report;
}

// `count` bytes counting up from `first`, so that misplaced bytes show.
inline std::vector<uint8_t> Ramp(size_t count, uint8_t first) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(first + i);
    }
    return bytes;
}

// A DPI table the mouse takes (levels 0..4 on, level 2 in use), its level values counting up from `first`.
inline std::vector<uint8_t> DpiTable(uint8_t first) {
    std::vector<uint8_t> table = Ramp(20, first);
    table[0] = 0x1F;
    table[1] = 3;
    return table;
}

// The data bytes of a reply report (its length byte says how many).
template <typename Report>
std::vector<uint8_t> ReplyData(const Report& reply) {
    const size_t start = 1 + CommandFrame::kDataAt;
    return {reply.begin() + start, reply.begin() + start + reply[1 + CommandFrame::kLengthAt]};
}

}  // namespace mousecfg::sim::simtest
