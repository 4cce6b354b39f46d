#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "layout/UiEffectPlugin.h"
#include "skin/EffectAnimation.h"

namespace mousecfg::layout {

// The process-wide effect manager: loads the optional effect plug-in once and hands out animation objects.
// Without the plug-in (or when one of its three functions is missing) it hands out the built-in animations it was
// given (the Qt slide and fade of effects 7 and 8), or none. Create it once at start, install it with
// skin::EffectSource::Set, keep it until exit (it unloads the plug-in then). User-interface thread.
class IUiEffectManagerImpl final : public skin::EffectSource {
public:
    // The plug-in's file name on this platform.
    static constexpr const char* kPluginName = "libUiFeatureEffect.so";

    // Looks for the plug-in in `programFolder`; `builtIn` (may be null) serves when there is none.
    IUiEffectManagerImpl(const std::filesystem::path& programFolder, skin::EffectSource* builtIn);
    ~IUiEffectManagerImpl() override;
    IUiEffectManagerImpl(const IUiEffectManagerImpl&) = delete;
    IUiEffectManagerImpl& operator=(const IUiEffectManagerImpl&) = delete;

    std::unique_ptr<skin::EffectAnimation> GetAnimation() override;
    bool HasPlugin() const { return library_ != nullptr; }
    // The bit mask of effects the plug-in supports (0 without one).
    uint32_t SupportedTypes() const;

private:
    void* library_ = nullptr;
    UiEffectGetAnimation getAnimation_ = nullptr;
    UiEffectReleaseAnimation releaseAnimation_ = nullptr;
    UiEffectSupportedTypes supportedTypes_ = nullptr;
    skin::EffectSource* builtIn_;
};

}  // namespace mousecfg::layout
