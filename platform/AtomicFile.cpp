#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <system_error>
#include <utility>

namespace mousecfg {
namespace {

namespace fs = std::filesystem;

std::string ErrorText(int error) {
    char buffer[256];
    // The GNU strerror_r returns the text, which need not be in `buffer`.
    return strerror_r(error, buffer, sizeof(buffer));
}

Status WriteFailure(const fs::path& file, std::string_view reason) {
    return Status::Error("cannot write " + file.string() + ": " + std::string(reason));
}

// The failure switch of tests. State below is protected by FailureMutex().
std::mutex& FailureMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<bool(const fs::path&)>& FailureSwitch() {
    static std::function<bool(const fs::path&)> fails;
    return fails;
}

bool WriteMustFail(const fs::path& file) {
    std::lock_guard<std::mutex> lock(FailureMutex());
    return FailureSwitch() && FailureSwitch()(file);
}

// The file that a write to `file` has to replace: the target of a symbolic link, so that renaming the new file
// into place updates the file the link points to instead of replacing the link itself.
fs::path ResolveLinks(const fs::path& file) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(file, error))) {
        fs::path target = fs::canonical(file, error);
        if (!error) {
            return target;
        }
    }
    return file;
}

// A name for the temporary file that no other writer in this or another process is likely to pick; O_EXCL
// settles the unlikely case.
fs::path TemporaryName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return target.parent_path() / ("." + target.filename().string() + ".tmp" + std::to_string(getpid()) + "-" +
                                   std::to_string(counter++) + "-" + std::to_string(ticks % 1000000));
}

bool WriteAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename durable. The new contents are already on disk and the rename is atomic, so a failure here can
// at worst bring back the old file after a crash; it is not reported.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Renames `from` to `to` unless `to` exists; 0 or the error.
int RenameWithoutReplacing(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without the no-replace rename: check first, then rename.
    std::error_code ignored;
    if (fs::exists(fs::symlink_status(to, ignored))) {
        return EEXIST;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

Status WriteFileAtomically(const fs::path& file, std::string_view contents) {
    if (WriteMustFail(file)) {
        return WriteFailure(file, ErrorText(ENOSPC));
    }
    const fs::path target = ResolveLinks(file);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return WriteFailure(file, "it is a folder");
    }

    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(folder / target.filename());
        // 0666 lets the umask decide the bits of a new file, as for any file the user creates.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            return WriteFailure(file, "folder " + folder.string() + " does not exist");
        }
        if (error == ENOTDIR) {
            return WriteFailure(file, folder.string() + " is not a folder");
        }
        return WriteFailure(file, ErrorText(error));
    }

    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return WriteFailure(file, ErrorText(error));
    };
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        return fail(errno);
    }
    if (!WriteAll(fd, contents) || ::fsync(fd) != 0) {
        return fail(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return WriteFailure(file, ErrorText(error));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return WriteFailure(file, ErrorText(error));
    }
    SyncFolder(folder);
    return Status::Ok();
}

Result<std::string> ReadWholeFile(const fs::path& file) {
    auto failure = [&](std::string_view reason) {
        return Status::Error("cannot read " + file.string() + ": " + std::string(reason));
    };
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return failure(ErrorText(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return failure(ErrorText(error));
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        return failure("it is a folder");
    }
    std::string contents;
    if (info.st_size > 0) {
        contents.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof(buffer));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            return failure(ErrorText(error));
        }
        if (got == 0) {
            break;
        }
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return contents;
}

Result<fs::path> KeepDamagedFile(const fs::path& file) {
    auto failure = [&](int error) {
        return Status::Error("cannot keep " + file.string() + " aside: " + ErrorText(error));
    };
    if (WriteMustFail(file)) {
        return failure(ENOSPC);
    }
    for (int number = 1; number < 1000; ++number) {
        // An earlier kept copy is never replaced: its name is skipped.
        const fs::path kept = file.string() + ".damaged" + (number == 1 ? "" : "." + std::to_string(number));
        const int error = RenameWithoutReplacing(file, kept);
        if (error == 0) {
            SyncFolder(kept.has_parent_path() ? kept.parent_path() : fs::path("."));
            return kept;
        }
        if (error != EEXIST) {
            return failure(error);
        }
    }
    return failure(EEXIST);
}

void SetWriteFailureForTesting(std::function<bool(const fs::path&)> fails) {
    std::lock_guard<std::mutex> lock(FailureMutex());
    FailureSwitch() = std::move(fails);
}

}  // namespace mousecfg
