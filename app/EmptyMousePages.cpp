#include "app/EmptyMousePages.h"

#include "app/DeviceConfiguration.h"
#include "config/MouseConfig.h"
#include "device/DeviceMessages.h"
#include "skin/Notification.h"

namespace mousecfg::app {

void EmptyMousePages::Notify(skin::Notification& notification) {
    // The "More" menu's items work on the whole configuration, whatever the pages show.
    if (notification.type != skin::notify::kMenuClick) {
        return;
    }
    if (notification.text == "Import") {
        configuration_.ImportConfiguration();
    } else if (notification.text == "Export") {
        configuration_.ExportConfiguration();
    } else if (notification.text == "Reset") {
        configuration_.ResetConfiguration();
    }
}

void EmptyMousePages::OnDeviceEvent(const Message& message) {
    MouseConfig* document = configuration_.Document();
    if (document == nullptr) {
        return;
    }
    // The low byte is the value the mouse reported; the byte above it the mapped button.
    const int value = static_cast<int>(message.wParam & 0xFF);
    if (message.id == msg::kDpiLevelChanged && value >= 1 && value <= kDpiLevelCount &&
        document->currentProfile >= 0 && document->currentProfile < kProfileCount) {
        document->profiles[static_cast<size_t>(document->currentProfile)].currentDpiLevel = value - 1;
        configuration_.DocumentChanged();
    } else if (message.id == msg::kProfileChanged && value < kProfileCount) {
        configuration_.ShowProfile(value);
    }
}

}  // namespace mousecfg::app
