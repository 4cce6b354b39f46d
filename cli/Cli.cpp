#include "cli/Cli.h"

#include <functional>
#include <map>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/DeviceConnection.h"
#include "cli/FrameTracer.h"

namespace mousecfg::cli {

int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
    const auto options = ParseCliOptions(arguments);
    if (!options) {
        std::fprintf(err, "mousecfg-cli: %s\n", options.message().c_str());
        return kExitBadInput;
    }
    if (options->help) {
        std::fputs(UsageText().c_str(), out);
        return kExitOk;
    }
    const std::filesystem::path resRoot = ResourceRoot(*options);
    if (options->command == "devices") {
        return RunDevices(*options, resRoot, out, err);
    }
    using Command = std::function<int(DeviceConnection&, const std::vector<std::string>&, std::FILE*, std::FILE*)>;
    const std::map<std::string, Command> commands = {
        {"info", RunInfo},
        {"macro-write", RunMacroWrite},
    };
    const auto command = commands.find(options->command);
    if (command == commands.end()) {
        std::fprintf(err, "mousecfg-cli: unknown command '%s' (try --help)\n", options->command.c_str());
        return kExitBadInput;
    }

    FrameTracer tracer(err);
    auto device = DeviceConnection::Open(*options, resRoot, options->trace ? &tracer : nullptr);
    if (!device) {
        std::fprintf(err, "mousecfg-cli: %s\n", device.message().c_str());
        return kExitFailed;
    }
    return command->second(**device, options->args, out, err);
}

}  // namespace mousecfg::cli
