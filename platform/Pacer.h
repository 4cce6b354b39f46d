#pragma once

#include <chrono>

namespace mousecfg {

// The fixed waits that pace the mouse. The mouse has no flow control: the transport waits before a frame,
// after a send and before a read, and the BLE path waits for its replies to arrive.
struct PacingValues {
    std::chrono::milliseconds beforeFrame{30};
    std::chrono::milliseconds afterSend{50};
    std::chrono::milliseconds beforeRead{80};

    static PacingValues Default() { return {}; }
    static PacingValues Zero() {
        return {std::chrono::milliseconds(0), std::chrono::milliseconds(0), std::chrono::milliseconds(0)};
    }
};

// Carries out a wait. Production code sleeps; tests record the waits or skip them.
class Pacer {
public:
    virtual ~Pacer() = default;
    // Waits for `duration` (nothing for zero or less). Called on the thread that talks to the mouse.
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// Sleeps the calling thread.
class SleepingPacer final : public Pacer {
public:
    void Pause(std::chrono::milliseconds duration) override;
};

// The process's sleeping pacer.
Pacer& DefaultPacer();

}  // namespace mousecfg
