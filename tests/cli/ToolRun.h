#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/DeviceConnection.h"
#include "tests/support/SimChecks.h"

namespace mousecfg::cli {

// What one run of the tool printed and returned.
struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string DrainFile(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, n);
    }
    std::fclose(file);
    return text;
}

// Passes the command's end on to `next`, after checking that the virtual mouse refused nothing.
struct RejectionCheck final : CliInspector {
    explicit RejectionCheck(CliInspector* nextInspector) : next(nextInspector) {}
    void AfterCommand(DeviceConnection& device, int status) override {
        if (device.virtualMouse() != nullptr) {
            test::ExpectNoRejections(*device.virtualMouse());
        }
        if (next != nullptr) {
            next->AfterCommand(device, status);
        }
    }
    CliInspector* next;
};

// Runs the tool in this process with `arguments`, capturing its two streams. A virtual mouse must refuse nothing.
inline ToolRun RunTool(const std::vector<std::string>& arguments, CliInspector* inspector = nullptr) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ToolRun run;
    RejectionCheck check(inspector);
    run.status = RunCli(arguments, out, err, &check);
    run.out = DrainFile(out);
    run.err = DrainFile(err);
    return run;
}

}  // namespace mousecfg::cli
