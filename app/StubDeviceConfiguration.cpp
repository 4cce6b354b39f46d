#include "app/StubDeviceConfiguration.h"

#include "device/CommandSet.h"
#include "device/ConnectionMonitor.h"
#include "platform/Trace.h"

namespace mousecfg::app {

void StubDeviceConfiguration::Attach(const ApplyContext& context) {
    context_.emplace(context);
}

void StubDeviceConfiguration::LoadDevice(const std::filesystem::path& modelFolder, DeviceLoad load) {
    if (load == DeviceLoad::ImportFollowUp) {
        return;
    }
    int chip = 0;
    if (context_ && !context_->monitor.BleActive()) {
        if (auto session = context_->commands.TryAcquire()) {
            chip = ReadChipNumber(*session);
        }
    }
    modelFolder_ = modelFolder;
    feature_ = LoadDeviceFeature(modelFolder, chip);
    document_ = MouseConfig{};
    if (const Status status = LoadMouseConfig(document_, MouseConfigPath(modelFolder)); !status) {
        trace::Printf("%s\n", status.message().c_str());
    }
    loaded_ = true;
    if (context_) {
        context_->monitor.SetStoredVariant(static_cast<uint8_t>(chip));
    }
    DocumentChanged();
}

void StubDeviceConfiguration::DocumentChanged() {
    if (!loaded_) {
        return;
    }
    const int kind = context_ ? context_->monitor.State().connectionKind.load() : 1;
    stateModel_.Sync(document_, feature_, kind, context_ && context_->monitor.BleActive());
}

void StubDeviceConfiguration::RequestApply(int requestType, bool full, int profile) {
    ++applyRequests_;
    lastRequestType_ = requestType;
    trace::Printf("apply request %d%s for profile %d: no apply engine, nothing written\n", requestType,
                  full ? " (full)" : "", profile);
}

void StubDeviceConfiguration::SetPending(PendingSetting setting) {
    lastPending_ = setting;
    trace::Printf("pending setting %d: no apply engine\n", static_cast<int>(setting));
}

void StubDeviceConfiguration::OnMacrosChanged() {
    ++macroChanges_;
    trace::Write("macros changed: no apply engine, nothing written\n");
}

Status StubDeviceConfiguration::SaveDocumentAndDpiMemory() {
    if (!loaded_) {
        return Status::Ok();
    }
    ++saves_;
    return mousecfg::SaveDocumentAndDpiMemory(document_, feature_, modelFolder_);
}

}  // namespace mousecfg::app
