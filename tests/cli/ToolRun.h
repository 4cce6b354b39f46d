#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"

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

// Runs the tool in this process with `arguments`, capturing its two streams.
inline ToolRun RunTool(const std::vector<std::string>& arguments, CliInspector* inspector = nullptr) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ToolRun run;
    run.status = RunCli(arguments, out, err, inspector);
    run.out = DrainFile(out);
    run.err = DrainFile(err);
    return run;
}

}  // namespace mousecfg::cli
