#pragma once

#include <memory>

#include "cli/CliSession.h"
#include "cli/Commands.h"

namespace mousecfg::cli {

// Opens the configuration of the connected device for a configuration command; prints the failure (one line)
// and returns nullptr when it cannot.
std::unique_ptr<CliSession> OpenConfiguration(const CommandContext& context, ConfigUse use = ConfigUse::Edit);

// Saves the changed configuration before anything is sent, so that the mouse never holds what the files do not:
// kExitOk, or one error line naming the file and kExitFailed.
int SaveBeforeRun(CliSession& session, const CommandContext& context);

// Waits for the apply run the command asked for and turns its outcome into the exit status: kExitOk when a run
// ended with every write delivered and its results saved; an error line (the session's message for a save
// failure) and kExitFailed when no run ended, writes failed, results could not be saved or the BLE mouse went
// away meanwhile.
int FinishRun(CliSession& session, const CommandContext& context);

}  // namespace mousecfg::cli
