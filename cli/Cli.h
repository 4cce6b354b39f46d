#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace mousecfg::cli {

// Runs the command-line tool on `arguments` (without the program name), printing results to `out` and
// errors and traces to `err`. Returns the exit status.
int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace mousecfg::cli
