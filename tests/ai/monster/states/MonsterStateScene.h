#pragma once
// A monster in the sample meadow, driven by the real monster states, with a foe and a leader to
// stand around it. Its controller kind can put a marker under any state name, so that a test sees
// a transition land without the target state running on, and can force the skill choice.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/ControllerAIStateT.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/SkillActivated.h"
#include "support/TestMachine.h"

namespace GAME::test {

// Stands in for a state: counts its beginnings and does nothing else.
class MarkerState : public ControllerAIStateT<ControllerMonster, Monster> {
public:
    using ControllerAIStateT::ControllerAIStateT;
    void OnBegin() override { ++begun; }
    void OnEnd() override {}
    void OnUpdate(int) override {}
    int begun = 0;
};

// A skill that counts the activations that reach it.
class ActivationWitnessSkill : public SkillActivated {
    RTTI_DECLARE(ActivationWitnessSkill)
public:
    void ActivateNow(Character&, const Name& event, std::uint32_t, const WorldVec3&) override {
        activations.push_back(event.str());
    }
    std::vector<std::string> activations;
};

class StateSceneController : public ControllerMonster {
    RTTI_DECLARE(StateSceneController)
public:
    // Replaces the state registered under the name; never the state that runs.
    MarkerState* Mark(const std::string& name) {
        auto marker = std::make_unique<MarkerState>(this);
        MarkerState* raw = marker.get();
        AddState(name, std::move(marker));
        return raw;
    }
    void RegisterStates() override {
        ControllerMonster::RegisterStates();
        if (!mark.empty())
            marker = Mark(mark);
    }
    std::uint32_t ChooseBestSkillOverride(std::uint32_t, bool) override { return forcedSkill; }
    // The patrol route, as the level's instance groups would give it.
    void SetPatrolRoute(std::vector<UniqueId> points) {
        const_cast<std::vector<UniqueId>&>(GetPatrolPoints()) = std::move(points);
    }

    std::uint32_t forcedSkill = 0;
    // The state name marked when the states are registered, and its marker.
    std::string mark;
    MarkerState* marker = nullptr;
};

class MonsterStateScene : public ::testing::Test {
protected:
    MonsterStateScene();
    ~MonsterStateScene() override;

    void SetUp() override;
    void TearDown() override;

    // A point of the meadow's floor.
    WorldVec3 At(float x, float z) const;
    // A point of the cave, which no path from the meadow reaches.
    WorldVec3 InCave() const;
    // The monster of the record standing at (x, z), its spawn point there, in "Idle"; the
    // state named `mark` is a marker.
    Monster* SpawnMonster(float x, float z, const char* record = "Records/AI/Walker.dbr",
                          const char* mark = "");
    // A character of the players' team standing at (x, z).
    Character* SpawnFoe(float x, float z);
    StateSceneController& Ctl(const Monster* monster) const;
    // Makes the monster follow a leader monster standing at (x, z).
    Monster* GiveLeader(Monster* monster, float x, float z);
    // Seeds the machine's generator so that its next draw mod 100 is below (or not) `bound`.
    static void SeedNextRoll(int bound, bool below);

    void Begin(const AIStateKey& state, std::uint32_t enemy = 0, std::uint32_t ally = 0,
               std::uint32_t skill = 0) {
        Ctl(monster).SetState(
            state, ControllerAIStateData({.enemy = enemy, .ally = ally, .skill = skill}));
    }
    ControllerAIState& State() const { return *Ctl(monster).GetExecutingState(); }
    std::string StateName() const {
        const char* name = Ctl(monster).GetExecutingStateName();
        return name ? name : "";
    }
    static void Kill(Character* character) { character->SetLifeState(Character_LifeState::Dead); }

    std::filesystem::path root;
    std::unique_ptr<TestMachine> tm;
    Region* meadow = nullptr;
    Monster* monster = nullptr;
};

}  // namespace GAME::test
