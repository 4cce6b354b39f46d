#pragma once

#include "macro/KeySource.h"

namespace mousecfg::test {

// A key source that records whether capture is on and how often it was started.
class FakeKeySource final : public KeySource {
public:
    void StartCapture() override {
        capturing = true;
        ++starts;
    }
    void StopCapture() override { capturing = false; }

    bool capturing = false;
    int starts = 0;
};

}  // namespace mousecfg::test
