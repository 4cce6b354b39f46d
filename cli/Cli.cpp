#include "cli/Cli.h"

#include <functional>
#include <map>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/DeviceConnection.h"
#include "cli/FrameTracer.h"

namespace mousecfg::cli {
namespace {

using Command = std::function<int(const CommandContext&)>;

// The commands that talk to the mouse; `configuration` marks those that work on the configuration in the
// resource folder.
struct CommandEntry {
    Command run;
    bool configuration = false;
};

const std::map<std::string, CommandEntry>& CommandTable() {
    static const std::map<std::string, CommandEntry> table = {
        {"info", {[](const CommandContext& c) { return RunInfo(c.device, c.args, c.out, c.err); }}},
        {"macro-write", {[](const CommandContext& c) { return RunMacroWrite(c.device, c.args, c.out, c.err); }}},
        {"show", {RunShow, true}},
        {"set", {RunSet, true}},
        {"profile", {RunProfile, true}},
        {"apply", {RunApply, true}},
        {"export", {RunExport, true}},
        {"import", {RunImport, true}},
        {"reset", {RunReset, true}},
        {"macro", {RunMacro, true}},
    };
    return table;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err, CliInspector* inspector,
           HidBackend* hardware) {
    const auto options = ParseCliOptions(arguments);
    if (!options) {
        std::fprintf(err, "mousecfg-cli: %s\n", options.message().c_str());
        return kExitBadInput;
    }
    if (options->help) {
        std::fputs(UsageText().c_str(), out);
        return kExitOk;
    }
    if (options->command == "devices") {
        return RunDevices(*options, ResourceRoot(*options), out, err);
    }
    const auto command = CommandTable().find(options->command);
    if (command == CommandTable().end()) {
        std::fprintf(err, "mousecfg-cli: unknown command '%s' (try --help)\n", options->command.c_str());
        return kExitBadInput;
    }
    const std::filesystem::path resRoot = ResourceRoot(*options);
    Result<std::filesystem::path> configRoot = resRoot;
    if (command->second.configuration) {
        configRoot = ConfigurationRoot(*options);
        if (!configRoot) {
            std::fprintf(err, "mousecfg-cli: %s\n", configRoot.message().c_str());
            return kExitFailed;
        }
    }

    FrameTracer tracer(err);
    auto device = DeviceConnection::Open(*options, resRoot, options->trace ? &tracer : nullptr, hardware);
    if (!device) {
        std::fprintf(err, "mousecfg-cli: %s\n", device.message().c_str());
        return kExitFailed;
    }
    int status = command->second.run(CommandContext{**device, resRoot, *configRoot, options->args, out, err});
    // A command that ended well while the BLE mouse went away cannot say what the mouse took.
    if (status == kExitOk && (*device)->Disconnected()) {
        std::fprintf(err, "mousecfg-cli: %s\n", kDisconnectedText);
        status = kExitFailed;
    }
    if (inspector != nullptr) {
        inspector->AfterCommand(**device, status);
    }
    return status;
}

}  // namespace mousecfg::cli
