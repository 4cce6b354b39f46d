#pragma once

#include <string_view>

namespace mousecfg {

// The pages store a report-rate index; the mouse takes a code. One model (named "KT61" in the catalogue) offers
// seven rates, every other model four.
inline constexpr std::string_view kSevenRateModel = "KT61";

// The highest report-rate index the model offers (6 for the seven-rate model, else 3).
int MaxRateIndex(std::string_view modelName);
// The highest index of any model: documents are read within it before the model is known.
inline constexpr int kMaxRateIndexOfAnyModel = 6;

// The code the mouse takes for report-rate index `index`. An index above the model's table is held at its last
// entry (as the DPI page limits a stored index), a negative one at 0, so that a damaged document never sends a
// code the mouse does not know.
int RateCodeFromIndex(std::string_view modelName, int index);

// The index of a code read from the mouse; a code not in the model's table gives index 0.
int RateIndexFromCode(std::string_view modelName, int code);

// The conversion the connection monitor and the main window use for values the mouse reports: index to code
// when `uiToHardware` is non-zero, else code to index. Traces the model name followed by ",uiToHardware:%d\n"
// with the low byte of `uiToHardware`. Any thread.
int ConvertReportRate(std::string_view modelName, int value, int uiToHardware);

}  // namespace mousecfg
