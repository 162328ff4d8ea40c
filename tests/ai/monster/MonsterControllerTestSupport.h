#pragma once
// A monster controller kind for tests: its "Idle" state answers the searches as the test says and
// notes what the controller tells it; and a fixture that places the controlled character and its
// foes in the AI tests' data (with the behaviour records written by the test).
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/ControllerAIStateT.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/core/GameEngine.h"
#include "ai/AiTestSupport.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {

class NotingMonsterState : public ControllerAIStateT<ControllerMonster, Character> {
public:
    using ControllerAIStateT::ControllerAIStateT;
    void OnBegin() override {}
    void OnEnd() override {}
    void OnUpdate(int) override {}

    bool ShouldFindEnemy() override {
        ++findEnemyQuestions;
        return findEnemy;
    }
    bool ShouldFindClosestEnemy() override { return findClosestEnemy; }
    void EnemyFound(std::uint32_t id) override { found.push_back(id); }
    void ClosestEnemyFound(std::uint32_t id, float distance) override {
        closest.emplace_back(id, distance);
    }
    void Attacked(std::uint32_t id) override { attackedBy.push_back(id); }
    void AllyAttacked(std::uint32_t ally, std::uint32_t attacker) override {
        allyAttacks.emplace_back(ally, attacker);
        attackerValid.push_back(GetController()->IsEnemyValid(attacker));
    }
    bool RespondsToFear() override { return true; }
    bool CloseEnoughToUseSkill(std::uint32_t, std::uint32_t skillId) override {
        return closeEnoughFor.contains(skillId);
    }

    bool findEnemy = true;
    bool findClosestEnemy = true;
    int findEnemyQuestions = 0;
    std::set<std::uint32_t> closeEnoughFor;
    std::vector<std::uint32_t> found;
    std::vector<std::pair<std::uint32_t, float>> closest;
    std::vector<std::uint32_t> attackedBy;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> allyAttacks;
    // Whether the controller held each attacker a valid enemy while its call was answered.
    std::vector<bool> attackerValid;
};

class NotingMonsterController : public ControllerMonster {
    RTTI_DECLARE(NotingMonsterController)
public:
    void RegisterStates() override {
        ControllerMonster::RegisterStates();
        auto state = std::make_unique<NotingMonsterState>(this);
        idle = state.get();
        AddState("Idle", std::move(state));
    }
    bool ShouldAlwaysLookForClosestEnemy() override { return alwaysLookForClosest; }
    float ProcessAngerTarget(Character* character, int ms) override {
        return mSightAngerIsDefault ? ControllerMonster::ProcessAngerTarget(character, ms)
                                    : replacedSightAnger;
    }
    // Makes this a kind whose sight anger is its own: `anger` for any foe.
    void ReplaceSightAnger(float anger) {
        replacedSightAnger = anger;
        mSightAngerIsDefault = false;
    }

    NotingMonsterState* idle = nullptr;
    float replacedSightAnger = 0.0f;
    bool alwaysLookForClosest = false;
};

// The controlled character ("me", on the monsters' team) at x = 10 of a flat field, its
// controller loaded from a behaviour record given as text and started in "Idle".
class MonsterControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        region = World::Get().AddRegion(std::make_unique<Region>("F", Vec3(), Vec3(200, 50, 200)));
        me = Place("Records/AI/Foe.dbr", Team::Monster, 10);
        test::SetLife(*me, 100.0f, 100.0f);
    }
    void TearDown() override { ShutdownObjects(); }

    // Writes the record and makes the controller of `me` from it.
    void MakeController(const std::string& behaviour) {
        const std::string name = "Records/AI/Behaviour" + std::to_string(records++) + ".dbr";
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, behaviour));
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        controller = objects.CreateObject<NotingMonsterController>();
        controller->Load(objects.GetLoadTable(name));
        controller->AttachParent(me->GetObjectId());
        me->SetControllerId(controller->GetObjectId());
        controller->Update(0);  // registers the states
        controller->SetState("Idle", ControllerAIStateData());
    }
    Character* Place(const char* record, unsigned major, float x) {
        return PlaceCharacter(record, major, region, Vec3(x, 0, 10));
    }
    float AngerOf(const Character* c) const {
        return controller->GetAngerManager().GetAnger(c->GetObjectId());
    }
    NotingMonsterState& Idle() const { return *controller->idle; }

    AiDataRoot data;
    TestMachine tm{data.Root()};
    Region* region = nullptr;
    Character* me = nullptr;
    NotingMonsterController* controller = nullptr;
    int records = 0;
};

}  // namespace GAME::test
