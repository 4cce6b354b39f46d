#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Status.h"

namespace mousecfg {

// Starts `program` with `arguments` (not counting the program itself) as a process of its own: in a session of
// its own, with standard input from /dev/null, none of this process's other open files, in `workingFolder` (the
// current folder when empty). Never through a shell. This process does not wait for it and leaves no process
// behind to be waited for. Fails with the system's reason when the program cannot be started (missing, not
// executable, the folder missing). Any thread.
Status StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments = {},
                     const std::filesystem::path& workingFolder = {});

}  // namespace mousecfg
