#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "skin/SkinWindow.h"

namespace mousecfg::app {

// The colour picker: eight default colours and eight custom colours from the colour file ("PopColor.ini",
// sections "Default" and "SelfDefine", keys "0".."7", decimal values; missing keys read as 0, black), the
// palette "Pallet" and the fields "colorHex", "colorR", "colorG", "colorB". "popok" stores the custom colours,
// sends 2025 (wParam 1, lParam the colour) to the parent and closes with 1; "popcancel" and Escape close with 0.
// Colours are 0xRRGGBB.
class CPopColorWnd final : public skin::SkinWindow {
public:
    static constexpr int kSwatches = 8;

    CPopColorWnd(std::filesystem::path colourFile, uint32_t colour)
        : colourFile_(std::move(colourFile)), current_(colour & 0xFFFFFFu) {}

    std::string GetSkinFile() override { return "popcolor.xml"; }
    std::string GetWindowClassName() const override { return "PopColorWnd"; }
    void InitWindow() override;
    void Notify(skin::Notification& notification) override;
    // Escape cancels.
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;

    uint32_t CurrentColour() const { return current_; }
    uint32_t CustomColour(int slot) const { return customs_[static_cast<size_t>(slot)]; }
    int SelectedDefault() const { return selectedDefault_; }
    int SelectedCustom() const { return selectedCustom_; }

private:
    void ShowColour();
    void SetSwatch(const char* prefix, int index, uint32_t colour);
    void PickSwatch(const std::string& name);
    void ReadField(const std::string& name);
    void Store();

    std::filesystem::path colourFile_;
    uint32_t current_;
    std::array<uint32_t, kSwatches> defaults_{};
    std::array<uint32_t, kSwatches> customs_{};
    int selectedDefault_ = -1;
    int selectedCustom_ = -1;
};

}  // namespace mousecfg::app
