// A sensor option of the advanced page that cannot be written to the settings file, in the whole program: the
// user is told, the page shows what the file holds, the file is unchanged and the mouse gets nothing. The settings
// file's folder is made read-only; root ignores that, so the test runs in a child process that gives up root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/SessionConfiguration.h"
#include "config/MouseSession.h"
#include "skin/Button.h"
#include "skin/Edit.h"
#include "skin/PaintManager.h"
#include "skin/SkinResources.h"
#include "tests/app/ShellHarness.h"

namespace mousecfg {
namespace {

using test::ShellHarness;

// Exit codes of the child: 0 when every check held, else the number of the check that failed.
int TypeSleepTimeIntoAReadOnlyFolder() {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
        return 90;
    }
    ShellHarness h(app::Simulation::Cable);
    h.Start();
    const std::string before = test::TempDir::Read(h.Res() / "Set.ini");
    const uint16_t sleepBefore = h.Mouse().System().sleepSeconds;
    if (::chmod(h.Res().c_str(), 0555) != 0) {
        return 91;
    }
    ShellHarness::Click(h.Window(), "opt_MousePage_Adv");
    std::string message;
    h.Platform().RunOnUiThread([&message] {
        for (skin::PaintManager* manager : skin::SkinResources::Managers()) {
            if (const skin::Control* text = manager->FindControl("MessageText")) {
                message = text->GetText();
            }
            if (auto* confirm = dynamic_cast<skin::Button*>(manager->FindControl("confirm_btn"))) {
                confirm->Activate();
            }
        }
    });
    auto* edit = h.Window().Find<skin::Edit>("Edit_Sleep_Time");
    h.Window().GetPaintManager().SetFocus(edit);
    edit->ReplaceText("25");
    edit->PressReturn();
    h.WaitForApply();
    ::chmod(h.Res().c_str(), 0755);
    int failed = 0;
    failed = failed != 0 ? failed : message.find("could not be saved") == std::string::npos ? 1 : 0;
    failed = failed != 0 ? failed : message.find("Set.ini") == std::string::npos ? 2 : 0;
    failed = failed != 0 ? failed : h.Text("Edit_Sleep_Time") != "10" ? 3 : 0;
    failed = failed != 0 ? failed : test::TempDir::Read(h.Res() / "Set.ini") != before ? 4 : 0;
    failed = failed != 0 ? failed : h.Mouse().System().sleepSeconds != sleepBefore ? 5 : 0;
    failed = failed != 0 ? failed : h.shell->Configuration().Session().options().sleepTime != 10 ? 6 : 0;
    return failed;
}

TEST(SettingsWriteFailure, AnOptionTheSettingsFileCannotTakeIsReportedAndKeepsItsValue) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(TypeSleepTimeIntoAReadOnlyFolder()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace mousecfg
