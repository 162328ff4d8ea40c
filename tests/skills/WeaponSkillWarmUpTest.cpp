// The warm-up of weapon attacks: its flags, the passive bonuses it lends only while it runs,
// and what a cancelled charge costs.
#include <gtest/gtest.h>

#include "../characters/CharacterTestSupport.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Game/rules/CharAttributeAccumulator.h"
#include "Game/rules/RacialBonus.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/weapon/Skill_AttackWeapon.h"
#include "WeaponSkillTestSupport.h"

namespace GAME::test {
namespace {

class WeaponSkillWarmUp : public ::testing::Test {
protected:
    WeaponSkillWarmUp() {
        InitializeObjects();
        fighter = MakeFighter(0x500, 10.0f);
        manager.SetParent(fighter);
        strike = MakeAttackSkill<Skill_AttackWeapon>(kStrike, manager);
    }
    ~WeaponSkillWarmUp() override { ShutdownObjects(); }

    // What each of the four passive collectors adds now.
    struct Passives {
        float strength = 0.0f;
        std::size_t defenses = 0;
        std::size_t retaliations = 0;
        float racialPercent = 0.0f;
    };
    static Passives Collect(Skill& skill) {
        Passives out;
        CharAttributeAccumulator chars;
        skill.CollectPassiveCharAttributes(chars);
        out.strength = chars.GetValue(CharAttributeType::Strength);
        CombatAttributeAccumulator defense;
        skill.CollectPassiveDefenseAttributes(defense);
        out.defenses = defense.GetDefensePayloads().size() + defense.GetDefenseModifiers().size();
        CombatAttributeAccumulator retaliation;
        skill.CollectPassiveRetaliationAttributes(retaliation);
        out.retaliations =
            retaliation.GetDamagePayloads().size() + retaliation.GetDamageModifiers().size();
        RacialBonus_Defense racial;
        skill.CollectPassiveRacialBonusDefense({"Beast"}, racial);
        out.racialPercent = racial.percent;
        return out;
    }
    // Whether the skill's warm-up effect shows now.
    static bool WarmUpShows(const Skill& skill) {
        auto* effect =
            Singleton<ObjectManager>::Get().GetObject<EffectEntity>(skill.GetEffectHandle(3));
        return effect && effect->IsEmitting();
    }
    static bool NoPassives(Skill& skill) {
        const Passives p = Collect(skill);
        return p.strength == 0.0f && p.defenses == 0 && p.retaliations == 0 &&
               p.racialPercent == 0.0f;
    }

    TestMachine tm;
    AttackSkillManager manager;
    Character* fighter = nullptr;
    Skill_AttackWeapon* strike = nullptr;
};

TEST_F(WeaponSkillWarmUp, PassivesAndTheWarmUpEffectLastExactlyAsLongAsTheWarmUp) {
    ASSERT_NE(strike, nullptr);
    EXPECT_TRUE(NoPassives(*strike));
    EXPECT_FALSE(strike->GetWarmUpWasActive());

    ASSERT_TRUE(strike->WarmUpStart());
    EXPECT_TRUE(strike->IsWarmUpActive());
    EXPECT_TRUE(strike->GetWarmUpWasActive());
    EXPECT_TRUE(WarmUpShows(*strike));
    const Passives lent = Collect(*strike);
    EXPECT_FLOAT_EQ(lent.strength, 7.0f);
    EXPECT_GT(lent.defenses, 0u);
    EXPECT_GT(lent.retaliations, 0u);
    EXPECT_FLOAT_EQ(lent.racialPercent, 12.0f);

    // Released: the bonuses and the effect go, the attack under way still counts as charged.
    strike->WarmUpEnd();
    EXPECT_FALSE(strike->IsWarmUpActive());
    EXPECT_TRUE(strike->GetWarmUpWasActive());
    EXPECT_FALSE(WarmUpShows(*strike));
    EXPECT_TRUE(NoPassives(*strike));

    // The attack lands: done.
    strike->TargetResult(*fighter, {}, fighter->GetCoords(), 1, 0, true);
    EXPECT_FALSE(strike->GetWarmUpWasActive());
}

TEST_F(WeaponSkillWarmUp, NoWarmUpWithoutThePermissionOfTheProfileOrWhenDisabled) {
    // The record has passive values, but without permission they are never lent.
    auto* jab = MakeAttackSkill<Skill_AttackWeapon>(kJab, manager);
    ASSERT_NE(jab, nullptr);
    EXPECT_FALSE(jab->WarmUpStart());
    EXPECT_FALSE(jab->IsWarmUpActive());
    EXPECT_FALSE(jab->GetWarmUpWasActive());
    EXPECT_TRUE(NoPassives(*jab));
    EXPECT_FALSE(WarmUpShows(*jab));

    // A disabled skill refuses and leaves its flags as they were.
    ASSERT_TRUE(strike->WarmUpStart());
    strike->WarmUpEnd();
    strike->ReceiveStateUpdate(SkillState(1, false), true);
    EXPECT_FALSE(strike->WarmUpStart());
    EXPECT_FALSE(strike->IsWarmUpActive());
    EXPECT_TRUE(strike->GetWarmUpWasActive());
    EXPECT_TRUE(NoPassives(*strike));
}

TEST_F(WeaponSkillWarmUp, ACancelledChargeCostsManaAndCooldownOnceAndAnUnchargedCancelIsFree) {
    strike->Cancel(*fighter);
    EXPECT_FLOAT_EQ(manager.mana, 100.0f);
    EXPECT_FALSE(strike->IsCoolingDown());

    ASSERT_TRUE(strike->WarmUpStart());
    strike->WarmUpEnd();
    strike->Cancel(*fighter);
    EXPECT_FLOAT_EQ(manager.mana, 90.0f);
    EXPECT_EQ(strike->GetCooldownRemaining(), 2000);
    EXPECT_FALSE(strike->GetWarmUpWasActive());

    strike->Update(*fighter, 500);
    strike->Cancel(*fighter);
    EXPECT_FLOAT_EQ(manager.mana, 90.0f);
    EXPECT_EQ(strike->GetCooldownRemaining(), 1500);

    // Cancelled while still charging: the charge ends with its bonuses and effect, and costs.
    strike->EndCooldown();
    strike->Update(*fighter, 0);
    ASSERT_TRUE(strike->WarmUpStart());
    strike->Cancel(*fighter);
    EXPECT_FALSE(strike->IsWarmUpActive());
    EXPECT_FALSE(WarmUpShows(*strike));
    EXPECT_TRUE(NoPassives(*strike));
    EXPECT_FLOAT_EQ(manager.mana, 80.0f);
    EXPECT_EQ(strike->GetCooldownRemaining(), 2000);
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

// A character whose own skill list holds the attack: its strength rises only while it charges.
TEST(WeaponSkillWarmUpOnACharacter, TheChargingCharacterIsStrongerOnlyWhileItCharges) {
    TestMachine tm;
    InitializeObjects();
    Character* duelist = MakeCharacter("Records/Skills/Weapon/Duelist.dbr");
    ASSERT_NE(duelist, nullptr);
    SkillManager& skills = duelist->GetSkillManager();
    skills.LoadSkills("Records/Skills/Weapon/Duelist.dbr", 1);
    auto* strike =
        Singleton<ObjectManager>::Get().GetObject<Skill_AttackWeapon>(skills.FindSkillId(kStrike));
    ASSERT_NE(strike, nullptr);
    strike->ReceiveStateUpdate(SkillState(1, true), true);
    RunFrame(*duelist, 10);
    const float base = duelist->GetTotalCharAttribute(CharAttributeType::Strength);

    ASSERT_TRUE(strike->WarmUpStart());
    RunFrame(*duelist, 10);
    EXPECT_FLOAT_EQ(duelist->GetTotalCharAttribute(CharAttributeType::Strength), base + 7.0f);
    strike->WarmUpEnd();
    RunFrame(*duelist, 10);
    EXPECT_FLOAT_EQ(duelist->GetTotalCharAttribute(CharAttributeType::Strength), base);
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
