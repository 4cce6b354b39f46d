#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include <nlohmann/json.hpp>

#include "device/HexText.h"
#include "tests/cli/ToolRun.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/TempDir.h"

namespace mousecfg::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string Data(const char* name) { return test::TestDataPath(std::string("macro/") + name).string(); }

TEST(Cli, BadArgumentsGiveOneLineAndStatus2) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--simulate"},
        {"--simulate", "usb", "info"},
        {"--frobnicate", "info"},
        {"--simulate", "cable", "dance"},
        {"--simulate", "cable", "info", "extra"},
        {"--simulate", "cable", "macro-write", "2"},
        {"--simulate", "cable", "macro-write", "two", Data("press-a.json")},
        {"--simulate", "cable", "macro-write", "256", Data("press-a.json")},
    };
    for (const auto& arguments : cases) {
        const ToolRun run = RunTool(arguments);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(Cli, HelpDocumentsTheCommands) {
    const ToolRun run = RunTool({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* word :
         {"--simulate", "--trace", "--res", "devices", "info", "macro-write", "show [--json]", "set SETTING",
          "dpi LEVEL DPI", "active-dpi", "rate INDEX", "light-mode", "button BUTTON CODE", "fire VALUE", "move-wake",
          "profile N", "apply [--full]", "export FILE", "import FILE", "reset", "macro list", "macro bind"}) {
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
    }
}

TEST(Cli, WithoutAMouseTheToolSaysSoAndFails) {
    const ToolRun run = RunTool({"info"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no supported mouse"), std::string::npos);
    EXPECT_NE(run.err.find("no device catalogue"), std::string::npos) << "no res folder beside the test";

    // With the built catalogue the system's HID devices are searched; the test machine has no such mouse.
    const ToolRun searched = RunTool({"--res", test::BuiltResources().string(), "info"});
    EXPECT_EQ(searched.status, 1);
    EXPECT_NE(searched.err.find("no supported mouse"), std::string::npos);
    EXPECT_EQ(searched.err.find("no device catalogue"), std::string::npos);
}

TEST(Cli, DevicesListsTheCatalogueAndWhatIsPresent) {
    const std::string res = test::BuiltResources().string();
    struct Case {
        const char* link;
        const char* cable;
        const char* receiver;
    };
    for (const Case& c : {Case{"cable", "present", "absent"}, Case{"receiver", "absent", "present"},
                          Case{"ble", "absent", "absent"}}) {
        const ToolRun run = RunTool({"--simulate", c.link, "--res", res, "devices"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                      std::string("0  cable     1209:0007  MouseA  Virtual Mouse  ") + c.cable,
                                      std::string("1  receiver  1209:0008  MouseA  Virtual Mouse  ") + c.receiver,
                                      "ble: Virtual Mouse"}))
            << c.link;
    }

    test::TempDir empty;
    const ToolRun none = RunTool({"--simulate", "cable", "--res", empty.path().string(), "devices"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(Lines(none.err).size(), 1u);
    EXPECT_TRUE(none.out.empty());
    EXPECT_EQ(RunTool({"--res", res, "devices", "extra"}).status, 2);
}

TEST(Cli, InfoReportsTheVirtualMouseOnEveryLink) {
    for (const char* link : {"cable", "receiver", "ble"}) {
        const ToolRun run = RunTool({"--simulate", link, "info"});
        ASSERT_EQ(run.status, 0) << link << ": " << run.err;
        EXPECT_NE(run.out.find(std::string("connection: ") + link), std::string::npos);
        EXPECT_NE(run.out.find("linked: yes"), std::string::npos);
        EXPECT_NE(run.out.find("battery: 80%"), std::string::npos);
        EXPECT_NE(run.out.find("charging: no"), std::string::npos);
        EXPECT_NE(run.out.find("variant: 6"), std::string::npos);
    }
}

TEST(Cli, TraceShowsEveryReportAs41HexBytes) {
    const ToolRun run = RunTool({"--simulate", "receiver", "--trace", "info"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = Lines(run.err);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 29), "> 06 00 00 81 01 00 00 00 03 ");
    EXPECT_EQ(lines[1].substr(0, 2), "< ");
    for (const auto& line : lines) {
        const auto bytes = ParseHexText(line.substr(2));
        ASSERT_TRUE(bytes.has_value()) << line;
        EXPECT_EQ(bytes->size(), 41u) << line;
    }

    const ToolRun ble = RunTool({"--simulate", "ble", "--trace", "info"});
    ASSERT_EQ(ble.status, 0) << ble.err;
    EXPECT_NE(ble.err.find("\n< 06 00 00 81 "), std::string::npos) << "replies over BLE are traced too";
}

TEST(Cli, MacroWritePrintsTheResultOfTheWrite) {
    struct Case {
        std::string slot;
        const char* file;
        const char* printed;
        int status;
    };
    for (const Case& c : {Case{"2", "press-a.json", "WriteMacro: 1\n", 0}, Case{"15", "press-a.json", "WriteMacro: 1\n", 0},
                          Case{"3", "too-long.json", "WriteMacro: -1\n", 1}}) {
        for (const char* link : {"cable", "receiver", "ble"}) {
            const ToolRun run = RunTool({"--simulate", link, "macro-write", c.slot, Data(c.file)});
            EXPECT_EQ(run.out, c.printed) << link << " slot " << c.slot << " " << c.file;
            EXPECT_EQ(run.status, c.status) << run.err;
        }
    }
}

// The help text promises slots 0..15 and macros of at most 500 items: anything else is refused before the mouse
// is written, with the reason, instead of being sent (slot 16) or cut to 16 bits (65536 items read as none).
TEST(Cli, MacroWriteRefusesSlotsAndItemCountsTheMouseHasNot) {
    test::TempDir dir;
    nlohmann::json macro = nlohmann::json::parse(test::TempDir::Read(Data("press-a.json")));
    std::vector<std::pair<std::string, std::string>> cases = {{"16", Data("press-a.json")},
                                                              {"255", Data("press-a.json")}};
    for (const int count : {501, 65536, -1}) {
        macro["macData"]["num"] = count;
        cases.emplace_back("1", dir.Write(std::to_string(count) + ".json", macro.dump()).string());
    }
    for (const auto& [slot, file] : cases) {
        const ToolRun run = RunTool({"--simulate", "cable", "--trace", "macro-write", slot, file});
        EXPECT_EQ(run.status, 2) << slot << " " << file;
        EXPECT_EQ(run.out, "") << slot << " " << file;
        EXPECT_EQ(run.err.find("> "), std::string::npos) << "nothing reached the mouse: " << run.err;
        EXPECT_NE(run.err.find(slot == "1" ? "at most 500 items" : "from 0 to 15"), std::string::npos) << run.err;
    }
}

TEST(Cli, MacroWriteTracesOnePagePerFrame) {
    const ToolRun run = RunTool({"--simulate", "cable", "--trace", "macro-write", "2", Data("press-a.json")});
    ASSERT_EQ(run.status, 0);
    // One page: code 08, index 2, offset 0, 8 bytes: repeat 1, 4 item bytes, press and release of A.
    EXPECT_EQ(Lines(run.err).at(0).substr(0, 53), "> 06 00 00 08 01 02 00 00 08 01 00 04 00 04 14 04 94 ");
}

TEST(Cli, UnreadableOrMalformedMacroFilesAreRefusedWithStatus2) {
    test::TempDir dir;
    const auto notAMacro = dir.Write("list.json", "[1, 2, 3]");
    for (const std::string& file : {Data("truncated.json"), Data("bad-type.json"), (dir / "missing.json").string(),
                                    notAMacro.string(), dir.path().string()}) {
        const ToolRun run = RunTool({"--simulate", "cable", "--trace", "macro-write", "2", file});
        EXPECT_EQ(run.status, 2) << file;
        EXPECT_EQ(Lines(run.err).size(), 1u) << "nothing was sent: " << run.err;
        EXPECT_NE(run.err.find(file), std::string::npos) << "the error names the file: " << run.err;
    }
}

}  // namespace
}  // namespace mousecfg::cli
