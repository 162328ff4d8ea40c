// Clicks through the player's controller: the ground gives a move, a hostile character in reach
// takes the default attack, one out of reach is walked to first; a held button repeats the same
// skill at most every 200 ms and ends when its target dies.
#include <gtest/gtest.h>

#include <vector>

#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/player/ControllerPlayerMoveStates.h"
#include "Game/ai/controllers/player/ControllerPlayerStates.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/skills/manager/SkillManager.h"
#include "ai/player/PlayerControllerTestSupport.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {
namespace {

// Whether a skill repeats is the skill kind's to say; the test flips it.
struct RepeatSwitch : Skill {
    static void Set(Skill& skill, bool on) { (skill.*(&RepeatSwitch::SetRepeatable))(on); }
};

class PlayerClicks : public ::testing::Test, public PlayerScene {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }
    void TearDown() override { ShutdownObjects(); }

    bool Click(const WorldVec3& point, std::uint32_t& target, bool repeat = false) {
        return controller->HandleActionFromMouse(true, false, false, repeat, point, target);
    }
    // Clicks on the character the way the interface does: it is the combat enemy under the
    // cursor.
    bool ClickOn(Character& other, bool repeat = false) {
        controller->SetCombatEnemy(other.GetObjectId());
        std::uint32_t target = other.GetObjectId();
        return Click(other.GetPathPosition(), target, repeat);
    }
    std::string State() const { return StateOf(*controller); }

    PlayerControllerRoot root;
    TestMachine tm{root.Root()};
};

TEST_F(PlayerClicks, AGroundClickMovesAndAClickAtTheFeetDoesNot) {
    EXPECT_EQ(State(), "LongIdle");
    std::uint32_t target = 0;
    const WorldVec3 feet = hero->GetPathPosition();
    EXPECT_TRUE(Click(Ground(feet.local.x + 1.0f, feet.local.z), target));
    EXPECT_EQ(State(), "LongIdle");

    EXPECT_TRUE(Click(Ground(20, 20), target));
    EXPECT_EQ(State(), "MoveTo");
    for (int i = 0; i < 400 && State() == "MoveTo"; ++i)
        Frame();
    EXPECT_EQ(State(), "Idle");
    EXPECT_LT(Flat(hero->GetPathPosition(), Ground(20, 20)), 1.0f);
}

TEST_F(PlayerClicks, AClickAlongTheCurrentHeadingWaitsUntilThePathIsNearlyWalked) {
    std::uint32_t target = 0;
    ASSERT_TRUE(Click(Ground(18, 20), target));
    ASSERT_EQ(State(), "MoveTo");
    const auto* move = dynamic_cast<ControllerPlayerStateMoveTo*>(controller->GetExecutingState());
    ASSERT_NE(move, nullptr);
    const WorldVec3 first = hero->GetPathTarget();
    // Within 3 degrees of the heading: kept for later, the path stays.
    EXPECT_TRUE(Click(Ground(19.5f, 20.05f), target));
    EXPECT_TRUE(move->GetPendingGoal().IsValid());
    EXPECT_EQ(hero->GetPathTarget(), first);
    // Well off the heading: a new path at once.
    EXPECT_TRUE(Click(Ground(16, 24), target));
    EXPECT_LT(Flat(hero->GetPathTarget(), Ground(16, 24)), 0.5f);

    EXPECT_TRUE(Click(Ground(12, 30), target));
    EXPECT_TRUE(Click(Ground(12.05f, 33), target));
    for (int i = 0; i < 400 && State() == "MoveTo"; ++i)
        Frame();
    // The kept goal was walked to once the first path was nearly done.
    EXPECT_LT(Flat(hero->GetPathPosition(), Ground(12.05f, 33)), 1.0f);
}

TEST_F(PlayerClicks, ATrappedPlayerStrikesOnlyWhatItReachesAndStillUsesItems) {
    Character* near = PlaceFoe(12, 21.5f);
    Character* far = PlaceFoe(12, 30);
    hero->BeginTrap();
    EXPECT_EQ(State(), "Trapped");
    std::uint32_t target = 0;
    Click(Ground(12, 26), target);
    EXPECT_EQ(State(), "Trapped");
    ClickOn(*far);
    EXPECT_EQ(State(), "Trapped");
    EXPECT_EQ(Flat(hero->GetPathPosition(), Ground(12, 20)), 0.0f);
    EXPECT_TRUE(controller->UseItem(0x777, true));
    EXPECT_FALSE(controller->UseItem(0, true));

    ClickOn(*near);
    EXPECT_EQ(State(), "UseSkillWhileTrapped");
    EXPECT_EQ(controller->GetCurrentEnemy(), near->GetObjectId());
    hero->EndTrap();
    EXPECT_EQ(State(), "Idle");

    hero->BeginTrap();
    EXPECT_EQ(State(), "Trapped");
    hero->EndTrap();
    EXPECT_EQ(State(), "Idle");
    // The dying refuse items.
    test::SetLife(*hero, 0.0f, 200.0f);
    Frame();
    EXPECT_EQ(State(), "Dying");
    EXPECT_FALSE(controller->UseItem(0x777, true));
}

TEST_F(PlayerClicks, AnItemOnTheGroundIsWalkedToAndPickedUp) {
    auto* pebble =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Item>("Records/Items/Pebble.dbr");
    ASSERT_NE(pebble, nullptr);
    const WorldCoords where(Ground(12, 26).GetRegion(), Coords::FromOrigin(Ground(12, 26).local));
    World::Get().AddEntity(pebble, where, true);
    std::uint32_t target = pebble->GetObjectId();
    EXPECT_FALSE(Click(pebble->GetCoords().GetPosition(), target));
    EXPECT_EQ(State(), "MoveToItem");
    for (int i = 0; i < 400 && State() == "MoveToItem"; ++i)
        Frame();
    EXPECT_EQ(State(), "PickupItem");
    EXPECT_EQ(controller->GetCurrentAlly(), pebble->GetObjectId());
    EXPECT_EQ(hero->GetActionState(), Character_ActionState::Pickup);
}

TEST_F(PlayerClicks, AFoeInReachIsStruckAtOnceAndOneFarAwayIsWalkedToFirst) {
    Character* near = PlaceFoe(13.5f, 20);
    EXPECT_FALSE(ClickOn(*near));
    EXPECT_EQ(State(), "UseSkill");
    EXPECT_EQ(controller->GetCurrentEnemy(), near->GetObjectId());
    EXPECT_EQ(controller->GetCurrentSkillID(), hero->GetSkillManager().GetDefaultSkillId());
    EXPECT_EQ(controller->GetMouseRepeatTarget(), near->GetObjectId());
    EXPECT_EQ(hero->GetActionState(), Character_ActionState::Attack);

    Character* far = PlaceFoe(24, 20);
    controller->ClearTarget();
    EXPECT_EQ(State(), "Idle");
    EXPECT_FALSE(ClickOn(*far));
    EXPECT_EQ(State(), "MoveToUseSkill");
    for (int i = 0; i < 400 && State() == "MoveToUseSkill"; ++i)
        Frame();
    EXPECT_EQ(State(), "UseSkill");
    EXPECT_EQ(controller->GetCurrentEnemy(), far->GetObjectId());
    EXPECT_LT(Flat(hero->GetPathPosition(), far->GetPathPosition()), 3.0f);
}

TEST_F(PlayerClicks, AHeldButtonRepeatsTheSkillAtMostEvery200msAndEndsWithItsTarget) {
    Character* foe = PlaceFoe(12, 21.5f);
    const std::uint32_t id = foe->GetObjectId();
    EXPECT_FALSE(ClickOn(*foe));
    auto* use = dynamic_cast<ControllerPlayerStateUseSkill*>(controller->GetExecutingState());
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use->GetRepeatLock(), 200);
    // The host's repeat names nothing: the kept target and point are used.
    auto repeat = [&] {
        std::uint32_t target = 0;
        const bool result = Click(Ground(40, 40), target, true);
        EXPECT_EQ(target, id);
        return result;
    };
    Frame();
    EXPECT_FALSE(repeat());
    EXPECT_EQ(use->GetRepeatLock(), 150);
    EXPECT_EQ(controller->GetCombatAlly(), id);
    for (int i = 0; i < 3; ++i)
        Frame();
    EXPECT_FALSE(repeat());
    EXPECT_EQ(use->GetRepeatLock(), 200);
    EXPECT_EQ(State(), "UseSkill");

    // A skill that does not repeat is never re-issued by a held button.
    RepeatSwitch::Set(*Singleton<ObjectManager>::Get().GetObject<Skill>(
                          hero->GetSkillManager().GetDefaultSkillId()),
                      false);
    for (int i = 0; i < 5; ++i)
        Frame();
    EXPECT_FALSE(repeat());
    EXPECT_LE(use->GetRepeatLock(), 0);

    // Once the target is dead the repeat ends.
    foe->SetLifeState(Character_LifeState::Dead);
    std::uint32_t target = id;
    EXPECT_FALSE(Click(Ground(40, 40), target, true));
    EXPECT_EQ(target, 0u);
    EXPECT_EQ(controller->GetMouseRepeatTarget(), 0u);
}

TEST_F(PlayerClicks, AFoeThatCannotBeReachedTakesTheClickAsARepeatAndNoMove) {
    // In the middle of the pond: the spot to strike from is under water.
    Character* wader = PlaceFoe(12, 50);
    EXPECT_FALSE(ClickOn(*wader));
    EXPECT_EQ(State(), "LongIdle");
    EXPECT_EQ(controller->GetMouseRepeatTarget(), wader->GetObjectId());
}

TEST_F(PlayerClicks, TheDeadAndTheTeleportingCannotClick) {
    Character* foe = PlaceFoe(12, 21.5f);
    hero->SetTeleporting(true);
    std::uint32_t target = foe->GetObjectId();
    EXPECT_FALSE(Click(foe->GetPathPosition(), target));
    EXPECT_EQ(target, 0u);
    hero->SetTeleporting(false);
    hero->SetLifeState(Character_LifeState::Dead);
    target = foe->GetObjectId();
    EXPECT_FALSE(Click(foe->GetPathPosition(), target));
    EXPECT_EQ(target, 0u);
    EXPECT_EQ(State(), "LongIdle");
}

}  // namespace
}  // namespace GAME::test
