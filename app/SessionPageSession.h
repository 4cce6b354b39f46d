#pragma once

#include <filesystem>

#include "config/ui/PageSession.h"

namespace mousecfg::app {

class SessionConfiguration;

// The mouse configuration of the program as the pages see it: the session's document, description, function names
// and macro document, and its requests. Until a device is loaded there is no document and the requests do
// nothing. UI thread only.
class SessionPageSession final : public ui::PageSession {
public:
    // `settingsFile` holds "Set"/"OnlyOnePageVersion"; `featureFile` (the default model's description) holds
    // "Config"/"KeySelLedVis". Both are read when asked.
    SessionPageSession(SessionConfiguration& configuration, std::filesystem::path settingsFile,
                       std::filesystem::path featureFile);

    MouseConfig* Document() override;
    const DeviceFeature* Feature() const override;
    const FunctionTable& Functions() const override;
    const KeyNames& Keys() const override;
    MacroStore& Macros() override;
    std::string DeviceName() const override;
    bool BleActive() const override;
    void DocumentChanged() override;
    void RequestApply(int requestType, bool full) override;
    void SetEditedButton(int button) override;
    bool ApplyRunning() const override;
    bool MacrosChanged() const override;
    void ApplyButton() override;
    void SelectProfile(int profile) override;
    void ShowProfile(int profile) override;
    Status ImportConfiguration() override;
    Status ExportConfiguration() override;
    Status ResetConfiguration() override;
    int OnePageVersion() const override;
    bool KeySelectLedVisible() const override;
    LinkKind Link() const override;
    const SensorOptions* Sensor() const override;
    Status SetSensorOption(std::string_view key, int value) override;
    void MarkFireValueChanged() override;

private:
    SessionConfiguration& configuration_;
    std::filesystem::path settingsFile_;
    std::filesystem::path featureFile_;
};

}  // namespace mousecfg::app
