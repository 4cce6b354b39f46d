// Devices come and go for many cycles while the readers run and apply runs are in flight at random moments: the
// cable and receiver devices are plugged and unplugged, the mouse behind the receiver links and unlinks, the BLE
// link connects and disconnects. After every cycle each device present with its reader hears a button of its
// mouse, nothing waits forever, and no device handle stays open beyond the devices present.
//
// The cycle count and the seed come from MOUSECFG_SOAK_CYCLES and MOUSECFG_SOAK_SEED; the seed of every run is
// printed, so a failing run can be repeated exactly as far as the choices go.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "tests/soak/SoakRig.h"
#include "tests/support/SimChecks.h"

namespace mousecfg {
namespace {

using sim::SimAttachment;
using test::SoakRig;

unsigned long EnvNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoul(text, nullptr, 10) : fallback;
}

struct SoakFigures {
    int applyRuns = 0;
    int changesDuringApply = 0;  // device changes made while a run was under way
    int pluggedChanges = 0;
    int linkChanges = 0;
    int bleChanges = 0;
    int pressesHeard = 0;
    int receiverUnread = 0;  // presses skipped: the receiver had no reader while the mouse stayed on BLE
    int maxOpenHandles = 0;
};

class PlugSoak {
  public:
    PlugSoak(SoakRig& rig, unsigned seed) : rig_(rig), random_(seed) {}

    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

    // One change of the devices, with an apply run started before or after it now and then.
    void Change() {
        if (Chance(0.4) && rig_.StartApply()) {
            ++figures.applyRuns;
        }
        const int action = std::uniform_int_distribution<int>(0, 4)(random_);
        figures.changesDuringApply += action < 4 && rig_.session->ApplyRunning() ? 1 : 0;
        switch (action) {
            case 0:
                cable_ = !cable_;
                ++figures.pluggedChanges;
                ASSERT_TRUE(rig_.SetPlugged(SimAttachment::Cable, cable_)) << "the device change was not handled";
                break;
            case 1:
                receiver_ = !receiver_;
                ++figures.pluggedChanges;
                ASSERT_TRUE(rig_.SetPlugged(SimAttachment::Receiver, receiver_)) << "the device change was not handled";
                break;
            case 2:
                linked_ = !linked_;
                ++figures.linkChanges;
                rig_.receiverMouse.SetDeliveryEnabled(linked_);
                break;
            case 3: {
                const int before = rig_.bleMessages;
                ++figures.bleChanges;
                rig_.ble.Connected() ? rig_.ble.Disconnect() : rig_.ble.Connect();
                ASSERT_TRUE(rig_.PumpUntil([&] { return rig_.bleMessages > before; })) << "the BLE status was lost";
                break;
            }
            default:
                break;
        }
        if (Chance(0.3) && rig_.StartApply()) {
            ++figures.applyRuns;
        }
        ASSERT_TRUE(rig_.Settle()) << "the readers did not follow the devices";
    }

    // Every device that is present, linked and read hears its mouse's button.
    void Press() {
        if (rig_.catalogue->IsPresent(0)) {
            ASSERT_TRUE(rig_.PressReaches(rig_.cableMouse, 0)) << "an event of the cable device was lost";
            ++figures.pressesHeard;
        }
        if (rig_.catalogue->IsPresent(1) && linked_) {
            if (!rig_.AllPresentRead()) {
                ++figures.receiverUnread;
            } else {
                ASSERT_TRUE(rig_.PressReaches(rig_.receiverMouse, 1)) << "an event of the receiver device was lost";
                ++figures.pressesHeard;
            }
        }
        if (rig_.ble.Connected()) {
            ASSERT_TRUE(rig_.PressReaches(rig_.bleMouse, std::nullopt)) << "an event over BLE was lost";
            ++figures.pressesHeard;
        }
        const int open = rig_.backend.OpenHandleCount();
        figures.maxOpenHandles = std::max(figures.maxOpenHandles, open);
        ASSERT_LE(open, 2 * static_cast<int>(rig_.PresentDevices())) << "device handles stay open";
        if (Chance(0.3)) {
            ASSERT_TRUE(rig_.WaitForApply()) << "the apply worker is stuck";
        }
    }

    SoakFigures figures;

  private:
    SoakRig& rig_;
    std::mt19937 random_;
    bool cable_ = false;
    bool receiver_ = false;
    bool linked_ = true;
};

TEST(PlugSoak, DevicesComeAndGoWhileReadersRunAndApplyRunsAreInFlight) {
    const auto cycles = static_cast<int>(EnvNumber("MOUSECFG_SOAK_CYCLES", 200));
    const auto seed = static_cast<unsigned>(EnvNumber("MOUSECFG_SOAK_SEED", std::random_device{}()));
    std::printf("soak: %d cycles, seed %u (MOUSECFG_SOAK_SEED=%u repeats the choices)\n", cycles, seed, seed);
    RecordProperty("seed", std::to_string(seed));
    const auto start = std::chrono::steady_clock::now();

    SoakRig rig;
    rig.Start();
    PlugSoak soak(rig, seed);
    for (int cycle = 0; cycle < cycles; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle) + " of seed " + std::to_string(seed));
        soak.Change();
        ASSERT_FALSE(HasFatalFailure());
        soak.Press();
        ASSERT_FALSE(HasFatalFailure());
    }

    // Everything goes away: no reader, no open handle and no run is left behind.
    ASSERT_TRUE(rig.SetPlugged(SimAttachment::Cable, false));
    ASSERT_TRUE(rig.SetPlugged(SimAttachment::Receiver, false));
    ASSERT_TRUE(rig.WaitForApply()) << "the apply worker is stuck";
    EXPECT_TRUE(rig.PumpUntil([&] { return rig.monitor->RunningReaders() == 0; })) << "a reader outlived its device";
    EXPECT_EQ(rig.backend.OpenHandleCount(), 0) << "device handles leaked";
    test::ExpectNoRejections(rig.cableMouse);
    test::ExpectNoRejections(rig.receiverMouse);
    test::ExpectNoRejections(rig.bleMouse);

    const SoakFigures& f = soak.figures;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "soak: %d cycles in %.1f s: %d plug changes, %d link changes, %d BLE changes, %d apply runs "
        "(%d finished, %d changes made during one), %d presses heard, %d receiver presses skipped (no reader while on "
        "BLE), "
        "at most %d handles open\n",
        cycles, seconds, f.pluggedChanges, f.linkChanges, f.bleChanges, f.applyRuns, rig.finishedRuns,
        f.changesDuringApply, f.pressesHeard, f.receiverUnread, f.maxOpenHandles);
}

}  // namespace
}  // namespace mousecfg
