#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/BleLink.h"
#include "platform/MessageSink.h"

namespace mousecfg::sim {

class VirtualMouse;

// The BLE link of a virtual mouse. SendFrame takes the report's hexadecimal text, hands the report to the
// mouse, and for a read request posts the reply as message 2065 with wParam 0x600 | (code & 0x0F) and the
// reply report as hexadecimal text, from a thread of its own (as a real link would). Input reports of the
// mouse are posted as 2065 with wParam 0x500 while the link is connected. Tests drive connection events with the
// methods below. Messages go to the window given to RegisterDevices; before that they are dropped.
// A text that is not exactly a 41-byte report as the transport writes it (two lower-case digits and a blank per
// byte) is refused: the call succeeds with *sent = 0 and the mouse counts a rejection. The mouse must outlive the link. Thread-safe.
class SimBleLink final : public BleLink {
public:
    explicit SimBleLink(VirtualMouse& mouse);
    ~SimBleLink() override;

    HResult RegisterDevices(const std::string& deviceNames, MessageSink* window, int messageNumber) override;
    HResult QueryStatus(int16_t* status) override;
    HResult SendFrame(const std::string& hexText, int16_t* sent) override;

    // Test controls. Each posts message `messageNumber` with the code to the registered window.
    void Connect();                     // wParam 1
    void Disconnect();                  // wParam 2
    void FailConnection();              // wParam 3
    void RequestRegistration();         // wParam 4
    void ReportBattery(uint8_t percent);  // wParam 16, text = the percent as first byte
    void RequestStatusQuery();          // wParam 17
    // Makes the next calls of the three BleLink methods fail with `result`, doing nothing else (a result that
    // is not a failure, such as kS_OK, restores normal calls).
    void FailCallsWith(HResult result);
    void SetQueryStatus(int16_t status);
    // Whether RegisterDevices automatically connects (posts wParam 1) after registration.
    void SetAutoConnect(bool autoConnect);
    // Waits until every message queued so far has been posted.
    void Flush();

    int RegisterCount() const;
    std::string RegisteredNames() const;
    int FramesSent() const;  // reports SendFrame handed to the mouse and the mouse took
    bool Connected() const;

private:
    // Queues a message for the worker; the caller holds mutex_ and notifies wake_ after unlocking.
    void EnqueueLocked(uintptr_t code, std::string text);
    void Enqueue(uintptr_t code, std::string text);
    void SetConnectedAndPost(bool connected, uintptr_t code);
    void OnMouseInput(const std::vector<uint8_t>& report);
    void Run();

    VirtualMouse& mouse_;
    // State below is protected by mutex_.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::pair<uintptr_t, std::string>> outbox_;
    bool busy_ = false;
    bool stopping_ = false;
    MessageSink* window_ = nullptr;
    int messageNumber_ = 0;
    HResult failWith_ = kS_OK;
    int16_t queryStatus_ = 1;
    bool autoConnect_ = true;
    bool connected_ = false;
    int registerCount_ = 0;
    std::string registeredNames_;
    int framesSent_ = 0;
    uint64_t listenerId_ = 0;  // the mouse's input listener; set in the constructor, removed in the destructor
    std::thread worker_;
};

}  // namespace mousecfg::sim
