#pragma once

#include <filesystem>
#include <functional>
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

// Moves a document that could not be read out of the way of the file that replaces it, so that what the user had
// is never overwritten: renames `file` to "<file>.damaged", or "<file>.damaged.2", ".3", ... when earlier kept
// copies exist (they are never replaced). Returns the new path; fails, leaving `file` where it was, with a
// message naming it. Any thread.
Result<std::filesystem::path> KeepDamagedFile(const std::filesystem::path& file);

// For tests of failure paths, which cannot rely on permissions (root ignores them): while set, WriteFileAtomically
// and KeepDamagedFile fail for every file `fails` returns true for, as on a full disk, and change nothing. An empty
// function ends it. Set it while no other thread writes files.
void SetWriteFailureForTesting(std::function<bool(const std::filesystem::path&)> fails);

}  // namespace mousecfg
