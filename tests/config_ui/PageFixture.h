#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/DeviceFeature.h"
#include "config/FunctionTable.h"
#include "config/MouseConfig.h"
#include "config/SensorOptions.h"
#include "config/ui/PageHost.h"
#include "config/ui/PageRouter.h"
#include "config/ui/PageSession.h"
#include "macro/KeyNames.h"
#include "macro/MacroStore.h"
#include "platform/ProgramLauncher.h"
#include "skin/SkinWindow.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TempDir.h"

namespace mousecfg::test {

// The mouse configuration of the default model as plain values: the document and macro document are copies of the
// resource folder's; requests are recorded.
class FakePageSession final : public ui::PageSession {
public:
    explicit FakePageSession(const std::filesystem::path& folder);

    MouseConfig* Document() override { return loaded ? &config : nullptr; }
    const DeviceFeature* Feature() const override { return &feature; }
    const FunctionTable& Functions() const override { return functions; }
    const KeyNames& Keys() const override { return keys; }
    MacroStore& Macros() override { return *macros; }
    std::string DeviceName() const override { return deviceName; }
    bool BleActive() const override { return ble; }
    void DocumentChanged() override { ++documentChanges; }
    void RequestApply(int requestType, bool full) override { requests.push_back({requestType, full, editedButton}); }
    void SetEditedButton(int button) override { editedButton = button; }
    bool ApplyRunning() const override { return applyRunning; }
    bool MacrosChanged() const override { return macrosChanged; }
    void ApplyButton() override { ++applyButtons; }
    void SelectProfile(int profile) override { selectedProfiles.push_back(profile); }
    void ShowProfile(int profile) override { shownProfiles.push_back(profile); }
    Status ImportConfiguration() override { return Menu("Import"); }
    Status ExportConfiguration() override { return Menu("Export"); }
    Status ResetConfiguration() override { return Menu("Reset"); }
    int OnePageVersion() const override { return onePage; }
    bool KeySelectLedVisible() const override { return ledVisible; }
    LinkKind Link() const override { return link; }
    const SensorOptions* Sensor() const override { return loaded ? &sensor : nullptr; }
    // Writes succeed unless `sensorWriteFails`; every write is recorded as "key=value".
    Status SetSensorOption(std::string_view key, int value) override;
    void MarkFireValueChanged() override { ++fireMarks; }

    // The binding of page button `button` in the current profile.
    KeyBinding& Binding(int button) {
        return config.keyProfiles[static_cast<size_t>(config.currentProfile)][ButtonName(button)];
    }

    struct Request {
        int type;
        bool full;
        int button;
        bool operator==(const Request&) const = default;
    };

    MouseConfig config;
    DeviceFeature feature;
    FunctionTable functions;
    KeyNames keys;
    ScriptedFileDialogs dialogs;
    RecordingMessageBoxes macroBoxes;
    std::unique_ptr<MacroStore> macros;
    std::string deviceName = "Virtual Mouse";
    bool loaded = true;
    bool ble = false;
    bool applyRunning = false;
    bool macrosChanged = false;
    int onePage = 0;
    bool ledVisible = true;
    std::optional<Status> menuFailure;
    LinkKind link = LinkKind::Receiver;
    SensorOptions sensor;
    bool sensorWriteFails = false;
    std::vector<std::string> sensorWrites;
    int fireMarks = 0;

    int documentChanges = 0;
    int editedButton = -1;
    std::vector<Request> requests;
    int applyButtons = 0;
    std::vector<int> selectedProfiles;
    std::vector<int> shownProfiles;
    std::vector<std::string> menuItems;

private:
    Status Menu(const std::string& item) {
        menuItems.push_back(item);
        return menuFailure.value_or(Status::Ok());
    }
};

class RecordingPageHost final : public ui::PageHost {
public:
    void ShowTip(const std::string& text, const skin::Rect& anchor) override {
        tipText = text;
        tipAnchor = anchor;
        tipShown = true;
    }
    void HideTip() override { tipShown = false; }
    void OpenColourPicker(skin::Color colour) override { pickerColours.push_back(colour); }

    bool tipShown = false;
    std::string tipText;
    skin::Rect tipAnchor;
    std::vector<skin::Color> pickerColours;
};

// Programs "installed" by name; every start is recorded.
class FakeLauncher final : public ProgramLauncher {
public:
    std::optional<std::filesystem::path> FindProgram(std::string_view name) const override {
        for (const std::string& program : installed) {
            if (program == name) {
                return std::filesystem::path("/usr/bin") / program;
            }
        }
        return std::nullopt;
    }
    Status StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments) override {
        started.push_back({program.string(), arguments});
        return failStarts ? Status::Error(program.string() + " could not be started") : Status::Ok();
    }

    std::vector<std::string> installed;
    bool failStarts = false;
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
};

// The main window's skin with the page router behind it, as the main window drives it: every notification goes to
// the router, its messages first to the router, 2067 and 2028 come back as "WM_RecordKey" and "PopSetValue".
class PageWindow final : public skin::SkinWindow {
public:
    explicit PageWindow(std::filesystem::path skin) : skin_(std::move(skin)) {}
    std::string GetSkinFile() override { return skin_.string(); }
    std::string GetWindowClassName() const override { return "PageWnd"; }
    std::unique_ptr<skin::Control> CreateControl(std::string_view className) override;
    void Notify(skin::Notification& notification) override;
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;

    ui::PageRouter* router = nullptr;
    std::vector<Message> posted;  // private messages the pages sent or posted (2028, 2067, ...)

private:
    std::filesystem::path skin_;
};

// The pages on the dark skin with the default model placed; the document and macros from a copy of the resources.
class PageFixture {
public:
    // `model` is the model folder whose position files are placed (the default model of the build's resources).
    explicit PageFixture(const std::string& skin = "res_black", std::unique_ptr<ui::SettingsPage> advanced = nullptr,
                         std::unique_ptr<ui::SettingsPage> lighting = nullptr, std::filesystem::path model = {});
    ~PageFixture();

    // Handles everything posted to the window.
    void Pump();
    // Clicks a control the way the user does (press and release at its centre); false when it is not shown.
    bool Click(const std::string& name);
    bool ClickControl(skin::Control* control);
    // Presses a list item (the list selects it) and releases it (the item is clicked).
    bool ClickItem(const std::string& name);
    // The colour picker opened from colour button `button` ("setfocus") and closed with OK on `colour` (0xRRGGBB).
    void PickColour(const std::string& button, int colour);
    // A key pressed on the keyboard while the main window has it: down and up with `scanCode`.
    void TypeKey(int scanCode, unsigned virtualKey = 0x41);
    bool Visible(const std::string& name) const;
    bool Selected(const std::string& name) const;
    std::string Text(const std::string& name) const;
    skin::Control* Find(const std::string& name) const { return window.FindControl(name); }
    // The main window's 2028 messages so far.
    int Announcements() const;
    void SelectDevice();

    TempDir dir;
    std::filesystem::path model;
    FakePageSession session;
    RecordingPageHost host;
    RecordingMessageBoxes boxes;
    FakeLauncher launcher;
    PageWindow window;
    std::unique_ptr<ui::PageRouter> router;
};

// The resource folder of the build (skins with their pictures).
std::filesystem::path BuildRes();

}  // namespace mousecfg::test
