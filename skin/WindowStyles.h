#pragma once

#include <cstdint>

// Window style bits with the values of the desktop system the program was first written for, so that the
// styles the windows were always created with carry over. The Qt host maps them: every skin window is drawn
// without a system frame; kWsExToolWindow keeps it out of the task bar; kWsVisible shows it at creation.
namespace mousecfg::skin::style {

inline constexpr uint32_t kWsPopup = 0x80000000u;
inline constexpr uint32_t kWsVisible = 0x10000000u;
inline constexpr uint32_t kWsClipSiblings = 0x04000000u;
inline constexpr uint32_t kWsClipChildren = 0x02000000u;
inline constexpr uint32_t kWsCaption = 0x00C00000u;
inline constexpr uint32_t kWsSysMenu = 0x00080000u;
inline constexpr uint32_t kWsMinimizeBox = 0x00020000u;
inline constexpr uint32_t kWsOverlappedWindow = 0x00CF0000u;

inline constexpr uint32_t kWsExTopmost = 0x00000008u;
inline constexpr uint32_t kWsExToolWindow = 0x00000080u;

}  // namespace mousecfg::skin::style
