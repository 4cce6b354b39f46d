#pragma once

#include <memory>

#include "config/ui/SettingsPage.h"

namespace mousecfg::ui {

// The pages the router drives besides the key page; the router asks for them once, when it is created.
std::unique_ptr<SettingsPage> MakeAdvancedPage();  // DPI levels, report rate, sensor options
std::unique_ptr<SettingsPage> MakeLightingPage();  // lighting mode, brightness, speed, direction, colours

}  // namespace mousecfg::ui
