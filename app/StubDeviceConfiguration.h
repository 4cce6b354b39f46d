#pragma once

#include <optional>

#include "app/DeviceConfiguration.h"
#include "app/DocumentStateModel.h"
#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"

namespace mousecfg::app {

// The device configuration without an apply engine: it loads the model description and the document, keeps the
// readers' values in step with the document and saves it, but writes nothing to the mouse. Apply requests,
// relays and macro changes are traced and dropped. The apply engine replaces it.
class StubDeviceConfiguration final : public DeviceConfiguration {
public:
    void Attach(const ApplyContext& context) override;
    void LoadDevice(const std::filesystem::path& modelFolder, DeviceLoad load) override;
    MouseConfig* Document() override { return loaded_ ? &document_ : nullptr; }
    const DeviceFeature* Feature() const override { return loaded_ ? &feature_ : nullptr; }
    void DocumentChanged() override;
    DeviceStateModel& StateModel() override { return stateModel_; }
    void RefreshFromDevice() override {}
    void RequestApply(int requestType, bool full, int profile) override;
    void SetPending(PendingSetting setting) override;
    void OnMacrosChanged() override;
    bool ApplyRunning() const override { return false; }
    bool MacrosChanged() const override { return false; }
    Status SaveDocumentAndDpiMemory() override;
    bool HandleMessage(const Message& /*message*/, intptr_t& /*result*/) override { return false; }

    // What was asked of it (tests).
    int ApplyRequests() const { return applyRequests_; }
    int LastRequestType() const { return lastRequestType_; }
    int Saves() const { return saves_; }
    std::optional<PendingSetting> LastPending() const { return lastPending_; }
    int MacroChanges() const { return macroChanges_; }

private:
    std::optional<ApplyContext> context_;
    DocumentStateModel stateModel_;
    std::filesystem::path modelFolder_;
    DeviceFeature feature_;
    MouseConfig document_;
    bool loaded_ = false;
    int applyRequests_ = 0;
    int lastRequestType_ = -1;
    int saves_ = 0;
    std::optional<PendingSetting> lastPending_;
    int macroChanges_ = 0;
};

}  // namespace mousecfg::app
