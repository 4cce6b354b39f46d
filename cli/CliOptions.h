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

// The resource folder the options name: --res, else "res" beside the program.
std::filesystem::path ResourceRoot(const CliOptions& options);

// The resource folder the configuration commands read and write: --res when given; else, for real hardware, the
// folder "res" beside the program (the configuration the program itself uses); else, for a virtual mouse, a
// copy of the parts of that folder the configuration needs in the user's state folder
// ($XDG_STATE_HOME/mousecfg/simulate/res, ~/.local/state/... by default), made at first use, so that simulating
// never changes the real configuration but carries over from one command to the next.
Result<std::filesystem::path> ConfigurationRoot(const CliOptions& options);

// The text of --help.
std::string UsageText();

}  // namespace mousecfg::cli
