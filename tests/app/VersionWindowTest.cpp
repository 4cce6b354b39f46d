// The version window on the headless platform: connectivity, the server's version file downloaded from a local
// HTTP server and compared, the upgrade program, the test download and the manual.
#include <gtest/gtest.h>

#include "app/LanguageTexts.h"
#include "app/update/SoftVersion.h"
#include "platform/NetworkStatus.h"
#include "skin/HeadlessPlatform.h"
#include "skin/SkinResources.h"
#include "tests/app/ShellHarness.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/RecordingMessageBoxes.h"

namespace mousecfg {
namespace {

using test::LocalHttpServer;
using test::ShellHarness;
using test::TempDir;

class SwitchedNetwork final : public NetworkStatus {
public:
    bool IsConnectedToInternet() override { return connected; }
    bool connected = true;
};

class VersionWindow : public ::testing::Test {
protected:
    VersionWindow() : texts_(app::LanguageTexts::Load(std::filesystem::path(MOUSECFG_RES_DIR) / "Language/lan_en.ini")) {
        skin::SkinPlatform::Set(&platform_);
        skin::SkinResources::SetResourcePath(std::filesystem::path(MOUSECFG_RES_DIR) / "res_black");
        dir_.Write("res/Version/LocalVersion.json",
                   R"({"LocalVersion": {"CurVersion": "0.1.0", "SeverCenterURL": ")" + server_.Url("/SeverVersion.json") +
                       R"(", "TestFileURL": ")" + server_.Url("/files/test.bin?x=1") + R"("}})");
        parent_.Create(nullptr, "parent");
    }
    ~VersionWindow() override {
        window_.reset();
        parent_.Close();
        platform_.ProcessPending();
        skin::SkinPlatform::Set(nullptr);
    }
    app::SoftVersion& Open(NetworkStatus* network) {
        app::SoftVersionContext context;
        context.localVersionFile = dir_ / "res/Version/LocalVersion.json";
        context.serverVersionFile = dir_ / "res/Version/SeverVersion.json";
        context.testDownloadFolder = dir_ / "res/Version/123";
        context.upgradeProgram = dir_ / "Upgrade";
        context.network = network;
        context.urls = &urls_;
        context.boxes = &boxes_;
        context.texts = &texts_;
        context.exitProgram = [this] { ++exits_; };
        window_ = std::make_unique<app::SoftVersion>(std::move(context));
        EXPECT_TRUE(window_->Create(&parent_, "SoftVersion"));
        window_->ShowWindow();
        platform_.ProcessPending();
        return *window_;
    }
    void Click(const char* name) {
        ShellHarness::Click(*window_, name);
        ASSERT_TRUE(platform_.RunUntil([this] { return !window_->Downloading(); }, std::chrono::seconds(10)));
        platform_.ProcessPending();
    }
    std::string Text(const char* name) { return window_->FindControl(name)->GetText(); }
    std::string Told() { return boxes_.shown.empty() ? "" : boxes_.shown.back().title + ": " + boxes_.shown.back().text; }

    skin::HeadlessPlatform platform_;
    TempDir dir_;
    LocalHttpServer server_;
    app::LanguageTexts texts_;
    test::RecordingParent parent_;
    test::RecordingUrlOpener urls_;
    test::RecordingMessageBoxes boxes_;
    int exits_ = 0;
    std::unique_ptr<app::SoftVersion> window_;
};

TEST_F(VersionWindow, TellsWhetherTheComputerIsOnline) {
    SwitchedNetwork network;
    Open(&network);
    Click("btn_Online");
    EXPECT_EQ(Told(), "提示框: 有网");
    network.connected = false;
    Click("btn_Online");
    EXPECT_EQ(Told(), "提示框: 无网");
    Open(nullptr);
    Click("btn_Online");
    EXPECT_EQ(Told(), "提示框: 无网") << "no network information: not connected";
}

TEST_F(VersionWindow, DownloadsTheServersVersionFileAndComparesItWithTheInstalledOne) {
    Open(nullptr);
    Click("btn_IndexVersion");
    EXPECT_EQ(Told(), "提示框: 文件不存在");
    server_.Route("/SeverVersion.json", {200, R"({"SeverVersion": {"MaxVersion": "0.2.0"}})"});
    Click("btn_DownVersion");
    EXPECT_EQ(Text("lab_DownState"), "Downloaded.");
    Click("btn_IndexVersion");
    EXPECT_EQ(Text("lab_IndexVersion"), "当前版本0.1.0，最新版本：0.2.0");

    // A failed download keeps the file it had.
    server_.Route("/SeverVersion.json", LocalHttpServer::Reply::CutShort(R"({"SeverVersion": {"MaxVersion": "9"}})", 5));
    Click("btn_DownVersion");
    EXPECT_EQ(Text("lab_DownState"), "The download failed.");
    Click("btn_IndexVersion");
    EXPECT_EQ(Text("lab_IndexVersion"), "当前版本0.1.0，最新版本：0.2.0");
    EXPECT_EQ(boxes_.shown.size(), 1u) << "downloads report only in the status line";
}

TEST_F(VersionWindow, TheTestDownloadLandsInItsFolderUnderTheFileNameOfTheAddress) {
    server_.Route("/files/test.bin?x=1", {200, "0123456789"});
    Open(nullptr);
    Click("btn_TempBtn");
    EXPECT_EQ(TempDir::Read(dir_ / "res/Version/123/test.bin"), "0123456789");
}

TEST_F(VersionWindow, TheUpgradeProgramEndsThisOneOnlyWhenItStarted) {
    Open(nullptr);
    Click("btn_StartUpdata");
    EXPECT_EQ(Told(), "提示框: 找不到 Upgrade.exe");
    EXPECT_EQ(exits_, 0);
    EXPECT_TRUE(window_->IsVisible());
    const auto upgrade = dir_.Write("Upgrade", "#!/bin/sh\n: > started\n");
    std::filesystem::permissions(upgrade, std::filesystem::perms::owner_all);
    Click("btn_StartUpdata");
    EXPECT_EQ(exits_, 1) << "the program ends the normal way, saving its configuration";
    EXPECT_FALSE(window_->IsVisible());
    EXPECT_TRUE(platform_.RunUntil([&] { return std::filesystem::exists(dir_ / "started"); }, std::chrono::seconds(5)))
        << "started in its folder";
}

TEST_F(VersionWindow, TheManualOpensWhenItsTextIsAWebAddress) {
    Open(nullptr);
    Click("btn_OpenPdf");
    ASSERT_EQ(urls_.opened.size(), 1u);
    EXPECT_EQ(urls_.opened[0], Text("btn_OpenPdf"));
    window_->FindControl("btn_OpenPdf")->SetText("/etc/passwd");
    Click("btn_OpenPdf");
    EXPECT_EQ(urls_.opened.size(), 1u);
}

}  // namespace
}  // namespace mousecfg
