// The telekinesis attack on one machine: polling its availability draws nothing, it needs a
// loose throwable near its user, and it carries the object it claims through its states until
// the throw, letting everything go when the object disappears.
#include <gtest/gtest.h>

#include <memory>

#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/spell/Skill_AttackTelekinesis.h"
#include "Game/world/projectiles/ProjectileTelekinesis.h"
#include "skills/SkillTestSupport.h"

namespace GAME::test {
namespace telekinesis {

const std::pair<const char*, const char*> kRecords[] = {
    {"Records/Telekine/Boulder.dbr", R"({"Class": "ProjectileTelekinesis"})"},
    {"Records/Telekine/Beam.dbr", R"({"Class": "ChaosBeam"})"},
    {"Records/Telekine/Hand.dbr", R"({"Class": "Puppet"})"},
    {"Records/Telekine/Hurl.dbr", R"({"Class": "Skill_AttackTelekinesis", "skillMaxLevel": 1,
        "headVelocity": 10.0, "liftSpeed": 20.0, "moveOverHeadVelocity": 30.0,
        "chaosBeamName": "Records/Telekine/Beam.dbr", "puppetName": "Records/Telekine/Hand.dbr"})"},
};

class Telekinesis : public ::testing::Test {
protected:
    Telekinesis() {
        for (const auto& [name, text] : kRecords)
            EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
        InitializeObjects();
        region = World::Get().AddRegion(
            std::make_unique<Region>("Hall", Vec3(0, 0, 0), Vec3(100, 50, 100)));
        caster = Objects().CreateObject<Character>();
        World::Get().AddEntity(caster, At(50, 50), true);
        caster->InitialUpdate();
        manager.SetParent(caster);
        hurl = Objects().CreateObjectFromFile<Skill_AttackTelekinesis>("Records/Telekine/Hurl.dbr");
        hurl->SetManager(&manager);
        hurl->SetSkillLevel(1);
    }
    ~Telekinesis() override { ShutdownObjects(); }

    static ObjectManager& Objects() { return Singleton<ObjectManager>::Get(); }
    WorldCoords At(float x, float z) const {
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z)));
    }
    ProjectileTelekinesis* Boulder(float x, float z) {
        auto* boulder =
            Objects().CreateObjectFromFile<ProjectileTelekinesis>("Records/Telekine/Boulder.dbr");
        World::Get().AddEntity(boulder, At(x, z), true);
        return boulder;
    }
    void Claim(std::uint32_t seed) {
        hurl->StartAction(*caster, 0, WorldVec3(), seed);
        hurl->SwipeAction(*caster, Name(), 0, WorldVec3());
    }

    TestMachine tm;
    RecordingSkillManager manager;
    Region* region = nullptr;
    Character* caster = nullptr;
    Skill_AttackTelekinesis* hurl = nullptr;
};

TEST_F(Telekinesis, PollingDrawsNothingAndNeedsALooseThrowableWithinTwelve) {
    Boulder(63, 50);
    EXPECT_FALSE(hurl->SetAvailability(true, true));
    EXPECT_EQ(hurl->GetReason(), SkillReason::NothingAround);
    EXPECT_TRUE(hurl->IsTelkineFinished());

    Boulder(58, 50);
    Boulder(50, 41);
    // The base test's costs draw from the root as every skill's do; the search for a throwable
    // adds no draw of its own, so a thousand polls leave the root where a plain spell's do.
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Telekine/Plain.dbr", R"({"Class": "Skill_AttackSpell", "skillMaxLevel": 1})"));
    auto* plain = Objects().CreateObjectFromFile<Skill>("Records/Telekine/Plain.dbr");
    plain->SetManager(&manager);
    plain->SetSkillLevel(1);
    RandomUniformLocked& root = gGameEngine->GetRandomGen();
    const auto rootAfterPolls = [&](Skill& skill) {
        root.Seed(77);
        for (int i = 0; i < 1000; ++i)
            EXPECT_TRUE(skill.SetAvailability(true, true));
        return root.IGenerate(0, 1000000);
    };
    EXPECT_EQ(rootAfterPolls(*hurl), rootAfterPolls(*plain));
}

TEST_F(Telekinesis, TheUsesSeedPicksTheSameObjectAndTheSequenceRunsToTheThrow) {
    for (const auto& [x, z] : {std::pair{58.0f, 50.0f}, {50.0f, 41.0f}, {44.0f, 50.0f}})
        Boulder(x, z);
    Claim(9);
    const std::uint32_t first = hurl->GetCarriedId();
    ASSERT_NE(first, 0u);
    hurl->ReleaseObject();
    EXPECT_EQ(Objects().GetObject<ProjectileTelekinesis>(first)->IsInUse(), false);
    Claim(9);
    EXPECT_EQ(hurl->GetCarriedId(), first) << "same seed, same pick";
    EXPECT_EQ(hurl->GetState(), Skill_AttackTelekinesis::BeamReaching);
    EXPECT_TRUE(hurl->SetAvailability(true, true)) << "carrying needs no other test";

    std::vector<int> states;
    for (int i = 0; i < 60 && hurl->GetState() != Skill_AttackTelekinesis::Wobbling; ++i) {
        EXPECT_FALSE(hurl->EndAction(*caster));
        hurl->Update(*caster, 50);
        if (states.empty() || states.back() != hurl->GetState())
            states.push_back(hurl->GetState());
    }
    EXPECT_EQ(states.front(), Skill_AttackTelekinesis::BeamReaching);
    EXPECT_EQ(states.back(), Skill_AttackTelekinesis::Wobbling);
    hurl->ActivateNow(*caster, Name(), 0, At(50, 70).GetPosition());
    EXPECT_EQ(hurl->GetCarriedId(), 0u);
    EXPECT_EQ(Objects().GetObject<ProjectileTelekinesis>(first)->GetState(),
              ProjectileTelekinesis::Thrown);
    EXPECT_TRUE(hurl->EndAction(*caster));
    hurl->Update(*caster, 50);
    EXPECT_TRUE(hurl->IsTelkineFinished());
}

TEST_F(Telekinesis, AnObjectDestroyedMidLiftEndsTheSequenceWithEverythingReleased) {
    Boulder(58, 50);
    Claim(3);
    while (hurl->GetState() != Skill_AttackTelekinesis::Lifting)
        hurl->Update(*caster, 10);
    Objects().DestroyObject(Objects().GetObject(hurl->GetCarriedId()));
    hurl->Update(*caster, 10);
    EXPECT_TRUE(hurl->IsTelkineFinished());
    EXPECT_EQ(hurl->GetCarriedId(), 0u);
    EXPECT_TRUE(hurl->EndAction(*caster));
}

}  // namespace telekinesis
}  // namespace GAME::test
