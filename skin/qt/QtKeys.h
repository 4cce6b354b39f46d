#pragma once

class QKeyEvent;

namespace mousecfg::skin::qt {

// The virtual-key number of a Qt key (Qt::Key), 0 for keys the controls do not use.
unsigned VirtualKeyOf(int qtKey);

// The PC set-1 scan code of a key event (0xE000 + code for an extended key), 0 when the key has none. The X11
// and Wayland platforms give the xkb key code, the evdev code + 8; other platforms give no usable code.
int ScanCodeOf(const QKeyEvent& event);
int ScanCodeOfNative(const char* platformName, unsigned nativeScanCode);

}  // namespace mousecfg::skin::qt
