#pragma once

#include "platform/NetworkStatus.h"

namespace mousecfg::qt {

// The reachability that Qt's network information backend reports (NetworkManager or GLib on Linux). Without a
// backend the computer counts as not connected. Used on the Qt thread.
class QtNetworkStatus final : public NetworkStatus {
public:
    bool IsConnectedToInternet() override;
};

}  // namespace mousecfg::qt
