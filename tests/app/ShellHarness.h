#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CKivoMainWnd.h"
#include "app/CommandLine.h"
#include "app/DeviceLink.h"
#include "app/Shell.h"
#include "app/SessionConfiguration.h"
#include "sim/VirtualMouse.h"
#include "platform/FontRegistry.h"
#include "platform/UrlOpener.h"
#include "skin/HeadlessPlatform.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TempDir.h"

namespace mousecfg::test {

class RecordingUrlOpener final : public UrlOpener {
public:
    bool OpenUrl(const std::string& url) override {
        opened.push_back(url);
        return true;
    }
    bool OpenFile(const std::filesystem::path& file) override {
        opened.push_back("file:" + file.string());
        return std::filesystem::exists(file);
    }
    std::vector<std::string> opened;
};

// A parent window that records the private messages (2000 to 2999) its popups send or post to it.
class RecordingParent final : public skin::SkinWindow {
public:
    std::string GetSkinFile() override { return "poptip.xml"; }
    std::string GetWindowClassName() const override { return "Parent"; }
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override {
        if (message.id >= 2000 && message.id < 3000) {
            received.push_back(message);
            handled = true;
        }
        return 0;
    }
    std::vector<Message> received;
};

// Fonts that register when their file exists; ids count up from 1.
class RecordingFontRegistry final : public FontRegistry {
public:
    int AddFont(const std::filesystem::path& file) override;
    bool RemoveFont(int id) override;
    // "Chosen Face" in front of the language file's face; the languages asked for are kept.
    std::vector<std::string> FacesFor(std::string_view preferred, std::string_view /*text*/,
                                      std::string_view language) override {
        languages.emplace_back(language);
        return {"Chosen Face", std::string(preferred)};
    }
    std::vector<std::string> languages;
    std::vector<std::filesystem::path> added;
    std::vector<int> live;
    int removed = 0;

private:
    int next_ = 1;
};

// The whole program without Qt: a copy of the resource folder, the shell with the virtual mouse on the headless
// skin platform, recording URL and font services, and the exit codes asked for. `prepare` edits the copied
// resource folder before the start.
class ShellHarness {
public:
    explicit ShellHarness(app::Simulation simulation = app::Simulation::Receiver,
                          const std::function<void(const std::filesystem::path& res)>& prepare = {},
                          std::string commandLineText = {});
    ~ShellHarness();

    // Starts the shell and handles everything queued, including the run that brings the mouse in step.
    void Start();
    // Handles messages until no apply run is under way (false after five seconds).
    bool WaitForApply();
    // Handles posted messages and tasks until `done` (workers post from their threads) or five seconds passed.
    bool PumpUntil(const std::function<bool()>& done);
    void Pump();
    // Moves the headless clock on (timers fire) and handles what follows.
    void Advance(std::chrono::milliseconds elapsed);
    // Clicks a button, option or check box of a window the way the user would (state changes and notifications).
    static void Click(skin::SkinWindow& window, const std::string& name);
    // Sends a private message to the main window and handles what follows.
    intptr_t Send(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0, std::string text = {});

    app::CKivoMainWnd& Window() { return shell->Window(); }
    sim::VirtualMouse& Mouse();
    skin::HeadlessPlatform& Platform() { return platform; }
    std::string Text(const std::string& control);
    bool Visible(const std::string& control);
    std::filesystem::path Res() const { return dir.path() / "res"; }
    std::string Setting(const char* section, const char* key) const;

    TempDir dir;
    RecordingUrlOpener urls;
    RecordingFontRegistry fonts;
    ScriptedFileDialogs dialogs;
    std::vector<int> quits;
    skin::HeadlessPlatform platform;
    std::unique_ptr<app::Shell> shell;

private:
    std::filesystem::path previousFolder_;
};

// Writes `value` for `key` of `section` in the resource copy's settings file.
void SetSetting(const std::filesystem::path& res, const char* section, const char* key, const std::string& value);

}  // namespace mousecfg::test
