#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace mousecfg {
class HidBackend;
}

namespace mousecfg::cli {

class DeviceConnection;

// Sees the connection after a command ran, before it closes (tests look at what the virtual mouse holds).
class CliInspector {
  public:
    virtual ~CliInspector() = default;
    virtual void AfterCommand(DeviceConnection& device, int status) = 0;
};

// Runs the command-line tool on `arguments` (without the program name), printing results to `out` and
// errors and traces to `err`. Returns the exit status. Without --simulate the mouse is looked for among the
// interfaces of `hardware` when given (tests: a virtual mouse's backend standing in for the system), else among
// the system's HID devices.
int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err,
           CliInspector* inspector = nullptr, HidBackend* hardware = nullptr);

}  // namespace mousecfg::cli
