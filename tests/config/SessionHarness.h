#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "config/MousePages.h"
#include "config/MouseSession.h"
#include "device/BleReplyDecoder.h"
#include "device/ConnectionState.h"
#include "macro/MacroStore.h"
#include "tests/support/ManualTimers.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/SimMouseRig.h"
#include "tests/support/TempDir.h"

namespace mousecfg::test {

// Pages that remember what they were asked to show.
struct RecordingPages final : MousePages {
    void ShowApplyProgress(bool show, bool full) override { progress.emplace_back(show, full); }
    void ShowApplySteps(int done, int total) override { steps.emplace_back(done, total); }
    void ShowProfileSelector(int profile) override { selector.push_back(profile); }
    std::vector<std::pair<bool, bool>> progress;
    std::vector<std::pair<int, int>> steps;
    std::vector<int> selector;
};

// A copy of the shipped resource folder (model MouseA, macro document, settings file) in a temporary folder.
void CopyShippedResources(const std::filesystem::path& target);

// A mouse session over a virtual mouse, with the test thread as its main window: it passes the apply requests,
// the worker's messages and the BLE replies to the session. The resource folder is a fresh copy.
class SessionHarness {
  public:
    explicit SessionHarness(RigLink link, Pacer* pacer = nullptr, PacingValues pacing = PacingValues::Zero());
    ~SessionHarness();

    // SetDevice, SetLink, the macro document and LoadDevice; then the mouse's log is cleared.
    void Load();
    // Handles messages until `count` more runs have finished (false on time-out).
    bool WaitForRuns(int count = 1);
    // Handles what is queued until nothing arrives for a moment.
    void Drain();

    SimMouseRig rig;
    TempDir res;
    ManualTimers timers;
    ScriptedFileDialogs dialogs;
    RecordingMessageBoxes boxes;
    RecordingPages pages;
    std::unique_ptr<MacroStore> macros;
    std::unique_ptr<MouseSession> session;
    std::vector<uint32_t> handled;  // ids of the messages the window handled
    int finishedRuns = 0;

  private:
    ConnectionState state_;
    std::unique_ptr<BleReplyDecoder> decoder_;
    uint8_t variant_ = 0;
};

}  // namespace mousecfg::test
