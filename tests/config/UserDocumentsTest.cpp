// The per-user copy of what the user changes: seeded at the first start, upgraded by a newer install without
// losing the user's values, never replacing a damaged document.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "config/UserDocuments.h"
#include "platform/PrivateProfile.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using test::TempDir;

constexpr const char* kModelFile = "VeruzUrir/MouseA/Config/DeviceFeature.ini";

class UserDocumentsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* part : {"Set.ini", "VeruzUrir", "MacroDock", "Language"}) {
            std::filesystem::copy(test::BuiltResources() / part, install_ / part,
                                  std::filesystem::copy_options::recursive);
        }
    }
    Result<UserDocuments::Report> Prepare() { return UserDocuments::Prepare(install_.path(), user()); }
    std::filesystem::path user() const { return home_ / "mousecfg"; }
    std::string Value(const char* section, const char* key, const char* file) {
        ini::ClearCache();
        return ini::GetPrivateProfileString(section, key, "<missing>", user() / file);
    }

    TempDir install_;
    TempDir home_;
};

TEST_F(UserDocumentsTest, TheFirstStartCopiesEveryUserDocumentAndNothingElse) {
    const auto report = Prepare();
    ASSERT_TRUE(report) << report.message();
    const std::vector<std::string> expected = {
        "Set.ini", kModelFile, "VeruzUrir/MouseA/Config/MouseConfig.json", "VeruzUrir/MouseA/Config/PopColor.ini",
        "MacroDock/MacroData/macroConfig.json"};
    EXPECT_EQ(report->seeded, expected);
    EXPECT_TRUE(report->upgraded.empty());
    for (const std::string& file : expected) {
        EXPECT_EQ(TempDir::Read(user() / file), TempDir::Read(install_ / file)) << file;
    }
    EXPECT_FALSE(std::filesystem::exists(user() / "Language"));
    EXPECT_FALSE(std::filesystem::exists(user() / "VeruzUrir/MouseA/Config/ResetMouseConfig.json"))
        << "the factory configuration is read from the install";
    struct stat info {};
    ASSERT_EQ(::stat(user().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    const auto again = Prepare();
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->seeded.empty() && again->upgraded.empty()) << "an up-to-date copy is left alone";
}

TEST_F(UserDocumentsTest, AnOldCopyGainsTheNewKeysAndKeepsTheUsersValues) {
    ASSERT_TRUE(Prepare());
    // The user's copy as an older version left it: a key the newer install has is missing, the user's values
    // differ from the install's, and the user wrote a comment.
    const std::string settings = TempDir::Read(user() / "Set.ini");
    std::string old = settings;
    old.replace(old.find("MoveWakeEn=0\n"), 13, "");
    old.replace(old.find("SleepTime=10"), 12, "SleepTime=42");
    old = "; my own note\n" + old;
    home_.Write("mousecfg/Set.ini", old);
    // The model file: the user's tags, the user's DPI memory, the skin choice; a model value the newer install
    // corrects, and a section it adds.
    ini::ClearCache();
    ASSERT_TRUE(ini::WritePrivateProfileString("RANDOM", "Profile0", "4242", user() / kModelFile));
    ASSERT_TRUE(ini::WritePrivateProfileString("ChipReset0", "profile1", "800,1600", user() / kModelFile));
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "ResPath", "res_white", user() / kModelFile));
    ASSERT_TRUE(ini::WritePrivateProfileString("KEYMAP", "K1_DEF", "999", user() / kModelFile));
    ASSERT_TRUE(ini::WritePrivateProfileString("NewSection", "NewKey", "7", install_ / kModelFile));
    // The configuration document: a member the newer install has is missing, nested and at the top.
    const auto documentFile = user() / "VeruzUrir/MouseA/Config/MouseConfig.json";
    nlohmann::json document = nlohmann::json::parse(TempDir::Read(documentFile));
    ASSERT_TRUE(document.contains("mouseconfig"));
    const nlohmann::json removedMember = document["mouseconfig"].begin().value();
    const std::string removedKey = document["mouseconfig"].begin().key();
    document["mouseconfig"].erase(removedKey);
    document["mine"] = 5;
    home_.Write("mousecfg/VeruzUrir/MouseA/Config/MouseConfig.json", document.dump(4));

    const auto report = Prepare();
    ASSERT_TRUE(report) << report.message();
    EXPECT_EQ(report->upgraded, (std::vector<std::string>{"Set.ini", kModelFile,
                                                          "VeruzUrir/MouseA/Config/MouseConfig.json"}));
    EXPECT_EQ(Value("Set", "MoveWakeEn", "Set.ini"), "0");
    EXPECT_EQ(Value("Set", "SleepTime", "Set.ini"), "42");
    EXPECT_EQ(TempDir::Read(user() / "Set.ini").rfind("; my own note\n", 0), 0u);
    EXPECT_EQ(Value("RANDOM", "Profile0", kModelFile), "4242");
    EXPECT_EQ(Value("ChipReset0", "profile1", kModelFile), "800,1600");
    EXPECT_EQ(Value("Config", "ResPath", kModelFile), "res_white");
    EXPECT_EQ(Value("NewSection", "NewKey", kModelFile), "7");
    ini::ClearCache();
    EXPECT_EQ(Value("KEYMAP", "K1_DEF", kModelFile),
              ini::GetPrivateProfileString("KEYMAP", "K1_DEF", "", install_ / kModelFile))
        << "the model's own data follows the install";
    const nlohmann::json upgraded = nlohmann::json::parse(TempDir::Read(documentFile));
    EXPECT_EQ(upgraded["mouseconfig"][removedKey], removedMember);
    EXPECT_EQ(upgraded["mine"], 5);
}

TEST_F(UserDocumentsTest, ADamagedDocumentIsLeftForItsLoaderAndNamed) {
    ASSERT_TRUE(Prepare());
    const std::string cut = TempDir::Read(install_ / "MacroDock/MacroData/macroConfig.json").substr(0, 300);
    home_.Write("mousecfg/MacroDock/MacroData/macroConfig.json", cut);
    const auto report = Prepare();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->damaged, std::vector<std::string>{"MacroDock/MacroData/macroConfig.json"});
    EXPECT_EQ(TempDir::Read(user() / "MacroDock/MacroData/macroConfig.json"), cut);
}

TEST_F(UserDocumentsTest, AFolderThatCannotBeMadeIsReportedAndTheSameFolderNeedsNothing) {
    home_.Write("file", "a file where the folder's parent should be");
    const auto failed = UserDocuments::Prepare(install_.path(), home_ / "file" / "mousecfg");
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.message().find((home_ / "file" / "mousecfg").string()), std::string::npos) << failed.message();

    const std::string before = TempDir::Read(install_ / "Set.ini");
    const auto same = UserDocuments::Prepare(install_.path(), install_.path());
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->seeded.empty() && same->upgraded.empty());
    EXPECT_EQ(TempDir::Read(install_ / "Set.ini"), before);
}

}  // namespace
}  // namespace mousecfg
