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

// Each command prints its result to `out` and one line per error to `err`, and returns the exit status.
// Lists the catalogue's records (index, link, vendor:product IDs, folder, name, present or absent) and the BLE
// device list. Needs no connection.
int RunDevices(const CliOptions& options, const std::filesystem::path& resRoot, std::FILE* out, std::FILE* err);
int RunInfo(DeviceConnection& device, const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
int RunMacroWrite(DeviceConnection& device, const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace mousecfg::cli
