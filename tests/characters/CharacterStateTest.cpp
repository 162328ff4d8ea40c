#include <gtest/gtest.h>

#include <vector>

#include "CharacterTestSupport.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Game/characters/CharacterEvents.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using LS = Character_LifeState;
using AS = Character_ActionState;

// Records the creature events in arrival order.
class CreatureEvents : public EventHandlerInterface {
public:
    CreatureEvents() {
        for (const char* name : {"CreatureSpawn", "CreatureInitialUpdate", "CreatureDeath"})
            Singleton<EventManager>::Get().Register(GameEventName(name), this);
    }
    ~CreatureEvents() override {
        for (const char* name : {"CreatureSpawn", "CreatureInitialUpdate", "CreatureDeath"})
            Singleton<EventManager>::Get().UnRegister(GameEventName(name), this);
    }
    void HandleEvent(const GameEvent* payload) override {
        if (const auto* spawn = dynamic_cast<const GameEvent_CreatureSpawn*>(payload))
            log.push_back("spawn " + spawn->objectName + (spawn->isPlayer ? " player" : ""));
        else if (const auto* initial =
                     dynamic_cast<const GameEvent_CreatureInitialUpdate*>(payload))
            log.push_back("initial " + std::to_string(initial->objectId));
        else if (const auto* death = dynamic_cast<const GameEvent_CreatureDeath*>(payload))
            log.push_back("death " + std::to_string(death->attackerId));
    }
    std::vector<std::string> log;
};

TEST(CharacterLoad, ReadsGenderSizeVisibilityAndSendsSpawnEvents) {
    TestMachine tm;
    CreatureEvents events;
    Character* hero = MakeCharacter("Records/Characters/Hero.dbr");
    Character* brute = MakeCharacter("Records/Characters/Brute.dbr");
    ASSERT_NE(hero, nullptr);
    ASSERT_NE(brute, nullptr);
    EXPECT_EQ(hero->GetGender(), static_cast<int>(Character_Gender::Female));
    EXPECT_EQ(brute->GetGender(), 0);  // "male" is not "Male"
    EXPECT_EQ(hero->GetEffectIndex(), 0u);
    EXPECT_EQ(brute->GetEffectIndex(), 2u);
    EXPECT_FALSE(hero->IsVisible());
    EXPECT_TRUE(hero->IsHiding());
    EXPECT_TRUE(brute->IsVisible());
    EXPECT_FALSE(brute->IsHiding());
    EXPECT_EQ(hero->GetRace(), std::vector<std::string>{"Human"});
    EXPECT_TRUE(brute->IsInvincible());
    EXPECT_EQ(hero->GetLifeState(), LS::Alive);
    EXPECT_EQ(hero->GetActionState(), AS::Unknown);
    ASSERT_EQ(events.log.size(), 4u);
    EXPECT_EQ(events.log[0], "spawn Records/Characters/Hero.dbr");
    EXPECT_EQ(events.log[1], "initial " + std::to_string(hero->GetObjectId()));
}

TEST(CharacterStates, TextsAndQueries) {
    EXPECT_STREQ(Character::GetActionStateAsText(AS::PlayAnimation), "Illegal");
    EXPECT_STREQ(Character::GetActionStateAsText(static_cast<AS>(15)), "Illegal");
    EXPECT_STREQ(Character::GetActionStateAsText(AS::ForcedStop), "Action State: Forced Stop");
    EXPECT_STREQ(GetLifeStateText(LS::Respawning), "Life: Respawning");
    EXPECT_STREQ(GetLifeStateText(static_cast<LS>(6)), "Life: Illegal");

    TestMachine tm;
    Character* brute = MakeCharacter("Records/Characters/Brute.dbr");
    ASSERT_NE(brute, nullptr);
    EXPECT_TRUE(brute->IsAlive());
    brute->SetObserverMode(true);
    EXPECT_FALSE(brute->IsAlive());
    brute->SetObserverMode(false);
    brute->SetObserverCheatMode(true);
    EXPECT_TRUE(brute->IsHiding());
}

TEST(CharacterStates, StunImmobilizeAndTrapTransitions) {
    TestMachine tm;
    Character* brute = MakeCharacter("Records/Characters/Brute.dbr");
    ASSERT_NE(brute, nullptr);
    brute->ExecuteStun();
    brute->ExecuteStun();
    EXPECT_EQ(brute->GetActionState(), AS::Stun);
    // The second stun starts nothing.
    EXPECT_EQ(tm.CountLog("Failed to start stun animation."), 1);
    brute->ReleaseImmobilize();
    EXPECT_EQ(brute->GetActionState(), AS::Stun);
    brute->ReleaseStun();
    EXPECT_EQ(brute->GetActionState(), AS::ForcedStop);

    brute->ExecuteImmobilize();
    EXPECT_TRUE(brute->IsImmobilized());
    brute->ReleaseImmobilize();
    EXPECT_EQ(brute->GetActionState(), AS::ForcedStop);

    brute->ExecuteTrap();
    EXPECT_TRUE(brute->IsTrapped());
    brute->ReleaseTrap();
    EXPECT_FALSE(brute->IsTrapped());
    EXPECT_EQ(brute->GetActionState(), AS::Trap);
}

TEST(CharacterStates, DeathRespawnAndDistressCalls) {
    TestMachine tm;
    CreatureEvents events;
    Character* hero = MakeCharacter("Records/Characters/Hero.dbr");
    ASSERT_NE(hero, nullptr);
    events.log.clear();
    RunFrame(*hero, 10);

    EXPECT_TRUE(hero->ShouldUseDistressCall());
    hero->UnderAttack(77);
    EXPECT_EQ(hero->GetDistressCallsLeft(), 0);
    EXPECT_FALSE(hero->ShouldUseDistressCall());
    hero->UnderAttack(77);
    EXPECT_EQ(hero->GetDistressCallsLeft(), 0);

    hero->SubtractLife(150.0f, {});
    hero->SetLifeState(LS::Dying);
    hero->SetActionState(AS::Dying);
    hero->ImDying();
    ASSERT_GE(events.log.size(), 1u);
    EXPECT_EQ(events.log[0], "death 0");
    EXPECT_FALSE(hero->IsAlive());
    // The dying effect stands where the character fell.
    const std::size_t before = Singleton<ObjectManager>::Get().GetObjectCount();
    hero->ImDying();
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObjectCount(), before + 1);
    EXPECT_FALSE(PhysicsEngine::Get().IsRemovedFromSimulation(hero->GetObjectId()));
    hero->ImDead();
    EXPECT_TRUE(PhysicsEngine::Get().IsRemovedFromSimulation(hero->GetObjectId()));
    hero->SetLifeState(LS::Dead);
    EXPECT_STREQ(hero->GetLifeStateAsText(), "Life: Dead");
    // A corpse without a controller asking for it neither regenerates nor heals.
    const float life = hero->GetCurrentLife();
    for (int i = 0; i < 5; ++i)
        RunFrame(*hero, 200);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), life);
    EXPECT_EQ(hero->GetPlayStats().GetPlayTimeInSeconds(), 1u);

    hero->ExecuteTrap();
    WorldCoords there;
    there.coords.origin = Vec3{4.0f, 0.0f, 2.0f};
    hero->StartRespawn(there);
    EXPECT_EQ(hero->GetLifeState(), LS::Respawning);
    EXPECT_FALSE(hero->IsTrapped());
    EXPECT_FLOAT_EQ(hero->GetPosition().local.x, 4.0f);
    hero->StopRespawn();
    EXPECT_EQ(hero->GetLifeState(), LS::Alive);
    RunFrame(*hero, 10);
    EXPECT_FLOAT_EQ(hero->GetCurrentLife(), hero->GetLifeLimit());
}

TEST(CharacterStates, RestoringADeadCharacterHidesIt) {
    TestMachine tm;
    Character* brute = MakeCharacter("Records/Characters/Brute.dbr");
    ASSERT_NE(brute, nullptr);
    brute->SetInitialStateInfo(AS::Attack, WorldVec3{}, 0, 0);
    brute->RestoreLifeState();
    EXPECT_TRUE(brute->IsVisible());
    EXPECT_FALSE(brute->IsCreateAttachementsDisabled());
    brute->SetLifeState(LS::Dead);
    brute->RestoreLifeState();
    EXPECT_FALSE(brute->IsVisible());
    EXPECT_TRUE(brute->IsCreateAttachementsDisabled());
}

}  // namespace
}  // namespace GAME::test
