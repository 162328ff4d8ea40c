// Animation sets: type texts, the three holders, falling back to the default animation, counted
// plays, the weighted pick, preloading and giving clips back.
#include <gtest/gtest.h>

#include "AnimationTestClips.h"
#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/media/ResourceLoader.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/characters/anim/OwnedAnimation.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using AnimType = AnimationSet_Type;

class AnimationSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddAnimationTestClips();
        actor = Singleton<ObjectManager>::Get().CreateObject<Actor>();
        ASSERT_NE(actor, nullptr);
    }
    const AnimationChannels::Channel& Channel0() const {
        return *actor->GetAnimationChannels().GetChannel(0);
    }
    std::string Playing() const {
        const GraphicsAnim* anim = Channel0().anim;
        return anim ? anim->GetName() : "";
    }

    TestMachine tm;
    Actor* actor = nullptr;
};

TEST(AnimationSetTypes, TextsRoundTripExactlyAndOutOfRangeIsEmpty) {
    for (int i = 0; i < 32; ++i) {
        const auto type = static_cast<AnimType>(i);
        const std::string text = AnimationSet::GetAnimTypeAsText(type);
        ASSERT_FALSE(text.empty()) << i;
        EXPECT_EQ(AnimationSet::GetAnimTextAsType(text), type) << text;
    }
    EXPECT_EQ(AnimationSet::GetAnimTypeAsText(AnimType::IdleTransition), "IdleTransition");
    EXPECT_EQ(AnimationSet::GetAnimTypeAsText(AnimType::TurnLeft180), "TurnLeft180");
    EXPECT_EQ(AnimationSet::GetAnimTextAsType("attackidle"), AnimType::None);
    EXPECT_EQ(AnimationSet::GetAnimTextAsType("Attack "), AnimType::None);
    EXPECT_EQ(AnimationSet::GetAnimTypeAsText(static_cast<AnimType>(32)), "");
    EXPECT_EQ(AnimationSet::GetAnimTypeAsText(static_cast<AnimType>(-1)), "");
}

TEST_F(AnimationSetTest, EmptyTypeFallsBackToTheDefaultButIfAvailableLeavesEverything) {
    AnimationSet set;
    set.AddAnimation(AnimType::Walk, "AnimTest/Walk.anm", 1.0f, 0.0f, "");
    EXPECT_TRUE(set.DoesAnimationExist(AnimType::None));
    EXPECT_FALSE(set.DoesAnimationExist(AnimType::Stun));

    ASSERT_TRUE(set.PlayAnimation(*actor, AnimType::Walk, Name(), 1.0f, true, 0));
    EXPECT_EQ(set.GetCurrentType(), AnimType::Walk);
    EXPECT_FALSE(set.PlayAnimationIfAvailable(*actor, AnimType::Stun, Name(), 1.0f, false, 0));
    EXPECT_EQ(set.GetCurrentType(), AnimType::Walk);
    EXPECT_EQ(Playing(), "AnimTest/Walk.anm");

    EXPECT_FALSE(set.PlayAnimation(*actor, AnimType::Stun, Name(), 1.0f, false, 0));
    EXPECT_EQ(set.GetCurrentType(), AnimType::None);
    EXPECT_EQ(Playing(), GraphicsAnim::GetDefaultName());

    // Out-of-range types are served by None; Cancel forgets without stopping the actor.
    EXPECT_EQ(set.GetAnimation(static_cast<AnimType>(40)), set.GetAnimation(AnimType::None));
    set.PlayAnimation(*actor, AnimType::Walk, Name(), 1.0f, true, 0);
    set.Cancel();
    EXPECT_EQ(set.GetCurrentType(), AnimType::None);
    EXPECT_EQ(Playing(), "AnimTest/Walk.anm");
}

TEST_F(AnimationSetTest, PlayHandsSpeedLoopAndWholeBlendTimeToTheEngine) {
    AnimationSet set;
    set.AddAnimation(AnimType::Walk, "AnimTest/Walk.anm", 1.5f, 0.0f, "");
    set.AddAnimation(AnimType::Spawn, "AnimTest/Idle.anm", 1.0f, 0.0f, "");
    set.SetAnimationBlendTime(AnimType::Walk, 99.9f);
    ASSERT_TRUE(set.PlayAnimation(*actor, AnimType::Walk, Name(), 2.0f, false, 0));
    EXPECT_FLOAT_EQ(Channel0().speed, 3.0f);
    EXPECT_EQ(Channel0().blendMs, 99);
    EXPECT_FALSE(Channel0().loop);
    // A counted play loops in the engine.
    set.PlayAnimation(*actor, AnimType::Walk, Name(), 1.0f, false, 3);
    EXPECT_TRUE(Channel0().loop);
    set.PlayAnimation(*actor, AnimType::Spawn, Name(), 1.0f, false, 0);
    EXPECT_EQ(Channel0().blendMs, 0);

    set.PlayAnimation(*actor, AnimType::Walk, Name(), 1.0f, true, 0);
    set.AdjustAnimation(*actor, 0.5f);
    EXPECT_FLOAT_EQ(Channel0().multiplier, 0.75f);
}

TEST_F(AnimationSetTest, CountedPlaySwallowsAllButItsLastEnd) {
    AnimationSet set;
    set.AddAnimation(AnimType::Stun, "AnimTest/Stun.anm", 1.0f, 0.0f, "");
    const Name end = Name::Create("End");
    const Name hit = Name::Create("Hit");

    set.PlayAnimation(*actor, AnimType::Stun, Name(), 1.0f, false, 3);
    EXPECT_FALSE(set.HandleAnimationCallback(*actor, hit));  // other events never count
    EXPECT_TRUE(set.HandleAnimationCallback(*actor, end));
    EXPECT_TRUE(set.HandleAnimationCallback(*actor, end));
    EXPECT_FALSE(set.HandleAnimationCallback(*actor, end));

    for (unsigned count : {0u, 1u}) {
        set.PlayAnimation(*actor, AnimType::Stun, Name(), 1.0f, false, count);
        EXPECT_FALSE(set.HandleAnimationCallback(*actor, end)) << count;
    }
    set.PlayAnimation(*actor, AnimType::Stun, Name(), 1.0f, true, 3);
    EXPECT_FALSE(set.HandleAnimationCallback(*actor, end));
}

TEST_F(AnimationSetTest, SingleHolderKeepsItsFirstAnimationAndCollectionItsFirstReference) {
    AnimationSet set;
    set.AddAnimation(AnimType::Run, "AnimTest/Run.anm", 1.0f, 0.0f, "");
    set.AddAnimation(AnimType::Run, "AnimTest/Walk.anm", 3.0f, 0.0f, "");
    set.AddAnimation(AnimType::Special, "AnimTest/Kick.anm", 1.0f, 0.0f, "Kick");
    set.AddAnimation(AnimType::Special, "AnimTest/Spin.anm", 1.0f, 0.0f, "Kick");
    set.AddAnimation(AnimType::Special, "AnimTest/Spin.anm", 1.0f, 0.0f, "");
    EXPECT_EQ(tm.CountLog("AnimationSelected: Invalid reference () name for animation "
                          "(AnimTest/Spin.anm)"),
              1);

    set.PlayAnimation(*actor, AnimType::Run, Name(), 1.0f, true, 0);
    EXPECT_EQ(Playing(), "AnimTest/Run.anm");
    EXPECT_FLOAT_EQ(Channel0().speed, 1.0f);

    EXPECT_EQ(set.GetEntryCount(AnimType::Special), 1u);
    EXPECT_FALSE(set.PlayAnimationIfAvailable(*actor, AnimType::Special, Name::Create("Spin"), 1.0f,
                                              false, 0));
    ASSERT_TRUE(set.PlayAnimation(*actor, AnimType::Special, Name::Create("Kick"), 1.0f, false, 0));
    EXPECT_EQ(Playing(), "AnimTest/Kick.anm");
    EXPECT_EQ(set.GetChosenReference(AnimType::Special), Name::Create("Kick"));
    EXPECT_EQ(set.GetLength(AnimType::Special), 7);
}

TEST_F(AnimationSetTest, PoolPicksByRunningWeightAndLogsFilesItCannotLoad) {
    AnimationSet pool;
    const auto attack = AnimType::Attack;
    pool.AddAnimation(attack, "AnimTest/Swing.anm", 1.0f, 100.0f, "");
    pool.AddAnimation(attack, "AnimTest/Missing.anm", 1.0f, 30.0f, "");
    pool.AddAnimation(attack, "AnimTest/Kick.anm", 1.0f, 50.0f, "");
    pool.AddAnimation(attack, "AnimTest/Spin.anm", 1.0f, 50.0f, "");
    EXPECT_EQ(tm.CountLog("AnimationPool:: Unable to load animation (AnimTest/Missing.anm)"), 1);
    ASSERT_EQ(pool.GetEntryCount(attack), 3u);
    EXPECT_FLOAT_EQ(pool.GetTotalWeight(attack), 200.0f);
    EXPECT_EQ(pool.Pick(attack, 0.0f), 0u);
    EXPECT_EQ(pool.Pick(attack, 100.0f), 0u);
    EXPECT_EQ(pool.Pick(attack, 100.5f), 1u);
    EXPECT_EQ(pool.Pick(attack, 150.0f), 1u);
    EXPECT_EQ(pool.Pick(attack, 150.5f), 2u);
    EXPECT_EQ(pool.Pick(attack, 250.0f), 0u);  // beyond every sum

    // 100, 50, 50: the first entry takes about half of the plays.
    crt_srand(7);
    int counts[3] = {0, 0, 0};
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(pool.PlayAnimation(*actor, attack, Name(), 1.0f, false, 0));
        ++counts[pool.GetChosenIndex(attack)];
    }
    EXPECT_NEAR(counts[0], 1000, 100);
    EXPECT_NEAR(counts[1], 500, 100);
    EXPECT_NEAR(counts[2], 500, 100);
    EXPECT_EQ(Playing(), pool.GetAnimation(attack)->GetName());

    AnimationSet unweighted;
    unweighted.AddAnimation(attack, "AnimTest/Kick.anm", 1.0f, 0.0f, "");
    unweighted.AddAnimation(attack, "AnimTest/Spin.anm", 1.0f, 0.0f, "");
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(unweighted.PlayAnimation(*actor, attack, Name(), 1.0f, false, 0));
        ASSERT_EQ(unweighted.GetChosenIndex(attack), 0u);
    }

    // An empty pool still takes its draw, plays nothing and changes nothing.
    AnimationSet empty;
    EXPECT_FALSE(empty.DoesAnimationExist(attack));
    crt_srand(7);
    crt_rand();
    const int second = crt_rand();
    crt_srand(7);
    EXPECT_FALSE(empty.PlayAnimationIfAvailable(*actor, attack, Name(), 1.0f, false, 0));
    EXPECT_EQ(crt_rand(), second);
    EXPECT_EQ(empty.GetLength(attack), 0);
    EXPECT_FLOAT_EQ(empty.GetAnimSpeed(attack), 0.0f);
}

TEST_F(AnimationSetTest, PoolSpeedIsTheMeanAndPosesComeFromTheChosenEntry) {
    AnimationSet pool;
    const auto die = AnimType::Die;
    pool.AddAnimation(die, "AnimTest/Die.anm", 0.5f, 1.0f, "");   // clip speed 2: 4
    pool.AddAnimation(die, "AnimTest/Idle.anm", 0.5f, 0.0f, "");  // clip speed 1: 2
    EXPECT_FLOAT_EQ(pool.GetAnimSpeed(die), 3.0f);
    crt_srand(1);
    ASSERT_TRUE(pool.PlayAnimation(*actor, die, Name(), 1.0f, false, 0));
    EXPECT_EQ(pool.GetChosenIndex(die), 0u);  // the second entry has no weight to reach
    EXPECT_EQ(pool.GetLength(die), 30);
    EXPECT_EQ(pool.GetFrameRate(die), 20);
    EXPECT_TRUE(pool.SetLastPost(*actor, die));
}

TEST_F(AnimationSetTest, PreloadUsesTypePrioritiesAndDestructionGivesClipsBack) {
    ResourceLoader& loader = ResourceLoader::Get();
    GraphicsEngine& graphics = GraphicsEngine::Get();
    GraphicsAnim* swing = graphics.LoadAnimation("AnimTest/Swing.anm");
    const int usesBefore = graphics.GetUseCount(swing);
    {
        AnimationSet set;
        set.AddAnimation(AnimType::Attack, "AnimTest/Swing.anm", 1.0f, 1.0f, "");
        set.AddAnimation(AnimType::Attack, "AnimTest/Kick.anm", 1.0f, 1.0f, "");
        set.AddAnimation(AnimType::Fidget, "AnimTest/Swing.anm", 1.0f, 1.0f, "");
        set.AddAnimation(AnimType::Special, "AnimTest/Swing.anm", 1.0f, 0.0f, "Swing");
        set.AddAnimation(AnimType::Chat, "AnimTest/Swing.anm", 1.0f, 0.0f, "");
        EXPECT_EQ(graphics.GetUseCount(swing), usesBefore + 4);
        set.PreLoad();
        // None and Attack's two are immediate; Fidget, Special and Chat in the background.
        EXPECT_EQ(loader.GetEnqueuedCount(ResourcePriority::Immediate), 3u);
        EXPECT_EQ(loader.GetEnqueuedCount(ResourcePriority::Background), 3u);
    }
    EXPECT_EQ(graphics.GetUseCount(swing), usesBefore);
}

TEST_F(AnimationSetTest, PropHolderLoadsOnceAndPlaysOnceOrLooping) {
    OwnedAnimation holder;
    EXPECT_FALSE(holder.PlayOnce(*actor));
    holder.Load("AnimTest/Turn.anm", 2.0f);
    holder.Load("AnimTest/Run.anm", 1.0f);
    ASSERT_TRUE(holder.IsLoaded());
    EXPECT_EQ(holder.Get()->GetName(), "AnimTest/Turn.anm");
    ASSERT_TRUE(holder.PlayLoop(*actor));
    EXPECT_TRUE(Channel0().loop);
    EXPECT_FLOAT_EQ(Channel0().speed, 2.0f);
    ASSERT_TRUE(holder.PlayOnce(*actor));
    EXPECT_FALSE(Channel0().loop);
}

}  // namespace
}  // namespace GAME::test
