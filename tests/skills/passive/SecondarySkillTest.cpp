// Secondary skills on one machine: what the controlling machine decides (chains, pulses) and
// what every machine does with it (bonuses, buffs, the ignored second chain), and that a base
// skill's landing runs its secondary skills.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/secondary/SkillSecondary.h"
#include "Game/skills/secondary/SkillSecondary_BuffRadius.h"
#include "Game/skills/secondary/SkillSecondary_Chain.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/RecordingUI.h"

namespace GAME::test {
namespace secondary_skills {

constexpr std::uint32_t kCaster = 0x0F000100;
constexpr std::uint32_t kOthers[] = {0x0F000001, 0x0F000002, 0x0F000003};

const std::pair<const char*, const char*> kSecondaryRecords[] = {
    {"Records/Secondary/NoSpark.dbr", R"({"Class": "SkillSecondary_ChainLightning",
        "skillMaxLevel": 1, "sparkGap": [10], "sparkChance": [0], "sparkMaxNumber": [5]})"},
    {"Records/Secondary/Spark.dbr", R"({"Class": "SkillSecondary_ChainBonus",
        "skillMaxLevel": 1, "sparkGap": [10], "sparkChance": [100], "sparkMaxNumber": [2],
        "skillLifeBonus": [7]})"},
    {"Records/Secondary/Gift.dbr", R"({"Class": "SkillSecondary_Bonus", "skillMaxLevel": 1,
        "skillLifeBonus": [12]})"},
    {"Records/Secondary/Plain.dbr", R"({"Class": "SkillSecondary", "skillMaxLevel": 1})"},
    {"Records/Secondary/WardBuff.dbr", R"({"Class": "SkillBuff_Passive", "skillMaxLevel": 3,
        "skillTargetRadius": [5], "skillActiveDuration": [4]})"},
    {"Records/Secondary/Ward.dbr", R"({"Class": "SkillSecondary_BuffRadius", "skillMaxLevel": 1,
        "buffSkillName": "Records/Secondary/WardBuff.dbr"})"},
};

class SecondarySkills : public ::testing::Test {
protected:
    SecondarySkills() {
        for (const auto& [name, text] : kSecondaryRecords)
            EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
        InitializeObjects();
        caster = MakeFighter(kCaster, 10.0f);
        float x = 13.0f;
        for (std::uint32_t id : kOthers) {
            Character* other = MakeFighter(id, x);
            x += 3.0f;
            other->SetTeam(TeamManager::DefaultMonsterTeam());
            World::Get().AddEntity(other, other->GetCoords(), true);
        }
        caster->SetTeam(TeamManager::DefaultMonsterTeam());
        World::Get().AddEntity(caster, caster->GetCoords(), true);
        manager.SetParent(caster);
        manager.SetControlling(true);
    }
    ~SecondarySkills() override { ShutdownObjects(); }

    template <class T>
    T* Make(const char* record) {
        return MakeAttackSkill<T>(record, manager);
    }
    std::vector<float> Lives() {
        std::vector<float> lives;
        for (std::uint32_t id : kOthers)
            lives.push_back(Find(id)->GetCurrentLife());
        return lives;
    }

    TestMachine tm;
    AttackSkillManager manager;
    Character* caster = nullptr;
};

TEST_F(SecondarySkills, TheControllingMachineSendsAChainOnlyWhenItsDrawsAddHops) {
    struct Case {
        const char* record;
        bool controlling;
        std::size_t sent;
    };
    for (const Case& c : {Case{"Records/Secondary/NoSpark.dbr", true, 0},
                          Case{"Records/Secondary/Spark.dbr", false, 0},
                          Case{"Records/Secondary/Spark.dbr", true, 1}}) {
        manager.attack.results.clear();
        manager.SetControlling(c.controlling);
        auto* chain = Make<SkillSecondaryChain>(c.record);
        ASSERT_NE(chain, nullptr) << c.record;
        chain->ActivateNow(*caster, kCaster, {}, caster->GetCoords());
        ASSERT_EQ(manager.attack.results.size(), c.sent) << c.record;
        if (c.sent == 0)
            continue;
        // Two allies within reach, never the caster named as the target.
        const auto& hops = manager.attack.results.front().targets;
        EXPECT_EQ(hops.size(), 2u);
        EXPECT_EQ(std::count(hops.begin(), hops.end(), kCaster), 0);
    }
}

TEST_F(SecondarySkills, ASecondChainWhileOnePlaysIsIgnoredAndEachHopGivesItsBonus) {
    auto* chain = Make<SkillSecondary_ChainBonus>("Records/Secondary/Spark.dbr");
    for (std::uint32_t id : kOthers)
        Find(id)->SubtractLife(50.0f, PlayStatsDamageType{});
    const std::vector<float> before = Lives();
    // Without a bolt each hop is reached in its turn: the first at once, the next a frame on.
    chain->TargetResult(*caster, {kOthers[0], kOthers[1]}, caster->GetCoords(), 5, 0, false);
    chain->TargetResult(*caster, {kOthers[2]}, caster->GetCoords(), 6, 0, false);
    ASSERT_EQ(chain->GetChain().size(), 2u);
    EXPECT_FLOAT_EQ(Lives()[1], before[1]);
    chain->Update(*caster, 33);
    const std::vector<float> after = Lives();
    EXPECT_FLOAT_EQ(after[0], before[0] + 7.0f);
    EXPECT_FLOAT_EQ(after[1], before[1] + 7.0f);
    EXPECT_FLOAT_EQ(after[2], before[2]);
    // Past its last link it decays, and then the next chain may come.
    chain->Update(*caster, 33);
    EXPECT_TRUE(chain->IsDecaying());
    chain->Update(*caster, 33);
    EXPECT_TRUE(chain->GetChain().empty());
}

TEST_F(SecondarySkills, ABonusReachesEachTargetOnceAndABaseSkillRunsItsSecondaries) {
    auto* gift = Make<SkillSecondary_Bonus>("Records/Secondary/Gift.dbr");
    auto* plain = Make<SkillSecondary>("Records/Secondary/Plain.dbr");
    for (std::uint32_t id : kOthers)
        Find(id)->SubtractLife(50.0f, PlayStatsDamageType{});
    const std::vector<float> before = Lives();
    RecordingUI ui;
    gGameEngine->SetUI(&ui);
    // The plain secondary hangs from the bonus and tells the host when it fires.
    gift->AddSecondarySkill(plain->GetObjectId());
    gift->ActivateNow(*caster, 0, {kOthers[0], kOthers[1], kOthers[2], 0x0EEEEEEE},
                      caster->GetCoords());
    gGameEngine->SetUI(nullptr);
    const std::vector<float> after = Lives();
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_FLOAT_EQ(after[i], before[i] + 12.0f) << i;
    EXPECT_EQ(ui.calls,
              std::vector<std::string>{"secondary " + std::to_string(plain->GetObjectId())});
}

TEST_F(SecondarySkills, APulseWithNobodyInReachSendsNothingButGoesOn) {
    auto* ward = Make<SkillSecondary_BuffRadius>("Records/Secondary/Ward.dbr");
    ASSERT_NE(ward, nullptr);
    EXPECT_EQ(ward->GetBuffName(), "records\\secondary\\wardbuff.dbr");
    for (std::uint32_t id : kOthers)
        Find(id)->SetCoords(WorldCoords(MakeArena(), Coords::FromOrigin(Vec3(60, 0, 60))));
    ward->PrimaryActivateNow(*caster, 0, {}, caster->GetCoords());
    EXPECT_TRUE(ward->IsPulsing());
    // The caster is its own ally within reach.
    ASSERT_EQ(manager.attack.results.size(), 1u);
    EXPECT_EQ(manager.attack.results[0].targets, std::vector<std::uint32_t>{kCaster});
    caster->SetCoords(WorldCoords(MakeArena(), Coords::FromOrigin(Vec3(90, 0, 10))));
    ward->Update(*caster, 1000);
    ward->Update(*caster, 1000);
    EXPECT_EQ(manager.attack.results.size(), 1u);
    EXPECT_TRUE(ward->IsPulsing());
    ward->PrimaryStop(*caster);
    EXPECT_FALSE(ward->IsPulsing());
}

}  // namespace secondary_skills
}  // namespace GAME::test
