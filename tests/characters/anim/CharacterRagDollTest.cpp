#include <gtest/gtest.h>

#include "Engine/anim/AnimationSystem.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Game/characters/CharacterRagDoll.h"
#include "Game/rules/death/DeathManager.h"
#include "Game/world/WorldRandom.h"
#include "characters/CharacterTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using RD = CharacterRagDoll;

class CharacterRagDollTest : public ::testing::Test {
protected:
    TestMachine tm;
    Region region{"Hall", Vec3(), Vec3(50, 10, 50)};
    Character* hero = MakeCharacter(kHeroRecord);

    RD::EffectData Hit(RD::Effect effect, Vec3 direction, float speed, float amplification) {
        RD::EffectData data;
        data.effect = effect;
        data.direction = direction;
        data.speed = speed;
        data.amplification = amplification;
        return data;
    }
};

TEST_F(CharacterRagDollTest, TextsMapToEffectsAndVectorsExactly) {
    EXPECT_EQ(RD::GetEffectEnum("Crumple"), RD::Crumple);
    EXPECT_EQ(RD::GetEffectEnum("TakeHit"), RD::TakeHit);
    EXPECT_EQ(RD::GetEffectEnum("crumple"), RD::Random);
    const WorldVec3 a(&region, Vec3(1, 0, 1));
    const WorldVec3 b(&region, Vec3(1, 0, 5));
    EXPECT_EQ(RD::GetDirectionVec("Push", a, b), Vec3(0, 0, 1));
    EXPECT_EQ(RD::GetDirectionVec("Pull", a, b), Vec3(0, 0, -1));
    EXPECT_EQ(RD::GetDirectionVec("push", a, b), Vec3());
    const WorldCoords turned(&region, Coords::FromAxisAngle(Vec3(0, 1, 0), 0.0f));
    EXPECT_EQ(RD::GetPushVec("Right", turned), Vec3(-1, 0, 0));
    EXPECT_EQ(RD::GetPushVec("Left", turned), Vec3(1, 0, 0));
    EXPECT_EQ(RD::GetPushVec("Up", turned), Vec3());
    EXPECT_EQ(RD::GetElevationVec("Upward"), Vec3(0, 3, 0));
    EXPECT_EQ(RD::GetElevationVec("Downward"), Vec3(0, -3, 0));
    EXPECT_EQ(RD::GetElevationVec(""), Vec3());
}

TEST_F(CharacterRagDollTest, AHitIsTakenWhileAliveOrWhenForcedThenTheRecordOverrides) {
    ASSERT_NE(hero, nullptr);
    Character* thrown = MakeCharacter("Records/Characters/Thrown.dbr");    // behaviour TakeHit
    Character* sounder = MakeCharacter("Records/Characters/Sounder.dbr");  // speed 7.5
    test::SetLife(*thrown, 50.0f, 50.0f);
    test::SetLife(*sounder, 50.0f, 50.0f);
    const RD::EffectData crumple = Hit(RD::Crumple, Vec3(1, 0, 0), 2.0f, 0.0f);
    thrown->SetRagdollData(crumple, false);
    EXPECT_EQ(thrown->GetRagdollData().effect, RD::TakeHit);
    EXPECT_FLOAT_EQ(thrown->GetRagdollData().speed, 2.0f);  // no speed override (0.0)
    sounder->SetRagdollData(crumple, false);
    EXPECT_EQ(sounder->GetRagdollData().effect, RD::Crumple);
    EXPECT_FLOAT_EQ(sounder->GetRagdollData().speed, 7.5f);

    test::SetLife(*hero, 0.0f, 200.0f);
    hero->SetRagdollData(crumple, false);
    EXPECT_EQ(hero->GetRagdollData().effect, RD::Random);  // the defaults stay
    hero->SetRagdollData(crumple, true);
    EXPECT_EQ(hero->GetRagdollData().effect, RD::Crumple);
}

TEST_F(CharacterRagDollTest, TakeHitThrowsEveryBodyAlongTheHitWithinItsSpread) {
    ASSERT_NE(hero, nullptr);
    struct Case {
        float speed, amplification, v, spread;
    };
    for (const Case c : {Case{1.0f, 0.5f, 3.0f, 3.0f}, Case{20.0f, 2.0f, 12.0f, 6.0f}}) {
        hero->SetRagdollData(Hit(RD::TakeHit, Vec3(0, 0, 2), c.speed, c.amplification), true);
        RD ragDoll(hero);
        crt_srand(5);
        ragDoll.Enable();
        crt_srand(5);
        ASSERT_EQ(ragDoll.GetNumRigidBodies(), 3);
        for (int body = 0; body < ragDoll.GetNumRigidBodies(); ++body) {
            const float r1 = RandomFloat(-c.spread, c.spread);
            const float r2 = RandomFloat(-c.spread, c.spread);
            const Vec3 v = ragDoll.GetLinearVelocity(body);
            EXPECT_FLOAT_EQ(v.x, r1) << c.speed;
            EXPECT_FLOAT_EQ(v.y, c.v * 0.333f) << c.speed;
            EXPECT_FLOAT_EQ(v.z, c.v + r2) << c.speed;
        }
    }
    // Without a direction nothing is thrown.
    hero->SetRagdollData(Hit(RD::TakeHit, Vec3(), 5.0f, 1.0f), true);
    RD still(hero);
    still.Enable();
    EXPECT_EQ(still.GetLinearVelocity(0), Vec3());
}

TEST_F(CharacterRagDollTest, RandomTumblesDrawDepthFirst) {
    ASSERT_NE(hero, nullptr);
    RD ragDoll(hero);  // the defaults: Random
    crt_srand(9);
    ragDoll.Enable();
    crt_srand(9);
    const float z = RandomFloat(-5.0f, 5.0f);
    const float x = RandomFloat(-5.0f, 5.0f);
    EXPECT_EQ(ragDoll.GetLinearVelocity(0), Vec3(x, 3.0f, z));
}

TEST_F(CharacterRagDollTest, CrumpleCarriesOnTheAnimationAndWrapsTheFirstFrameToTheLast) {
    ASSERT_NE(hero, nullptr);
    hero->SetRagdollData(Hit(RD::Crumple, Vec3(), 1.0f, 0.0f), true);
    hero->PlayAnimation(0, GraphicsEngine::Get().LoadAnimation("Test/Reach.anm"), true, 1.0f, 0);
    RD withoutMesh(hero);
    withoutMesh.Enable();
    EXPECT_EQ(withoutMesh.GetLinearVelocity(2), Vec3());  // the clip moves no root: no motion

    hero->SetMesh("Meshes/Hero.msh");
    const int hand = 2;  // 0.1 a frame at 10 frames a second
    RD atFirst(hero);
    atFirst.Enable();  // frame 0 against frame 9: thrown back, capped at 4.5
    EXPECT_EQ(atFirst.GetLinearVelocity(hand), Vec3(-4.5f, 0, 0));
    AnimationSystem::Get().Update(500);
    RD midway(hero);
    midway.Enable();
    EXPECT_NEAR(midway.GetLinearVelocity(hand).x, 1.0f, 1e-4f);
    EXPECT_EQ(midway.GetLinearVelocity(0), Vec3());
}

TEST_F(CharacterRagDollTest, ADeathInViewFallsLimpAndEndsWhenTheBodyComesToRest) {
    ASSERT_NE(hero, nullptr);
    ASSERT_NE(hero->GetDeathManager(), nullptr);
    hero->SetCoords(WorldCoords(&region, Coords::FromOrigin(Vec3(2, 0, 2))));
    EXPECT_FALSE(hero->ShouldDoRagDoll());  // nothing is shown until the host sets a view
    WorldFrustum everything;
    everything.region = &region;
    GraphicsEngine::Get().SetRenderPreLoadFrustum(everything);
    ASSERT_TRUE(hero->ShouldDoRagDoll());
    hero->GetDeathManager()->Execute();
    ASSERT_NE(hero->GetRagDoll(), nullptr);
    EXPECT_TRUE(hero->GetRagDoll()->IsEnabled());
    EXPECT_FALSE(hero->GetDeathManager()->IsFinished());
    PhysicsEngine::Get().Update(PhysicsEngine::Get().GetRagDollRestTime());
    EXPECT_FALSE(hero->GetRagDoll()->IsEnabled());
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::RagDollRest), 1u);
    EXPECT_TRUE(hero->GetDeathManager()->IsFinished());  // "PhysicsComplete"
    hero->SetPhysicsType(1);
    EXPECT_FALSE(hero->GetRagDoll()->IsEnabled());
}

}  // namespace
}  // namespace GAME::test
