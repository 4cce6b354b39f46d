#pragma once

namespace mousecfg {

// Whether the computer reaches the internet, as the system's network information tells it: Qt's network
// information backend in the program, a switch in tests. Called on the user-interface thread.
class NetworkStatus {
public:
    virtual ~NetworkStatus() = default;
    // False when not connected, and also when the system offers no network information.
    virtual bool IsConnectedToInternet() = 0;
};

}  // namespace mousecfg
