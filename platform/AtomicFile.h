#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace mousecfg {

// Replaces `file` with `contents` so that a crash leaves either the old or the new file, never a partial one:
// writes a temporary file in the same folder, flushes it to disk and renames it over the target. The target's
// permission bits are kept when it exists. Any thread.
Status WriteFileAtomically(const std::filesystem::path& file, std::string_view contents);

// Reads a whole file. Fails with a message naming the file when it cannot be opened or read.
Result<std::string> ReadWholeFile(const std::filesystem::path& file);

}  // namespace mousecfg
