#include "cli/ConfigRun.h"

#include "cli/DeviceConnection.h"
#include "config/MouseSession.h"

namespace mousecfg::cli {

std::unique_ptr<CliSession> OpenConfiguration(const CommandContext& context, ConfigUse use) {
    Result<std::unique_ptr<CliSession>> session =
        CliSession::Open(context.device, context.resRoot, context.configRoot, context.err, use);
    if (!session) {
        std::fprintf(context.err, "mousecfg-cli: %s\n", session.message().c_str());
        return nullptr;
    }
    return std::move(*session);
}

int SaveBeforeRun(CliSession& session, const CommandContext& context) {
    const Status saved = session.mouse().SaveDocument();
    if (!saved) {
        std::fprintf(context.err, "mousecfg-cli: %s (nothing was sent to the mouse)\n", saved.message().c_str());
        return kExitFailed;
    }
    return kExitOk;
}

int FinishRun(CliSession& session, const CommandContext& context) {
    const std::optional<ApplyOutcome> outcome = session.FinishApply();
    if (context.device.Disconnected()) {
        std::fprintf(context.err, "mousecfg-cli: %s\n", kDisconnectedText);
        return kExitFailed;
    }
    if (!outcome) {
        std::fprintf(context.err, "mousecfg-cli: the apply run did not take place\n");
        return kExitFailed;
    }
    if (outcome->failedWrites > 0) {
        std::fprintf(context.err,
                     "mousecfg-cli: the mouse did not take %d of %d requests (the configuration is saved)\n",
                     outcome->failedWrites, outcome->writes);
        return kExitFailed;
    }
    return outcome->saved ? kExitOk : kExitFailed;  // the message window said which file
}

}  // namespace mousecfg::cli
