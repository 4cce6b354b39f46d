// The tool's configuration folder when no --res is given: the per-user folder, or the simulation's own copy.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "tests/cli/ToolRun.h"
#include "tests/support/TempDir.h"

namespace mousecfg::cli {
namespace {

// Sets an environment variable while it lives and restores it afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ConfigFolder, AFolderThatCannotBeMadeStopsTheCommandWithItsNameBeforeTheMouseIsTouched) {
    test::TempDir dir;
    dir.Write("home", "a file where the home folder should be");
    const ScopedVariable home("HOME", (dir / "home").string());
    const ScopedVariable config("XDG_CONFIG_HOME", "");
    const ScopedVariable state("XDG_STATE_HOME", "");
    for (const char* link : {"cable", "ble"}) {
        const ToolRun run = RunTool({"--simulate", link, "--trace", "set", "dpi", "1", "1600"});
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find("cannot create the configuration folder " + (dir / "home").string()),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(run.err.find("> 06"), std::string::npos) << "nothing was sent: " << run.err;
    }
    const ScopedVariable noHome("HOME", "");
    const ToolRun none = RunTool({"--simulate", "cable", "show"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("XDG_STATE_HOME"), std::string::npos) << none.err;
}

}  // namespace
}  // namespace mousecfg::cli
