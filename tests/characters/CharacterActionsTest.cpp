// What each action does to its character, with the character's own operations as they stand:
// no animation set is chosen here, so every animation fails to start.
#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/text/Name.h"
#include "Game/characters/actions/CharacterActions.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "Game/items/Item.h"
#include "characters/CharacterActionTestSupport.h"

namespace GAME::test {
namespace {

using LS = Character_LifeState;
using AS = Character_ActionState;

class CharacterActions : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        hero = MakeLivingCharacter(0x100, 10, 10);
        other = MakeLivingCharacter(0x200, 20, 10);
    }
    void TearDown() override { ShutdownObjects(); }

    template <class Action, class... Args>
    Action& Run(Args&&... args) {
        auto action = std::make_unique<Action>(hero->GetObjectId(), std::forward<Args>(args)...);
        Action& ref = *action;
        hero->GetActionHandler().Execute(std::move(action));
        return ref;
    }

    TestMachine tm;
    Character* hero = nullptr;
    Character* other = nullptr;
};

TEST_F(CharacterActions, KindsAndTextsComeFromTheTable) {
    EXPECT_EQ(ImmobilizeAction(1).ToString(), "ImobilizeAction");
    EXPECT_EQ(ImmobilizeAction(1).GetType(), CharacterActionType_Immobilize);
    EXPECT_EQ(EngageNpcAction(1, 0, false, false).GetType(), CharacterActionType_EngageNpc);
    EXPECT_EQ(CharacterActionBase(1).ToString(), "(unset value)");
    EXPECT_FALSE(CharacterActionBase(1).SupportsNetwork());
    EXPECT_EQ(CharacterActionBase(1).GetNetPacket(), nullptr);
    EXPECT_TRUE(IdleAction(1).SupportsNetwork());
    EXPECT_EQ(AttackAction(1, 0, WorldVec3(), 0, 0).GetBlendTime(), 100.0f);
    EXPECT_EQ(WalkAction(1, WorldVec3(), WorldVec3(), 0).GetBlendTime(), 250.0f);
}

TEST_F(CharacterActions, EveryActionOfAMissingCharacterFinishes) {
    std::vector<std::unique_ptr<CharacterActionBase>> actions;
    const std::uint32_t gone = 0x999;
    actions.push_back(std::make_unique<IdleAction>(gone));
    actions.push_back(std::make_unique<LongIdleAction>(gone));
    actions.push_back(std::make_unique<MoveToAction>(gone, WorldVec3(), WorldVec3(), 0, 0, 1.0f));
    actions.push_back(std::make_unique<WalkAction>(gone, WorldVec3(), WorldVec3(), 0));
    actions.push_back(std::make_unique<PickUpAction>(gone, 0));
    actions.push_back(std::make_unique<UseAction>(gone, 0));
    actions.push_back(std::make_unique<AttackAction>(gone, 0, WorldVec3(), 0, 0));
    actions.push_back(std::make_unique<TakeStunAction>(gone));
    actions.push_back(std::make_unique<ImmobilizeAction>(gone));
    actions.push_back(std::make_unique<TakeTrapAction>(gone));
    actions.push_back(std::make_unique<ChatAction>(gone, 0));
    actions.push_back(std::make_unique<EngageNpcAction>(gone, 0, true, true));
    actions.push_back(std::make_unique<SpawnAction>(gone));
    actions.push_back(std::make_unique<RespawnAction>(gone, WorldCoords()));
    for (auto& action : actions) {
        action->Execute();
        EXPECT_FALSE(action->IsActive()) << action->ToString();
    }
}

TEST_F(CharacterActions, IdleSetsTheIdleStateAndNeverEndsByItself) {
    auto& idle = Run<IdleAction>();
    EXPECT_EQ(hero->GetActionState(), AS::Idle);
    idle.AnimationCallback(Name::Create("End"));
    EXPECT_TRUE(idle.IsActive());
    // A dead character does not stand idle.
    hero->SetLifeState(LS::Dead);
    EXPECT_FALSE(Run<IdleAction>().IsActive());
}

TEST_F(CharacterActions, ALongIdleWithoutItsAnimationsFinishesAtOnce) {
    auto& idle = Run<LongIdleAction>();
    EXPECT_EQ(hero->GetActionState(), AS::Fidget);
    EXPECT_FALSE(idle.IsActive());
    EXPECT_EQ(idle.GetPhase(), LongIdleAction::Phase::Done);
    // The wait before a fidget is drawn between its bounds from the game's generator.
    EXPECT_GE(idle.GetTransitionTime(), LongIdleAction::kMinTransitionTime);
    EXPECT_LE(idle.GetTransitionTime(), LongIdleAction::kMaxTransitionTime);
}

TEST_F(CharacterActions, AMoveJumpsToItsStartOnlyWhenItIsFartherThanTenUnits) {
    auto& near = Run<MoveToAction>(FieldPoint(20, 10), FieldPoint(50, 50), 0u, 0u, 1.0f);
    EXPECT_EQ(hero->GetCoords().coords.origin, Vec3(10, 0, 10));
    // The character does not start running here: the move ends at once.
    EXPECT_FALSE(near.IsActive());
    Run<MoveToAction>(FieldPoint(20.01f, 10), FieldPoint(50, 50), 0u, 0u, 1.0f);
    EXPECT_EQ(hero->GetCoords().coords.origin, Vec3(20.01f, 0, 10));
}

TEST_F(CharacterActions, ATrappedCharacterNeitherRunsNorWalks) {
    auto& trap = Run<TakeTrapAction>();
    EXPECT_FALSE(trap.IsActive());
    EXPECT_TRUE(hero->IsTrapped());
    EXPECT_EQ(hero->GetActionState(), AS::Trap);
    EXPECT_FALSE(Run<WalkAction>(FieldPoint(10, 10), FieldPoint(30, 30), 0u).IsActive());
    auto& move = Run<MoveToAction>(FieldPoint(40, 40), FieldPoint(30, 30), 0u, 0u, 1.0f);
    EXPECT_FALSE(move.IsActive());
    EXPECT_EQ(hero->GetCoords().coords.origin, Vec3(10, 0, 10));
    hero->ReleaseTrap();
    auto& walk = Run<WalkAction>(FieldPoint(10, 10), FieldPoint(30, 30), 0x200u);
    EXPECT_TRUE(walk.IsActive());
    std::uint32_t target = 0, skill = 0;
    WorldVec3 where;
    hero->GetCurrentAttackTarget(target, where, skill);
    EXPECT_EQ(target, 0x200u);
    EXPECT_EQ(where.local, Vec3(30, 0, 30));
}

TEST_F(CharacterActions, PickingUpAnItemInTheWorldTurnsTheCharacterToIt) {
    auto* item =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Item>("Records/Items/Bow.dbr");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(Run<PickUpAction>(item->GetObjectId()).IsActive());
    EXPECT_NE(hero->GetActionState(), AS::Pickup);

    World::Get().AddEntity(
        item, WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(10, 0, 20))), true);
    Run<PickUpAction>(item->GetObjectId());
    EXPECT_EQ(hero->GetActionState(), AS::Pickup);
    // Facing +z without leaning: the forward axis is (0, 0, 1).
    const Coords& faced = hero->GetCoords().coords;
    EXPECT_NEAR(faced.zAxis.z, 1.0f, 1e-5f);
    EXPECT_NEAR(faced.zAxis.y, 0.0f, 1e-5f);
    EXPECT_EQ(faced.origin, Vec3(10, 0, 10));
}

TEST_F(CharacterActions, ALivingOrUninterestingBodyIsNotLooted) {
    auto& alive = Run<PickUpAction>(other->GetObjectId());
    EXPECT_TRUE(alive.IsActive());
    other->SetLifeState(LS::Dead);
    auto& dull = Run<PickUpAction>(other->GetObjectId());
    EXPECT_TRUE(dull.IsActive());
    dull.AnimationCallback(Name::Create("End"));
    EXPECT_FALSE(dull.IsActive());
}

TEST_F(CharacterActions, AnAttackEndsOnADeadTargetAndWhenTheSkillDoesNotStart) {
    other->SetLifeState(LS::Dead);
    auto& dead = Run<AttackAction>(other->GetObjectId(), FieldPoint(20, 10), 5u, std::uint16_t{7});
    EXPECT_FALSE(dead.IsActive());
    EXPECT_EQ(tm.CountLog("SkillManager::StartSkill"), 0);
    // An attack on a point goes on to its skill; a reference that names no skill does not
    // start, quietly.
    auto& point = Run<AttackAction>(0u, FieldPoint(30, 30), 5u, std::uint16_t{7});
    EXPECT_FALSE(point.IsActive());
    EXPECT_EQ(tm.CountLog("SkillManager::StartSkill"), 0);
    EXPECT_FALSE(hero->IsRotatingTowardsTarget());
    EXPECT_NE(hero->GetActionState(), AS::Attack);
}

TEST_F(CharacterActions, StunAndImmobilizeLastUntilReplaced) {
    auto& stun = Run<TakeStunAction>();
    EXPECT_TRUE(stun.IsActive());
    EXPECT_EQ(hero->GetActionState(), AS::Stun);
    auto& hold = Run<ImmobilizeAction>();
    EXPECT_TRUE(hold.IsActive());
    EXPECT_EQ(hero->GetActionState(), AS::Immobilize);
}

TEST_F(CharacterActions, DyingCountsADeathAndEndsDeadExactlyOnce) {
    auto& die = Run<DieAction>(std::vector<std::uint32_t>{7, 8});
    EXPECT_EQ(hero->GetLifeState(), LS::Dying);
    EXPECT_EQ(hero->GetActionState(), AS::Dying);
    EXPECT_EQ(hero->GetPlayStats().GetDeaths(), 1u);
    EXPECT_TRUE(die.IsActive());
    hero->GetActionHandler().Stop();
    EXPECT_EQ(hero->GetLifeState(), LS::Dead);

    // A die action ended by itself and then stopped makes the character dead only once.
    DieAction again(hero->GetObjectId(), {});
    again.Finish();
    hero->SetLifeState(LS::Respawning);
    again.Finish();
    EXPECT_EQ(hero->GetLifeState(), LS::Respawning);
}

TEST_F(CharacterActions, ChattingFacesThePartnerAndNobodyMeansWaiting) {
    auto& nobody = Run<ChatAction>(0u);
    EXPECT_TRUE(nobody.IsActive());
    EXPECT_NE(hero->GetActionState(), AS::Chatting);
    Run<ChatAction>(other->GetObjectId());
    EXPECT_EQ(hero->GetActionState(), AS::Chatting);
    EXPECT_NEAR(hero->GetCoords().coords.zAxis.x, 1.0f, 1e-5f);
    EXPECT_TRUE(Run<EngageNpcAction>(0u, true, false).IsActive());
}

TEST_F(CharacterActions, AnAnimationThatCannotStartStillSetsThePlayState) {
    auto& play =
        Run<PlayAnimationAction>(AnimationSet_Type::Special, Name::Create("Wave"), 1.0f, false, 0u);
    EXPECT_FALSE(play.IsActive());
    EXPECT_EQ(hero->GetActionState(), AS::PlayAnimation);
    EXPECT_FALSE(Run<UseAction>(0u).IsActive());
}

TEST_F(CharacterActions, RespawnBringsOnlyTheDeadBackAndEndsAlive) {
    EXPECT_FALSE(Run<RespawnAction>(WorldCoords()).IsActive());
    hero->SetLifeState(LS::Dead);
    const WorldCoords spawn(MakeActionRegion(), Coords::FromOrigin(Vec3(5, 0, 5)));
    auto& respawn = Run<RespawnAction>(spawn);
    // No respawn animation: the respawn ends at once, and the character is alive there.
    EXPECT_FALSE(respawn.IsActive());
    EXPECT_EQ(hero->GetLifeState(), LS::Alive);
    EXPECT_EQ(hero->GetCoords().coords.origin, Vec3(5, 0, 5));
    auto& spawnAction = Run<SpawnAction>();
    EXPECT_TRUE(spawnAction.IsActive());
    spawnAction.AnimationCallback(Name::Create("End"));
    EXPECT_FALSE(spawnAction.IsActive());
}

TEST_F(CharacterActions, APreMoveRunsFromThePathPositionToThePreMovePoint) {
    AttackAction attack(hero->GetObjectId(), other->GetObjectId(), FieldPoint(20, 10), 3, 9);
    EXPECT_EQ(attack.GetPreAction(), nullptr);
    attack.SetPreMoveData(FieldPoint(18, 10), other->GetObjectId(), 3, 1.0f);
    auto pre = attack.GetPreAction();
    ASSERT_NE(pre, nullptr);
    const auto& move = static_cast<const MoveToAction&>(*pre);
    EXPECT_EQ(move.GetType(), CharacterActionType_MoveTo);
    EXPECT_EQ(move.GetStart().local, Vec3(10, 0, 10));
    EXPECT_EQ(move.GetTarget().local, Vec3(18, 0, 10));
    EXPECT_EQ(move.GetTargetId(), other->GetObjectId());
    EXPECT_EQ(move.GetSkillId(), 3u);
    EXPECT_EQ(AttackAction(0x999, 0, WorldVec3(), 0, 0).GetPreAction(), nullptr);
}

}  // namespace
}  // namespace GAME::test
