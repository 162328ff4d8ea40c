// Actions that play animations of the character's set and follow their events: the idle loop,
// the long idle's transition, loop and fidgets, pick-up, chat and named animations.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AnimationTestClips.h"
#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/CharacterActions.h"
#include "Game/characters/anim/AnimationSet.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "Game/items/Item.h"
#include "characters/CharacterTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kIdler = R"({"Class": "Character",
    "unarmedAttackIdleAnim": "AnimTest/Idle.anm",
    "unarmedIdleTransAnim": "AnimTest/Trans.anm",
    "unarmedLongIdleAnim": "AnimTest/Walk.anm",
    "unarmedFidgetAnim1": "AnimTest/Spin.anm",
    "unarmedPickupAnim": "AnimTest/Kick.anm",
    "unarmedChatAnim": "AnimTest/Cast.anm",
    "unarmedRespawnAnim": "AnimTest/Buff.anm",
    "unarmedSpecialAnim1": "AnimTest/Turn.anm",
    "unarmedSpecialAnimRef1": "Wave"})";

class CharacterActionAnimation : public ::testing::Test {
protected:
    void SetUp() override {
        AddAnimationTestClips();
        InitializeObjects();
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
            "Records/Characters/Anims/Idler.dbr", kIdler));
        idler = MakeCharacter("Records/Characters/Anims/Idler.dbr");
        ASSERT_NE(idler, nullptr);
        ASSERT_NE(idler->GetAnimationSet(), nullptr);
    }
    void TearDown() override { ShutdownObjects(); }

    std::string Playing() const {
        const auto* channel = idler->GetAnimationChannels().GetChannel(0);
        return channel && channel->anim ? channel->anim->GetName() : "";
    }
    template <class Action, class... Args>
    Action& Run(Args&&... args) {
        auto action = std::make_unique<Action>(idler->GetObjectId(), std::forward<Args>(args)...);
        Action& ref = *action;
        idler->GetActionHandler().Execute(std::move(action));
        return ref;
    }
    void PlayChat() {
        idler->GetAnimationSet()->PlayAnimation(*idler, AnimationSet_Type::Chat, Name(), 1.0f,
                                                false, 0);
    }
    void Event(const char* name) {
        idler->GetActionHandler().AnimationCallback(Name::Create(name));
    }

    TestMachine tm;
    Character* idler = nullptr;
};

TEST_F(CharacterActionAnimation, IdlePlaysTheAttackIdleAgainAtEachEnd) {
    Run<IdleAction>();
    EXPECT_EQ(Playing(), "AnimTest/Idle.anm");
    PlayChat();
    Event("Hit");
    EXPECT_EQ(Playing(), "AnimTest/Cast.anm");
    Event("End");
    EXPECT_EQ(Playing(), "AnimTest/Idle.anm");
    // Already idle: a second idle action plays nothing.
    PlayChat();
    Run<IdleAction>();
    EXPECT_EQ(Playing(), "AnimTest/Cast.anm");
}

TEST_F(CharacterActionAnimation, LongIdleGoesFromTransitionToLoopToFidgetAndBack) {
    using Phase = LongIdleAction::Phase;
    auto& idle = Run<LongIdleAction>();
    EXPECT_EQ(idle.GetPhase(), Phase::Transition);
    EXPECT_EQ(Playing(), "AnimTest/Trans.anm");
    Event("End");
    EXPECT_EQ(idle.GetPhase(), Phase::Looping);
    EXPECT_EQ(Playing(), "AnimTest/Walk.anm");
    const int wait = idle.GetTransitionTime();
    ASSERT_GE(wait, LongIdleAction::kMinTransitionTime);
    gEngine->AdvanceGameTime(static_cast<std::uint32_t>(wait - 1));
    Event("End");
    EXPECT_EQ(idle.GetPhase(), Phase::Looping);
    gEngine->AdvanceGameTime(1);
    Event("End");
    EXPECT_EQ(idle.GetPhase(), Phase::Fidget);
    EXPECT_EQ(Playing(), "AnimTest/Spin.anm");
    Event("End");
    EXPECT_EQ(idle.GetPhase(), Phase::Looping);
    EXPECT_TRUE(idle.IsActive());
    EXPECT_EQ(idler->GetActionState(), Character_ActionState::Fidget);
}

TEST_F(CharacterActionAnimation, PickUpOfABodyPlaysUntilItsEnd) {
    Character* body = MakeCharacter("Records/Characters/Anims/Idler.dbr");
    body->SetLifeState(Character_LifeState::Dead);
    // Nothing of interest on it: the action waits and plays nothing.
    auto& pickup = Run<PickUpAction>(body->GetObjectId());
    EXPECT_TRUE(pickup.IsActive());
    EXPECT_NE(Playing(), "AnimTest/Kick.anm");
    auto* item =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Item>("Records/Items/Bow.dbr");
    ASSERT_NE(item, nullptr);
    Region* ground = World::Get().AddRegion(std::make_unique<Region>("Ground"));
    ASSERT_TRUE(World::Get().AddEntity(item, WorldCoords(ground, idler->GetCoords().coords), true));
    auto& take = Run<PickUpAction>(item->GetObjectId());
    EXPECT_EQ(Playing(), "AnimTest/Kick.anm");
    Event("Pickup");
    EXPECT_TRUE(take.IsActive());
    Event("End");
    EXPECT_FALSE(take.IsActive());
}

TEST_F(CharacterActionAnimation, ChatLoopsAndNamedAnimationsPlayByTheirName) {
    Character* partner = MakeCharacter("Records/Characters/Anims/Idler.dbr");
    Run<ChatAction>(partner->GetObjectId());
    EXPECT_EQ(Playing(), "AnimTest/Cast.anm");
    EXPECT_EQ(idler->GetActionState(), Character_ActionState::Chatting);
    auto& wave =
        Run<PlayAnimationAction>(AnimationSet_Type::Special, Name::Create("Wave"), 1.0f, false, 0u);
    EXPECT_TRUE(wave.IsActive());
    EXPECT_EQ(Playing(), "AnimTest/Turn.anm");
    EXPECT_EQ(idler->GetActionState(), Character_ActionState::PlayAnimation);
}

TEST_F(CharacterActionAnimation, ARespawnLastsUntilItsAnimationEnds) {
    idler->SetLifeState(Character_LifeState::Dead);
    auto& respawn = Run<RespawnAction>(idler->GetCoords());
    EXPECT_TRUE(respawn.IsActive());
    EXPECT_EQ(Playing(), "AnimTest/Buff.anm");
    EXPECT_EQ(idler->GetLifeState(), Character_LifeState::Respawning);
    Event("End");
    EXPECT_FALSE(respawn.IsActive());
    EXPECT_EQ(idler->GetLifeState(), Character_LifeState::Alive);
}

}  // namespace
}  // namespace GAME::test
