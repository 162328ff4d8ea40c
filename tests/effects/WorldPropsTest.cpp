#include <climits>

#include "EffectsTestSupport.h"
#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/records/LoadTable.h"
#include "Game/characters/Character.h"
#include "Game/world/WorldRandom.h"
#include "Game/world/props/Decoration.h"
#include "Game/world/props/Prop.h"
#include "Game/world/props/Puppet.h"
#include "Game/world/props/RadiusMagic.h"
#include "Game/world/props/ScriptPoint.h"

namespace GAME::test {
namespace {

using WorldProps = EffectsTest;

TEST_F(WorldProps, RadiusMagicGrowsWeakensAndLeavesPastTwiceItsExtent) {
    RadiusMagic* ring = Make<RadiusMagic>("Records/Effects/Decorations/FireNovaRing.dbr");
    const std::uint32_t id = ring->GetObjectId();
    World::Get().AddEntity(ring, At(0, 0, 0), true);
    ring->InitialUpdate();
    ring->SetEffect(3.0f, 1000.0f);
    float strength[4] = {};
    ASSERT_TRUE(ring->GetShaderParamFloat4("strength", strength));
    EXPECT_FLOAT_EQ(strength[0], 0.03f);
    EXPECT_FLOAT_EQ(strength[3], 0.03f);
    EXPECT_FALSE(ring->GetShaderParamFloat4("radius", strength));

    Frames(30, 200, {id});
    float radius = 0.0f;
    ASSERT_TRUE(ring->GetShaderParam("radius", radius));
    EXPECT_FLOAT_EQ(radius, 6.0f);
    ring->GetShaderParamFloat4("strength", strength);
    EXPECT_NEAR(strength[0], 0.0f, 1e-7);
    EXPECT_TRUE(Alive(id));  // 6 does not exceed the end value 6
    Frame(1, {id});
    EXPECT_FALSE(Alive(id));
}

TEST_F(WorldProps, PuppetIsReadyAfterItsStartAnimationAndFadesAwayAfterRelease) {
    // Rise 600 ms, fade in 400; sink 600 ms at speed 2, fade out 500.
    Puppet* ghost = Make<Puppet>("Records/Effects/Puppets/Ghost.dbr");
    const std::uint32_t id = ghost->GetObjectId();
    World::Get().AddEntity(ghost, At(1, 0, 1), true);
    ghost->StartAnimating();
    EXPECT_EQ(ghost->GetState(), Puppet::kStartAnimation);
    Frame(200, {id});
    EXPECT_NEAR(ghost->GetMeshInstance().GetDiffuseColor().r, 0.5f, 1e-6);
    Frame(300, {id});
    EXPECT_FALSE(ghost->IsReady());
    Frame(100, {id});
    EXPECT_TRUE(ghost->IsReady());
    Frames(10, 100, {id});
    EXPECT_TRUE(ghost->IsReady());  // the idle clip loops

    ghost->ReleaseToWorld();
    EXPECT_EQ(ghost->GetState(), Puppet::kEndAnimation);
    Frames(3, 100, {id});
    // The sink ended in this frame's animation step; its update already took 100 ms off.
    EXPECT_EQ(ghost->GetState(), Puppet::kFadingOut);
    EXPECT_EQ(ghost->GetFadeCountdown(), 400);
    Frame(150, {id});
    EXPECT_NEAR(ghost->GetMeshInstance().GetDiffuseColor().r, 0.5f, 1e-6);
    Frame(250, {id});
    EXPECT_FALSE(Alive(id));

    Puppet* shade = Make<Puppet>("Records/Effects/Puppets/Shade.dbr");
    const std::uint32_t shadeId = shade->GetObjectId();
    World::Get().AddEntity(shade, At(2, 0, 2), true);
    shade->StartAnimating();
    EXPECT_TRUE(shade->IsReady());
    shade->ReleaseToWorld();
    EXPECT_EQ(shade->GetState(), Puppet::kFadingOut);
    Frame(16, {shadeId});
    EXPECT_FALSE(Alive(shadeId));
}

TEST_F(WorldProps, DecorationPicksRandomAnimationsByWeightAndAttachesOneOfItsChoices) {
    auto& graphics = GraphicsEngine::Get();
    for (unsigned seed : {1u, 2u, 3u, 5u, 8u, 13u}) {
        crt_srand(seed);
        CrtGenerator mirror;
        mirror.Seed(seed);
        Decoration* banner = Make<Decoration>("Records/Effects/Decorations/Banner.dbr");
        ASSERT_EQ(banner->GetRandomAnimations().size(), 5u);
        // Choices are set at 1 and 3: the draw is among 1..3, and 2 attaches nothing.
        const int choice = mirror.Next() % 3 + 1;
        const std::uint32_t attached = banner->GetAttachedObjectId();
        if (choice == 2) {
            EXPECT_EQ(attached, 0u) << seed;
        } else {
            ASSERT_NE(attached, 0u) << seed;
            EXPECT_EQ(Find<Entity>(attached)->GetAttachPoint().c_str(),
                      std::string(choice == 1 ? "Head" : "Target"));
        }
        for (int draw = 0; draw < 50; ++draw) {
            const float roll = RandomFloatFrom(mirror.Next(), 0.0f, 100.0f);
            const int pick = roll <= 10.0f   ? 0
                             : roll <= 20.0f ? 1
                             : roll <= 30.0f ? 2
                             : roll <= 40.0f ? 3
                             : roll <= 50.0f ? 4
                                             : 5;
            GraphicsAnim* expected = pick < 5 ? banner->GetRandomAnimations()[pick].animation
                                              : banner->GetBaseAnimation();
            EXPECT_EQ(banner->GetRandomAnimation(), expected) << seed << " " << roll;
        }
        Objects().DestroyObject(banner);
    }
    // Every clip the banners loaded was given back.
    EXPECT_EQ(graphics.GetUseCount(graphics.LoadAnimation("Effects/Anims/Banner_Wave3.anm")), 1);
}

// An empty or reversed range still takes its draw (later draws stay in step) and gives min.
TEST_F(WorldProps, RandomIntStaysInRangeAndSurvivesEmptyRanges) {
    crt_srand(4);
    CrtGenerator mirror;
    mirror.Seed(4);
    EXPECT_EQ(RandomInt(-3, 3), mirror.Next() % 7 - 3);
    EXPECT_EQ(RandomInt(5, 4), 5);
    mirror.Next();
    EXPECT_EQ(RandomInt(1, 1), 1);
    mirror.Next();
    const int expected = mirror.Next();
    EXPECT_EQ(RandomInt(INT_MIN, INT_MAX), expected);
}

TEST_F(WorldProps, DecorationPlaysEventSoundsAndMovesToANewAnimationAtEachEnd) {
    Decoration* banner = Make<Decoration>("Records/Effects/Decorations/Banner.dbr");
    const std::uint32_t id = banner->GetObjectId();
    World::Get().AddEntity(banner, At(4, 0, 4), true);
    banner->InitialUpdate();
    EXPECT_EQ(banner->GetChannelAnimation(0), banner->GetBaseAnimation());
    EXPECT_TRUE(banner->GetAmbient().IsStarted());
    EXPECT_TRUE(banner->IsStatic());
    Frame(600, {id});  // the idle clip's "decorationSound1" at 500 ms, chance 100
    const SoundPak* flap = banner->GetEventSounds().Find(Name::Create("decorationSound1"));
    ASSERT_NE(flap, nullptr);
    EXPECT_EQ(flap->GetPlayCount(), 1u);
    crt_srand(9);
    CrtGenerator mirror;
    mirror.Seed(9);
    const float roll = RandomFloatFrom(mirror.Next(), 0.0f, 100.0f);
    Frame(400, {id});
    const GraphicsAnim* now = banner->GetChannelAnimation(0);
    if (roll > 50.0f)
        EXPECT_EQ(now, banner->GetBaseAnimation());
    else
        EXPECT_NE(now, banner->GetBaseAnimation());

    banner->SetInvisible();
    Frames(8, 100, {id});
    EXPECT_FLOAT_EQ(banner->GetHiddenAmount(), 0.5f);
    banner->SetVisible();
    Frame(200, {id});
    EXPECT_FLOAT_EQ(banner->GetHiddenAmount(), 0.3f);
}

TEST_F(WorldProps, PropHangsFromItsHolderAndScriptPointKeepsItsMarks) {
    Character* holder = Objects().CreateObject<Character>();
    World::Get().AddEntity(holder, At(9, 0, 9), true);
    Prop* flask = Make<Prop>("Records/Effects/Props/ManaFlask.dbr");
    flask->AttachProp(*holder);
    EXPECT_EQ(flask->GetAttachParentId(), holder->GetObjectId());
    EXPECT_EQ(flask->GetAttachPoint(), "L Hand");
    ASSERT_NE(flask->GetChannelAnimation(0), nullptr);
    EXPECT_EQ(flask->GetChannelAnimation(0)->GetName(), "Effects/Anims/Flask_Slosh.anm");
    EXPECT_TRUE(flask->GetAnimationChannels().GetChannel(0)->loop);
    ASSERT_EQ(flask->GetAnimationSound()->GetPlayCount(), 1u);
    EXPECT_FLOAT_EQ(flask->GetAnimationSound()->GetLastPlayed().where.local.x, 9.0f);
    flask->DetachProp(*holder);
    EXPECT_FALSE(flask->IsAttached());

    ScriptPoint* point = Make<ScriptPoint>("Records/Effects/ScriptPoints/BridgeGuard1.dbr");
    EXPECT_EQ(point->GetScriptCharacter(), "BridgeGuard");
    EXPECT_EQ(point->GetSequenceNum(), 1);
    EXPECT_EQ(point->GetMeshInstance().GetMesh(), "System/Meshes/Sphere.msh");
    point->SetBoundingRadius(0.75f);
    const OrientedBox box = point->GetCollisionBox();
    EXPECT_FLOAT_EQ(box.halfExtents.y, 0.75f);
    EXPECT_FLOAT_EQ(box.frame.origin.x, 0.0f);
}

}  // namespace
}  // namespace GAME::test
