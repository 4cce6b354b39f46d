#include "config/ui/SettingsPages.h"

#include "config/ui/AdvancedPage.h"
#include "config/ui/LightingPage.h"

namespace mousecfg::ui {

std::unique_ptr<SettingsPage> MakeAdvancedPage() {
    return std::make_unique<AdvancedPage>();
}

std::unique_ptr<SettingsPage> MakeLightingPage() {
    return std::make_unique<LightingPage>();
}

}  // namespace mousecfg::ui
