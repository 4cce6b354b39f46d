#include "platform/DocumentFile.h"

#include "platform/AtomicFile.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

bool Exists(const std::filesystem::path& file) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(file, ignored));
}

}  // namespace

void DocumentFile::LoadFinished(const Status& loaded) {
    damaged_ = !loaded.ok() && Exists(path_);
}

Status DocumentFile::Replace(std::string_view contents) {
    if (damaged_ && Exists(path_)) {
        const Result<std::filesystem::path> kept = KeepDamagedFile(path_);
        if (!kept) {
            return Status::Error(kept.message() + " (it could not be read, so it is not overwritten)");
        }
        trace::Printf("%s could not be read; kept as %s\n", path_.c_str(), kept->c_str());
    }
    damaged_ = false;
    std::error_code ignored;
    std::filesystem::create_directories(path_.parent_path(), ignored);
    return WriteFileAtomically(path_, contents);
}

}  // namespace mousecfg
