#include <cmath>

#include <gtest/gtest.h>

#include "Engine/anim/AnimationLibrary.h"
#include "Engine/anim/SkeletalPose.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/sound/AmbianceManager.h"
#include "Engine/media/sound/SoundPak.h"
#include "characters/CharacterTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kBustyClips = R"({
  "skeletons": {"Busty": {"bones": [
    {"name": "Bone_Root", "parent": "", "offset": [0, 0, 0]},
    {"name": "Bone_Boob", "parent": "Bone_Root", "offset": [0, 1, 0.2]}]}},
  "clips": {"Test/Sway.anm": {"length": 1000, "frameRate": 10, "skeleton": "Busty",
    "boneMotion": [{"bone": "Bone_Boob", "displacement": [0, 0, 1]}]}}
})";

class CharacterPoseTest : public ::testing::Test {
protected:
    TestMachine tm;
    Region region{"Hall", Vec3(), Vec3(50, 10, 50)};
    Character* hero = MakeCharacter(kHeroRecord);
};

TEST_F(CharacterPoseTest, BreastSupportHoldsTheBoneByItsClampedShare) {
    ASSERT_NE(hero, nullptr);
    ASSERT_TRUE(Singleton<AnimationLibrary>::Get().AddTableText("busty", kBustyClips));
    hero->PlayAnimation(0, GraphicsEngine::Get().LoadAnimation("Test/Sway.anm"), true, 1.0f, 0);
    struct Case {
        float support;
        float kept;  // of the bone's own offset (0, 1, 0.2)
    };
    for (const Case c : {Case{1.7f, 0.0f}, Case{-1.0f, 1.0f}, Case{0.25f, 0.75f}}) {
        hero->SetBreastSupport(c.support);
        Coords bone;
        ASSERT_TRUE(hero->GetPose().GetBoneCoords(Name::Create("Bone_Boob"), bone));
        EXPECT_NEAR(bone.origin.y, c.kept, 1e-5f) << c.support;
        EXPECT_NEAR(bone.origin.z, 0.2f * c.kept, 1e-5f) << c.support;
    }
}

TEST_F(CharacterPoseTest, SpineCurveTurnsTowardsItsCappedTarget) {
    ASSERT_NE(hero, nullptr);
    const float most = 40.0f * 3.14159265f / 180.0f;
    hero->SetSpineCurve(-2.0f);
    EXPECT_NEAR(hero->GetSpineCurveTarget(), -most, 1e-5f);
    const float expected[] = {-0.1f * 3.14159265f, -0.2f * 3.14159265f, -most};
    for (float value : expected) {
        hero->Update_TweakPose(100);
        EXPECT_NEAR(hero->GetSpineCurve(), value, 1e-5f);
    }
}

TEST_F(CharacterPoseTest, AmbientHighlightBrightensOnlyDarkCaves) {
    ASSERT_NE(hero, nullptr);
    hero->SetCoords(WorldCoords(&region, Coords()));
    region.SetUnderground(true);
    EXPECT_FLOAT_EQ(hero->GetAmbientHighlight(), 0.0f);  // no ambiance yet
    Singleton<AmbianceManager>::Get().SetSkyAmbientColor(0, Color{0.1f, 0.1f, 0.1f, 1.0f});
    EXPECT_NEAR(hero->GetAmbientHighlight(), 0.3001f, 1e-6f);
    Singleton<AmbianceManager>::Get().SetSkyAmbientColor(0, Color{1.0f, 1.0f, 1.0f, 1.0f});
    EXPECT_FLOAT_EQ(hero->GetAmbientHighlight(), 0.0f);
    region.SetUnderground(false);
    Singleton<AmbianceManager>::Get().SetSkyAmbientColor(0, Color{});
    EXPECT_FLOAT_EQ(hero->GetAmbientHighlight(), 0.0f);
}

TEST_F(CharacterPoseTest, RespawnShowsTheSpawnEffectAndSound) {
    Character* sounder = MakeCharacter("Records/Characters/Sounder.dbr");
    ASSERT_NE(sounder, nullptr);
    const auto added = MediaRecorder::Get().Count(MediaCall::EffectAddToWorld);
    sounder->StartRespawn(WorldCoords(&region, Coords::FromOrigin(Vec3(5, 0, 5))));
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::EffectAddToWorld), added + 1);
    EXPECT_NE(sounder->GetSpawnEffectId(), 0u);
    auto* sound = Singleton<ObjectManager>::Get().GetObject<SoundPak>(sounder->GetSpawnSoundId());
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetPlayCount(), 1u);
}

}  // namespace
}  // namespace GAME::test
