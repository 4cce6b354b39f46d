#include "app/SessionPageSession.h"

#include "app/SessionConfiguration.h"
#include "config/MouseSession.h"
#include "config/SensorOptions.h"
#include "platform/PrivateProfile.h"

namespace mousecfg::app {

SessionPageSession::SessionPageSession(SessionConfiguration& configuration, std::filesystem::path settingsFile,
                                       std::filesystem::path featureFile)
    : configuration_(configuration), settingsFile_(std::move(settingsFile)), featureFile_(std::move(featureFile)) {}

MouseConfig* SessionPageSession::Document() {
    return configuration_.Document();
}

const DeviceFeature* SessionPageSession::Feature() const {
    return configuration_.Feature();
}

const FunctionTable& SessionPageSession::Functions() const {
    return configuration_.Session().functions();
}

const KeyNames& SessionPageSession::Keys() const {
    return configuration_.Session().keyNames();
}

MacroStore& SessionPageSession::Macros() {
    return configuration_.Macros();
}

std::string SessionPageSession::DeviceName() const {
    return configuration_.Session().deviceName();
}

bool SessionPageSession::BleActive() const {
    return configuration_.BleActive();
}

void SessionPageSession::DocumentChanged() {
    configuration_.DocumentChanged();
}

void SessionPageSession::RequestApply(int requestType, bool full) {
    if (configuration_.Document() != nullptr) {
        configuration_.Session().RequestApply(requestType, full);
    }
}

void SessionPageSession::SetEditedButton(int button) {
    configuration_.Session().applyState().editedButton = button;
}

bool SessionPageSession::ApplyRunning() const {
    return configuration_.ApplyRunning();
}

bool SessionPageSession::MacrosChanged() const {
    return configuration_.MacrosChanged();
}

void SessionPageSession::ApplyButton() {
    if (configuration_.Document() != nullptr) {
        configuration_.Session().ApplyButton();
    }
}

void SessionPageSession::SelectProfile(int profile) {
    if (configuration_.Document() != nullptr) {
        configuration_.Session().SelectProfile(profile);
    }
}

void SessionPageSession::ShowProfile(int profile) {
    configuration_.ShowProfile(profile);
}

Status SessionPageSession::ImportConfiguration() {
    configuration_.ImportConfiguration();
    return Status::Ok();
}

Status SessionPageSession::ExportConfiguration() {
    return configuration_.ExportConfiguration();
}

Status SessionPageSession::ResetConfiguration() {
    return configuration_.ResetConfiguration();
}

int SessionPageSession::OnePageVersion() const {
    return ini::Atoi(ini::GetPrivateProfileString("Set", "OnlyOnePageVersion", "", settingsFile_));
}

bool SessionPageSession::KeySelectLedVisible() const {
    return ini::Atoi(ini::GetPrivateProfileString("Config", "KeySelLedVis", "1", featureFile_)) != 0;
}

LinkKind SessionPageSession::Link() const {
    return configuration_.Session().link();
}

const SensorOptions* SessionPageSession::Sensor() const {
    return configuration_.Feature() != nullptr ? &configuration_.Session().options() : nullptr;
}

// A write that fails leaves the option as the settings file holds it.
Status SessionPageSession::SetSensorOption(std::string_view key, int value) {
    if (configuration_.Feature() == nullptr) {
        return Status::Error("no device is loaded");
    }
    MouseSession& session = configuration_.Session();
    Status stored = session.SetSensorOption(key, value);
    if (!stored) {
        const std::string_view keys[] = {key};
        session.ReloadSensorOptions(keys);
    }
    return stored;
}

void SessionPageSession::MarkFireValueChanged() {
    configuration_.Session().applyState().fireRefresh = true;
}

}  // namespace mousecfg::app
