#include "app/SessionConfiguration.h"

#include <span>
#include <string_view>
#include <utility>

#include "app/LanguageTexts.h"
#include "config/ApplyMessages.h"
#include "config/MouseSession.h"
#include "config/SensorOptions.h"
#include "device/ConnectionMonitor.h"
#include "device/ConnectionState.h"
#include "macro/MacroStore.h"
#include "platform/MessageBoxes.h"
#include "platform/Trace.h"
#include "platform/WindowTimers.h"

namespace mousecfg::app {
namespace {

void TraceFailure(const Status& status) {
    if (!status) {
        trace::Printf("%s\n", status.message().c_str());
    }
}

// The settings file keys a relay's setting is kept under.
std::span<const std::string_view> SettingKeys(PendingSetting setting) {
    using namespace sensor_key;
    static constexpr std::string_view kSavePower[] = {kSavePowerSelect};
    static constexpr std::string_view kSleep[] = {kSleepTime};
    static constexpr std::string_view kPowerDown[] = {kPdTime};
    static constexpr std::string_view kSensorByte[] = {kStraightLine, kRipple, kSmoothLine, kJitter};
    static constexpr std::string_view kLiftOff[] = {kLodHeight};
    static constexpr std::string_view kWake[] = {kMoveWake};
    static constexpr std::string_view kPress[] = {kShortPress};
    switch (setting) {
        case PendingSetting::SavePower: return kSavePower;
        case PendingSetting::Sleep: return kSleep;
        case PendingSetting::PowerDown: return kPowerDown;
        case PendingSetting::SensorByte: return kSensorByte;
        case PendingSetting::LiftOff: return kLiftOff;
        case PendingSetting::MoveWake: return kWake;
        case PendingSetting::ShortPress: return kPress;
    }
    return {};
}

// The session's relay message of a setting.
uint32_t RelayMessage(PendingSetting setting) {
    switch (setting) {
        case PendingSetting::SavePower: return msg::kSavePowerChanged;
        case PendingSetting::Sleep: return msg::kSleepTimeChanged;
        case PendingSetting::PowerDown: return msg::kPowerDownTimeChanged;
        case PendingSetting::SensorByte: return msg::kSensorFlagsChanged;
        case PendingSetting::LiftOff: return msg::kLiftOffChanged;
        case PendingSetting::MoveWake: return msg::kMoveWakeChanged;
        case PendingSetting::ShortPress: return msg::kShortPressChanged;
    }
    return 0;
}

}  // namespace

// The main window as the session sees it: its messages, timers and message windows, reached only once the window
// has attached. The worker thread posts through it; the target is set before any run starts.
class SessionConfiguration::WindowPort final : public MessageSink, public WindowTimers, public MessageBoxes {
public:
    void Attach(std::weak_ptr<MessageSink> window, WindowTimers& timers, MessageBoxes& boxes) {
        window_ = std::move(window);
        timers_ = &timers;
        boxes_ = &boxes;
    }

    void Post(Message message) override {
        if (auto window = window_.lock()) {
            window->Post(std::move(message));
        }
    }
    intptr_t Send(Message message) override {
        auto window = window_.lock();
        return window ? window->Send(std::move(message)) : 0;
    }
    void SetTimer(int id, std::chrono::milliseconds interval) override {
        if (timers_ != nullptr) {
            timers_->SetTimer(id, interval);
        }
    }
    void KillTimer(int id) override {
        if (timers_ != nullptr) {
            timers_->KillTimer(id);
        }
    }
    bool IsTimerRunning(int id) const override { return timers_ != nullptr && timers_->IsTimerRunning(id); }
    int Show(const MessageBoxRequest& request) override {
        if (boxes_ == nullptr) {
            trace::Printf("%s\n", request.text.c_str());
            return 0;
        }
        return boxes_->Show(request);
    }

private:
    std::weak_ptr<MessageSink> window_;
    WindowTimers* timers_ = nullptr;
    MessageBoxes* boxes_ = nullptr;
};

SessionConfiguration::SessionConfiguration(const std::filesystem::path& resourceFolder,
                                           const std::filesystem::path& configFolder, CommandSet& commands,
                                           FileDialogs& dialogs, KeyNames keyNames)
    : port_(std::make_unique<WindowPort>()), configFolder_(configFolder) {
    macros_ =
        std::make_unique<MacroStore>(MacroResourceFolder{configFolder, resourceFolder}, dialogs, *port_, keyNames);
    // Without a macro document, macro bindings fall back to defaults; a damaged one is named in the window after
    // the first run that follows a device load.
    TraceFailure(macros_->LoadMacros());
    macrosDamaged_ = macros_->documentDamaged();
    const MouseSessionServices services{commands, *port_, *port_, dialogs, *port_, *macros_, *this, keyNames};
    session_ = std::make_unique<MouseSession>(services, configFolder, resourceFolder);
}

SessionConfiguration::~SessionConfiguration() {
    session_.reset();  // joins a running worker while what it posts through still exists
}

void SessionConfiguration::Attach(const ApplyContext& context) {
    context_.emplace(context);
    port_->Attach(context.window, context.timers, context.boxes);
}

bool SessionConfiguration::BleActive() const {
    return context_ && context_->monitor.BleActive();
}

MessageBoxes& SessionConfiguration::Boxes() {
    return *port_;
}

void SessionConfiguration::SetLanguage(const LanguageTexts& texts) {
    MouseSessionTexts session;
    const auto take = [&texts](std::string& field, const char* key) {
        if (std::string text = texts.Message(key); !text.empty()) {
            field = std::move(text);
        }
    };
    take(session.title, "Tip");
    take(session.wrongFile, "ImportErr");
    take(session.damagedFile, "ImportErr");
    take(session.saveFailed, "SaveErr");
    take(session.ok, "MessageOK");
    texts_.title = session.title;
    texts_.ok = session.ok;
    take(texts_.damaged, "DamagedFile");
    take(texts_.error, "Error");
    session_->SetTexts(std::move(session));
}

void SessionConfiguration::ShowFailure(const std::string& text, const Status& failure) {
    port_->Show(MessageBoxRequest{texts_.title, text + "\n" + failure.message(), texts_.ok, "", false});
}

// The window names the files, within the configuration folder when they are there (full paths do not fit its
// lines); why each could not be read (the parser's long text) goes to the trace.
void SessionConfiguration::NoteDamagedDocuments() {
    const auto shown = [this](const std::filesystem::path& file) {
        const std::filesystem::path inside = file.lexically_relative(configFolder_);
        return "\n" + (inside.empty() || *inside.begin() == ".." ? file : inside).string();
    };
    if (macrosDamaged_) {
        macrosDamaged_ = false;
        damagedFiles_ += shown(macros_->configPath());
    }
    if (session_->configDamaged()) {
        damagedFiles_ += shown(MouseConfigPath(session_->modelFolder()));
    }
}

void SessionConfiguration::FollowLink() {
    if (!context_) {
        return;
    }
    const ConnectionMonitor& monitor = context_->monitor;
    const LinkKind link = monitor.BleActive() ? LinkKind::Ble
                          : monitor.State().connectionKind == ConnectionState::kCable ? LinkKind::Cable
                                                                                       : LinkKind::Receiver;
    if (link != session_->link()) {
        session_->SetLink(link);
    }
}

void SessionConfiguration::LoadDevice(const std::string& deviceName, const std::string& folder, DeviceLoad load) {
    if (load == DeviceLoad::ImportFollowUp) {
        return;  // import and reset load the device again themselves
    }
    if (session_->ApplyRunning()) {
        // The run works on its own copy; loading now would show a document the run is about to replace.
        trace::Write("LoadDevice: an apply run is under way, the device stays as it is\n");
        return;
    }
    if (loaded_) {
        TraceFailure(session_->SaveDocument());
    }
    FollowLink();
    session_->SetDevice(deviceName, folder);
    const Status status = session_->LoadDevice();
    TraceFailure(status);
    loaded_ = true;
    NoteDamagedDocuments();
    if (context_) {
        context_->monitor.SetStoredVariant(static_cast<uint8_t>(session_->feature().chipNumber));
    }
}

MouseConfig* SessionConfiguration::Document() {
    return loaded_ ? &session_->config() : nullptr;
}

const DeviceFeature* SessionConfiguration::Feature() const {
    return loaded_ ? &session_->feature() : nullptr;
}

DeviceStateModel& SessionConfiguration::StateModel() {
    return *session_;
}

void SessionConfiguration::DocumentChanged() {
    if (loaded_) {
        session_->DocumentChanged();
    }
}

void SessionConfiguration::ShowProfile(int profile) {
    if (loaded_) {
        session_->ShowProfile(profile);
    }
}

void SessionConfiguration::SetRebuilding(bool rebuilding) {
    session_->SetDeviceEventsSuspended(rebuilding);
}

// The mouse may hold another profile or another configuration than the one saved here (it was used elsewhere,
// or it was written while this program was not running): a full run that adopts the mouse's active profile
// reads back what it shows when its tag matches, and writes the saved configuration otherwise.
void SessionConfiguration::RefreshFromDevice() {
    if (!loaded_ || session_->ApplyRunning()) {
        return;
    }
    TraceFailure(session_->SaveDocument());
    FollowLink();
    if (context_ && session_->link() == LinkKind::Ble) {
        // Over BLE the chip comes with the device-information reply that asked for this reload.
        session_->UseChipNumber(context_->monitor.StoredVariant());
    }
    TraceFailure(session_->LoadDevice());
    if (context_) {
        context_->monitor.SetStoredVariant(static_cast<uint8_t>(session_->feature().chipNumber));
    }
    session_->applyState().followMouseProfile = true;
    session_->StartApply(true);
}

void SessionConfiguration::RequestApply(int requestType, bool full, int profile) {
    if (!loaded_) {
        return;
    }
    FollowLink();
    const uintptr_t wParam = static_cast<uintptr_t>(requestType & 0x7F) | (full ? kApplyFullFlag : 0);
    session_->OnApplyRequest(wParam, profile);
}

void SessionConfiguration::SetPending(PendingSetting setting) {
    if (!loaded_) {
        return;
    }
    session_->ReloadSensorOptions(SettingKeys(setting));
    session_->RelayItem(RelayMessage(setting));
}

void SessionConfiguration::OnMacrosChanged() {
    if (!loaded_) {
        return;
    }
    FollowLink();
    session_->OnMacrosChanged();
}

bool SessionConfiguration::ApplyRunning() const {
    return session_->ApplyRunning();
}

bool SessionConfiguration::MacrosChanged() const {
    return session_->ApplyRunning() && session_->applyState().macrosChanged;
}

void SessionConfiguration::ImportConfiguration() {
    if (loaded_ && !session_->ApplyRunning()) {
        FollowLink();
        session_->ImportConfiguration();
    }
}

Status SessionConfiguration::ExportConfiguration() {
    if (!loaded_) {
        return Status::Error("no device is loaded");
    }
    TraceFailure(session_->SaveDocument());  // the export reads the saved file
    const Status exported = session_->ExportConfiguration();
    if (!exported) {
        ShowFailure(texts_.error, exported);
    }
    return exported;
}

Status SessionConfiguration::ResetConfiguration() {
    if (!loaded_) {
        return Status::Error("no device is loaded");
    }
    if (session_->ApplyRunning()) {
        return Status::Error("settings are still being written to the mouse");
    }
    FollowLink();
    const Status reset = session_->ResetConfiguration();
    if (!reset) {
        ShowFailure(texts_.error, reset);
    }
    return reset;
}

Status SessionConfiguration::SaveDocumentAndDpiMemory() {
    return loaded_ ? session_->SaveDocument() : Status::Ok();
}

void SessionConfiguration::FinishRun() {
    if (session_->ApplyRunning()) {
        // Waits for the worker and takes its results over (new tags, values read back) before they are saved.
        session_->HandleWorkerMessage(Message{msg::kApplyFinished, 0, 0, {}});
    }
}

bool SessionConfiguration::HandleMessage(const Message& message, intptr_t& /*result*/) {
    if (!session_->HandleWorkerMessage(message)) {
        return false;
    }
    if (message.id == msg::kApplyFinished && context_) {
        context_->monitor.RunDeferredBleReads();
    }
    if (message.id == msg::kApplyFinished && !damagedFiles_.empty()) {
        port_->Show(MessageBoxRequest{texts_.title, texts_.damaged + std::exchange(damagedFiles_, std::string()),
                                      texts_.ok, "", false});
    }
    return true;
}

void SessionConfiguration::ShowApplyProgress(bool show, bool full) {
    if (context_) {
        context_->host.ShowApplyProgress(show, full);
    }
}

void SessionConfiguration::ShowApplySteps(int done, int total) {
    if (context_) {
        context_->host.ShowApplySteps(done, total);
    }
}

void SessionConfiguration::ShowProfileSelector(int profile) {
    view_->ShowProfileSelector(profile);
}

void SessionConfiguration::RefreshPages(int profile) {
    view_->RefreshPages(profile);
}

void SessionConfiguration::ReinitAssignmentPopup() {
    view_->ReinitAssignmentPopup();
}

void SessionConfiguration::ShowLightingMode(int mode) {
    view_->ShowLightingMode(mode);
}

void SessionConfiguration::ShowDpiLevel(int level) {
    view_->ShowDpiLevel(level);
}

void SessionConfiguration::ShowRate(int index) {
    view_->ShowRate(index);
}

void SessionConfiguration::RefreshButtonLabels() {
    view_->RefreshButtonLabels();
}

void SessionConfiguration::ApplyFinished() {
    view_->ApplyFinished();
}

}  // namespace mousecfg::app
