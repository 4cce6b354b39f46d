#include "tests/soak/SoakRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "config/ApplyMessages.h"
#include "device/DeviceMessages.h"
#include "platform/DeviceChange.h"
#include "tests/support/CatalogueFiles.h"

namespace mousecfg::test {
namespace {

constexpr int kPressedButton = 0;

}  // namespace

void ScaledPacer::Pause(std::chrono::milliseconds duration) {
    if (duration.count() > 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(duration.count()));
    }
}

SoakRig::SoakRig() : window([this](const Message& message) { return Handle(message); }) {
    const auto shipped = TestDataPath("../../res");
    for (const char* part : {"Set.ini", "VeruzUrir", "MacroDock"}) {
        std::filesystem::copy(shipped / part, res.path() / part, std::filesystem::copy_options::recursive);
    }
    WriteCatalogueArchive(res.path(), VirtualMouseCatalogue());
    WriteBleList(res.path(), R"({"bleString": ["Virtual Mouse"]})");
    transport.SetBleLink(&ble, kS_OK);
    macros = std::make_unique<MacroStore>(MacroResourceFolder{res.path()}, dialogs, boxes);
    session = std::make_unique<MouseSession>(
        MouseSessionServices{commands, window, timers, dialogs, boxes, *macros, pages, KeyNames()}, res.path());
    catalogue = std::make_unique<FindDev>(backend, res.path());
    catalogue->SetConsole(silent_);
    monitor =
        std::make_unique<ConnectionMonitor>(MonitorServices{*catalogue, commands, window, timers, boxes, *session, 1});
    timers.SetTickHandler([this](int id) { monitor->OnTimer(id); });
}

SoakRig::~SoakRig() {
    backend.SetDeviceChangeSink(nullptr);
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        monitor->Shutdown();
        stopped = true;
        window.Post(Message{});  // wakes the pump
    });
    const bool monitorStopped = PumpUntil([&] { return stopped.load(); });
    stopper.join();
    EXPECT_TRUE(monitorStopped) << "the monitor's threads did not stop";
    EXPECT_TRUE(WaitForApply()) << "the apply worker did not stop";
    session.reset();  // joins the worker, which only posts
    monitor.reset();
}

void SoakRig::Start() {
    ASSERT_TRUE(macros->LoadMacros());
    catalogue->LoadBleList();
    catalogue->LoadCatalogue();
    session->SetDevice("Virtual Mouse", "MouseA");
    session->SetLink(CurrentLink());
    ASSERT_TRUE(session->LoadDevice().ok());
    monitor->StartMonitoring();
    backend.SetDeviceChangeSink(&window);
}

intptr_t SoakRig::Handle(const Message& message) {
    switch (message.id) {
        case kDeviceChangeMessage:
            ++deviceChanges;
            monitor->OnDeviceChange(message.wParam, message.text);
            return 0;
        case msg::kConnectionRefresh:
            ++refreshes;
            monitor->OnConnectionRefresh(message.wParam, message.lParam);
            return 0;
        case msg::kBleStatus:
            ++bleMessages;
            monitor->OnBleMessage(message.wParam, message.text);
            return 0;
        case msg::kApplyRequest:
            session->OnApplyRequest(message.wParam, message.lParam);
            return 0;
        case msg::kLightingChanged:
            lightingEvents_.emplace(message.lParam, message.wParam);
            return 0;
        default:
            break;
    }
    if (session->HandleWorkerMessage(message) && message.id == msg::kApplyFinished) {
        ++finishedRuns;
        monitor->RunDeferredBleReads();
    }
    return 0;
}

bool SoakRig::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!window.PumpUntil(done, std::chrono::milliseconds(5))) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
    }
    return true;
}

void SoakRig::PumpFor(std::chrono::milliseconds quiet) {
    window.PumpUntil([] { return false; }, quiet);
}

bool SoakRig::SetPlugged(sim::SimAttachment attachment, bool plugged) {
    const int before = deviceChanges;
    sim::VirtualMouse& mouse = attachment == sim::SimAttachment::Cable ? cableMouse : receiverMouse;
    const size_t announced = plugged ? backend.Plug(attachment, mouse).size() : backend.Unplug(attachment).size();
    if (!PumpUntil([&] { return deviceChanges >= before + static_cast<int>(announced); })) {
        return false;
    }
    return Settle();
}

size_t SoakRig::PresentDevices() const {
    return (catalogue->IsPresent(0) ? 1 : 0) + (catalogue->IsPresent(1) ? 1 : 0);
}

bool SoakRig::Settle() {
    const bool changePending = timers.IsTimerRunning(timer::kDeviceChange);
    const int before = refreshes;
    timers.Advance(timer::kDeviceChangeDelay);
    // The connection is chosen again (and readers started) unless the mouse stayed on BLE; choosing sends 2053.
    if (changePending) {
        readersMayLag_ = refreshes == before;
    }
    return PumpUntil([&] { return readersMayLag_ ? monitor->RunningReaders() <= PresentDevices() : AllPresentRead(); });
}

LinkKind SoakRig::CurrentLink() const {
    if (transport.BleActive()) {
        return LinkKind::Ble;
    }
    return monitor->State().connectionKind == 2 ? LinkKind::Receiver : LinkKind::Cable;
}

bool SoakRig::StartApply() {
    if (session->ApplyRunning()) {
        return false;
    }
    session->SetLink(CurrentLink());
    return session->StartApply(true);
}

bool SoakRig::WaitForApply() {
    return PumpUntil([&] { return !session->ApplyRunning(); });
}

bool SoakRig::PressReaches(sim::VirtualMouse& mouse, std::optional<intptr_t> device) {
    // Lighting states 16..63 with bit 7 set: the window's values are lighting modes 1..14 with bit 7 set.
    const auto state = static_cast<uint8_t>(0x80 | (16 + pressCount_++ % 48));
    const auto mapped = session->MappedButton(0, kPressedButton);
    EXPECT_TRUE(mapped.has_value()) << "the model maps the button";
    const uintptr_t expected = (static_cast<uintptr_t>(mapped.value_or(0)) << 8) | state;
    lightingEvents_.clear();
    mouse.SetButton(kPressedButton, true);
    mouse.SetExtraState(state, 0, 0, 0);
    mouse.SetButton(kPressedButton, false);
    return PumpUntil([&] {
        for (const auto& [from, wParam] : lightingEvents_) {
            if (wParam == expected && (!device || from == *device)) {
                return true;
            }
        }
        return false;
    });
}

}  // namespace mousecfg::test
