#include "platform/PrivateProfile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <climits>
#include <csignal>
#include <thread>

#include "tests/support/TempDir.h"

namespace mousecfg::ini {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using Strings = std::vector<std::string>;

// A file as the Windows program and hand editing leave them: CRLF, a comment before the first section, odd
// spacing, quotes, a key without '=', comments of both kinds, and duplicate keys and sections.
constexpr std::string_view kWindowsFile =
    "; model description\r\n"
    "orphan=before any section\r\n"
    "[Init]\r\n"
    "PRODUCTNAME = Veruz Mouse A  \r\n"
    "MutexName=\"quoted value\"\r\n"
    "Single='x'\r\n"
    "Mismatch=\"half'\r\n"
    "  Indented\t=\t tabbed \t\r\n"
    "NoEquals\r\n"
    "Empty=\r\n"
    "# hash=not a key\r\n"
    "; semi=not a key\r\n"
    "\r\n"
    "[ Config ]\r\n"
    "KeySelLedVis=0\r\n"
    "keyselledvis=5\r\n"
    "[init]\r\n"
    "Later=in a duplicate section\r\n";

std::string Utf16LeFile(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

ino_t InodeOf(const fs::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

class PrivateProfileTest : public testing::Test {
  protected:
    void SetUp() override { ClearCache(); }
    TempDir dir_;
};

TEST_F(PrivateProfileTest, ReadsValuesTheWayWindowsFilesAreRead) {
    const fs::path file = dir_.Write("DeviceFeature.ini", kWindowsFile);
    struct Case {
        std::string_view section, key, expected;
    };
    const Case cases[] = {
        {"Init", "PRODUCTNAME", "Veruz Mouse A"},
        {"INIT", "productname", "Veruz Mouse A"},
        {" Init\t", " PRODUCTNAME ", "Veruz Mouse A"},
        {"Init", "MutexName", "quoted value"},
        {"Init", "Single", "x"},
        {"Init", "Mismatch", "\"half'"},
        {"Init", "Indented", "tabbed"},
        {"Init", "NoEquals", "dflt"},  // a line without '=' is no key
        {"Init", "Empty", ""},
        {"Init", "# hash", "dflt"},
        {"Init", "; semi", "dflt"},
        {"Init", "Later", "dflt"},  // only the first [Init] counts
        {"Init", "orphan", "dflt"},
        {"Config", "KeySelLedVis", "0"},
        {"Missing", "PRODUCTNAME", "dflt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "dflt", file), c.expected) << c.section << "/" << c.key;
    }
    EXPECT_EQ(GetPrivateProfileString("Init", "nope", " a b  ", file), " a b");
    EXPECT_EQ(GetPrivateProfileString("Init", "nope", "dflt", dir_ / "missing.ini"), "dflt");
}

TEST_F(PrivateProfileTest, ListsSectionsKeysAndEntriesInFileOrder) {
    const fs::path file = dir_.Write("DeviceFeature.ini", kWindowsFile);
    EXPECT_EQ(GetPrivateProfileSectionNames(file), (Strings{"Init", "Config"}));
    EXPECT_EQ(GetPrivateProfileKeys("init", file),
              (Strings{"PRODUCTNAME", "MutexName", "Single", "Mismatch", "Indented", "Empty"}));
    EXPECT_EQ(GetPrivateProfileSection("Init", file),
              (Strings{"PRODUCTNAME=Veruz Mouse A", "MutexName=\"quoted value\"", "Single='x'", "Mismatch=\"half'",
                       "Indented=tabbed", "NoEquals", "Empty="}));
    EXPECT_EQ(GetPrivateProfileSection("Config", file), (Strings{"KeySelLedVis=0", "keyselledvis=5"}));
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(GetPrivateProfileEntries("Config", file), (Pairs{{"KeySelLedVis", "0"}}));
    EXPECT_EQ(GetPrivateProfileEntries("Init", file)[1],
              (std::pair<std::string, std::string>{"MutexName", "quoted value"}));
    EXPECT_EQ(GetPrivateProfileEntries("Init", file).back(), (std::pair<std::string, std::string>{"Empty", ""}));
    EXPECT_TRUE(GetPrivateProfileSection("Missing", file).empty());
    EXPECT_TRUE(GetPrivateProfileSectionNames(dir_ / "missing.ini").empty());
}

TEST_F(PrivateProfileTest, ValuesAreCutToTheBufferWithoutSplittingCharacters) {
    const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
    const fs::path file =
        dir_.Write("a.ini", "[S]\nlong=" + std::string(300, 'x') + "\nname=a\xC3\xA9" + emoji + "b\n");
    EXPECT_EQ(GetPrivateProfileString("S", "long", "", file), std::string(259, 'x'));
    const std::pair<int, std::string> cases[] = {
        {0, ""},
        {1, ""},
        {2, "a"},
        {3, "a\xC3\xA9"},
        {4, "a\xC3\xA9"},
        {5, "a\xC3\xA9" + emoji},
        {260, "a\xC3\xA9" + emoji + "b"},
    };
    for (const auto& [size, expected] : cases) {
        EXPECT_EQ(GetPrivateProfileString("S", "name", "", file, size), expected) << size;
    }
    EXPECT_EQ(GetPrivateProfileString("S", "missing", "abcdef", file, 4), "abc");
}

TEST(Atoi, BehavesLikeTheCLibraryWithoutOverflow) {
    const std::pair<std::string_view, int> cases[] = {
        {"", 0},
        {"42", 42},
        {" -12abc", -12},
        {"\t\n\v\f\r+7", 7},
        {"abc", 0},
        {"- 5", 0},
        {"+-5", 0},
        {"007", 7},
        {"0x1A", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999999", INT_MAX},
        {"-99999999999999999999999999", INT_MIN},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Atoi(text), expected) << "\"" << text << "\"";
    }
}

TEST_F(PrivateProfileTest, IntegersReadLikeTheWindowsFunctionAndNumbersLikeAtoi) {
    const fs::path file = dir_.Write("n.ini",
                                     "[N]\ndec=  42abc\nneg=-17\nhex=0x1F\noct=0o17\nbin=0b101\nupper=0X1F\n"
                                     "word=abc\nempty=\nquoted=\"12\"\ncolour=0xFFFFFFFF\nbig=99999999999\n"
                                     "small=-99999999999\n");
    const std::pair<std::string_view, int> ints[] = {
        {"dec", 42},      {"neg", -17},       {"hex", 31},     {"oct", 15},    {"bin", 5},
        {"upper", 0},     {"word", 0},        {"empty", -5},   {"quoted", 12}, {"colour", -1},
        {"big", INT_MAX}, {"small", INT_MIN}, {"missing", -5},
    };
    for (const auto& [key, expected] : ints) {
        EXPECT_EQ(GetPrivateProfileInt("n", key, -5, file), expected) << key;
    }
    EXPECT_EQ(GetProfileNumber("N", "dec", file), 42);
    EXPECT_EQ(GetProfileNumber("N", "hex", file), 0);
    EXPECT_EQ(GetProfileNumber("N", "quoted", file), 12);
    EXPECT_EQ(GetProfileNumber("N", "missing", file), 0);
    EXPECT_EQ(GetProfileNumber("N", "missing", dir_ / "missing.ini"), 0);
}

TEST_F(PrivateProfileTest, WritesChangeOnlyTheirLinesAndKeepEverythingElseByteForByte) {
    // UTF-8 with BOM, CRLF, odd spacing, and no line end after the last line.
    const std::string head = "\xEF\xBB\xBF; top\r\n[A]\r\n";
    const std::string rest = "\t y\t=\t\"two\"  \r\n\r\n; about B\r\n[B]\r\nz=3";
    const fs::path file = dir_.Write("x.ini", head + "  x = 1   \r\n" + rest);

    ASSERT_TRUE(WritePrivateProfileString("a", "X", "42", file).ok());
    std::string expected = head + "  x = 42\r\n" + rest;
    EXPECT_EQ(TempDir::Read(file), expected);

    ASSERT_TRUE(WritePrivateProfileString("A", "new", "v", file).ok());
    expected = head + "  x = 42\r\n\t y\t=\t\"two\"  \r\nnew=v\r\n\r\n; about B\r\n[B]\r\nz=3";
    EXPECT_EQ(TempDir::Read(file), expected);

    ASSERT_TRUE(WritePrivateProfileString("B", "w", "9", file).ok());
    expected += "\r\nw=9\r\n";
    EXPECT_EQ(TempDir::Read(file), expected);

    ASSERT_TRUE(WritePrivateProfileString("C", "k", "caf\xC3\xA9", file).ok());
    expected += "[C]\r\nk=caf\xC3\xA9\r\n";
    EXPECT_EQ(TempDir::Read(file), expected);
    EXPECT_EQ(GetPrivateProfileString("c", "K", "", file), "caf\xC3\xA9");
}

TEST_F(PrivateProfileTest, Utf16FileKeepsItsEncodingAndLineEnds) {
    const fs::path file = dir_.Write("lan.ini", Utf16LeFile(u"[Text]\r\nhello=Gr\u00FC\u00DF\r\nbye=Tsch\u00FCs\r\n"));
    EXPECT_EQ(GetPrivateProfileString("text", "hello", "", file), "Gr\xC3\xBC\xC3\x9F");

    ASSERT_TRUE(WritePrivateProfileString("Text", "hello", "\xE2\x82\xAC", file).ok());
    ASSERT_TRUE(WritePrivateProfileString("Text", "new", "1", file).ok());
    EXPECT_EQ(TempDir::Read(file), Utf16LeFile(u"[Text]\r\nhello=\u20AC\r\nbye=Tsch\u00FCs\r\nnew=1\r\n"));
}

TEST_F(PrivateProfileTest, Latin1FileStaysLatin1UntilATextNeedsMore) {
    const fs::path file = dir_.Write("old.ini", "[A]\nname=caf\xE9\nother=x\n");
    EXPECT_EQ(GetPrivateProfileString("A", "name", "", file), "caf\xC3\xA9");

    ASSERT_TRUE(WritePrivateProfileString("A", "other", "\xC3\xBC", file).ok());
    EXPECT_EQ(TempDir::Read(file), "[A]\nname=caf\xE9\nother=\xFC\n");

    // The euro sign has no Latin-1 byte: the file moves to UTF-8 rather than losing it or the other texts.
    ASSERT_TRUE(WritePrivateProfileString("A", "other", "\xE2\x82\xAC", file).ok());
    EXPECT_EQ(TempDir::Read(file), "[A]\nname=caf\xC3\xA9\nother=\xE2\x82\xAC\n");
}

TEST_F(PrivateProfileTest, NewFileIsUtf8WithLfAndKeyWithoutEqualsGetsOne) {
    const fs::path file = dir_ / "Set.ini";
    ASSERT_TRUE(WritePrivateProfileString("Set", "lang", "en", file).ok());
    ASSERT_TRUE(WritePrivateProfileString("Set", "flag", "1", file).ok());
    EXPECT_EQ(TempDir::Read(file), "[Set]\nlang=en\nflag=1\n");

    const fs::path bare = dir_.Write("bare.ini", "[S]\nflag\n");
    ASSERT_TRUE(WritePrivateProfileString("S", "FLAG", "on", bare).ok());
    EXPECT_EQ(TempDir::Read(bare), "[S]\nflag=on\n");

    // Beside a real key of the same name, the write goes to the key that reads back.
    const fs::path both = dir_.Write("both.ini", "[S]\nflag\nflag=off\n");
    EXPECT_EQ(GetPrivateProfileString("S", "flag", "dflt", both), "off");
    ASSERT_TRUE(WritePrivateProfileString("S", "flag", "on", both).ok());
    EXPECT_EQ(TempDir::Read(both), "[S]\nflag\nflag=on\n");
    EXPECT_EQ(GetPrivateProfileString("S", "flag", "dflt", both), "on");
}

TEST_F(PrivateProfileTest, DeletesKeysAndSectionsWithTheirDuplicates) {
    const fs::path file = dir_.Write("d.ini", "[A]\nk=1\n; note\nK=2\nm=3\n\n; about B\n[B]\ny=2\n[a]\nz=3\n");

    ASSERT_TRUE(WritePrivateProfileString("A", "k", std::nullopt, file).ok());
    EXPECT_EQ(TempDir::Read(file), "[A]\n; note\nm=3\n\n; about B\n[B]\ny=2\n[a]\nz=3\n");
    EXPECT_EQ(GetPrivateProfileString("A", "k", "gone", file), "gone");

    ASSERT_TRUE(WritePrivateProfileString("A", std::nullopt, std::nullopt, file).ok());
    EXPECT_EQ(TempDir::Read(file), "; about B\n[B]\ny=2\n");
    EXPECT_EQ(GetPrivateProfileString("A", "z", "gone", file), "gone");
}

TEST_F(PrivateProfileTest, DeletingWhatIsMissingOrRewritingTheSameValueLeavesTheFileAlone) {
    const fs::path file = dir_.Write("d.ini", "[A]\nk = \"v\"\n");
    const ino_t inode = InodeOf(file);
    EXPECT_TRUE(WritePrivateProfileString("A", "missing", std::nullopt, file).ok());
    EXPECT_TRUE(WritePrivateProfileString("B", "k", std::nullopt, file).ok());
    EXPECT_TRUE(WritePrivateProfileString("B", std::nullopt, std::nullopt, file).ok());
    EXPECT_TRUE(WritePrivateProfileString("a", "K", "\"v\"", file).ok());
    EXPECT_EQ(InodeOf(file), inode);  // an atomic replacement would bring a new inode
    EXPECT_EQ(TempDir::Read(file), "[A]\nk = \"v\"\n");

    EXPECT_TRUE(WritePrivateProfileString("A", std::nullopt, std::nullopt, dir_ / "none.ini").ok());
    EXPECT_FALSE(fs::exists(dir_ / "none.ini"));
}

TEST_F(PrivateProfileTest, FailedWritesReportTheFileAndChangeNothing) {
    const fs::path plain = dir_.Write("plain", "x");
    const fs::path file = dir_.Write("ok.ini", "[A]\nk=1\n");
    struct Case {
        std::string_view section, key, value;
        fs::path file;
    };
    const Case cases[] = {
        {"A", "k", "2", dir_ / "missing" / "a.ini"},
        {"A", "k", "2", plain / "a.ini"},
        {"A", "k", "2", dir_.path()},  // a folder cannot be read as a file
        {"A", "k", "2\n[B]", file},    // a line break would add a section
        {"A", "k=j", "2", file},
        {"A", ";k", "2", file},
        {"A]x", "k", "2", file},
    };
    for (const Case& c : cases) {
        const Status status = WritePrivateProfileString(c.section, c.key, c.value, c.file);
        EXPECT_FALSE(status.ok()) << c.key << " " << c.file;
        EXPECT_NE(status.message().find(c.file.string()), std::string::npos) << status.message();
        EXPECT_EQ(status.message().find('\n'), std::string::npos);
    }
    EXPECT_EQ(TempDir::Read(file), "[A]\nk=1\n");
    EXPECT_EQ(TempDir::Read(plain), "x");

    // A failure while writing (file size limit: root ignores permission bits) keeps the old file and its value.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Status status = WritePrivateProfileString("A", "k", std::string(100, 'v'), file);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(TempDir::Read(file), "[A]\nk=1\n");
    EXPECT_EQ(GetPrivateProfileString("A", "k", "", file), "1");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 2);  // no temporary
}

TEST_F(PrivateProfileTest, ReadsSeeEveryNewVersionOfTheFile) {
    const fs::path file = dir_.Write("c.ini", "[S]\nk=1\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", file), "1");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "2", file).ok());
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", file), "2");

    // Replaced behind the library's back by files of the same size and modification time (as within one clock
    // tick): once by renaming another file over it, once by rewriting it in place.
    const auto modified = fs::last_write_time(file);
    const fs::path other = dir_.Write("other.ini", "[S]\nk=3\n");
    fs::last_write_time(other, modified);
    fs::rename(other, file);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", file), "3");
    dir_.Write("c.ini", "[S]\nk=4\n");
    fs::last_write_time(file, modified);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", file), "4");
    dir_.Write("c.ini", "[S]\nk=55\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", file), "55");
    fs::remove(file);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "gone", file), "gone");
}

TEST_F(PrivateProfileTest, ConcurrentWritersToOneFileLoseNoKey) {
    const fs::path file = dir_ / "shared.ini";
    constexpr int kKeysPerThread = 25;
    auto writer = [&](std::string prefix) {
        for (int i = 0; i < kKeysPerThread; ++i) {
            EXPECT_TRUE(WritePrivateProfileString("S", prefix + std::to_string(i), std::to_string(i), file).ok());
        }
    };
    std::thread first(writer, "a");
    std::thread second(writer, "b");
    first.join();
    second.join();
    EXPECT_EQ(GetPrivateProfileKeys("S", file).size(), 2u * kKeysPerThread);
    EXPECT_EQ(GetProfileNumber("S", "b24", file), 24);
}

}  // namespace
}  // namespace mousecfg::ini
