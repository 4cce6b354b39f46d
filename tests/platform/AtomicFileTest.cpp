#include "platform/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

namespace fs = std::filesystem;

std::size_t EntryCount(const fs::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

TEST(AtomicFile, ReplacesContentsKeepingPermissionBitsAndLeavesNoTemporary) {
    test::TempDir dir;
    const fs::path file = dir.Write("Set.ini", "old contents that are longer");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);

    ASSERT_TRUE(WriteFileAtomically(file, std::string("new\0bytes", 9)).ok());

    EXPECT_EQ(test::TempDir::Read(file), std::string("new\0bytes", 9));
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(EntryCount(dir.path()), 1u);
}

TEST(AtomicFile, WritesThroughASymbolicLinkToItsTarget) {
    test::TempDir dir;
    const fs::path target = dir.Write("real.ini", "old");
    const fs::path link = dir / "link.ini";
    fs::create_symlink(target, link);

    ASSERT_TRUE(WriteFileAtomically(link, "new").ok());

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::TempDir::Read(target), "new");
}

TEST(AtomicFile, FailsNamingTheFileWhenItCannotBePlaced) {
    test::TempDir dir;
    const fs::path notAFolder = dir.Write("plain", "x");
    fs::create_directory(dir / "folder");
    const fs::path targets[] = {dir / "missing" / "Set.ini", notAFolder / "Set.ini", dir / "folder"};
    for (const fs::path& target : targets) {
        const Status status = WriteFileAtomically(target, "data");
        EXPECT_FALSE(status.ok()) << target;
        EXPECT_NE(status.message().find(target.string()), std::string::npos) << status.message();
    }
    EXPECT_EQ(test::TempDir::Read(notAFolder), "x");
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_EQ(EntryCount(dir.path()), 2u);
}

TEST(AtomicFile, ReadsWholeBinaryFilesAndNamesTheFileOnFailure) {
    test::TempDir dir;
    const std::string bytes = std::string("\xFF\xFE\0\0", 4) + std::string(200000, 'z');
    EXPECT_EQ(ReadWholeFile(dir.Write("big.bin", bytes)).value(), bytes);

    for (const fs::path& bad : {dir / "missing.ini", dir.path()}) {
        const Result<std::string> result = ReadWholeFile(bad);
        EXPECT_FALSE(result.ok());
        EXPECT_NE(result.message().find(bad.string()), std::string::npos) << result.message();
    }
}

TEST(AtomicFile, DamagedFilesAreKeptAsideNeverReplacingAnEarlierCopy) {
    test::TempDir dir;
    const fs::path file = dir / "macroConfig.json";
    for (const char* contents : {"first", "second", "third"}) {
        dir.Write("macroConfig.json", contents);
        ASSERT_TRUE(KeepDamagedFile(file).ok()) << contents;
        EXPECT_FALSE(fs::exists(file));
    }
    EXPECT_EQ(test::TempDir::Read(dir / "macroConfig.json.damaged"), "first");
    EXPECT_EQ(test::TempDir::Read(dir / "macroConfig.json.damaged.2"), "second");
    EXPECT_EQ(test::TempDir::Read(dir / "macroConfig.json.damaged.3"), "third");

    const Result<fs::path> missing = KeepDamagedFile(file);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find(file.string()), std::string::npos) << missing.message();
}

TEST(AtomicFile, TheFailureSwitchFailsWritesAndKeepingAsideWithoutAChange) {
    test::TempDir dir;
    const fs::path file = dir.Write("Set.ini", "old");
    SetWriteFailureForTesting([&](const fs::path& target) { return target == file; });
    const Status written = WriteFileAtomically(file, "new");
    const Result<fs::path> kept = KeepDamagedFile(file);
    const Status other = WriteFileAtomically(dir / "other.ini", "x");
    SetWriteFailureForTesting({});
    EXPECT_FALSE(written.ok());
    EXPECT_NE(written.message().find(file.string()), std::string::npos) << written.message();
    EXPECT_FALSE(kept.ok());
    EXPECT_TRUE(other.ok()) << "only the chosen file fails";
    EXPECT_EQ(test::TempDir::Read(file), "old");
    EXPECT_EQ(EntryCount(dir.path()), 2u);
    EXPECT_TRUE(WriteFileAtomically(file, "new").ok()) << "switched off again";
}

}  // namespace
}  // namespace mousecfg
