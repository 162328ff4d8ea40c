#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <set>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "Game/rules/combat/CombatAttribute.h"
#include "rules/CombatTestCharacter.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

float TotalAbsolute(CombatAttribute& payload) {
    float absolute = 0.0f, duration = 0.0f;
    payload.GetTotalDamage(absolute, duration);
    return absolute;
}

TEST(CombatPayloadDamage, PercentZeroKeepsTheWholeDamageAndFiftyHalvesIt) {
    CombatTestCharacter attacker;
    CombatAttributeAbsDamage whole(T::Fire, 40.0f);
    whole.Process(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(whole.GetDamage(), 40.0f);
    CombatAttributeAbsDamage half(T::Fire, 40.0f);
    half.Process(attacker, 50.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(half.GetDamage(), 20.0f);
}

TEST(CombatPayloadDamage, ModifierThenReductionsNeverGoBelowZero) {
    CombatTestCharacter attacker;
    CombatAttributeAbsDamage payload(T::Cold, 20.0f);
    payload.ModifyAbsoluteDamage(T::Cold, 50.0f);
    payload.ModifyAbsoluteDamage(T::Fire, 1000.0f);  // another type: ignored
    payload.Process(attacker, 0.0f, 99.0f, 10.0f, 3.0f);
    // 20 + 10 = 30; 30 - (3 + 3) = 24; the subtract argument is not used.
    EXPECT_FLOAT_EQ(payload.GetDamage(), 24.0f);
    EXPECT_FLOAT_EQ(payload.GetDamageModifier(), 0.0f);

    CombatAttributeAbsDamage small(T::Cold, 5.0f);
    small.Process(attacker, 0.0f, 0.0f, 0.0f, 50.0f);
    EXPECT_FLOAT_EQ(small.GetDamage(), 0.0f);
}

TEST(CombatPayloadDamage, OnlyElementalPayloadsRunTheElementalFormulaOnPositiveDamage) {
    CombatTestCharacter attacker;
    attacker.elemental = [](float d) { return d * 2.0f; };
    attacker.elementalDuration = [](float d) { return d * 3.0f; };
    CombatAttributeAbsDamageElemental elemental(T::Fire, 10.0f);
    CombatAttributeAbsDamage plain(T::Fire, 10.0f);
    CombatAttributeDurDamageElemental overTime(T::Fire, 10.0f, 2.0f);
    elemental.Process(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    plain.Process(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    overTime.Process(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(elemental.GetDamage(), 20.0f);
    EXPECT_FLOAT_EQ(plain.GetDamage(), 10.0f);
    EXPECT_FLOAT_EQ(overTime.GetDamage(), 30.0f);

    attacker.elemental = [](float) { return 99.0f; };
    CombatAttributeAbsDamageElemental zero(T::Fire, 0.0f);
    zero.Process(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(zero.GetDamage(), 0.0f);
}

TEST(CombatPayloadDamage, DurationStepsScaleDamageAndDurationSeparately) {
    CombatTestCharacter attacker;
    CombatAttributeDurDamage payload(T::Poison, 10.0f, 4.0f);
    CombatAttributeDurDamageMod modifier(T::Poison, 100.0f, -50.0f);
    modifier.Execute(&payload, CombatAttributeRegion::FullyProtected);
    payload.Process(attacker, 50.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(payload.GetDamage(), 9.0f);  // (10 + 10) * 0.5 - 1
    EXPECT_FLOAT_EQ(payload.GetDuration(), 2.0f);
    payload.ReduceDurationDamage(T::Poison, 25.0f);
    EXPECT_FLOAT_EQ(payload.GetDuration(), 1.5f);
    payload.ReduceDurationDamage(T::Poison, -25.0f);  // not above 0: ignored
    EXPECT_FLOAT_EQ(payload.GetDuration(), 1.5f);
    float absolute = 0.0f, duration = 0.0f;
    payload.GetTotalDamage(absolute, duration);
    EXPECT_FLOAT_EQ(absolute, 0.0f);
    EXPECT_FLOAT_EQ(duration, 9.0f);
}

TEST(CombatPayloadDamage, ExecuteReachesTheDefenderByKind) {
    CombatTestCharacter defender;
    CombatAttributeAbsDamage(T::Fire, 12.0f).Execute(defender);
    CombatAttributeDurDamage(T::Poison, 5.0f, 3.0f).Execute(defender);
    CombatAttributeDurFixedDamage(T::RunSpeed, 30.0f, 2.0f).Execute(defender);
    CombatAttributeReflexDamage(T::Stun, 1.5f).Execute(defender);
    CombatAttributeReflexDamage(T::Stun, 0.0f).Execute(defender);
    CombatAttributeInfluenceDamage_Taunt(T::Taunt, 7.5f).Execute(defender);
    CombatAttributeInfluenceDamage_Fear(T::Fear, 2.0009f).Execute(defender);
    CombatAttributeInfluenceDamage_Confusion(T::Confusion, 0.5f).Execute(defender);
    CombatAttributeAbsDamage_Disruption(T::Disruption, 1.25f).Execute(defender);
    CombatAttributeAbsDamage_LifeLeech(T::LifeLeech, 4.0f).Execute(defender);
    CombatAttributeAbsDamage_PercentLife(T::PercentCurrentLife, 10.0f).Execute(defender);

    ASSERT_EQ(defender.damage.size(), 2u);
    EXPECT_FLOAT_EQ(defender.damage[0].amount, 12.0f);
    EXPECT_EQ(defender.damage[0].kind, (PlayStatsDamageType{1, T::Fire}));
    EXPECT_FLOAT_EQ(defender.damage[1].amount, 20.0f);  // 10 % of 200 life
    EXPECT_EQ(defender.damage[1].type, T::PercentCurrentLife);
    ASSERT_EQ(defender.overTime.size(), 1u);
    EXPECT_FLOAT_EQ(defender.overTime[0].duration, 3.0f);
    ASSERT_EQ(defender.fixed.size(), 2u);
    EXPECT_EQ(defender.fixed[0].type, T::RunSpeed);
    // A reflex payload is a fixed effect of strength 1 lasting its amount.
    EXPECT_EQ(defender.fixed[1].type, T::Stun);
    EXPECT_FLOAT_EQ(defender.fixed[1].amount, 1.0f);
    EXPECT_FLOAT_EQ(defender.fixed[1].duration, 1.5f);
    EXPECT_EQ(defender.taunt, std::vector<float>{7.5f});
    EXPECT_EQ(defender.fear, std::vector<int>{2000});
    EXPECT_EQ(defender.confusion, std::vector<int>{500});
    EXPECT_EQ(defender.cooldown, std::vector<int>{1250});
    EXPECT_EQ(defender.leech, std::vector<float>{4.0f});
}

TEST(CombatPayloadDamage, OverlongStatusEffectsLastTheLongestTimeNotANegativeOne) {
    CombatTestCharacter defender;
    CombatAttributeInfluenceDamage_Fear(T::Fear, 3.0e6f).Execute(defender);
    CombatAttributeInfluenceDamage_Confusion(T::Confusion, 1.0e30f).Execute(defender);
    CombatAttributeAbsDamage_Disruption(T::Disruption, 5.0e6f).Execute(defender);
    const int longest = std::numeric_limits<int>::max();
    EXPECT_EQ(defender.fear, std::vector<int>{longest});
    EXPECT_EQ(defender.confusion, std::vector<int>{longest});
    EXPECT_EQ(defender.cooldown, std::vector<int>{longest});
}

TEST(CombatPayloadDamage, StatusAndSpecialPayloadsAddNothingToTheTotals) {
    CombatAttributeReflexDamage stun(T::Stun, 2.0f);
    CombatAttributeInfluenceDamage_Fear fear(T::Fear, 2.0f);
    CombatAttributeAbsDamage_PercentLife percent(T::PercentCurrentLife, 2.0f);
    CombatAttributeAbsDamage_Disruption disruption(T::Disruption, 2.0f);
    CombatAttributeAbsDamage_ManaBurn burn(T::ManaBurn, 2.0f, 50.0f);
    CombatAttributeDurFixedDamage slow(T::RunSpeed, 2.0f, 2.0f);
    CombatAttributeAbsDamage_LifeLeech leech(T::LifeLeech, 2.0f);
    for (CombatAttribute* p :
         std::initializer_list<CombatAttribute*>{&stun, &fear, &percent, &disruption, &burn, &slow})
        EXPECT_FLOAT_EQ(TotalAbsolute(*p), 0.0f);
    EXPECT_FLOAT_EQ(TotalAbsolute(leech), 2.0f);
    EXPECT_TRUE(stun.GetFilterForReflectDamage());
    EXPECT_TRUE(fear.GetFilterForReflectDamage());
    EXPECT_FALSE(leech.GetFilterForReflectDamage());
}

TEST(CombatPayloadDamage, PercentLifeAlsoAnswersToLifeReductions) {
    CombatAttributeAbsDamage_PercentLife percent(T::PercentCurrentLife, 20.0f);
    percent.ReduceAbsoluteDamage(T::Life, 50.0f);
    EXPECT_FLOAT_EQ(percent.GetDamage(), 10.0f);
    CombatAttributeAbsDamage plain(T::Fire, 20.0f);
    plain.ReduceAbsoluteDamage(T::Life, 50.0f);
    EXPECT_FLOAT_EQ(plain.GetDamage(), 20.0f);
    plain.ReduceAbsoluteDamage(T::Fire, 150.0f);
    EXPECT_FLOAT_EQ(plain.GetDamage(), 0.0f);
}

TEST(CombatPayloadManaBurn, BurnsAPercentOfTotalManaAndDealsTheRatio) {
    CombatTestCharacter defender;  // 50 of 100 mana
    CombatAttributeAbsDamage_ManaBurn burn(T::ManaBurn, 30.0f, 50.0f);
    burn.Execute(defender);
    ASSERT_EQ(defender.manaTaken.size(), 1u);
    EXPECT_FLOAT_EQ(defender.manaTaken[0], 30.0f);
    ASSERT_EQ(defender.damage.size(), 1u);
    EXPECT_FLOAT_EQ(defender.damage[0].amount, 15.0f);
    EXPECT_EQ(defender.damage[0].type, T::ManaBurn);
}

TEST(CombatPayloadManaBurn, NoManaDealsNoDamageAndRatioZeroOnlyBurns) {
    CombatTestCharacter empty;
    empty.mana = 0.0f;
    CombatAttributeAbsDamage_ManaBurn(T::ManaBurn, 30.0f, 50.0f).Execute(empty);
    EXPECT_TRUE(empty.damage.empty());

    CombatTestCharacter full;
    CombatAttributeAbsDamage_ManaBurn(T::ManaBurn, 80.0f, 0.0f).Execute(full);
    EXPECT_FLOAT_EQ(full.mana, 0.0f);  // capped at the current 50
    EXPECT_TRUE(full.damage.empty());
}

TEST(CombatPayloadManaBurn, ReductionsActOnAmountOrRatioByType) {
    CombatAttributeAbsDamage_ManaBurn burn(T::ManaBurn, 40.0f, 60.0f);
    burn.ReduceAbsoluteDamage(T::ManaLeech, 50.0f);
    EXPECT_FLOAT_EQ(burn.GetDamage(), 20.0f);
    burn.ReduceAbsoluteDamage(T::ManaBurnRatio, 50.0f);
    EXPECT_FLOAT_EQ(burn.GetRatio(), 30.0f);
    burn.ModifyAbsoluteDamage(T::ManaBurn, 5.0f);
    EXPECT_FLOAT_EQ(burn.GetRatio(), 35.0f);
    burn.ReduceAbsoluteDamage(T::ManaBurnRatio, 300.0f);
    EXPECT_FLOAT_EQ(burn.GetRatio(), 0.0f);
}

TEST(CombatPayloadConvert, ConvertsUpToFiveLevelsAboveTheConverter) {
    CombatTestCharacter converter;
    converter.id = 77;
    converter.level = 10;
    CombatTestCharacter defender;
    defender.others[77] = &converter;

    CombatAttributeInfluenceDamage_Convert convert(T::Convert, 3.0f);
    convert.Process(converter, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(convert.GetConverterId(), 77u);

    defender.level = 16;
    convert.Execute(defender);
    EXPECT_TRUE(defender.joined.empty());
    defender.level = 15;
    convert.Execute(defender);
    ASSERT_EQ(defender.joined.size(), 1u);
    EXPECT_EQ(defender.joined[0], (std::pair<std::uint32_t, int>{77u, 3000}));

    // A converter that is gone converts nobody.
    defender.others.clear();
    convert.Execute(defender);
    EXPECT_EQ(defender.joined.size(), 1u);
}

TEST(CombatPayloadDefense, PercentOnlyScalesWhenPositiveAndReductionsMayGoNegative) {
    CombatTestCharacter defender;
    for (float percent : {0.0f, -20.0f}) {
        CombatAttributeAbsDefense defense(T::Fire, 40.0f);
        defense.Process(defender, percent, 0.0f, 0.0f, 0.0f);
        EXPECT_FLOAT_EQ(defense.GetDefense(), 40.0f) << percent;
    }
    CombatAttributeAbsDefense reduced(T::Fire, 10.0f);
    reduced.Process(defender, 0.0f, 0.0f, 50.0f, 20.0f);
    EXPECT_FLOAT_EQ(reduced.GetDefense(), -15.0f);

    // A negative defense adds damage.
    CombatAttributeAbsDamage fire(T::Fire, 100.0f);
    reduced.Execute(&fire, CombatAttributeRegion::Head);
    EXPECT_FLOAT_EQ(fire.GetDamage(), 115.0f);
}

TEST(CombatPayloadDefense, CapAndRestrictedAndDurationRules) {
    CombatTestCharacter defender;
    defender.defenseCap = 75.0f;
    CombatAttributeAbsDefense capped(T::Cold, 90.0f);
    capped.Process(defender, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(capped.GetDefense(), 75.0f);

    defender.defenseCap = 0.0f;
    CombatAttributeAbsDefenseRestricted restricted(T::Cold, 40.0f);
    restricted.Process(defender, 0.0f, 0.0f, 50.0f, 10.0f);
    EXPECT_FLOAT_EQ(restricted.GetDefense(), 40.0f);

    CombatAttributeDurDefense duration(T::Poison, 20.0f);
    duration.ModifyDurationDefense(T::Poison, -200.0f);
    duration.Process(defender, 0.0f, 0.0f, 50.0f, 10.0f);
    EXPECT_FLOAT_EQ(duration.GetDefense(), 0.0f);  // clamped, reductions ignored

    CombatAttributeDefenseMisc misc(T::Reflect, 30.0f);
    defender.defenseCap = 10.0f;
    misc.Process(defender, 0.0f, 0.0f, 0.0f, 0.0f);
    float absolute = 0.0f, dur = 0.0f;
    misc.GetTotalDefense(absolute, dur);
    EXPECT_FLOAT_EQ(absolute, 30.0f);  // no cap
}

TEST(CombatPayloadDefense, MergesOnlyDefensesOfTheSameTypeAndKind) {
    CombatAttributeAbsDefense fire(T::Fire, 10.0f);
    CombatAttributeAbsDefense moreFire(T::Fire, 5.0f);
    CombatAttributeAbsDefense cold(T::Cold, 5.0f);
    CombatAttributeDurDefense fireDuration(T::Fire, 30.0f);
    EXPECT_TRUE(fire.MergeDefense(moreFire));
    EXPECT_FLOAT_EQ(fire.GetDefense(), 15.0f);
    EXPECT_FALSE(fire.MergeDefense(cold));
    // An absolute and a duration defense of one type stay apart.
    EXPECT_FALSE(fire.MergeDefense(fireDuration));
    EXPECT_FALSE(fireDuration.MergeDefense(fire));
    EXPECT_FLOAT_EQ(fire.GetDefense(), 15.0f);
    EXPECT_FLOAT_EQ(fireDuration.GetDefense(), 30.0f);
}

TEST(CombatPayloadDefense, ModifiersReachOnlyTheirPayloadsAndIgnoreNull) {
    CombatTestCharacter defender;
    CombatAttributeAbsDefense fire(T::Fire, 10.0f);
    CombatAttributeAbsDefenseMod(T::Fire, 50.0f).Execute(&fire, CombatAttributeRegion::Head);
    CombatAttributeAbsDefenseMod(T::Cold, 50.0f).Execute(&fire, CombatAttributeRegion::Head);
    CombatAttributeAbsDefenseMod(T::Fire, 50.0f).Execute(nullptr, CombatAttributeRegion::Head);
    fire.Process(defender, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(fire.GetDefense(), 15.0f);
}

TEST(CombatPayloadPhysical, PierceRatioSplitsAndIsClampedToAHundred) {
    CombatTestCharacter attacker;
    CombatAttributeDamage_BasePhysical split(T::Physical, 100.0f, 30.0f, false);
    split.Process(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(split.GetPhysical(), 70.0f);
    EXPECT_FLOAT_EQ(split.GetPierce(), 30.0f);
    EXPECT_FLOAT_EQ(split.GetPierceRatio(), 0.0f);
    EXPECT_EQ(split.GetType(), T::AllPhysical);

    CombatAttributeDamage_BasePhysical allPierce(T::Physical, 100.0f, 150.0f, false);
    allPierce.Process(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(allPierce.GetPhysical(), 0.0f);
    EXPECT_FLOAT_EQ(allPierce.GetPierce(), 100.0f);

    CombatTestCharacter defender;
    defender.armour = [](float d, float, float) { return d * 0.5f; };
    allPierce.Execute(defender);
    EXPECT_TRUE(defender.armourCalls.empty());  // pierce never passes through armour
    ASSERT_EQ(defender.damage.size(), 1u);
    EXPECT_EQ(defender.damage[0].type, T::Pierce);
    EXPECT_FLOAT_EQ(defender.damage[0].amount, 100.0f);
}

TEST(CombatPayloadPhysical, DesignerFormulasOnlyWithTheFlagAndStepsInOrder) {
    CombatTestCharacter attacker;
    attacker.physical = [](float d) { return d + 100.0f; };
    attacker.pierce = [](float d) { return d * 2.0f; };
    CombatAttributeDamage_BasePhysical weapon(T::BasePhysical, 100.0f, 50.0f, true);
    weapon.ModifyAbsoluteDamage(T::Physical, 100.0f);     // 200
    weapon.ModifyAbsoluteDamage(T::PierceRatio, -50.0f);  // 25 %
    weapon.ModifyAbsoluteDamage(T::Pierce, 20.0f);
    weapon.Process(attacker, 50.0f, 5.0f, 10.0f, 1.0f);
    // 200 + 100 = 300; pierce 75, physical 225; pierce 90, formula 180;
    // percent 50: 112.5 and 90; subtract 5: 107.5 and 85; reductions: 95.75 and 75.5.
    EXPECT_FLOAT_EQ(weapon.GetPhysical(), 95.75f);
    EXPECT_FLOAT_EQ(weapon.GetPierce(), 75.5f);

    CombatAttributeDamage_BasePhysical noFlag(T::Physical, 100.0f, 0.0f, false);
    noFlag.Process(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(noFlag.GetPhysical(), 100.0f);
}

TEST(CombatPayloadPhysical, ArmourOfTheHitRegionFeedsTheArmourFormula) {
    CombatTestCharacter defender;
    CombatAttributeDefense_AbsorptionProtection head(50.0f, 20.0f, CombatAttributeRegion::Head);
    CombatAttributeDefense_AbsorptionProtection body(40.0f, 10.0f,
                                                     CombatAttributeRegion::FullyProtected);
    EXPECT_EQ(head.GetType(), T::AbsorbedProtection);

    CombatAttributeDamage_BasePhysical hitOnHead(T::Physical, 50.0f, 0.0f, false);
    head.Execute(&hitOnHead, CombatAttributeRegion::Head);
    body.Execute(&hitOnHead, CombatAttributeRegion::Head);
    EXPECT_FLOAT_EQ(hitOnHead.GetProtection(), 30.0f);
    EXPECT_FLOAT_EQ(hitOnHead.GetAbsorbedProtection(), 14.0f);  // 10 + 4

    CombatAttributeDamage_BasePhysical hitOnLegs(T::Physical, 50.0f, 0.0f, false);
    head.Execute(&hitOnLegs, CombatAttributeRegion::Legs);
    EXPECT_FLOAT_EQ(hitOnLegs.GetProtection(), 0.0f);
    CombatAttributeDamage_BasePhysical unknownRegion(T::Physical, 50.0f, 0.0f, false);
    head.Execute(&unknownRegion, CombatAttributeRegion::FullyProtected);
    EXPECT_FLOAT_EQ(unknownRegion.GetProtection(), 20.0f);

    hitOnHead.Execute(defender);
    ASSERT_EQ(defender.armourCalls.size(), 1u);
    EXPECT_EQ(defender.armourCalls[0], (std::vector<float>{50.0f, 30.0f, 14.0f, 0.0f}));
}

TEST(CombatPayloadPhysical, BluntModifierShieldAndScale) {
    CombatTestCharacter defender;
    CombatAttributeDamage_BasePhysical payload(T::Physical, 100.0f, 20.0f, false);
    payload.Process(defender, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(payload.ProcessBluntDamageModifier(0.5f), 40.0f);
    EXPECT_FLOAT_EQ(payload.GetPierce(), 10.0f);
    payload.DamageReductionByShield(defender, 2.0f, 10.0f);  // minus 20, clamped
    EXPECT_FLOAT_EQ(payload.GetPhysical(), 20.0f);
    EXPECT_FLOAT_EQ(payload.GetPierce(), 0.0f);
    payload.ScaleDamage(150.0f);
    EXPECT_FLOAT_EQ(payload.GetPhysical(), 30.0f);
    payload.ScaleDamage(-10.0f);
    EXPECT_FLOAT_EQ(payload.GetPhysical(), 30.0f);
}

TEST(CombatPayloadPhysical, BonusPhysicalIgnoresPercentAndReductions) {
    CombatTestCharacter character;
    CombatAttributeDamage_BonusPhysical bonus(T::Physical, 12.0f);
    bonus.Process(character, 50.0f, 5.0f, 50.0f, 5.0f);
    EXPECT_FLOAT_EQ(bonus.GetDamage(), 12.0f);
    bonus.Execute(character);
    ASSERT_EQ(character.damage.size(), 1u);
    EXPECT_EQ(character.damage[0].type, T::Physical);
}

TEST(CombatPayloadClone, CopiesTheCurrentModifiers) {
    CombatTestCharacter attacker;
    CombatAttributeAbsDamage original(T::Fire, 10.0f);
    original.ModifyAbsoluteDamage(T::Fire, 100.0f);
    std::unique_ptr<CombatAttribute> copy = original.Clone();
    copy->Process(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(TotalAbsolute(*copy), 20.0f);
    EXPECT_FLOAT_EQ(original.GetDamage(), 10.0f);
    std::unique_ptr<CombatAttribute> armour =
        CombatAttributeDefense_AbsorptionProtection(1.0f, 2.0f, CombatAttributeRegion::Arms)
            .Clone();
    EXPECT_EQ(armour->GetType(), T::AbsorbedProtection);
}

// A clone declared with the wrong class would still compile (sliced to a parent) and behave as
// the parent: every kind must come back as itself, with its own numbers.
TEST(CombatPayloadClone, EveryKindClonesToItsOwnClassAndValues) {
    const auto region = CombatAttributeRegion::Legs;
    std::vector<std::unique_ptr<CombatAttribute>> kinds;
    kinds.push_back(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 11.0f));
    kinds.push_back(std::make_unique<CombatAttributeAbsDamageElemental>(T::Cold, 12.0f));
    kinds.push_back(std::make_unique<CombatAttributeReflexDamage>(T::Stun, 2.0f));
    kinds.push_back(std::make_unique<CombatAttributeInfluenceDamage_Taunt>(T::Taunt, 3.0f));
    kinds.push_back(std::make_unique<CombatAttributeInfluenceDamage_Fear>(T::Fear, 4.0f));
    kinds.push_back(std::make_unique<CombatAttributeInfluenceDamage_Confusion>(T::Confusion, 5.0f));
    kinds.push_back(std::make_unique<CombatAttributeInfluenceDamage_Convert>(T::Convert, 6.0f));
    kinds.push_back(
        std::make_unique<CombatAttributeAbsDamage_PercentLife>(T::PercentCurrentLife, 7.0f));
    kinds.push_back(std::make_unique<CombatAttributeAbsDamage_Disruption>(T::Disruption, 8.0f));
    kinds.push_back(std::make_unique<CombatAttributeAbsDamage_LifeLeech>(T::LifeLeech, 9.0f));
    kinds.push_back(std::make_unique<CombatAttributeAbsDamage_ManaBurn>(T::ManaBurn, 10.0f, 50.0f));
    kinds.push_back(std::make_unique<CombatAttributeDurDamage>(T::Poison, 13.0f, 2.0f));
    kinds.push_back(std::make_unique<CombatAttributeDurDamageElemental>(T::Fire, 14.0f, 3.0f));
    kinds.push_back(std::make_unique<CombatAttributeDurFixedDamage>(T::RunSpeed, 15.0f, 4.0f));
    kinds.push_back(std::make_unique<CombatAttributeAbsDamageMod>(T::Fire, 16.0f));
    kinds.push_back(std::make_unique<CombatAttributeDurDamageMod>(T::Poison, 17.0f, 18.0f));
    kinds.push_back(std::make_unique<CombatAttributeAbsDefense>(T::Fire, 19.0f));
    kinds.push_back(std::make_unique<CombatAttributeAbsDefenseRestricted>(T::Stun, 20.0f));
    kinds.push_back(std::make_unique<CombatAttributeDurDefense>(T::Poison, 21.0f));
    kinds.push_back(std::make_unique<CombatAttributeDefenseMisc>(T::Reflect, 22.0f));
    kinds.push_back(std::make_unique<CombatAttributeAbsDefenseMod>(T::Fire, 23.0f));
    kinds.push_back(std::make_unique<CombatAttributeDurDefenseMod>(T::Poison, 24.0f));
    kinds.push_back(
        std::make_unique<CombatAttributeDamage_BasePhysical>(T::BasePhysical, 25.0f, 10.0f, true));
    kinds.push_back(std::make_unique<CombatAttributeDamage_BonusPhysical>(T::Physical, 26.0f));
    kinds.push_back(
        std::make_unique<CombatAttributeDefense_AbsorptionProtection>(30.0f, 27.0f, region));

    std::set<std::type_index> classes;
    for (const auto& original : kinds) {
        const std::unique_ptr<CombatAttribute> copy = original->Clone();
        ASSERT_NE(copy, nullptr);
        ASSERT_NE(copy.get(), original.get());
        const CombatAttribute& made = *copy;
        const CombatAttribute& source = *original;
        EXPECT_EQ(std::type_index(typeid(made)), std::type_index(typeid(source)))
            << typeid(source).name();
        classes.insert(typeid(source));
        EXPECT_EQ(copy->GetType(), original->GetType());
        EXPECT_EQ(copy->GetFilterForReflectDamage(), original->GetFilterForReflectDamage());
        EXPECT_FLOAT_EQ(copy->GetDefense(), original->GetDefense());
        float damage[2] = {0.0f, 0.0f}, copiedDamage[2] = {0.0f, 0.0f};
        original->GetTotalDamage(damage[0], damage[1]);
        copy->GetTotalDamage(copiedDamage[0], copiedDamage[1]);
        EXPECT_FLOAT_EQ(copiedDamage[0], damage[0]);
        EXPECT_FLOAT_EQ(copiedDamage[1], damage[1]);
        float defense[2] = {0.0f, 0.0f}, copiedDefense[2] = {0.0f, 0.0f};
        original->GetTotalDefense(defense[0], defense[1]);
        copy->GetTotalDefense(copiedDefense[0], copiedDefense[1]);
        EXPECT_FLOAT_EQ(copiedDefense[0], defense[0]);
        EXPECT_FLOAT_EQ(copiedDefense[1], defense[1]);
    }
    EXPECT_EQ(classes.size(), kinds.size());
}

}  // namespace
}  // namespace GAME::test
