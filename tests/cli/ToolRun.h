#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/DeviceConnection.h"
#include "tests/support/CatalogueFiles.h"
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
// Without --simulate the tool looks among `hardware`'s devices when given.
inline ToolRun RunTool(const std::vector<std::string>& arguments, CliInspector* inspector = nullptr,
                       HidBackend* hardware = nullptr) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ToolRun run;
    RejectionCheck check(inspector);
    run.status = RunCli(arguments, out, err, &check, hardware);
    run.out = DrainFile(out);
    run.err = DrainFile(err);
    return run;
}

// Copies what the configuration commands read and write from the built resource folder to `folder`.
inline void CopyConfigurationResources(const std::filesystem::path& folder) {
    for (const char* part : {"Set.ini", "VeruzUrir", "MacroDock", "Home"}) {
        std::filesystem::copy(test::BuiltResources() / part, folder / part, std::filesystem::copy_options::recursive);
    }
}

}  // namespace mousecfg::cli
