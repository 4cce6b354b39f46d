#pragma once

namespace mousecfg::sim {
class VirtualMouse;
}  // namespace mousecfg::sim

namespace mousecfg::test {

// Fails the running test, listing the reasons, when `mouse` refused anything it was sent. Tests that drive the
// program against the virtual mouse call it at their end: a real mouse would have refused the same.
void ExpectNoRejections(const sim::VirtualMouse& mouse);

}  // namespace mousecfg::test
