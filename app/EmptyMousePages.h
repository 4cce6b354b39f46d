#pragma once

#include "app/MousePages.h"

namespace mousecfg::app {

class DeviceConfiguration;

// The mouse pages until the key, DPI and lighting pages are built: no controls of their own, but the document
// follows what the mouse reports with its own buttons (the DPI level of 2031 and the profile of 2032), so that
// the readers compare against what the mouse holds and the DPI pop-up shows the new level; and the items
// "Import", "Export" and "Reset" of the "More" menu reach the configuration.
class EmptyMousePages final : public MousePages {
public:
    explicit EmptyMousePages(DeviceConfiguration& configuration) : configuration_(configuration) {}

    void Initialise(skin::SkinWindow& /*window*/, const std::filesystem::path& /*skinFolder*/) override {}
    void SelectDevice(const std::filesystem::path& /*modelFolder*/, bool /*ble*/) override {}
    void Notify(skin::Notification& notification) override;
    void OnDeviceEvent(const Message& message) override;
    void OnConnectionChanged(bool /*connected*/, bool /*cable*/) override {}
    void SetLanguage(const LanguageTexts& /*texts*/) override {}
    void SetRebuilding(bool rebuilding) override { rebuilding_ = rebuilding; }
    bool Rebuilding() const override { return rebuilding_; }
    void LeaveKeySelection() override {}
    void ReopenKeySelection() override {}

private:
    DeviceConfiguration& configuration_;
    bool rebuilding_ = false;
};

}  // namespace mousecfg::app
