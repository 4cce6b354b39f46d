#include "config/ReportRate.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "platform/Trace.h"

namespace mousecfg {
namespace {

constexpr std::array<int, 4> kFourRates = {8, 4, 2, 1};
constexpr std::array<int, 7> kSevenRates = {64, 32, 16, 8, 4, 2, 1};
static_assert(kSevenRates.size() - 1 == kMaxRateIndexOfAnyModel);

std::span<const int> Table(std::string_view modelName) {
    if (modelName == kSevenRateModel) {
        return kSevenRates;
    }
    return kFourRates;
}

}  // namespace

int MaxRateIndex(std::string_view modelName) {
    return static_cast<int>(Table(modelName).size()) - 1;
}

int RateCodeFromIndex(std::string_view modelName, int index) {
    const auto table = Table(modelName);
    // Indexes above the table are held at its last entry, as the DPI page limits them.
    const auto clamped = std::clamp<size_t>(index < 0 ? 0 : static_cast<size_t>(index), 0, table.size() - 1);
    return table[clamped];
}

int RateIndexFromCode(std::string_view modelName, int code) {
    const auto table = Table(modelName);
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i] == code) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

int ConvertReportRate(std::string_view modelName, int value, int uiToHardware) {
    trace::Printf("%s,uiToHardware:%d\n", std::string(modelName).c_str(), uiToHardware & 0xFF);
    return uiToHardware != 0 ? RateCodeFromIndex(modelName, value) : RateIndexFromCode(modelName, value);
}

}  // namespace mousecfg
