#pragma once

namespace mousecfg::skin {

// Text placement flags of labels and buttons (attribute "align"/"valign" and "wordbreak"/"endellipsis").
namespace align {
inline constexpr unsigned kLeft = 0x0;
inline constexpr unsigned kCenter = 0x1;
inline constexpr unsigned kRight = 0x2;
inline constexpr unsigned kTop = 0x0;
inline constexpr unsigned kVCenter = 0x4;
inline constexpr unsigned kBottom = 0x8;
inline constexpr unsigned kWordBreak = 0x10;
inline constexpr unsigned kEndEllipsis = 0x20;
inline constexpr unsigned kHorizontalMask = 0x3;
inline constexpr unsigned kVerticalMask = 0xC;
}  // namespace align

}  // namespace mousecfg::skin
