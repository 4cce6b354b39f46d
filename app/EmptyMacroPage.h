#pragma once

#include "app/MacroPage.h"

namespace mousecfg::app {

// The macro page until the macro editor is built: its container stays as the skin has it.
class EmptyMacroPage final : public MacroPage {
public:
    void Initialise(skin::SkinWindow& /*window*/, const std::filesystem::path& /*skinFolder*/) override {}
    void Notify(skin::Notification& /*notification*/) override {}
    void OnKeyMessage(const Message& /*message*/) override {}
    void StopRecording() override {}
    void Refresh() override {}
    void ReloadDocument() override {}
    void SetLanguage(const LanguageTexts& /*texts*/, int /*languageIndex*/) override {}
};

}  // namespace mousecfg::app
