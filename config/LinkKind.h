#pragma once

namespace mousecfg {

// How the mouse in use is reached: the connection kind of the monitor (1 cable, 2 receiver) unless the BLE path
// is in force. None while no mouse is linked.
enum class LinkKind { None, Cable, Receiver, Ble };

}  // namespace mousecfg
