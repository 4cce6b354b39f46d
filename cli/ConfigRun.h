#pragma once

#include <memory>

#include "cli/CliSession.h"
#include "cli/Commands.h"

namespace mousecfg::cli {

// Opens the configuration of the connected device for a configuration command; prints the failure (one line)
// and returns nullptr when it cannot.
std::unique_ptr<CliSession> OpenConfiguration(const CommandContext& context);

// Waits for the apply run the command asked for and turns its outcome into the exit status: kExitOk when a run
// ended with every write delivered; one error line and kExitFailed when no run ended or writes failed.
int FinishRun(CliSession& session, const CommandContext& context);

}  // namespace mousecfg::cli
