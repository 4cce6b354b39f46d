#include "skin/AnimLayout.h"

#include <gtest/gtest.h>

#include "tests/skin/SkinTestSupport.h"
#include "tests/support/TempDir.h"

namespace mousecfg::skin::test {
namespace {

// Animations that record their requests and finish when the test says so.
struct FakeEffects : EffectSource {
    struct Animation : EffectAnimation {
        FakeEffects* owner;
        bool Start(const EffectRequest& request, EffectCallback* callback) override {
            owner->requests.push_back(request);
            owner->running = callback;
            return owner->accept;
        }
        void Stop() override { owner->running = nullptr; }
    };
    std::unique_ptr<EffectAnimation> GetAnimation() override {
        auto animation = std::make_unique<Animation>();
        animation->owner = this;
        return animation;
    }
    void Finish() {
        EffectCallback* callback = running;
        running = nullptr;
        callback->OnEffectEnd();
    }
    std::vector<EffectRequest> requests;
    EffectCallback* running = nullptr;
    bool accept = true;
};

class AnimLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { EffectSource::Set(&effects_); }
    void TearDown() override { EffectSource::Set(nullptr); }

    AnimLayout* Open() {
        const auto file = dir_.Write("pop.xml", "<Window size='120,80'><AnimLayout name='anim'/></Window>");
        window_ = std::make_unique<RecordingWindow>(file);
        window_->Open();
        return window_->Find<AnimLayout>("anim");
    }

    FakeEffects effects_;
    mousecfg::test::TempDir dir_;
    std::unique_ptr<RecordingWindow> window_;
};

TEST_F(AnimLayoutTest, StartsOneEffectAtATimeWithTheCapturedPicture) {
    AnimLayout* anim = Open();
    ASSERT_NE(anim, nullptr);
    ASSERT_TRUE(anim->StartEffect(kEffectShow, true));
    ASSERT_EQ(effects_.requests.size(), 1u);
    const EffectRequest& request = effects_.requests[0];
    EXPECT_EQ(request.effect, 7);
    EXPECT_TRUE(request.direction);
    EXPECT_EQ(request.step, 30);
    EXPECT_EQ(request.rect, (Rect{0, 0, 120, 80}));
    EXPECT_EQ(request.picture.width, 120);
    EXPECT_TRUE(anim->IsAnimating());
    EXPECT_FALSE(anim->StartEffect(kEffectHide, false)) << "a second effect while one runs is refused";
    effects_.Finish();
    EXPECT_FALSE(anim->IsAnimating());
    EXPECT_TRUE(anim->StartEffect(kEffectHide, false));
}

TEST_F(AnimLayoutTest, EveryEightiethStartIsRefusedAndTheCounterStartsAgain) {
    AnimLayout* anim = Open();
    EXPECT_EQ(anim->GetEffectCounter(), 2);
    for (int i = 0; i < 79; ++i) {
        ASSERT_TRUE(anim->StartEffect(kEffectShow, true)) << i;
        effects_.Finish();
    }
    EXPECT_EQ(anim->GetEffectCounter(), 81);
    EXPECT_FALSE(anim->StartEffect(kEffectShow, true));
    EXPECT_EQ(anim->GetEffectCounter(), 2);
    EXPECT_TRUE(anim->StartEffect(kEffectShow, true));
    effects_.Finish();
}

TEST_F(AnimLayoutTest, WithoutEffectsOrWhenTheAnimationRefusesNothingAnimates) {
    EffectSource::Set(nullptr);
    AnimLayout* plain = Open();
    EXPECT_FALSE(plain->StartEffect(kEffectShow, true));
    EffectSource::Set(&effects_);
    effects_.accept = false;
    AnimLayout* refused = Open();
    EXPECT_FALSE(refused->StartEffect(kEffectShow, true));
    EXPECT_FALSE(refused->IsAnimating());
    EXPECT_EQ(refused->GetEffectCounter(), 2);
}

TEST(AnimLayout, CaptureMakesColouredTransparentPixelsOpaque) {
    PixelBuffer pixels{3, 1, {0x00000000u, 0x00102030u, 0x80102030u}};
    AnimLayout::FixAlpha(pixels);
    EXPECT_EQ(pixels.pixels, (std::vector<uint32_t>{0x00000000u, 0xFF102030u, 0x80102030u}));
}

}  // namespace
}  // namespace mousecfg::skin::test
