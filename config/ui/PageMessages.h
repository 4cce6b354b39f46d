#pragma once

#include <cstdint>

// Messages the pages post or send to the main window (besides the apply requests of config/ApplyMessages.h).
namespace mousecfg::ui::msg {

inline constexpr uint32_t kKeyAssigned = 2028;  // wParam 1, lParam 1: a button got a function
inline constexpr uint32_t kRecordKey = 2067;    // lParam: the scan code of a key pressed while recording

}  // namespace mousecfg::ui::msg
