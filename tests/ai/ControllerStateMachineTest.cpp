// The controller's host of named states: switching, an OnEnd that switches itself, temporary
// states queued in front of the current one, and the slots freed when the enemy changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Game/characters/movement/SlotManager.h"
#include "ai/AiTestSupport.h"
#include "ai/ProbeController.h"
#include "characters/CharacterActionTestSupport.h"

namespace GAME::test {
namespace {

using Journal = std::vector<std::string>;

class ControllerStateMachine : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        hero = MakeLivingCharacter(0x100, 10, 10);
        controller = Singleton<ObjectManager>::Get().CreateObject<ProbeController>();
        controller->AttachParent(hero->GetObjectId());
        hero->SetControllerId(controller->GetObjectId());
        idle = controller->AddProbeState("Idle");
        pursue = controller->AddProbeState("Pursue");
        flee = controller->AddProbeState("Flee");
        taunted = controller->AddProbeTemporaryState("Taunted");
        startled = controller->AddProbeTemporaryState("Startled");
        controller->SetState("Idle", ControllerAIStateData());
        controller->journal.clear();
    }
    void TearDown() override { ShutdownObjects(); }

    static ControllerAIStateData Against(std::uint32_t enemy, std::uint32_t ally = 0) {
        return ControllerAIStateData({.enemy = enemy, .ally = ally});
    }
    std::string Executing() const {
        const char* name = controller->GetExecutingStateName();
        return name ? name : "(none)";
    }

    TestMachine tm;
    Character* hero = nullptr;
    ProbeController* controller = nullptr;
    ProbeState* idle = nullptr;
    ProbeState* pursue = nullptr;
    ProbeState* flee = nullptr;
    ProbeState* taunted = nullptr;
    ProbeState* startled = nullptr;
};

TEST_F(ControllerStateMachine, SwitchingEndsTheOldStateAndBeginsTheNewWithItsData) {
    std::uint32_t enemySeenAtEnd = 99, enemySeenAtBegin = 0;
    idle->onEnd = [&] { enemySeenAtEnd = controller->GetCurrentEnemy(); };
    pursue->onBegin = [&] { enemySeenAtBegin = controller->GetCurrentEnemy(); };
    controller->SetState("Pursue", Against(0x200));
    EXPECT_EQ(controller->journal, (Journal{"Idle:end", "Pursue:begin"}));
    EXPECT_EQ(enemySeenAtEnd, 0u);
    EXPECT_EQ(enemySeenAtBegin, 0x200u);
    EXPECT_EQ(Executing(), "Pursue");

    // Every frame ticks the executing state once, and events reach it.
    controller->journal.clear();
    hero->PreAnimationUpdate(16);
    hero->AnimationCallback(0, Name::Create("Hit"));
    EXPECT_EQ(controller->journal, (Journal{"Pursue:update", "Pursue:event:Hit"}));
}

TEST_F(ControllerStateMachine, ACorpseRunsOnlyTheDeathUpdateAndOnlyWhenItsControllerAsks) {
    hero->SetLifeState(Character_LifeState::Dead);
    hero->PreAnimationUpdate(16);
    EXPECT_TRUE(controller->journal.empty());
    controller->wantsDeathUpdate = true;
    hero->PreAnimationUpdate(16);
    EXPECT_EQ(controller->journal, (Journal{"death-update"}));
}

TEST_F(ControllerStateMachine, AnUnknownStateChangesNothingAndIsLoggedOnce) {
    controller->SetState("Pursue", Against(0x200));
    controller->AddTemporaryState("Taunted", Against(0x300));
    controller->journal.clear();
    tm.ClearLog();
    controller->SetState("Sleeping", Against(0x400));
    EXPECT_TRUE(controller->journal.empty());
    EXPECT_EQ(Executing(), "Taunted");
    EXPECT_EQ(controller->GetCurrentEnemy(), 0x300u);
    EXPECT_EQ(controller->GetActiveTemporaryStateCount(), 1u);
    EXPECT_EQ(tm.CountLog("State Sleeping is trying to be set, but not found."), 1);
    controller->AddTemporaryState("Sleeping", Against(0x400));
    EXPECT_EQ(tm.CountLog("Temporary State Sleeping is trying to be set, but not found."), 1);
    EXPECT_EQ(controller->GetActiveTemporaryStateCount(), 1u);
}

TEST_F(ControllerStateMachine, AStateSetFromOnEndWinsAndTheOuterStateNeverBegins) {
    idle->onEnd = [&] { controller->SetState("Flee", Against(0x300)); };
    controller->SetState("Pursue", Against(0x200));
    // Idle ends once (the inner switch does not end it again) and Pursue is dropped.
    EXPECT_EQ(controller->journal, (Journal{"Idle:end", "Flee:begin"}));
    EXPECT_EQ(Executing(), "Flee");
    EXPECT_EQ(controller->GetCurrentEnemy(), 0x300u);
}

TEST_F(ControllerStateMachine, AnOnEndThatAlwaysSwitchesEndsOnceWhenATemporaryStateStarts) {
    idle->onEnd = [&] { controller->SetState("Flee", Against(0x300)); };
    controller->AddTemporaryState("Taunted", Against(0x400));
    EXPECT_EQ(controller->journal, (Journal{"Idle:end", "Flee:begin", "Taunted:begin"}));
    EXPECT_EQ(Executing(), "Taunted");
}

TEST_F(ControllerStateMachine, ASwitchDuringATemporaryStateWaitsForItsEnd) {
    controller->AddTemporaryState("Taunted", Against(0x300));
    EXPECT_EQ(controller->journal, (Journal{"Idle:end", "Taunted:begin"}));
    controller->journal.clear();

    controller->SetState("Pursue", Against(0x200));
    EXPECT_TRUE(controller->journal.empty());
    EXPECT_EQ(Executing(), "Taunted");
    EXPECT_EQ(controller->GetCurrentEnemy(), 0x300u);

    hero->PreAnimationUpdate(16);
    EXPECT_EQ(controller->journal, (Journal{"Taunted:update"}));
    controller->journal.clear();

    // Done: the next frame ends it, begins the state set meanwhile and ticks it.
    taunted->SetDone(true);
    EXPECT_EQ(controller->GetCurrentEnemy(), 0x200u);
    hero->PreAnimationUpdate(16);
    EXPECT_EQ(controller->journal, (Journal{"Taunted:end", "Pursue:begin", "Pursue:update"}));
    EXPECT_FALSE(taunted->Done());
    EXPECT_EQ(controller->GetActiveTemporaryStateCount(), 0u);
}

TEST_F(ControllerStateMachine, TemporaryStatesRunOneAfterTheOtherInTheOrderAdded) {
    controller->AddTemporaryState("Taunted", Against(0x300));
    controller->AddTemporaryState("Startled", Against(0x400));
    EXPECT_EQ(controller->journal, (Journal{"Idle:end", "Taunted:begin"}));
    EXPECT_EQ(controller->GetCurrentEnemy(), 0x300u);
    controller->journal.clear();

    // Once the first is done, the data is the second's even before the frame switches.
    taunted->SetDone(true);
    EXPECT_EQ(controller->GetCurrentEnemy(), 0x400u);
    hero->PreAnimationUpdate(16);
    EXPECT_EQ(controller->journal, (Journal{"Taunted:end", "Startled:begin", "Startled:update"}));
    controller->journal.clear();

    startled->SetDone(true);
    hero->PreAnimationUpdate(16);
    EXPECT_EQ(controller->journal, (Journal{"Startled:end", "Idle:begin", "Idle:update"}));

    // Clearing drops the queue without ending anything.
    controller->AddTemporaryState("Taunted", Against(0x300));
    controller->AddTemporaryState("Startled", Against(0x400));
    controller->journal.clear();
    controller->ClearTemporaryStates();
    hero->PreAnimationUpdate(16);
    EXPECT_EQ(controller->journal, (Journal{"Idle:update"}));
}

// On the sample level, where slots can be taken.
class ControllerSlots : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        meadow = World::Get().GetRegion("Meadow");
        hero = Place(45, 25);
        controller = Singleton<ObjectManager>::Get().CreateObject<ProbeController>();
        controller->AttachParent(hero->GetObjectId());
        hero->SetControllerId(controller->GetObjectId());
        controller->AddProbeState("Pursue");
        controller->AddProbeState("Flee");
    }
    void TearDown() override { ShutdownObjects(); }
    Character* Place(float x, float z) {
        WorldVec3 p(meadow, Vec3(x, 5, z));
        p.PutOnFloor();
        return PlaceCharacter("Records/AI/Foe.dbr", Team::Monster, meadow, p.local);
    }
    bool Holds(SlotManager& slots) const {
        for (std::size_t i = 0; i < slots.GetNumSlots(); ++i)
            if (slots.GetOccupant(i) == hero->GetObjectId())
                return true;
        return false;
    }
    void Take(SlotManager& slots) {
        slots.SetNumSlots(4);
        WorldVec3 where;
        slots.RequestSlot(where, hero->GetObjectId(), 2.0f, true);
        ASSERT_TRUE(Holds(slots));
    }

    AiDataRoot data;
    TestMachine tm{data.Root()};
    Region* meadow = nullptr;
    Character* hero = nullptr;
    ProbeController* controller = nullptr;
};

TEST_F(ControllerSlots, SlotsAreFreedOnlyWhenTheEnemyChanges) {
    Character* enemy = Place(49, 25);
    Character* ally = Place(41, 25);
    Character* otherAlly = Place(45, 29);
    const std::uint32_t e = enemy->GetObjectId(), a = ally->GetObjectId(),
                        b = otherAlly->GetObjectId();
    controller->SetState("Pursue", ControllerAIStateData({.enemy = e, .ally = a}));
    Take(enemy->GetAttackSlots());
    Take(ally->GetDefenseSlots());

    // Same enemy, another ally: both slots stay.
    controller->SetState("Flee", ControllerAIStateData({.enemy = e, .ally = b}));
    EXPECT_TRUE(Holds(enemy->GetAttackSlots()));
    EXPECT_TRUE(Holds(ally->GetDefenseSlots()));

    // Another enemy: the old enemy's attack slot and the current ally's defense slot go.
    Take(otherAlly->GetDefenseSlots());
    controller->SetState("Pursue", ControllerAIStateData());
    EXPECT_FALSE(Holds(enemy->GetAttackSlots()));
    EXPECT_FALSE(Holds(otherAlly->GetDefenseSlots()));
    EXPECT_TRUE(Holds(ally->GetDefenseSlots()));
}

TEST_F(ControllerStateMachine, DefaultDeathAndStunResponsesClearTheQueueAndSwitch) {
    controller->AddProbeState("Dying");
    controller->AddProbeState("Stunned");
    controller->AddTemporaryState("Taunted", Against(0x300));
    controller->journal.clear();
    // A probe state keeps the defaults of the base: stun clears the queue, stores the time.
    controller->StunMe(1500.7f);
    EXPECT_EQ(controller->GetStunTime(), 1500);
    EXPECT_EQ(controller->GetActiveTemporaryStateCount(), 0u);
    EXPECT_EQ(Executing(), "Stunned");
    EXPECT_EQ(controller->journal, (Journal{"Idle:end", "Stunned:begin"}));
    controller->journal.clear();
    controller->CharacterIsDying();
    EXPECT_EQ(controller->journal, (Journal{"Stunned:end", "Dying:begin"}));
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

// The controllers of one class share one table of state names; each keeps only its own states.
TEST_F(ControllerStateMachine, ControllersOfOneClassKeepTheirOwnStatesUnderSharedNames) {
    auto* other = Singleton<ObjectManager>::Get().CreateObject<ProbeController>();
    other->AttachParent(hero->GetObjectId());
    other->AddProbeState("RepositionForAttack");  // longer than a string keeps in place
    other->AddProbeState("Idle");
    const struct {
        ProbeController* controller;
        AIStateKey name;
        bool found;
        const char* journal;
    } cases[] = {
        {other, "RepositionForAttack", true, "RepositionForAttack:begin"},
        {other, "Idle", true, "Idle:begin"},
        {other, "Pursue", false, nullptr},  // the class knows it, this controller has none
        {controller, "RepositionForAttack", false, nullptr},
        {controller, "Flee", true, "Flee:begin"},
    };
    for (const auto& c : cases) {
        c.controller->journal.clear();
        tm.ClearLog();
        c.controller->SetState(c.name, Against(0x200));
        EXPECT_EQ(tm.CountLog("is trying to be set, but not found"), c.found ? 0 : 1)
            << c.name.GetName();
        if (c.found) {
            EXPECT_EQ(c.controller->journal.back(), c.journal) << c.name.GetName();
            EXPECT_EQ(c.controller->GetExecutingStateName(), c.name.GetName());
        }
    }
    // A state registered again replaces the first under the same name.
    other->SetState("RepositionForAttack", Against(0x300));
    ProbeState* again = other->AddProbeState("Idle");
    other->SetState("Idle", Against(0x300));
    again->onUpdate = [&] { other->journal.push_back("replacement"); };
    other->journal.clear();
    hero->SetControllerId(other->GetObjectId());
    hero->PreAnimationUpdate(16);
    EXPECT_EQ(other->journal, (Journal{"Idle:update", "replacement"}));
}

}  // namespace
}  // namespace GAME::test
