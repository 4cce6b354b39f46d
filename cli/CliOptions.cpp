#include "cli/CliOptions.h"

namespace mousecfg::cli {

Result<CliOptions> ParseCliOptions(const std::vector<std::string>& arguments) {
    CliOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (!options.command.empty()) {
            options.args.push_back(word);
        } else if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (word == "--trace") {
            options.trace = true;
        } else if (word == "--simulate" || word == "--res") {
            if (i + 1 >= arguments.size()) {
                return Status::Error(word + " needs a value");
            }
            const std::string& value = arguments[++i];
            if (word == "--res") {
                options.resDir = value;
            } else if (value == "cable") {
                options.target = Target::SimCable;
            } else if (value == "receiver") {
                options.target = Target::SimReceiver;
            } else if (value == "ble") {
                options.target = Target::SimBle;
            } else {
                return Status::Error("--simulate takes cable, receiver or ble, not '" + value + "'");
            }
        } else if (word.size() > 1 && word[0] == '-') {
            return Status::Error("unknown option '" + word + "'");
        } else {
            options.command = word;
        }
    }
    if (options.command.empty() && !options.help) {
        return Status::Error("no command given (try --help)");
    }
    return options;
}

std::filesystem::path ResourceRoot(const CliOptions& options) {
    if (!options.resDir.empty()) {
        return options.resDir;
    }
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path("res") : program.parent_path() / "res";
}

std::string UsageText() {
    return R"(Usage: mousecfg-cli [OPTIONS] COMMAND [ARGUMENTS]

Configures a gaming mouse connected by cable, 2.4 GHz receiver or Bluetooth LE.

Options:
  --simulate cable|receiver|ble   use the virtual mouse attached this way instead of real hardware
  --trace                         print every feature report to stderr: "> " and the 41 bytes sent,
                                  "< " and the 41 bytes received, as two-digit hex separated by blanks
  --res DIR                       the resource folder with the device catalogue (default: res beside the
                                  program)
  -h, --help                      show this text

Commands:
  devices                 the supported devices of the catalogue and which of them are plugged in
  info                    link state, battery percent, charging state and device variant
  macro-write SLOT FILE   write the macro object in FILE (a "MacroInfo" entry of a macro document, with
                          its "macData") to macro slot SLOT (0..15); prints the result code of the write:
                          1 written, 0 not written, -1 too long for the mouse (over 512 bytes)

Exit status: 0 success, 1 the device is missing or refused the operation, 2 bad arguments or unreadable files.
)";
}

}  // namespace mousecfg::cli
