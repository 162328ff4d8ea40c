// The boss skills on the deciding machine: the chain laser finds the bound Typhon's chains and
// its beams run their course before the sickle goes; the transfer strikes a statue; the spirit
// bursts travel to their statues.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/monster/Ormenos.h"
#include "Game/characters/monster/TyphonChained.h"
#include "Game/skills/boss/BossBeams.h"
#include "Game/skills/boss/Skill_OrmenosChainLaser.h"
#include "Game/skills/boss/Skill_SpawnMegalesiosSpirit.h"
#include "Game/skills/boss/Skill_TyphonSkillTransfer.h"
#include "skills/SkillTestSupport.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {
namespace bossskills {

struct SentResult {
    std::uint32_t skill;
    std::vector<std::uint32_t> targets;
};

class ResultServices : public RecordingSkillServices {
public:
    void SendTargetResult(std::uint32_t skill, const std::vector<std::uint32_t>& targets,
                          const WorldCoords&, std::uint32_t, std::uint32_t, bool) override {
        sent.push_back({skill, targets});
    }
    std::vector<SentResult> sent;
};

class ResultManager : public RecordingSkillManager {
public:
    ResultManager() { ControlWith(results); }
    ResultServices results;
};

class BossSkills : public ::testing::Test {
protected:
    BossSkills() {
        RecordDatabase& records = Singleton<RecordDatabase>::Get();
        EXPECT_TRUE(
            records.AddRecordText("Records/Boss/Beam.dbr", R"({"Class": "ChainLaserBeam"})"));
        EXPECT_TRUE(records.AddRecordText(
            "Records/Boss/Laser.dbr",
            R"({"Class": "Skill_OrmenosChainLaser", "chainLaserBeam": "Records/Boss/Beam.dbr"})"));
        EXPECT_TRUE(records.AddRecordText(
            "Records/Boss/FastLaser.dbr",
            R"({"Class": "Skill_OrmenosChainLaser", "chainLaserBeam": "Records/Boss/Beam.dbr",
                "beamVelocity": 2.0})"));
        EXPECT_TRUE(
            records.AddRecordText("Records/Boss/Burst.dbr", R"({"Class": "EffectEntity"})"));
        EXPECT_TRUE(records.AddRecordText(
            "Records/Boss/Spirits.dbr",
            R"({"Class": "Skill_SpawnMegalesiosSpirit", "burstName": "Records/Boss/Burst.dbr",
                "burstVelocity": 10.0})"));
        InitializeObjects();
        region = World::Get().AddRegion(
            std::make_unique<Region>("Summit", Vec3(0, 0, 0), Vec3(200, 50, 200)));
        ormenos = Place<Ormenos>(50, 50);
        manager.SetParent(ormenos);
    }
    ~BossSkills() override { ShutdownObjects(); }

    static ObjectManager& Objects() { return Singleton<ObjectManager>::Get(); }
    template <class T>
    T* Place(float x, float z) {
        T* thing = Objects().CreateObject<T>();
        World::Get().AddEntity(thing, WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z))), true);
        return thing;
    }
    template <class T>
    T* Make(const char* record) {
        auto* skill = Objects().CreateObjectFromFile<T>(record);
        EXPECT_NE(skill, nullptr);
        if (skill)
            skill->SetManager(&manager);
        return skill;
    }
    // A bound Typhon at (x, 50) wearing `count` chains; their ids.
    std::vector<std::uint32_t> Bound(float x, int count) {
        auto* chained = Place<TyphonChained>(x, 50);
        std::vector<std::uint32_t> ids;
        for (int i = 0; i < count; ++i) {
            auto* chains = Objects().CreateObject<TyphonChains>();
            chained->Attach(chains, Coords(), "");
            ids.push_back(chains->GetObjectId());
        }
        return ids;
    }

    TestMachine tm;
    ResultManager manager;
    Region* region = nullptr;
    Ormenos* ormenos = nullptr;
};

TEST_F(BossSkills, TheLaserAimsOnlyAtTheChainsOfABoundTyphonWithinTwenty) {
    auto* laser = Make<Skill_OrmenosChainLaser>("Records/Boss/Laser.dbr");
    Bound(75, 3);  // 25 away
    laser->ActivateNow(*ormenos, Name(), 0, WorldVec3());
    EXPECT_TRUE(manager.results.sent.empty());
    EXPECT_FALSE(laser->GetBeam(0)->IsInWorld());

    const std::vector<std::uint32_t> chains = Bound(60, 3);
    laser->ActivateNow(*ormenos, Name(), 0, WorldVec3());
    ASSERT_EQ(manager.results.sent.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(manager.results.sent[i].targets, std::vector<std::uint32_t>{chains[i]});
}

TEST_F(BossSkills, BeamsGrowThenRetractAtTheirVelocityAndTheSickleGoesWhenAllAreDone) {
    struct Case {
        const char* record;
        int growMs;  // half the beam's life
    };
    for (const Case& c :
         {Case{"Records/Boss/Laser.dbr", 1000}, Case{"Records/Boss/FastLaser.dbr", 500}}) {
        SCOPED_TRACE(c.record);
        auto* laser = Make<Skill_OrmenosChainLaser>(c.record);
        const std::vector<std::uint32_t> chains = Bound(55, 1);
        laser->ActivateNow(*ormenos, Name(), 0, WorldVec3());
        laser->TargetResult(*ormenos, chains, ormenos->GetCoords(), 0, 0, false);
        ChainLaserBeam* beam = laser->GetBeam(2);
        ASSERT_NE(beam, nullptr);
        EXPECT_TRUE(beam->IsInWorld());
        EXPECT_FLOAT_EQ(beam->GetTopPercent(), 0.0f);
        EXPECT_TRUE(laser->IsSicklePending());

        laser->Update(*ormenos, c.growMs / 2);
        EXPECT_FLOAT_EQ(beam->GetTopPercent(), 0.5f);
        EXPECT_FLOAT_EQ(beam->GetBottomPercent(), 0.0f);
        laser->Update(*ormenos, c.growMs);
        EXPECT_FLOAT_EQ(beam->GetTopPercent(), 1.0f);
        EXPECT_FLOAT_EQ(beam->GetBottomPercent(), 0.5f);
        EXPECT_FALSE(laser->IsBeamFinished(2));
        laser->Update(*ormenos, c.growMs);
        EXPECT_FLOAT_EQ(beam->GetTopPercent(), 0.0f);
        EXPECT_TRUE(laser->IsBeamFinished(0) && laser->IsBeamFinished(1) &&
                    laser->IsBeamFinished(2));
        EXPECT_FALSE(laser->IsSicklePending());
        EXPECT_TRUE(ormenos->IsSickleGone());
    }
}

TEST_F(BossSkills, ChainsThatVanishMidFlightHideEveryBeamAndTheSickleGoesAtOnce) {
    auto* laser = Make<Skill_OrmenosChainLaser>("Records/Boss/Laser.dbr");
    const std::vector<std::uint32_t> chains = Bound(55, 1);
    laser->ActivateNow(*ormenos, Name(), 0, WorldVec3());
    laser->TargetResult(*ormenos, chains, ormenos->GetCoords(), 0, 0, false);
    laser->Update(*ormenos, 300);
    EXPECT_FALSE(ormenos->IsSickleGone());
    Objects().DestroyObjectEx(Objects().GetObject(chains[0]), __FILE__, __LINE__);
    laser->Update(*ormenos, 1);
    for (std::size_t i = 0; i < Skill_OrmenosChainLaser::kBeamCount; ++i) {
        EXPECT_TRUE(laser->IsBeamFinished(i));
        EXPECT_FLOAT_EQ(laser->GetBeam(i)->GetTopPercent(), 0.0f);
    }
    EXPECT_TRUE(ormenos->IsSickleGone());
}

TEST_F(BossSkills, BurstsReachTheirStatueAndABurstWhoseStatueDiedLeavesTheWorld) {
    auto* spirits = Make<Skill_SpawnMegalesiosSpirit>("Records/Boss/Spirits.dbr");
    auto* near = Place<Monster>(60, 50);
    auto* doomed = Place<Monster>(50, 90);
    SetLife(*near, 10.0f, 10.0f);
    near->SetLifeState(Character_LifeState::Alive);
    doomed->SetLifeState(Character_LifeState::Alive);
    SetLife(*doomed, 10.0f, 10.0f);
    spirits->TargetResult(*ormenos, {near->GetObjectId(), doomed->GetObjectId(), 12345},
                          ormenos->GetCoords(), 0, 0, false);
    ASSERT_EQ(spirits->GetBursts().size(), 2u) << "an id that names no monster makes no burst";
    const std::uint32_t doomedEffect = spirits->GetBursts()[1].effectId;
    auto* effect = Objects().GetObject<EffectEntity>(doomedEffect);
    ASSERT_NE(effect, nullptr);
    EXPECT_TRUE(effect->IsInWorld());

    // 10 m a second: the near burst, 10 m off, is on its way.
    spirits->Update(*ormenos, 300);
    ASSERT_EQ(spirits->GetBursts().size(), 2u);
    EXPECT_GT(spirits->GetBursts()[0].position.local.x, 52.0f);
    SetLife(*doomed, 0.0f, 10.0f);
    doomed->SetLifeState(Character_LifeState::Dead);
    spirits->Update(*ormenos, 600);
    ASSERT_EQ(spirits->GetBursts().size(), 1u);
    EXPECT_EQ(Objects().GetObject(doomedEffect), nullptr);
    EXPECT_EQ(spirits->GetBursts()[0].targetId, near->GetObjectId());
    spirits->Update(*ormenos, 200);
    EXPECT_TRUE(spirits->GetBursts().empty()) << "the near burst arrived";
}

}  // namespace bossskills
}  // namespace GAME::test
