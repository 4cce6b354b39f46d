#pragma once

#include <string_view>

// The skin names of the assignment panel's controls besides the categories (FunctionCategory.h).
namespace mousecfg::ui::panel {

inline constexpr std::string_view kRoot = "ver_mousekeysel";
inline constexpr std::string_view kCategories = "hor_keysel_categories";
inline constexpr std::string_view kPages = "MouseKey_switch";
inline constexpr std::string_view kRecordKey = "SetRecordKey";
inline constexpr std::string_view kRecordConfirm = "BtnRecordConfirm";
inline constexpr std::string_view kSoftKeyboard = "PopSoftKB";
inline constexpr std::string_view kReportRateItem = "ItemValue10_ReportRate";
inline constexpr std::string_view kGroupPicker = "btn_MouseKey_MacroGroupVal";
inline constexpr std::string_view kMacroPicker = "btn_MouseKey_MacroVal";
inline constexpr std::string_view kGroupList = "macrogrp_list_layout";
inline constexpr std::string_view kMacroList = "macro_list_layout";
inline constexpr std::string_view kGroupItem = "mac_grp_list_items";
inline constexpr std::string_view kMacroItem = "mac_list_items";

}  // namespace mousecfg::ui::panel
