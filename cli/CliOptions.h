#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Status.h"

namespace mousecfg::cli {

// How the tool reaches a mouse: a real one through the system's HID devices, or a virtual one.
enum class Target { Hardware, SimCable, SimReceiver, SimBle };

struct CliOptions {
    Target target = Target::Hardware;
    bool trace = false;      // print every feature report to stderr
    bool help = false;
    std::string resDir;      // empty: the folder "res" beside the program
    std::string command;     // first word after the options
    std::vector<std::string> args;
};

// Reads the command line (without the program name). Options may stand anywhere before the command:
// --simulate cable|receiver|ble, --trace, --res DIR, --help / -h.
Result<CliOptions> ParseCliOptions(const std::vector<std::string>& arguments);

// The read-only resource folder (catalogue, model defaults): --res, else the install's (platform/ProgramPaths.h).
std::filesystem::path ResourceRoot(const CliOptions& options);

// The folder the configuration commands read and write, laid out like the resource folder: --res when given;
// else, for real hardware, the per-user folder the program itself uses ($XDG_CONFIG_HOME/mousecfg); else, for a
// virtual mouse, its own copy ($XDG_STATE_HOME/mousecfg/simulate/res), so that simulating never changes the real
// configuration but carries over from one command to the next. Seeded from the resources at first use and
// upgraded when they bring new keys (config/UserDocuments.h). Fails with a message when it cannot be made.
Result<std::filesystem::path> ConfigurationRoot(const CliOptions& options);

// The text of --help.
std::string UsageText();

}  // namespace mousecfg::cli
