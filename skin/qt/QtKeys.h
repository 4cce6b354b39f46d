#pragma once

namespace mousecfg::skin::qt {

// The virtual-key number of a Qt key (Qt::Key), 0 for keys the controls do not use.
unsigned VirtualKeyOf(int qtKey);

}  // namespace mousecfg::skin::qt
