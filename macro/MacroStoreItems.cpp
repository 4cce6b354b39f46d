// Loop modes and items of the working macro.
#include <algorithm>
#include <cstdio>

#include "macro/MacroStore.h"
#include "platform/PrivateProfile.h"
#include "platform/TextEncoding.h"

namespace mousecfg {
namespace {

constexpr int kMaxItems = MacroBlock::kMaxItems;

// The distances of a pointer move from the item dialog's text "[←]:x,[↑]:y", counted in UTF-16 code units as
// the dialog builds it: x starts at the fifth unit and ends at the first ",", y starts five units after it.
MacroBlock::Point MoveDistances(std::string_view text) {
    const std::u16string units = Utf8ToUtf16(text);
    const size_t comma = units.find(u',');
    auto number = [&](size_t from, size_t to) {
        if (from >= units.size()) {
            return uint16_t{0};
        }
        return static_cast<uint16_t>(ini::Atoi(Utf16ToUtf8(units.substr(from, to - from))));
    };
    return {number(4, comma == std::u16string::npos ? units.size() : comma),
            comma == std::u16string::npos ? uint16_t{0} : number(comma + 5, units.size())};
}

template <typename T>
void Decrement(T& counter) {
    if (counter > 0) {
        --counter;  // a count loaded from a file may be lower than the items it counts
    }
}

void CountRemoved(MacroBlock& block, uint8_t code) {
    switch (code) {
        case item::kMove: Decrement(block.numXY); break;
        case item::kWheel: Decrement(block.numWhl); break;
        case item::kDpi: Decrement(block.numCpi); break;
        case item::kLed: Decrement(block.numLed); break;
        case item::kMedia: Decrement(block.numMedia); break;
        case item::kUnnamed: Decrement(block.numUnnamed); break;
        default: break;
    }
}

void MoveItem(MacroBlock& block, int from, int to) {
    block.macSta[static_cast<size_t>(to)] = block.macSta[static_cast<size_t>(from)];
    block.macVal[static_cast<size_t>(to)] = block.macVal[static_cast<size_t>(from)];
    block.extVal[static_cast<size_t>(to)] = block.extVal[static_cast<size_t>(from)];
    block.macDly[static_cast<size_t>(to)] = block.macDly[static_cast<size_t>(from)];
}

std::string Format(const char* format, int a, int b = 0) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string MoveText(uint8_t state, MacroBlock::Point point) {
    switch (state) {
        case item::kMoveLeftUp: return Format("[\u2190]:%d,[\u2191]:%d", point.x, point.y);
        case item::kMoveLeftDown: return Format("[\u2190]:%d,[\u2193]:%d", point.x, point.y);
        case item::kMoveRightUp: return Format("[\u2192]:%d,[\u2191]:%d", point.x, point.y);
        case item::kMoveRightDown: return Format("[\u2192]:%d,[\u2193]:%d", point.x, point.y);
        default: return "[X]:error,[Y]:error";
    }
}

}  // namespace

Status MacroStore::StoreWorkingMacro(int g, int m) {
    if (Status valid = CheckMacro(g, m); !valid) {
        return valid;
    }
    MacroRecord& stored = groups_[static_cast<size_t>(g)].macros[static_cast<size_t>(m)];
    // The bindings stay those of the stored macro: the button-assignment code may have changed them since the
    // macro was selected.
    stored.name = working_.name;
    stored.block = working_.block;
    return WriteMacroEntry(g, m);
}

Status MacroStore::SetLoopMode(int g, int m, std::string_view option, int count) {
    if (Status valid = CheckMacro(g, m); !valid) {
        return valid;
    }
    MacroBlock& block = working_.block;
    if (option == "opt_Macro_CycleUntilRelease") {
        block.rptType = static_cast<uint8_t>((block.rptType & 0xF8) + 1);
    } else if (option == "opt_Macro_CycleUntilClick") {
        block.rptType = static_cast<uint8_t>((block.rptType & 0xF8) + 2);
    } else {
        block.rptType = static_cast<uint8_t>(block.rptType & 0xF4);
    }
    block.macRpt = static_cast<uint16_t>(count);
    return StoreWorkingMacro(g, m);
}

Status MacroStore::InsertItem(int g, int m, int position, uint8_t code, uint8_t state, int32_t delay,
                              std::string_view text) {
    if (Status valid = CheckMacro(g, m); !valid) {
        return valid;
    }
    MacroBlock& block = working_.block;
    const int n = block.ItemCount();
    if (n >= kMaxItems) {
        ShowFailure(" More than limit!");
        return Status::Error("the macro is full");
    }
    const int at = std::clamp(position, 0, n);
    for (int i = n; i > at; --i) {
        MoveItem(block, i - 1, i);
    }
    block.num = static_cast<uint16_t>(n + 1);
    block.macSta[static_cast<size_t>(at)] = state;
    block.macVal[static_cast<size_t>(at)] = code;
    block.macDly[static_cast<size_t>(at)] = delay;
    block.extVal[static_cast<size_t>(at)] = {};
    if (code == item::kMove) {
        block.extVal[static_cast<size_t>(at)] = MoveDistances(text);
        ++block.numXY;
    } else if (code == item::kDpi) {
        block.extVal[static_cast<size_t>(at)] = {dpiCode_, 0};
        ++block.numCpi;
        if (block.rptType == 0) {
            block.rptType = 1;  // a macro with a DPI switch runs while the button is held
        }
    }
    return StoreWorkingMacro(g, m);
}

Status MacroStore::DeleteItem(int g, int m, int position) {
    if (Status valid = CheckMacro(g, m); !valid) {
        return valid;
    }
    MacroBlock& block = working_.block;
    const int n = block.ItemCount();
    if (n > 0) {
        if (position < 0 || position >= n) {
            return Status::Error("no item " + std::to_string(position));
        }
        CountRemoved(block, block.macVal[static_cast<size_t>(position)]);
        for (int i = position; i + 1 < n; ++i) {
            MoveItem(block, i + 1, i);
        }
        block.macSta[static_cast<size_t>(n - 1)] = 0;
        block.macVal[static_cast<size_t>(n - 1)] = 0;
        block.extVal[static_cast<size_t>(n - 1)] = {};
        block.macDly[static_cast<size_t>(n - 1)] = 0;
    }
    block.num = static_cast<uint16_t>(n > 0 ? n - 1 : 0);
    return StoreWorkingMacro(g, m);
}

MacroStore::ItemDescription MacroStore::DescribeItem(int i) {
    if (i < 0 || i >= kMaxItems) {
        return {};
    }
    const MacroBlock& block = working_.block;
    const auto at = static_cast<size_t>(i);
    ItemDescription description{"", block.macVal[at], block.macSta[at], block.macDly[at]};
    const uint8_t state = description.state;
    switch (description.code) {
        case item::kMove: description.text = MoveText(state, block.extVal[at]); break;
        case item::kDpi: description.text = "[DPI]:400 "; break;
        case item::kLed:
            description.text = state == 13                 ? Format("LED  %d ", block.extVal[at].x)
                               : state == 14 || state == 15 ? Format("LED  %d", block.extVal[at].x)
                                                            : "[LED0/1/2]:error";
            break;
        case item::kDelay: description.text = "[Delay]"; break;
        default:
            description.text = keyNames_.ItemKeyName(description.code);
            pressCount_ += state == item::kPress ? 1 : 0;
            releaseCount_ += state == item::kRelease ? 1 : 0;
            break;
    }
    return description;
}

}  // namespace mousecfg
