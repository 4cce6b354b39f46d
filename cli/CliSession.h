#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "cli/NoWindowTimers.h"
#include "cli/PathFileDialogs.h"
#include "cli/StderrMessageBoxes.h"
#include "config/ApplyJob.h"
#include "config/MousePages.h"
#include "device/ConnectionState.h"
#include "platform/Status.h"

namespace mousecfg {
class BleReplyDecoder;
class MacroStore;
class MouseSession;
struct Message;
}  // namespace mousecfg

namespace mousecfg::cli {

class DeviceConnection;

// What a command needs of the saved documents.
enum class ConfigUse {
    Edit,     // it works on them: the configuration document and the macro document must load
    Replace,  // it replaces the configuration (reset, import): a missing or damaged one is no obstacle
};

// The mouse configuration of the connected device for one command of the tool: the macro document and the
// mouse session, with the tool's main thread standing in for the main window (it handles the session's
// requests, the apply worker's messages and the BLE replies) and apply progress shown on the error stream.
// The configuration lives in the resource folder, so that it carries over from one command to the next.
class CliSession final : private MousePages {
  public:
    // Identifies the device in the catalogue below `resRoot`, loads the macro document and the device's
    // configuration from `configRoot` (what is only read, such as factory documents, from `resRoot`). Fails with
    // a one-line message, also when a document does not load and `use` is Edit. With Replace a damaged document
    // is reported on `err` (it is kept aside before anything replaces it), and macrosDamaged() tells the command
    // that the macro document was.
    static Result<std::unique_ptr<CliSession>> Open(DeviceConnection& device, const std::filesystem::path& resRoot,
                                                    const std::filesystem::path& configRoot, std::FILE* err,
                                                    ConfigUse use = ConfigUse::Edit);
    ~CliSession() override;
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    MouseSession& mouse() { return *mouse_; }
    MacroStore& macros() { return *macros_; }
    PathFileDialogs& dialogs() { return dialogs_; }
    int warningsShown() const { return boxes_.shown(); }
    // Open reported a damaged macro document: the command ends with kExitFailed however it went.
    bool macrosDamaged() const { return macrosDamaged_; }

    // Handles messages until the apply run requested or started before has ended and nothing more is queued
    // (over BLE, until the replies to its reads have come in and been stored, which saves the document again).
    // Returns the run's outcome (its `saved` also covering that last save); nothing when no run ended.
    std::optional<ApplyOutcome> FinishApply();

  private:
    CliSession(DeviceConnection& device, std::FILE* err);
    Status LoadDocuments(ConfigUse use);
    void OnMessage(const Message& message);
    void ShowApplyProgress(bool show, bool full) override;
    void ShowApplySteps(int done, int total) override;

    DeviceConnection& device_;
    std::FILE* err_;
    NoWindowTimers timers_;
    PathFileDialogs dialogs_;
    StderrMessageBoxes boxes_;
    ConnectionState state_;
    uint8_t storedVariant_ = 0;
    int finishedRuns_ = 0;
    int lastQuarter_ = 0;
    bool macrosDamaged_ = false;
    std::unique_ptr<MacroStore> macros_;
    std::unique_ptr<MouseSession> mouse_;
    std::unique_ptr<BleReplyDecoder> decoder_;
};

}  // namespace mousecfg::cli
