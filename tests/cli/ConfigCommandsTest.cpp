// The configuration commands of the tool against the virtual mouse, with a copy of the built resource folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>

#include <nlohmann/json.hpp>

#include "cli/Cli.h"
#include "cli/DeviceConnection.h"
#include "platform/AtomicFile.h"
#include "sim/VirtualMouse.h"
#include "tests/cli/ToolRun.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/TempDir.h"

namespace mousecfg::cli {
namespace {

// Keeps what the virtual mouse holds when the command has run.
struct MouseSnapshot final : CliInspector {
    void AfterCommand(DeviceConnection& device, int /*status*/) override {
        if (device.virtualMouse() != nullptr) {
            profile0 = device.virtualMouse()->Profile(0);
            system = device.virtualMouse()->System();
            writes = 0;
            for (const auto& entry : device.virtualMouse()->Log()) {
                writes += entry.direction == sim::FrameLogEntry::Direction::Received && (entry.report[3] & 0x80) == 0;
            }
        }
    }
    std::optional<sim::ProfileMemory> profile0;
    sim::SystemMemory system;
    int writes = 0;
};

class ConfigCommands : public ::testing::Test {
  protected:
    void SetUp() override { CopyConfigurationResources(res_.path()); }

    // What the user is told and what stays: the exit status, that the message names `file`, that `file`
    // holds `bytes` and that the mouse received no write.
    void ExpectRefused(const ToolRun& run, int status, const std::filesystem::path& file, const std::string& bytes,
                       const std::string& what) {
        EXPECT_EQ(run.status, status) << what << ": " << run.err;
        EXPECT_NE(run.err.find(file.string()), std::string::npos) << what << ": " << run.err;
        EXPECT_TRUE(test::TempDir::Read(file) == bytes) << what << ": " << file << " changed";
        EXPECT_EQ(mouse_.writes, 0) << what;
    }

    ToolRun Run(const std::string& link, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--simulate", link, "--res", res_.path().string()});
        return RunTool(arguments, &mouse_);
    }

    nlohmann::json Show(const std::string& link = "cable") {
        const ToolRun run = Run(link, {"show", "--json"});
        EXPECT_EQ(run.status, 0) << run.err;
        return nlohmann::json::parse(run.out);
    }

    std::filesystem::path ConfigFile() const { return res_ / "VeruzUrir/MouseA/Config/MouseConfig.json"; }
    std::filesystem::path MacroFile() const { return res_ / "MacroDock/MacroData/macroConfig.json"; }

    test::TempDir res_;
    MouseSnapshot mouse_;
};

TEST_F(ConfigCommands, SetIsSavedShownAndHeldByTheMouse) {
    for (const std::string link : {"receiver", "ble"}) {
        const ToolRun set = Run(link, {"set", "dpi", "1", "1625"});
        ASSERT_EQ(set.status, 0) << link << ": " << set.err;
        ASSERT_TRUE(mouse_.profile0.has_value());
        const int sensorValue = 1650 / 50 - 1;
        EXPECT_EQ(mouse_.profile0->dpiTable[4] | mouse_.profile0->dpiTable[5] << 8, sensorValue) << link;
        const nlohmann::json shown = Show(link);
        const nlohmann::json& level = shown["profiles"][0]["dpiLevels"][1];
        EXPECT_EQ(level["dpi"], "1650") << "the nearer gear, upwards at the halfway mark";
    }
    ASSERT_EQ(Run("cable", {"set", "dpi-colour", "0", "#112233"}).status, 0);
    EXPECT_EQ(mouse_.profile0->dpiColours[0], 0x22);
    EXPECT_EQ(Show()["profiles"][0]["dpiLevels"][0]["colour"], "112233");
    ASSERT_EQ(Run("cable", {"set", "sleep-time", "7"}).status, 0);
    EXPECT_EQ(mouse_.system.sleepSeconds, 7 * 60);
    EXPECT_EQ(Show()["sensor"]["SleepTime"], 7);
    ASSERT_EQ(Run("cable", {"set", "straight-line", "on"}).status, 0);
    EXPECT_EQ(mouse_.system.sensorFlags, 1);
    ASSERT_EQ(Run("cable", {"set", "lod", "1"}).status, 0);
    EXPECT_EQ(mouse_.system.liftOff, 2) << "chip 6";
    ASSERT_EQ(Run("cable", {"set", "move-wake", "on"}).status, 0);
    EXPECT_EQ(mouse_.system.deviceOptions[6], 1);
    ASSERT_EQ(Run("cable", {"set", "power-save", "on"}).status, 0);
    EXPECT_EQ(mouse_.profile0->light[0][0], 0x83 | 0x40);
    ASSERT_EQ(Run("cable", {"set", "button", "3", "29"}).status, 0);
    EXPECT_EQ(mouse_.profile0->keys[3], (std::array<uint8_t, 4>{0x04, 0x23, 0x02, 0}));
}

TEST_F(ConfigCommands, ValuesOutOfRangeAreRefusedAndTheConfigurationStays) {
    const std::string saved = test::TempDir::Read(ConfigFile());
    const std::vector<std::vector<std::string>> cases = {
        {"set", "rate", "9"},
        {"set", "dpi", "1", "0"},
        {"set", "dpi-colour", "1", "12345G"},
        {"set", "dpi", "8", "800"},
        {"set", "button", "0", "3"},
        {"set", "button", "2", "150"},
        {"set", "button", "8", "29"},   // the model has eight buttons and the wheel's 16 and 17
        {"set", "button", "18", "29"},
        {"macro", "bind", "9", "Examples", "Type hello"},
        {"set", "brightness", "6"},
        {"set", "light-colour-enable", "9", "on"},
        {"set", "light-mode", "12"},
        {"set", "fast"},
        {"profile", "3"},
        {"set", "sleep-time", "ten"},
    };
    for (const auto& arguments : cases) {
        const ToolRun run = Run("cable", arguments);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(mouse_.writes, 0) << testing::PrintToString(arguments);
        EXPECT_EQ(test::TempDir::Read(ConfigFile()), saved);
    }
}

TEST_F(ConfigCommands, ExportResetImportRestoresTheConfiguration) {
    ASSERT_EQ(Run("cable", {"set", "dpi", "2", "5000"}).status, 0);
    ASSERT_EQ(Run("cable", {"set", "light-mode", "Wave"}).status, 0);
    const nlohmann::json before = Show();
    const std::string file = (res_ / "mine.Mouse.Config").string();
    ASSERT_EQ(Run("cable", {"export", file}).status, 0);

    const ToolRun reset = Run("cable", {"reset"});
    ASSERT_EQ(reset.status, 0) << reset.err;
    EXPECT_NE(reset.err.find("applying (full run)"), std::string::npos) << "progress on stderr";
    EXPECT_NE(Show()["profiles"], before["profiles"]);

    const ToolRun imported = Run("cable", {"import", file});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(mouse_.profile0->light[0][0], 0x85) << "the mouse holds the imported lighting mode";
    EXPECT_EQ(Show()["profiles"], before["profiles"]);

    // The same mouse behind its receiver is the same device: what one link exported, the other imports.
    ASSERT_EQ(Run("receiver", {"export", file}).status, 0);
    const ToolRun otherLink = Run("cable", {"import", file});
    EXPECT_EQ(otherLink.status, 0) << otherLink.err;

    nlohmann::json foreignFile = nlohmann::json::parse(test::TempDir::Read(file));
    foreignFile["MouseName"] = nlohmann::json::array();
    for (const char c : std::string("Other Mouse")) {
        foreignFile["MouseName"].push_back(static_cast<int>(c));
    }
    const std::string foreignPath = (res_ / "other.Mouse.Config").string();
    std::ofstream(foreignPath) << foreignFile.dump(4);
    const ToolRun foreign = Run("cable", {"import", foreignPath});
    EXPECT_EQ(foreign.status, 2);
    EXPECT_NE(foreign.err.find("does not belong"), std::string::npos);
}

TEST_F(ConfigCommands, ProfilesApplyAndMacros) {
    const ToolRun apply = Run("cable", {"apply"});
    ASSERT_EQ(apply.status, 0) << apply.err;
    EXPECT_EQ(apply.out, "profile 0 written (22 requests)\n");
    ASSERT_EQ(Run("cable", {"profile", "2"}).status, 0);
    EXPECT_EQ(mouse_.system.activeProfile, 2);
    EXPECT_EQ(Show()["currentProfile"], 2);

    const ToolRun list = Run("cable", {"macro", "list"});
    EXPECT_NE(list.out.find("Type hello"), std::string::npos);
    ASSERT_EQ(Run("cable", {"macro", "bind", "3", "Examples", "Type hello"}).status, 0);
    EXPECT_EQ(Show()["profiles"][2]["buttons"][3]["label"], "M:Type hello");
    EXPECT_NE(Run("cable", {"macro", "list"}).out.find("bound 1"), std::string::npos);
    EXPECT_EQ(Run("ble", {"macro", "bind", "4", "0", "0"}).status, 1);
    EXPECT_EQ(Run("cable", {"macro", "bind", "4", "Examples", "Nothing"}).status, 2);
}

// Writes fail for the files named (the seam stands in for a read-only folder or a full disk: root ignores
// permissions) while the object lives.
struct FailingWrites {
    explicit FailingWrites(std::vector<std::filesystem::path> failing) {
        SetWriteFailureForTesting([failing](const std::filesystem::path& file) {
            return std::find(failing.begin(), failing.end(), file) != failing.end();
        });
    }
    ~FailingWrites() { SetWriteFailureForTesting({}); }
};

// A configuration that cannot be stored is not sent: set, profile, apply, macro bind, import and reset end with
// status 1 naming the file, and neither the files nor the mouse change. Only the profile tag a run gives the
// mouse is saved after it is sent: its failure is reported all the same.
TEST_F(ConfigCommands, ChangesThatCannotBeSavedAreNotSent) {
    const std::filesystem::path settings = res_ / "Set.ini";
    const std::filesystem::path feature = res_ / "VeruzUrir/MouseA/Config/DeviceFeature.ini";
    const std::string exchange = (res_ / "mine.Mouse.Config").string();
    ASSERT_EQ(Run("cable", {"export", exchange}).status, 0);
    const struct {
        std::vector<std::string> arguments;
        std::filesystem::path failing;
        bool sent = false;
    } cases[] = {
        {{"set", "dpi", "1", "1600"}, ConfigFile()},
        {{"set", "sleep-time", "7"}, settings},
        {{"profile", "2"}, ConfigFile()},
        {{"apply", "--full"}, ConfigFile()},
        {{"macro", "bind", "3", "Examples", "Type hello"}, MacroFile()},
        {{"import", exchange}, ConfigFile()},
        {{"reset"}, ConfigFile()},
        {{"set", "light-mode", "Wave"}, feature, true},
    };
    for (const auto& c : cases) {
        const std::string bytes = test::TempDir::Read(c.failing);
        const std::string what = testing::PrintToString(c.arguments);
        ToolRun run;
        {
            FailingWrites failing({c.failing});
            run = Run("cable", c.arguments);
        }
        if (c.sent) {
            EXPECT_EQ(run.status, 1) << what;
            EXPECT_NE(run.err.find("could not be saved: cannot write " + c.failing.string()), std::string::npos)
                << run.err;
            EXPECT_TRUE(test::TempDir::Read(c.failing) == bytes) << what << ": " << c.failing << " changed";
        } else {
            ExpectRefused(run, 1, c.failing, bytes, what);
        }
    }
}

// A document that cannot be read is what the user had. Commands that work on it stop (status 1, the file named,
// nothing changed or sent); reset and import replace a damaged configuration after keeping it aside.
TEST_F(ConfigCommands, ADamagedConfigurationStopsEditsAndIsKeptAsideByResetAndImport) {
    const std::string exchange = (res_ / "mine.Mouse.Config").string();
    ASSERT_EQ(Run("cable", {"export", exchange}).status, 0);
    const std::string whole = test::TempDir::Read(ConfigFile());
    nlohmann::json retyped = nlohmann::json::parse(whole);
    retyped["mouseconfig"]["mouseadv"][0]["cruseldpi"] = "one";
    for (const std::string& damaged : {whole.substr(0, whole.size() / 2), retyped.dump(4)}) {
        std::ofstream(ConfigFile(), std::ios::trunc) << damaged;
        for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
                 {"set", "dpi", "1", "1600"}, {"apply"}, {"profile", "1"}, {"show"}}) {
            const ToolRun run = Run("cable", arguments);
            ExpectRefused(run, 1, ConfigFile(), damaged, testing::PrintToString(arguments));
            EXPECT_NE(run.err.find("reset or import"), std::string::npos) << run.err;
        }
    }
    const ToolRun reset = Run("cable", {"reset"});
    EXPECT_EQ(reset.status, 0) << reset.err;
    EXPECT_NE(reset.err.find(".damaged"), std::string::npos) << reset.err;
    EXPECT_EQ(mouse_.profile0->light[0][0] & ~0x40, 0x83) << "the mouse holds the factory lighting mode 2";
    EXPECT_EQ(test::TempDir::Read(ConfigFile().string() + ".damaged"), retyped.dump(4));
    EXPECT_EQ(Show()["profiles"][0]["lighting"]["mode"], 2) << "and so does the configuration";

    std::ofstream(ConfigFile(), std::ios::trunc) << whole.substr(0, 10);
    const ToolRun imported = Run("cable", {"import", exchange});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(test::TempDir::Read(ConfigFile().string() + ".damaged.2"), whole.substr(0, 10));
    EXPECT_EQ(test::TempDir::Read(ConfigFile().string() + ".damaged"), retyped.dump(4)) << "the first copy stays";

    std::filesystem::remove(ConfigFile());
    EXPECT_EQ(Run("cable", {"apply"}).status, 1);
    EXPECT_EQ(Run("cable", {"reset"}).status, 0) << "a missing configuration is no obstacle either";
}

TEST_F(ConfigCommands, ADamagedMacroDocumentStopsEditsAndIsKeptAsideByReset) {
    const std::string whole = test::TempDir::Read(MacroFile());
    const std::string cut = whole.substr(0, whole.size() - 40);
    std::ofstream(MacroFile(), std::ios::trunc) << cut;
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"set", "dpi", "1", "1600"}, {"macro", "list"}, {"macro", "bind", "3", "0", "0"}}) {
        const ToolRun run = Run("cable", arguments);
        ExpectRefused(run, 1, MacroFile(), cut, testing::PrintToString(arguments));
    }
    const ToolRun reset = Run("cable", {"reset"});
    EXPECT_EQ(reset.status, 1) << "the macros are no longer in the document: " << reset.err;
    EXPECT_NE(reset.err.find(MacroFile().string()), std::string::npos) << reset.err;
    EXPECT_EQ(test::TempDir::Read(MacroFile().string() + ".damaged"), cut);
    EXPECT_EQ(Run("cable", {"macro", "list"}).status, 0) << "a new document took its place";
}

}  // namespace
}  // namespace mousecfg::cli
