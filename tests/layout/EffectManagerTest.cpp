#include "layout/IUiEffectManagerImpl.h"

#include <gtest/gtest.h>

#include "skin/HeadlessPlatform.h"
#include "skin/SkinPlatform.h"

namespace mousecfg::layout {
namespace {

using namespace std::chrono_literals;

// Where CMake put the test plug-ins: a complete one and one without "GetSurportAnimationType".
std::filesystem::path PluginFolder(const char* name) {
    return std::filesystem::path(MOUSECFG_TEST_PLUGINS) / name;
}

struct Recorder : skin::EffectCallback {
    void OnEffectBegin() override { ++begun; }
    void OnEffectEnd() override { ++ended; }
    void OnFrameDrawn(const skin::PixelBuffer& frame) override { frames.push_back(frame.pixels.front()); }
    int begun = 0;
    int ended = 0;
    std::vector<uint32_t> frames;
};

struct BuiltIn : skin::EffectSource {
    std::unique_ptr<skin::EffectAnimation> GetAnimation() override {
        ++asked;
        return nullptr;
    }
    int asked = 0;
};

skin::EffectRequest Request(int effect) {
    skin::EffectRequest request;
    request.picture = {2, 2, std::vector<uint32_t>(4, 0xFF808080u)};
    request.rect = {0, 0, 2, 2};
    request.effect = effect;
    return request;
}

TEST(EffectManager, PlaysThePluginsFramesOnThePlatformsClock) {
    BuiltIn builtIn;
    IUiEffectManagerImpl manager(PluginFolder("complete"), &builtIn);
    ASSERT_TRUE(manager.HasPlugin());
    EXPECT_EQ(manager.SupportedTypes(), (1u << 7) | (1u << 8));
    auto animation = manager.GetAnimation();
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(builtIn.asked, 0);
    Recorder recorder;
    EXPECT_FALSE(animation->Start(Request(3), &recorder)) << "the plug-in refuses effects it does not have";
    ASSERT_TRUE(animation->Start(Request(7), &recorder));
    auto& clock = static_cast<skin::HeadlessPlatform&>(skin::SkinPlatform::Get());
    clock.AdvanceTime(30ms);
    EXPECT_EQ(recorder.frames.size(), 1u);
    clock.AdvanceTime(100ms);
    EXPECT_EQ(recorder.frames, (std::vector<uint32_t>{0xFF000000u, 0xFF000001u, 0xFF000002u}));
    EXPECT_EQ(recorder.begun, 1);
    EXPECT_EQ(recorder.ended, 1);
    ASSERT_TRUE(animation->Start(Request(8), &recorder));
    animation->Stop();
    clock.AdvanceTime(200ms);
    EXPECT_EQ(recorder.frames.size(), 3u) << "nothing after Stop";
}

TEST(EffectManager, WithoutAUsablePluginTheBuiltInEffectsServe) {
    BuiltIn builtIn;
    IUiEffectManagerImpl missingEntry(PluginFolder("broken"), &builtIn);
    EXPECT_FALSE(missingEntry.HasPlugin());
    EXPECT_EQ(missingEntry.SupportedTypes(), 0u);
    missingEntry.GetAnimation();
    EXPECT_EQ(builtIn.asked, 1);
    IUiEffectManagerImpl none(PluginFolder("nowhere"), nullptr);
    EXPECT_EQ(none.GetAnimation(), nullptr);
}

}  // namespace
}  // namespace mousecfg::layout
