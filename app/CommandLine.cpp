#include "app/CommandLine.h"

#include <string_view>

namespace mousecfg::app {

const char* SimulationName(Simulation simulation) {
    switch (simulation) {
        case Simulation::Cable: return "cable";
        case Simulation::Receiver: return "receiver";
        case Simulation::Ble: return "ble";
        case Simulation::None: break;
    }
    return "";
}

const char* CommandLine::Usage() {
    return "usage: mousecfg [--simulate cable|receiver|ble] [--res DIR] [--grab OUT.png] [-silent]\n"
           "       mousecfg --sim-command TEXT      (hand TEXT to the running instance's virtual mouse)\n"
           "       mousecfg --ask status|restore    (ask the running instance)\n"
           "       mousecfg --skin-test FILE [--grab OUT.png]\n"
           "  --simulate KIND   run against the virtual mouse attached by cable, receiver or BLE\n"
           "  --res DIR         use another resource folder (default: res beside the program)\n"
           "  --grab OUT.png    save a picture of the window once it is painted, then quit\n"
           "  -silent           start hidden in the tray when the settings ask for it\n";
}

CommandLine CommandLine::Parse(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--simulate" && hasValue) {
            const std::string_view kind = argv[++i];
            line.simulate = kind == "cable" ? Simulation::Cable : kind == "receiver" ? Simulation::Receiver
                            : kind == "ble"   ? Simulation::Ble
                                              : Simulation::None;
            if (line.simulate == Simulation::None) {
                line.error = "--simulate takes cable, receiver or ble";
            }
        } else if (argument == "--res" && hasValue) {
            line.resourceFolder = std::filesystem::absolute(argv[++i]);
        } else if (argument == "--grab" && hasValue) {
            // The program works from its own folder: a relative name is taken from where it was started.
            line.grab = std::filesystem::absolute(argv[++i]);
        } else if (argument == "--sim-command" && hasValue) {
            line.ask = "sim " + std::string(argv[++i]);
        } else if (argument == "--ask" && hasValue) {
            line.ask = argv[++i];
        } else if (argument == "--skin-test" && hasValue) {
            line.skinTest = argv[++i];
        } else if (argument.starts_with("--")) {
            line.error = "unknown option " + std::string(argument);
        } else {
            line.text += (line.text.empty() ? "" : " ") + std::string(argument);
        }
    }
    return line;
}

}  // namespace mousecfg::app
