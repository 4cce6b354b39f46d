#include "skin/SkinPlatform.h"

#include "skin/HeadlessPlatform.h"

namespace mousecfg::skin {
namespace {

SkinPlatform*& Current() {
    static SkinPlatform* platform = nullptr;
    return platform;
}

}  // namespace

void SkinPlatform::Set(SkinPlatform* platform) {
    Current() = platform;
}

SkinPlatform& SkinPlatform::Get() {
    if (Current() == nullptr) {
        static HeadlessPlatform headless;
        Current() = &headless;
    }
    return *Current();
}

}  // namespace mousecfg::skin
