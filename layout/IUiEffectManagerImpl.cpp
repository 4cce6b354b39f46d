#include "layout/IUiEffectManagerImpl.h"

#include <dlfcn.h>

#include "layout/PluginAnimation.h"
#include "platform/Trace.h"

namespace mousecfg::layout {

IUiEffectManagerImpl::IUiEffectManagerImpl(const std::filesystem::path& programFolder, skin::EffectSource* builtIn)
    : builtIn_(builtIn) {
    const std::string path = (programFolder / kPluginName).string();
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        trace::Printf("effects: no plug-in at %s, built-in effects %s\n", path.c_str(), builtIn ? "on" : "off");
        return;
    }
    getAnimation_ = reinterpret_cast<UiEffectGetAnimation>(dlsym(library_, "GetAnimation"));
    releaseAnimation_ = reinterpret_cast<UiEffectReleaseAnimation>(dlsym(library_, "ReleaseAnimation"));
    supportedTypes_ = reinterpret_cast<UiEffectSupportedTypes>(dlsym(library_, "GetSurportAnimationType"));
    if (getAnimation_ == nullptr || releaseAnimation_ == nullptr || supportedTypes_ == nullptr) {
        trace::Printf("effects: %s lacks an entry point; not used\n", path.c_str());
        dlclose(library_);
        library_ = nullptr;
        getAnimation_ = nullptr;
        releaseAnimation_ = nullptr;
        supportedTypes_ = nullptr;
    }
}

IUiEffectManagerImpl::~IUiEffectManagerImpl() {
    if (library_ != nullptr) {
        dlclose(library_);
    }
}

std::unique_ptr<skin::EffectAnimation> IUiEffectManagerImpl::GetAnimation() {
    if (library_ == nullptr) {
        return builtIn_ != nullptr ? builtIn_->GetAnimation() : nullptr;
    }
    UiEffectAnimation* animation = getAnimation_();
    if (animation == nullptr) {
        return nullptr;
    }
    return std::make_unique<PluginAnimation>(animation, releaseAnimation_);
}

uint32_t IUiEffectManagerImpl::SupportedTypes() const {
    return supportedTypes_ != nullptr ? supportedTypes_() : 0;
}

}  // namespace mousecfg::layout
