// What the fuzz targets share: silenced traces, a scratch folder of the process, files written from the input,
// and a check that names the broken property before aborting (libFuzzer then keeps the input).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/Trace.h"
#include "tests/support/TempDir.h"

namespace mousecfg::fuzz {

inline std::string_view Text(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Traces would flood the fuzzer's output; they are dropped for the whole run.
inline void QuietTraces() {
    static trace::ScopedSink quiet([](std::string_view) {});
}

// A folder of this process, removed when it ends normally.
inline const std::filesystem::path& ScratchFolder() {
    static const test::TempDir folder;
    return folder.path();
}

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Aborts with `what` when a property does not hold.
inline void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

class NoDialogs final : public FileDialogs {
  public:
    std::optional<std::string> SaveFile(const FileFilter&) override { return std::nullopt; }
    std::vector<std::string> OpenFiles(const FileFilter&, bool) override { return {}; }
};

class NoMessages final : public MessageBoxes {
  public:
    int Show(const MessageBoxRequest&) override { return 0; }
};

}  // namespace mousecfg::fuzz
