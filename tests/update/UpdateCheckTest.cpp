// The version check and the downloads against a real HTTP server on the loopback interface, and the worker
// that runs them and posts the answer to a window.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/LocalHttpServer.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/TempDir.h"
#include "update/BackgroundJob.h"
#include "update/UpdateCheck.h"

namespace mousecfg::update {
namespace {

using namespace std::chrono_literals;
using test::LocalHttpServer;
using Reply = LocalHttpServer::Reply;

// A version description that asks the test's server: the query is "/api/mousecfg/0.1.0".
class UpdateCheck : public ::testing::Test {
protected:
    UpdateCheck() {
        versionFile_ = dir_.Write("VersionInfo.json", R"({"product_name": "mousecfg", "version": "0.1.0", "update_url": ")" +
                                                          server_.Url("/api/") + R"("})");
        limits_.totalTimeout = 5s;
    }
    UpdateCheckResult Check(Reply reply) {
        server_.Route(kQuery, std::move(reply));
        return CheckForUpdate(versionFile_, limits_);
    }

    static constexpr const char* kQuery = "/api/mousecfg/0.1.0";
    test::TempDir dir_;
    LocalHttpServer server_;
    std::filesystem::path versionFile_;
    HttpLimits limits_;
};

TEST_F(UpdateCheck, ANewerVersionIsFoundWithItsVersionAndPage) {
    const auto result =
        Check({200, R"({"code": 200, "data": {"total": 2, "version": "0.3.0", "download_url": "https://d.example/"}})"});
    EXPECT_TRUE(result.newer) << result.detail;
    EXPECT_EQ(result.currentVersion, "0.1.0");
    EXPECT_EQ(result.latestVersion, "0.3.0");
    EXPECT_EQ(result.downloadUrl, "https://d.example/");
    EXPECT_EQ(server_.Requests(kQuery), 1);
    const UpdateCheckResult carried = UpdateCheckResult::FromMessage(result.ToMessage(2091));
    EXPECT_TRUE(carried.newer);
    EXPECT_EQ(carried.latestVersion, "0.3.0");
    EXPECT_EQ(carried.downloadUrl, "https://d.example/");
}

TEST_F(UpdateCheck, EveryOtherAnswerMeansNoUpdate) {
    struct Case {
        const char* what;
        Reply reply;
    };
    const Case cases[] = {
        {"total 0", {200, R"({"code": 200, "data": {"total": 0}})"}},
        {"code other than 200", {200, R"({"code": 500, "data": {"total": 3}})"}},
        {"status 500 with a newer version in the body", {500, R"({"code": 200, "data": {"total": 3}})"}},
        {"status 404", {404, R"({"code": 200, "data": {"total": 3}})"}},
        {"malformed JSON", {200, R"({"code": 200, "data": {"total": 3})"}},
        {"wrongly typed", {200, R"({"code": 200, "data": {"total": "3"}})"}},
        {"empty body", {200, ""}},
        {"a reply larger than the limit", {200, R"({"code": 200, "data": {"total": 3}, "pad": ")" +
                                                    std::string(limits_.maxBytes, 'x') + "\"}"}},
        {"a reply cut short", Reply::CutShort(R"({"code": 200, "data": {"total": 3}})", 10)},
    };
    for (const Case& c : cases) {
        const auto result = Check(c.reply);
        EXPECT_FALSE(result.newer) << c.what;
        EXPECT_FALSE(result.detail.empty()) << c.what;
    }
}

TEST_F(UpdateCheck, ASlowServerEndsAtTheTotalTimeout) {
    limits_.totalTimeout = 300ms;
    const auto result = Check(Reply::Hang());
    EXPECT_FALSE(result.newer);
    EXPECT_NE(result.detail.find("imeout"), std::string::npos) << result.detail;
}

TEST_F(UpdateCheck, ARedirectLoopEndsAtTheRedirectLimit) {
    server_.Route("/loop", Reply::Redirect("/loop"));
    const auto result = Check(Reply::Redirect("/loop"));
    EXPECT_FALSE(result.newer);
    EXPECT_EQ(server_.Requests(kQuery) + server_.Requests("/loop"), 51) << "the query and 50 redirections";
    // A redirection to another scheme is not followed.
    server_.Route("/elsewhere", Reply::Redirect("file:///etc/passwd"));
    EXPECT_FALSE(Check(Reply::Redirect("/elsewhere")).newer);
}

TEST_F(UpdateCheck, AMissingOrDamagedDescriptionAsksNothing) {
    for (const char* text : {"", "{", R"({"product_name": "mousecfg", "version": "0.1.0"})"}) {
        versionFile_ = dir_.Write("VersionInfo.json", text);
        EXPECT_FALSE(Check({200, R"({"code": 200, "data": {"total": 1}})"}).newer) << text;
    }
    EXPECT_FALSE(CheckForUpdate(dir_ / "missing.json", limits_).newer);
    EXPECT_EQ(server_.Requests(kQuery), 0);
}

TEST_F(UpdateCheck, NoServerListeningMeansNoUpdate) {
    std::string url;
    {
        LocalHttpServer gone;
        url = gone.Url("/api/");
    }
    versionFile_ = dir_.Write("VersionInfo.json",
                              R"({"product_name": "p", "version": "1", "update_url": ")" + url + R"("})");
    const auto result = CheckForUpdate(versionFile_, limits_);
    EXPECT_FALSE(result.newer);
    EXPECT_FALSE(result.detail.empty());
}

TEST_F(UpdateCheck, ADownloadReplacesTheFileOnlyWhenItArrivedWhole) {
    const auto target = dir_ / "Version" / "SeverVersion.json";
    server_.Route("/v.json", {200, R"({"SeverVersion": {"MaxVersion": "0.2.0"}})"});
    ASSERT_TRUE(HttpDownload(server_.Url("/v.json"), target, limits_)) << "the folder is created";
    EXPECT_EQ(test::TempDir::Read(target), R"({"SeverVersion": {"MaxVersion": "0.2.0"}})");

    server_.Route("/cut.json", Reply::CutShort(std::string(4000, 'c'), 1000));
    server_.Route("/missing.json", {404, "not here"});
    for (const char* path : {"/cut.json", "/missing.json"}) {
        const Status status = HttpDownload(server_.Url(path), target, limits_);
        EXPECT_FALSE(status) << path;
        EXPECT_EQ(test::TempDir::Read(target), R"({"SeverVersion": {"MaxVersion": "0.2.0"}})") << path;
    }
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(target.parent_path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u) << "no partial file is left beside the target";
    EXPECT_FALSE(HttpDownload("file:///etc/hostname", dir_ / "copy", limits_)) << "only web addresses";
    EXPECT_FALSE(std::filesystem::exists(dir_ / "copy"));
}

TEST_F(UpdateCheck, TheWorkerPostsTheAnswerAndDropsItWhenTheWindowHasGone) {
    server_.Route(kQuery, {200, R"({"code": 200, "data": {"total": 1}})"});
    auto window = std::make_shared<test::RecordingSink>();
    const auto job = [file = versionFile_, &limits = limits_](const std::atomic<bool>& cancel) {
        return CheckForUpdate(file, limits, &cancel).ToMessage(2091);
    };
    {
        BackgroundJob worker;
        ASSERT_TRUE(worker.Start(job, window));
        ASSERT_TRUE(window->WaitForCount(1));
        EXPECT_EQ(window->Entries()[0].message.id, 2091u);
        EXPECT_EQ(window->Entries()[0].message.wParam, 1u);
    }
    // The worker holds the window's target weakly: a window closed while a check runs goes at once, and the
    // answer has nowhere to go.
    server_.Route(kQuery, Reply::Hang());
    limits_.totalTimeout = 600s;
    std::weak_ptr<test::RecordingSink> watched = window;
    BackgroundJob worker;
    ASSERT_TRUE(worker.Start(job, window));
    window.reset();
    EXPECT_TRUE(worker.Busy());
    EXPECT_TRUE(watched.expired());
}

TEST_F(UpdateCheck, OneJobAtATimeAndDestroyingTheWorkerEndsARunningTransfer) {
    server_.Route(kQuery, Reply::Hang());
    limits_.totalTimeout = 600s;  // only the cancellation can end it
    auto window = std::make_shared<test::RecordingSink>();
    {
        BackgroundJob worker;
        const auto job = [file = versionFile_, limits = limits_](const std::atomic<bool>& cancel) {
            return CheckForUpdate(file, limits, &cancel).ToMessage(2091);
        };
        ASSERT_TRUE(worker.Start(job, window));
        EXPECT_TRUE(worker.Busy());
        EXPECT_FALSE(worker.Start(job, window)) << "a second job waits for none: it is refused";
    }
    // The worker was joined: its answer (not newer) was posted or dropped, never delivered later.
    const auto entries = window->Entries();
    ASSERT_LE(entries.size(), 1u);
    if (!entries.empty()) {
        EXPECT_EQ(entries[0].message.wParam, 0u);
    }
}

}  // namespace
}  // namespace mousecfg::update
