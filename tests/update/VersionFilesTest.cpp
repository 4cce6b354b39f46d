// The version files and the update server's reply: what is accepted, and that everything else reads as nothing.
#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "update/VersionFiles.h"

namespace mousecfg::update {
namespace {

TEST(VersionInfo, TheQueryAddressJoinsTheUrlTheProductAndTheVersionWithOneSlash) {
    const auto info = ParseVersionInfo(
        R"({"product_name": "mousecfg", "version": "0.1.0", "update_url": "https://u.example/api/"})");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->QueryAddress(), "https://u.example/api/mousecfg/0.1.0");
    // No separator is added: a URL without its own "/" runs into the product name.
    const auto bare = ParseVersionInfo(R"({"product_name": "p", "version": "2", "update_url": "http://u.example/q"})");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->QueryAddress(), "http://u.example/qp/2");
}

TEST(VersionInfo, DescriptionsWithoutTheThreeStringsOrWithAnotherSchemeAreRefused) {
    for (const char* text : {
             "", "not json", "[]", "null", R"({"product_name": "p", "version": "1"})",
             R"({"product_name": 5, "version": "1", "update_url": "https://u/"})",
             R"({"product_name": "p", "version": 1.5, "update_url": "https://u/"})",
             R"({"product_name": "p", "version": "1", "update_url": "file:///etc/"})",
             R"({"product_name": "p", "version": "1", "update_url": "ftp://u.example/"})",
             R"({"product_name": "p\nq", "version": "1", "update_url": "https://u/"})",
             R"({"product_name": "p", "version": "1", "update_url": "https://u/")",
         }) {
        EXPECT_FALSE(ParseVersionInfo(text)) << text;
    }
}

TEST(ServerReply, ANewerVersionNeedsCode200AndATotalAboveZero) {
    struct Case {
        const char* body;
        bool parsed;
        bool newer;
    };
    for (const Case& c : {
             Case{R"({"code": 200, "data": {"total": 1}})", true, true},
             Case{R"({"code": 200, "data": {"total": 0}})", true, false},
             Case{R"({"code": 200, "data": {"total": -3}})", true, false},
             Case{R"({"code": 404, "data": {"total": 2}})", true, false},
             Case{R"({"code": 200, "data": {"total": 18446744073709551615}})", true, true},
             Case{R"({"code": "200", "data": {"total": 1}})", false, false},
             Case{R"({"code": 200, "data": {"total": "1"}})", false, false},
             Case{R"({"code": 200.0, "data": {"total": 1}})", false, false},
             Case{R"({"code": 200, "data": [1]})", false, false},
             Case{R"({"code": 200})", false, false},
             Case{R"({"code": 200, "data": {"total": 1})", false, false},
             Case{"<html>500</html>", false, false},
         }) {
        const auto reply = ParseServerReply(c.body);
        EXPECT_EQ(reply.has_value(), c.parsed) << c.body;
        EXPECT_EQ(reply && reply->NewerVersion(), c.newer) << c.body;
    }
}

TEST(ServerReply, TheVersionIsCleanedAndOnlyAWebAddressIsKeptAsDownloadPage) {
    const auto reply = ParseServerReply(
        R"j({"code": 200, "data": {"total": 1, "version": "1.2\n3\u0007", "download_url": "javascript:alert(1)"}})j");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->latestVersion, "1.23");
    EXPECT_EQ(reply->downloadUrl, "");
    const auto good = ParseServerReply(
        R"({"code": 200, "data": {"total": 1, "version": "1.3", "download_url": "https://d.example/x"}})");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->downloadUrl, "https://d.example/x");
    EXPECT_EQ(ParseServerReply(R"({"code": 200, "data": {"total": 1, "version": ")" + std::string(500, 'v') + R"("}})")
                  ->latestVersion.size(),
              64u);
}

TEST(VersionWindowFiles, LocalAndServerVersionsReadTheirMembersAndRefuseOtherShapes) {
    const auto local = ParseLocalVersion(
        R"({"LocalVersion": {"CurVersion": "0.1.0", "SeverCenterURL": "https://s/v.json", "TestFileURL": 7}})");
    ASSERT_TRUE(local);
    EXPECT_EQ(local->curVersion, "0.1.0");
    EXPECT_EQ(local->serverCenterUrl, "https://s/v.json");
    EXPECT_EQ(local->testFileUrl, "") << "wrongly typed: empty";
    EXPECT_FALSE(ParseLocalVersion(R"({"LocalVersion": "0.1.0"})"));
    EXPECT_EQ(ParseServerVersion(R"({"SeverVersion": {"MaxVersion": "0.2.0"}})"), "0.2.0");
    EXPECT_FALSE(ParseServerVersion(R"({"SeverVersion": {"MaxVersion": 2}})"));
    EXPECT_FALSE(ParseServerVersion(R"({"MaxVersion": "0.2.0"})"));
}

TEST(VersionWindowFiles, AMissingOrOversizedFileIsNotRead) {
    test::TempDir dir;
    EXPECT_FALSE(ReadVersionFile(dir / "missing.json"));
    EXPECT_FALSE(ReadVersionFile(dir.path())) << "a folder";
    EXPECT_FALSE(ReadVersionFile(dir.Write("big.json", std::string(kMaxVersionFileSize + 1, ' '))));
    const auto fits = ReadVersionFile(dir.Write("fits.json", std::string(kMaxVersionFileSize, ' ')));
    ASSERT_TRUE(fits);
    EXPECT_EQ(fits->size(), kMaxVersionFileSize);
}

}  // namespace
}  // namespace mousecfg::update
