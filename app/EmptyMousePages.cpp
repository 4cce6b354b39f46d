#include "app/EmptyMousePages.h"

#include "app/DeviceConfiguration.h"
#include "config/MouseConfig.h"
#include "device/DeviceMessages.h"

namespace mousecfg::app {

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
        document->currentProfile = value;
        configuration_.DocumentChanged();
    }
}

}  // namespace mousecfg::app
