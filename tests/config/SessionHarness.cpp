#include "tests/config/SessionHarness.h"

#include <gtest/gtest.h>

#include "config/ApplyMessages.h"
#include "device/DeviceMessages.h"
#include "sim/VirtualMouse.h"
#include "tests/support/SimChecks.h"

namespace mousecfg::test {

void CopyShippedResources(const std::filesystem::path& target) {
    const auto source = TestDataPath("../../res");
    for (const char* part : {"Set.ini", "VeruzUrir", "MacroDock"}) {
        std::filesystem::copy(source / part, target / part, std::filesystem::copy_options::recursive);
    }
}

SessionHarness::SessionHarness(RigLink link, Pacer* pacer, PacingValues pacing) : rig(link, pacer, pacing) {
    CopyShippedResources(res.path());
    macros = std::make_unique<MacroStore>(MacroResourceFolder{res.path()}, dialogs, boxes);
    session = std::make_unique<MouseSession>(
        MouseSessionServices{rig.commands(), rig.window(), timers, dialogs, boxes, *macros, pages, KeyNames()},
        res.path());
    decoder_ = std::make_unique<BleReplyDecoder>(rig.commands(), *session, state_);
    rig.SetHandler([this](const Message& message) {
        handled.push_back(message.id);
        if (session->HandleWorkerMessage(message)) {
            finishedRuns += message.id == msg::kApplyFinished ? 1 : 0;
        } else if (message.id == msg::kApplyRequest) {
            session->OnApplyRequest(message.wParam, message.lParam);
        } else if (message.id == msg::kBleStatus && message.wParam >= ble::kReadReplyFirst &&
                   message.wParam <= ble::kReadReplyLast) {
            decoder_->Decode(message.wParam, message.text, variant_);
        }
    });
}

SessionHarness::~SessionHarness() {
    Drain();
    session.reset();  // joins a worker that may still post
    rig.SetHandler(nullptr);
    ExpectNoRejections(rig.mouse());
}

void SessionHarness::Load() {
    ASSERT_TRUE(macros->LoadMacros());
    session->SetDevice("Virtual Mouse", "MouseA");
    session->SetLink(rig.link() == RigLink::Cable      ? LinkKind::Cable
                     : rig.link() == RigLink::Receiver ? LinkKind::Receiver
                                                       : LinkKind::Ble);
    ASSERT_TRUE(session->LoadDevice());
    Drain();
    rig.mouse().ClearLog();
}

bool SessionHarness::WaitForRuns(int count) {
    const int target = finishedRuns + count;
    return rig.PumpUntil([&] { return finishedRuns >= target; });
}

void SessionHarness::Drain() {
    rig.Drain(std::chrono::milliseconds(rig.link() == RigLink::Ble ? 300 : 20));
}

}  // namespace mousecfg::test
