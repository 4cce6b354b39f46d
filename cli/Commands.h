#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace mousecfg::cli {

class DeviceConnection;
struct CliOptions;

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;    // the device is missing or refused the operation
inline constexpr int kExitBadInput = 2;  // bad arguments or unreadable files

// What a command that ran while the BLE mouse went away says (it then ends with kExitFailed). The configuration
// was saved before anything was sent, with a profile tag the mouse does not hold, so a full run writes it all.
inline constexpr const char* kDisconnectedText =
    "the mouse disconnected during the command and may not hold the change (the configuration is saved; run "
    "apply --full once it is connected again)";

// What a command works with.
struct CommandContext {
    DeviceConnection& device;
    std::filesystem::path resRoot;     // the read-only resources: catalogue, function names, factory documents
    std::filesystem::path configRoot;  // the configuration the configuration commands read and write
    const std::vector<std::string>& args;
    std::FILE* out;
    std::FILE* err;
};

// Each command prints its result to `out` and one line per error to `err`, and returns the exit status.
// Lists the catalogue's records (index, link, vendor:product IDs, folder, name, present or absent) and the BLE
// device list. Needs no connection.
int RunDevices(const CliOptions& options, const std::filesystem::path& resRoot, std::FILE* out, std::FILE* err);
int RunInfo(DeviceConnection& device, const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
int RunMacroWrite(DeviceConnection& device, const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// The configuration commands (see UsageText for their arguments).
int RunShow(const CommandContext& context);
int RunSet(const CommandContext& context);
int RunProfile(const CommandContext& context);
int RunApply(const CommandContext& context);
int RunExport(const CommandContext& context);
int RunImport(const CommandContext& context);
int RunReset(const CommandContext& context);
int RunMacro(const CommandContext& context);

}  // namespace mousecfg::cli
