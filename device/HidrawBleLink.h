#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "device/BleLink.h"
#include "device/CommandFrame.h"
#include "platform/HidBackend.h"
#include "platform/MessageSink.h"
#include "platform/Pacer.h"
#include "platform/Status.h"

namespace mousecfg {

class UdevMonitor;

// The BLE link of a mouse paired with the system over Bluetooth LE. The system's Bluetooth stack gives such a
// mouse a hidraw node on the Bluetooth bus (0x0005) whose feature reports reach the mouse's report
// characteristics, so the link needs no Bluetooth code of its own:
//  - RegisterDevices looks among the HID backend's interfaces for a node on the Bluetooth bus that has the
//    feature collection (usage page 0xFF01, usage 1) and whose product string is one of the registered names (the
//    BLE device list). When it is there the link opens it and posts "connected" (2065, wParam 1); when it is not,
//    nothing is posted, and the node is looked for again at every arrival reported to DeviceChanges().
//  - SendFrame writes the report as feature report 6. For a read request the answer is read back as feature
//    report 6 (after the transport's wait before a read, up to five times until it carries data) and posted as
//    2065 with wParam 0x600 | (code & 0x0F) and the report's hexadecimal text, as the BLE logic expects.
//  - Input reports 5 of the node are posted as 2065 with wParam 0x500 and their hexadecimal text.
//  - When the node goes away the link posts "disconnected" (wParam 2) and waits for it to come back.
// Threads: one worker does all feature-report traffic with the node, in the order the frames were sent (SendFrame
// waits for its own write, behind the read-back of an earlier request); one reader waits in reads of the node's
// input reports. Both reach the window only by posting messages; the window must outlive the link.
// The calls may come from any thread.
class HidrawBleLink final : public BleLink {
  public:
    // `backend` must outlive the link. The pacing's wait before a read paces the read-backs.
    explicit HidrawBleLink(HidBackend& backend, PacingValues pacing = PacingValues::Default(),
                           Pacer& pacer = DefaultPacer());
    ~HidrawBleLink() override;
    HidrawBleLink(const HidrawBleLink&) = delete;
    HidrawBleLink& operator=(const HidrawBleLink&) = delete;

    HResult RegisterDevices(const std::string& deviceNames, MessageSink* window, int messageNumber) override;
    // `*status` is 1 while the node is open, 0 otherwise.
    HResult QueryStatus(int16_t* status) override;
    // `*sent` is 1 when the node took the report; 0 when there is no node, the node refused it, or the text is
    // not a report as the transport writes it (41 pairs of lower-case digits, each followed by a blank).
    HResult SendFrame(const std::string& hexText, int16_t* sent) override;

    // Where hidraw arrivals and removals are to be posted (kDeviceChangeMessage); after a registration an arrival
    // makes the link look for its node. Any thread.
    MessageSink& DeviceChanges() { return changes_; }
    // Has the system's hidraw changes posted to DeviceChanges() (a udev monitor of the link's own). Fails when
    // udev cannot be reached: the node is then looked for only at registrations. Called once, on the thread that
    // created the link.
    Status WatchSystemDeviceChanges();

    bool Connected() const;

    // The node the link takes among `interfaces`: the first on the Bluetooth bus with the feature collection whose
    // product string is one of `names`; nothing when there is none. Pure: any thread.
    static std::optional<HidInterfaceInfo> FindNode(const std::vector<HidInterfaceInfo>& interfaces,
                                                    const std::vector<std::string>& names);

    static constexpr int kReadAttempts = 5;
    // The wait after a failed input read, and the longest one it grows to while reads keep failing.
    static constexpr std::chrono::milliseconds kRetryWait{2};
    static constexpr std::chrono::milliseconds kLongestRetryWait{500};

  private:
    // Work for the worker, in order.
    struct Job {
        enum class Kind { Register, Look, Write } kind;
        FeatureReport report{};              // Write: the report
        std::shared_ptr<std::promise<bool>> written;  // Write: whether the node took it
    };
    class ChangeSink final : public MessageSink {
      public:
        explicit ChangeSink(HidrawBleLink& link) : link_(link) {}
        void Post(Message message) override;
        intptr_t Send(Message message) override;

      private:
        HidrawBleLink& link_;
    };

    void StartThreadsLocked();
    void Enqueue(Job job);
    void RunWorker();
    void RunReader();
    // Worker: opens the node when it is there (Register also tells a connection that is already open).
    void LookForNode(bool registering);
    bool Write(const FeatureReport& report);
    void ReadBack(uint8_t code);
    // Reader: after a failed read, whether to read again (false: closed or gone, the link has let go of it).
    bool AfterFailedRead(const std::shared_ptr<HidHandle>& input, std::chrono::milliseconds wait);
    bool NodeListed(const std::string& path);
    void Release(const std::shared_ptr<HidHandle>& input);
    void Post(uintptr_t code, std::string text);

    HidBackend& backend_;
    const PacingValues pacing_;
    Pacer& pacer_;
    ChangeSink changes_{*this};
    std::unique_ptr<UdevMonitor> udev_;

    // State below is protected by mutex_.
    mutable std::mutex mutex_;
    std::condition_variable wake_;  // a job was queued, a node was opened, or the link is stopping
    std::deque<Job> jobs_;
    bool stopping_ = false;
    bool registered_ = false;
    std::vector<std::string> names_;
    MessageSink* window_ = nullptr;
    uint32_t messageNumber_ = 0;
    std::string nodePath_;
    std::shared_ptr<HidHandle> feature_;  // the node, opened for the worker's feature reports
    std::shared_ptr<HidHandle> input_;    // the node opened again, for the reader's blocking reads
    std::thread worker_;
    std::thread reader_;
};

}  // namespace mousecfg
