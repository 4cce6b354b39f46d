#include "config/ui/SettingsPages.h"

namespace mousecfg::ui {

std::unique_ptr<SettingsPage> MakeAdvancedPage() {
    return std::make_unique<SettingsPage>();
}

std::unique_ptr<SettingsPage> MakeLightingPage() {
    return std::make_unique<SettingsPage>();
}

}  // namespace mousecfg::ui
