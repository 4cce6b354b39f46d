#include "cli/CliOptions.h"

#include "config/UserDocuments.h"
#include "platform/ProgramPaths.h"

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
    return options.resDir.empty() ? FindResourceFolder(RunningProgramFolder())
                                  : std::filesystem::absolute(options.resDir).lexically_normal();
}

Result<std::filesystem::path> ConfigurationRoot(const CliOptions& options) {
    const Result<ProgramPaths> paths = ResolveProgramPaths(RunningProgramFolder(), options.resDir,
                                                           options.target != Target::Hardware,
                                                           UserEnvironment::FromProcess());
    if (!paths) {
        return paths.status();
    }
    const Result<UserDocuments::Report> prepared = UserDocuments::Prepare(paths->resourceFolder, paths->configFolder);
    if (!prepared) {
        return prepared.status();
    }
    return paths->configFolder;
}

std::string UsageText() {
    return R"(Usage: mousecfg-cli [OPTIONS] COMMAND [ARGUMENTS]

Configures a gaming mouse connected by cable, 2.4 GHz receiver or Bluetooth LE.

Options:
  --simulate cable|receiver|ble   use the virtual mouse attached this way instead of real hardware
  --trace                         print every feature report to stderr: "> " and the 41 bytes sent,
                                  "< " and the 41 bytes received, as two-digit hex separated by blanks
  --res DIR                       one folder for the resources (device catalogue, model folders) and the
                                  configuration. Default: the installed resources, and the configuration in
                                  $XDG_CONFIG_HOME/mousecfg (~/.config/mousecfg), or with --simulate in its own
                                  copy $XDG_STATE_HOME/mousecfg/simulate/res, so that simulating never changes
                                  the real configuration; both are made from the resources at first use
  -h, --help                      show this text

Without --simulate the tool uses the mouse connected by cable or through its receiver; when there is none, a
mouse of the BLE device list paired and connected over Bluetooth LE (through its hidraw node: the user needs
read and write access to it, as to the USB devices' nodes).

The configuration in the configuration folder is the user's truth: each command loads it, changes it, sends the
change to the mouse and saves it. A virtual mouse starts empty in every run of the tool.

Commands (profiles, DPI levels, buttons, colour slots and report-rate indexes count from 0):
  devices                 the supported devices of the catalogue and which of them are plugged in
  info                    link state, battery percent, charging state and device variant
  show [--json]           the configuration: profiles, DPI levels with their DPI values, report rates,
                          lighting, button functions with their labels, sensor options
  set SETTING VALUES      changes one setting of the current profile (or a sensor option) and sends it:
    dpi LEVEL DPI           DPI of level LEVEL (0..7); the nearest DPI the sensor offers is taken
    dpi-enable LEVEL on|off level on or off
    dpi-colour LEVEL RRGGBB level colour (hexadecimal)
    active-dpi LEVEL        the active DPI level
    rate INDEX              report rate of the current link (0..3, 0..6 on seven-rate models; 0 over BLE)
    light-mode MODE         lighting mode by index or name (see show)
    brightness N            1..5            speed N   1..5            direction N   0..3
    light-colour SLOT RRGGBB                light-colour-enable SLOT on|off   (slots 0..6; one stays on)
    button BUTTON CODE      function code CODE (0..119 built-in, 260.. keys as 256 + HID usage) of
                            button BUTTON (a button of the mouse, 0 up to its button count - 1, or 16 and 17
                            for the wheel); the only left click stays
    fire VALUE              fire-key value (0..255; 0 counts as 2): rewrites the fire-key buttons
    power-save on|off  sleep-time MINUTES (1..60)  pd-time MINUTES (1..120)  short-press N (0..30)
    lod 0|1  straight-line on|off  ripple on|off  smooth-line on|off  jitter on|off  move-wake on|off
  profile N               switches to profile N (0..2); the mouse is re-synchronised by the profile tags
  apply [--full]          brings the current profile to the mouse: written when the mouse's profile tag
                          differs from the saved one, or always with --full
  export FILE             writes the saved configuration with the device name to FILE (*.Mouse.Config)
  import FILE             replaces the configuration by FILE's when FILE belongs to this device, then
                          writes the profile
  reset                   the model's factory configuration and sensor options, then writes the profile
  macro list              the macro groups and macros with their binding counts
  macro bind BUTTON GROUP MACRO
                          binds a macro (group and macro by index or name) to a button (as for set button;
                          not over BLE)
  macro-write SLOT FILE   write the macro object in FILE (a "MacroInfo" entry of a macro document, with
                          its "macData" of at most 500 items) to macro slot SLOT (0..15); prints the result
                          code of the write: 1 written, 0 not written, -1 too long for the mouse (over 512 bytes)

Changes are saved before they are sent, so the mouse never holds what the resource folder does not. A
configuration or macro document that cannot be read is never overwritten: every configuration command but
reset and import stops; reset and import keep it as FILE.damaged before they save in its place.

Progress of apply runs goes to stderr. Exit status: 0 success; 1 the device is missing, went away or refused
the operation, or a file of the configuration could not be read or saved (the message names it); 2 bad arguments
or unreadable files named on the command line.
)";
}

}  // namespace mousecfg::cli
