// The charges of the weapon-pool skills on the deciding machine: what a pooled hit adds, what
// it costs, how a charge decays, where it stops, and the availability of the pooled attacks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/records/RecordDatabase.h"
#include "Game/skills/pool/Skill_WPAttack.h"
#include "Game/skills/pool/Skill_WeaponPool.h"
#include "skills/WeaponSkillTestSupport.h"

namespace GAME::test {
namespace weapon_pool_charge {

constexpr const char* kLinear = "Records/PoolCharge/Linear.dbr";
constexpr const char* kFinale = "Records/PoolCharge/Finale.dbr";
constexpr const char* kPooled = "Records/PoolCharge/Pooled.dbr";
constexpr const char* kDefault = "Records/PoolCharge/Default.dbr";

// Each published charge comes straight back, as the command would bring it to this machine.
class ChargeServices : public AttackServices {
public:
    void SendSkillActiveUpdate(std::uint32_t, const SkillActiveState& state) override {
        published.push_back(state.subLevel);
        if (skill && owner)
            skill->ReceiveActiveUpdate(*owner, state, false);
    }
    Skill* skill = nullptr;
    Character* owner = nullptr;
    std::vector<int> published;
};

class ChargeManager : public AttackSkillManager {
public:
    ChargeManager() { ControlWith(charges); }
    ChargeServices charges;
};

class WeaponPoolCharge : public ::testing::Test {
protected:
    WeaponPoolCharge() {
        auto& records = Singleton<RecordDatabase>::Get();
        // Three charges, falling after 0.2 s from the third, 0.5 s from the second, 1 s from
        // the first; each charge costs 2 mana.
        records.AddRecordText(kLinear, R"({"Class": "Skill_WeaponPool_ChargedLinear",
            "skillMaxLevel": 1, "skillChargeLevel": [3], "skillChargeDuration": [1, 0.5, 0.2],
            "skillManaCost": [2], "characterStrength": [5, 10, 15]})");
        records.AddRecordText(kFinale, R"({"Class": "Skill_WeaponPool_ChargedFinale",
            "skillMaxLevel": 1, "skillChargeLevel": [2], "skillChargeDuration": [4]})");
        records.AddRecordText(kPooled, R"({"Class": "Skill_WPAttack_BasicAttack",
            "skillMaxLevel": 1, "skillManaCost": [50], "skillCooldownTime": [9]})");
        records.AddRecordText(kDefault, R"({"Class": "Skill_WeaponPool_Default",
            "skillMaxLevel": 1, "skillManaCost": [50], "skillCooldownTime": [9]})");
        InitializeObjects();
        owner = MakeFighter(0x0F000001, 10.0f);
        manager.SetParent(owner);
        manager.charges.owner = owner;
    }
    ~WeaponPoolCharge() override { ShutdownObjects(); }

    template <class T>
    T& Make(const char* record) {
        T* skill = MakeAttackSkill<T>(record, manager);
        EXPECT_NE(skill, nullptr) << record;
        manager.charges.skill = skill;
        return *skill;
    }

    TestMachine tm;
    Character* owner = nullptr;
    ChargeManager manager;
};

TEST_F(WeaponPoolCharge, PooledHitsChargeTheLinearSkillUpToItsMaximumAndPayForEachRise) {
    struct Row {
        std::vector<bool> hits;  // whether each pooled swing hit something
        int charge;
        float manaPaid;
    };
    // A hit pays the skill's cost; every rise of the charge pays it once more on arrival.
    const Row rows[] = {
        {{false, false}, 0, 0.0f},
        {{true}, 1, 4.0f},
        {{true, false, true}, 2, 8.0f},
        {{true, true, true, true}, 3, 14.0f},  // the fourth hit pays but adds no charge
    };
    for (const Row& row : rows) {
        auto& linear = Make<Skill_WeaponPool_ChargedLinear>(kLinear);
        manager.mana = 100.0f;
        for (bool hit : row.hits)
            linear.WPAttackCallback(
                *owner, hit ? std::vector<std::uint32_t>{7} : std::vector<std::uint32_t>{});
        EXPECT_EQ(linear.GetActiveState().subLevel, row.charge) << row.hits.size();
        EXPECT_FLOAT_EQ(100.0f - manager.mana, row.manaPaid) << row.hits.size();
        EXPECT_EQ(linear.IsTrackable(0), row.charge > 0);
    }
}

TEST_F(WeaponPoolCharge, TheLinearChargeFallsOneLevelPerDurationOfTheLevelItFallsFrom) {
    auto& linear = Make<Skill_WeaponPool_ChargedLinear>(kLinear);
    for (int i = 0; i < 3; ++i)
        linear.WPAttackCallback(*owner, {7});
    struct Step {
        int ms;
        int charge;
    };
    const Step steps[] = {{190, 3}, {10, 2}, {490, 2}, {10, 1}, {990, 1}, {10, 0}, {1000, 0}};
    int elapsed = 0;
    for (const Step& step : steps) {
        linear.Update(*owner, step.ms);
        elapsed += step.ms;
        EXPECT_EQ(linear.GetActiveState().subLevel, step.charge) << elapsed << " ms";
    }
    // A charge is sent once per change.
    EXPECT_EQ(manager.charges.published, (std::vector<int>{1, 2, 3, 2, 1, 0}));
}

TEST_F(WeaponPoolCharge, TheLinearChargeLendsTheBonusOfItsLevelAndStoppingClearsIt) {
    auto& linear = Make<Skill_WeaponPool_ChargedLinear>(kLinear);
    const auto strength = [&] {
        CharAttributeAccumulator accumulator;
        linear.CollectPassiveCharAttributes(accumulator);
        return accumulator.GetValue(CharAttributeType::Strength);
    };
    EXPECT_EQ(strength(), 0.0f);
    linear.WPAttackCallback(*owner, {7});
    linear.WPAttackCallback(*owner, {7});
    EXPECT_EQ(strength(), 10.0f);
    linear.StopSkill(*owner);
    EXPECT_EQ(linear.GetActiveState().subLevel, 0);
    EXPECT_EQ(strength(), 0.0f);
}

TEST_F(WeaponPoolCharge, TheFinaleChargeStopsAtTheLevelsMaximumAndRunsOutAllAtOnce) {
    auto& finale = Make<Skill_WeaponPool_ChargedFinale>(kFinale);
    EXPECT_FALSE(finale.IsFullyCharged());
    for (int hit = 1; hit <= 4; ++hit) {
        finale.WPAttackCallback(*owner, {7});
        EXPECT_EQ(finale.GetChargeLevel(), std::min(hit, 2)) << hit;
    }
    EXPECT_TRUE(finale.IsFullyCharged());
    EXPECT_FALSE(finale.ShouldWpUseParentResources());
    finale.Update(*owner, 3999);
    EXPECT_EQ(finale.GetActiveState().subLevel, 2);
    finale.Update(*owner, 1);
    EXPECT_EQ(finale.GetActiveState().subLevel, 0);
    EXPECT_FALSE(finale.IsFullyCharged());
}

TEST_F(WeaponPoolCharge, PooledAndDefaultAttacksIgnoreManaAndCooldown) {
    manager.mana = 0.0f;
    auto& pooled = Make<Skill_WPAttack_BasicAttack>(kPooled);
    pooled.StartCooldown();
    EXPECT_TRUE(pooled.SetAvailability(false, false));
    auto& fallback = Make<Skill_WeaponPool_Default>(kDefault);
    fallback.StartCooldown();
    EXPECT_TRUE(fallback.SetAvailability(false, false));
    EXPECT_EQ(fallback.GetReason(), SkillReason::Available);
    EXPECT_TRUE(fallback.IsDefaultSkill());
}

}  // namespace weapon_pool_charge
}  // namespace GAME::test
