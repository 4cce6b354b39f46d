#include "tests/app/ShellHarness.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/DeviceLink.h"
#include "platform/PrivateProfile.h"
#include "skin/Button.h"
#include "skin/Control.h"
#include "skin/SkinResources.h"
#include "skin/WindowMessages.h"
#include "tests/support/SimChecks.h"

namespace mousecfg::test {

int RecordingFontRegistry::AddFont(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return -1;
    }
    added.push_back(file);
    live.push_back(next_);
    return next_++;
}

bool RecordingFontRegistry::RemoveFont(int id) {
    const auto it = std::find(live.begin(), live.end(), id);
    if (it == live.end()) {
        return false;
    }
    live.erase(it);
    ++removed;
    return true;
}

void SetSetting(const std::filesystem::path& res, const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(ini::WritePrivateProfileString(section, key, value, res / "Set.ini").ok());
}

ShellHarness::ShellHarness(app::Simulation simulation,
                           const std::function<void(const std::filesystem::path& res)>& prepare,
                           std::string commandLineText) {
    std::filesystem::copy(std::filesystem::path(MOUSECFG_RES_DIR), Res(), std::filesystem::copy_options::recursive);
    // Settings the tests rely on, whatever the shipped file says.
    SetSetting(Res(), "Set", "Language", "1");
    SetSetting(Res(), "Set", "DpiPopEn", "1");
    SetSetting(Res(), "CloseConfig", "CloseOption", "0");
    SetSetting(Res(), "CloseConfig", "Remind", "0");
    if (prepare) {
        prepare(Res());
    }
    ini::ClearCache();
    // The autostart entry goes to a folder of the test.
    setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    previousFolder_ = std::filesystem::current_path();
    skin::SkinPlatform::Set(&platform);
    app::CommandLine line;
    line.simulate = simulation;
    line.text = std::move(commandLineText);
    shell = std::make_unique<app::Shell>(line, app::AppPaths::For(dir.path(), Res()), urls, fonts, dialogs,
                                         [this](int code) { quits.push_back(code); });
}

ShellHarness::~ShellHarness() {
    if (shell && shell->Link().VirtualMouse() != nullptr) {
        test::ExpectNoRejections(*shell->Link().VirtualMouse());
    }
    shell->Shutdown();
    shell.reset();
    platform.ProcessPending();
    skin::SkinPlatform::Set(nullptr);
    std::filesystem::current_path(previousFolder_);
}

void ShellHarness::Start() {
    ASSERT_TRUE(shell->Start());
    Pump();
    ASSERT_TRUE(WaitForApply());
}

bool ShellHarness::WaitForApply() {
    const bool ended = PumpUntil([this] { return !shell->Configuration().ApplyRunning(); });
    Pump();
    return ended;
}

bool ShellHarness::PumpUntil(const std::function<bool()>& done) {
    return platform.RunUntil(done, std::chrono::seconds(5));
}

void ShellHarness::Pump() {
    // Workers may still be delivering: give them a moment, then handle everything queued.
    platform.RunUntil([] { return false; }, std::chrono::milliseconds(30));
    platform.ProcessPending();
}

void ShellHarness::Advance(std::chrono::milliseconds elapsed) {
    platform.AdvanceTime(elapsed);
    Pump();
}

void ShellHarness::Click(skin::SkinWindow& window, const std::string& name) {
    window.GetPaintManager().UpdateLayout();
    const skin::Control* control = window.FindControl(name);
    ASSERT_NE(control, nullptr) << name;
    const skin::Rect pos = control->GetPos();
    const intptr_t at = skin::msg::MakePointParam((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
    ASSERT_EQ(window.GetPaintManager().FindControl(skin::Point{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2}),
              control)
        << name << " cannot be clicked: hidden or covered";
    window.HandleMessage(Message{skin::msg::kMouseMove, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonDown, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonUp, 0, at, {}});
}

intptr_t ShellHarness::Send(uint32_t id, uintptr_t wParam, intptr_t lParam, std::string text) {
    const intptr_t result = Window().Send(Message{id, wParam, lParam, std::move(text)});
    Pump();
    return result;
}

sim::VirtualMouse& ShellHarness::Mouse() {
    return *shell->Link().VirtualMouse();
}

std::string ShellHarness::Text(const std::string& control) {
    const skin::Control* found = Window().FindControl(control);
    return found != nullptr ? found->GetText() : "<missing " + control + ">";
}

bool ShellHarness::Visible(const std::string& control) {
    const skin::Control* found = Window().FindControl(control);
    return found != nullptr && found->IsVisible();
}

std::string ShellHarness::Setting(const char* section, const char* key) const {
    ini::ClearCache();
    return ini::GetPrivateProfileString(section, key, "", Res() / "Set.ini");
}

}  // namespace mousecfg::test
