#pragma once

#include <filesystem>
#include <string>

namespace mousecfg::app {

// Which virtual mouse replaces the system's devices (--simulate).
enum class Simulation { None, Cable, Receiver, Ble };

// The program's command line. The options below are taken out first; what remains, joined by single blanks,
// is the command line of the start proper, which counts as a silent start only when it is exactly "-silent".
//   --simulate cable|receiver|ble   run against the virtual mouse attached this way
//   --res DIR                       another resource folder
//   --grab OUT.png                  save a picture of the main window once it is painted, then quit
//   --sim-command TEXT              hand TEXT to the virtual mouse of the running instance, print its answer
//   --ask TEXT                      send a request to the running instance ("status", "restore"), print its answer
//   --skin-test FILE                open a skin file in a test window (with --grab: save it and quit)
struct CommandLine {
    std::string text;
    Simulation simulate = Simulation::None;
    std::filesystem::path resourceFolder;
    std::filesystem::path grab;
    std::string ask;  // the request for the running instance (--ask, or "sim " + the --sim-command text)
    std::filesystem::path skinTest;
    bool help = false;
    std::string error;  // not empty when the options were not understood

    bool Silent() const { return text == "-silent"; }
    static CommandLine Parse(int argc, const char* const* argv);
    static const char* Usage();
};

// "cable", "receiver", "ble" or "" for None.
const char* SimulationName(Simulation simulation);

}  // namespace mousecfg::app
