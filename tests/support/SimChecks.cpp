#include "tests/support/SimChecks.h"

#include <gtest/gtest.h>

#include "sim/VirtualMouse.h"

namespace mousecfg::test {

void ExpectNoRejections(const sim::VirtualMouse& mouse) {
    const int count = mouse.RejectCount();
    if (count == 0) {
        return;
    }
    std::string reasons;
    for (const std::string& reason : mouse.Rejections()) {
        reasons += "\n  " + reason;
    }
    ADD_FAILURE() << "the virtual mouse refused " << count << " report(s):" << reasons;
}

}  // namespace mousecfg::test
