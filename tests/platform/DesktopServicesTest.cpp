// What the program hands to the desktop: only web addresses to the URL handler, and an autostart entry that is
// a valid desktop entry however the program's path looks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/Autostart.h"
#include "platform/UrlOpener.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using test::TempDir;

TEST(WebAddress, OnlyHttpAndHttpsAddressesWithoutBlanksOrQuotes) {
    for (const char* yes : {"https://example.org", "http://127.0.0.1:8080/x?y=1#z", "HTTPS://Example.org/A"}) {
        EXPECT_TRUE(IsWebAddress(yes)) << yes;
    }
    for (const char* no : {"", "https://", "http:///etc/passwd", "file:///etc/passwd", "javascript:alert(1)",
                           "ftp://example.org", "example.org", "https://exa mple.org", "https://x.org/\"a\"",
                           "https://x.org/\n", "https://x.org/`id`", " https://x.org", "https://x.org\\a"}) {
        EXPECT_FALSE(IsWebAddress(no)) << no;
    }
}

// desktop-file-validate's verdict on a file (exit status 0: valid).
int Validate(const std::filesystem::path& file) {
    const std::string command = "desktop-file-validate '" + file.string() + "' >&2";
    return std::system(command.c_str());
}

TEST(AutostartEntry, WrittenRewrittenAndRemovedItIsAlwaysAValidDesktopEntry) {
    TempDir dir;
    const auto folder = dir / "config" / "autostart";
    const auto entry = folder / "mousecfg.desktop";
    for (const char* program : {"/usr/bin/mousecfg", "/opt/my tools/mouse\"cfg$`%\\x", "/opt/ünïcode/mousecfg"}) {
        for (const bool silent : {false, true}) {
            SCOPED_TRACE(std::string(program) + (silent ? " -silent" : ""));
            ASSERT_EQ(SetAutostart(true, "mousecfg", silent, program, folder), 1);
            const std::string text = TempDir::Read(entry);
            EXPECT_EQ(text.find(" -silent\n") != std::string::npos, silent) << text;
            EXPECT_EQ(Validate(entry), 0) << text;
        }
    }
    EXPECT_EQ(SetAutostart(false, "mousecfg", false, "/usr/bin/mousecfg", folder), 1);
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST(AutostartEntry, AFolderThatCannotBeWrittenGivesZeroOrMinusOne) {
    TempDir dir;
    dir.Write("file", "x");
    EXPECT_EQ(SetAutostart(true, "m", false, "/usr/bin/m", dir / "file" / "autostart"), 0) << "no folder possible";
    std::filesystem::create_directories(dir / "autostart" / "m.desktop" / "inside");
    EXPECT_EQ(SetAutostart(true, "m", false, "/usr/bin/m", dir / "autostart"), -1) << "the entry's place is taken";
    EXPECT_EQ(SetAutostart(false, "m", false, "/usr/bin/m", dir / "autostart"), -1) << "it cannot be removed";
}

// Root writes anywhere: the permission case runs as an unprivileged user in a child process.
TEST(AutostartEntry, AReadOnlyFolderRefusesTheEntryForAnOrdinaryUser) {
    TempDir dir;
    const auto folder = dir / "autostart";
    std::filesystem::create_directories(folder);
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        ::_exit(SetAutostart(true, "m", false, "/usr/bin/m", folder) == -1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write is refused and reported as -1";
    EXPECT_FALSE(std::filesystem::exists(folder / "m.desktop"));
}

}  // namespace
}  // namespace mousecfg
