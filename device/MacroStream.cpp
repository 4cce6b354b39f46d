#include "device/MacroStream.h"

#include <algorithm>

#include "device/ReportTransport.h"

namespace mousecfg {
namespace {

constexpr uint8_t kDeviceDpi = 0xFD;
constexpr uint8_t kDeviceMove = 0xFE;
constexpr uint8_t kDeviceLastButton = 0xEC;
constexpr int64_t kMaxExtension = 0xFFFFFF;  // the 3-byte extension of a long delay

bool IsDeviceKey(uint8_t code) { return code >= item::kFirstKey && code <= kDeviceLastButton; }
bool IsEncodable(uint8_t code) { return IsDeviceKey(code) || code == kDeviceDpi || code == kDeviceMove; }

void PutExtension(std::vector<uint8_t>& out, int64_t extra) {
    const auto e = static_cast<uint32_t>(std::clamp<int64_t>(extra, 0, kMaxExtension));
    out.push_back(static_cast<uint8_t>(e & 0xFF));
    out.push_back(static_cast<uint8_t>((e >> 8) & 0xFF));
    out.push_back(static_cast<uint8_t>((e >> 16) & 0xFF));
}

void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// Pointer moves store unsigned distances; the state names the direction.
std::pair<int16_t, int16_t> SignedMove(uint8_t state, MacroBlock::Point point) {
    const auto x = static_cast<int16_t>(point.x);
    const auto y = static_cast<int16_t>(point.y);
    switch (state) {
        case item::kMoveLeftUp:
            return {static_cast<int16_t>(-x), static_cast<int16_t>(-y)};
        case item::kMoveLeftDown:
            return {static_cast<int16_t>(-x), y};
        case item::kMoveRightUp:
            return {x, static_cast<int16_t>(-y)};
        default:
            return {x, y};
    }
}

void EncodeItem(std::vector<uint8_t>& out, uint8_t code, uint8_t state, MacroBlock::Point point, int64_t delay) {
    if (IsDeviceKey(code)) {
        const bool press = state == item::kPress;
        out.push_back(code);
        if (delay <= 127) {
            out.push_back(static_cast<uint8_t>(delay + (press ? 0x00 : 0x80)));
        } else {
            out.push_back(press ? 0x7F : 0xFF);
            out.push_back(0xFF);
            PutExtension(out, delay - 127);
        }
    } else if (code == kDeviceDpi) {
        out.push_back(kDeviceDpi);
        out.push_back(static_cast<uint8_t>(point.x & 0xFF));
        out.push_back(0x00);
        if (delay <= 255) {
            out.push_back(static_cast<uint8_t>(delay));
        } else {
            out.push_back(0xFF);
            out.push_back(0xFF);
            PutExtension(out, delay - 255);
        }
    } else {  // pointer move
        const auto [x, y] = SignedMove(state, point);
        out.push_back(kDeviceMove);
        out.push_back(delay <= 255 ? static_cast<uint8_t>(delay) : 0xFF);
        Put16(out, static_cast<uint16_t>(x));
        Put16(out, static_cast<uint16_t>(y));
        if (delay > 255) {
            out.push_back(0xFF);
            PutExtension(out, delay - 255);
        }
    }
}

}  // namespace

MacroBlock MapItemCodes(const MacroBlock& block) {
    MacroBlock mapped = block;
    for (int i = 0; i < mapped.ItemCount(); ++i) {
        uint8_t& code = mapped.macVal[static_cast<size_t>(i)];
        switch (code) {
            case item::kLeftButton: code = 0xE8; break;
            case item::kMiddleButton: code = 0xEA; break;
            case item::kRightButton: code = 0xE9; break;
            case item::kButton4: code = 0xEB; break;
            case item::kButton5: code = 0xEC; break;
            case item::kMove: code = kDeviceMove; break;
            case item::kDpi: code = kDeviceDpi; break;
            default: break;
        }
    }
    return mapped;
}

std::optional<std::vector<uint8_t>> EncodeMacro(const MacroBlock& mappedBlock) {
    // Fold the delays of items without an encoding into the item before them.
    struct Encodable {
        size_t index;
        int64_t delay;
    };
    std::vector<Encodable> items;
    for (int i = 0; i < mappedBlock.ItemCount(); ++i) {
        const auto index = static_cast<size_t>(i);
        const int64_t delay = std::max<int64_t>(0, mappedBlock.macDly[index]);
        if (IsEncodable(mappedBlock.macVal[index])) {
            items.push_back({index, delay});
        } else if (!items.empty()) {
            items.back().delay += delay;
        }
    }

    std::vector<uint8_t> image;
    Put16(image, mappedBlock.macRpt);
    Put16(image, 0);  // item byte count, filled below
    for (const Encodable& entry : items) {
        EncodeItem(image, mappedBlock.macVal[entry.index], mappedBlock.macSta[entry.index],
                   mappedBlock.extVal[entry.index], entry.delay);
        if (image.size() > kMaxMacroImage) {
            return std::nullopt;
        }
    }
    const auto itemBytes = static_cast<uint16_t>(image.size() - 4);
    image[2] = static_cast<uint8_t>(itemBytes & 0xFF);
    image[3] = static_cast<uint8_t>(itemBytes >> 8);
    return image;
}

int WriteMacro(ReportTransport& transport, int slot, const MacroBlock& mappedBlock) {
    if (slot < 0 || slot >= kMacroSlotCount) {
        return 0;
    }
    const auto image = EncodeMacro(mappedBlock);
    if (!image) {
        return -1;
    }
    int result = 0;
    for (size_t offset = 0; offset < image->size(); offset += kMacroPageSize) {
        const size_t length = std::min(kMacroPageSize, image->size() - offset);
        result = transport.SendCommand(0x08, static_cast<uint8_t>(slot), static_cast<uint16_t>(offset),
                                       static_cast<uint8_t>(length), image->data() + offset);
    }
    return result;
}

}  // namespace mousecfg
