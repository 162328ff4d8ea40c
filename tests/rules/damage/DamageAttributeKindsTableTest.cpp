// Every leaf kind against the record keys, types, display tags and text lists that designers'
// records and the localization data rely on. The keys are spelled here from the naming patterns,
// independently of the kind table, so a typo in a stem, tag or type shows up as a failing row.
#include <gtest/gtest.h>

#include <string>

#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeKinds.h"
#include "Game/rules/damage/DamageAttributePhysical.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "rules/damage/DamageAttributeTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

enum class Family { Reflex, Influence, Hidden, Abs, AbsBase, Dur, DurFixed, AbsMod, DurMod };

using Loader = void (*)(DamageAttributeStore&, const LoadTable&);

template <class K>
void LoadKind(DamageAttributeStore& store, const LoadTable& record) {
    DamageAttributeStore::LoadAttribute<K>(store, record, nullptr, nullptr, 0.0f);
}

struct Row {
    const char* kind;
    Loader load;
    Family family;
    std::string stem;
    std::string tag;
    T type;
    int list;       // 1, 2, 3, or 0 for no text
    T payloadType;  // type of the first payload (the spread kinds start with cold or attack speed)
    std::string chanceKey = {};  // overrides of the pattern (mana burn ratio adder)
    std::string valueKey = {};
};

#define KIND(K) #K, &LoadKind < K>

const Row kRows[] = {
    {KIND(DamageAttributeReflex_Stun), Family::Reflex, "Stun", "DamageStun", T::Stun, 3, T::Stun},
    {KIND(DamageAttributeReflex_Freeze), Family::Reflex, "Freeze", "DamageFreeze", T::Freeze, 3,
     T::Freeze},
    {KIND(DamageAttributeReflex_Petrify), Family::Reflex, "Petrify", "DamagePetrify", T::Petrify, 3,
     T::Petrify},
    {KIND(DamageAttributeReflex_Trap), Family::Reflex, "Trap", "DamageTrap", T::Trap, 3, T::Trap},
    {KIND(DamageAttributeAbs_Taunt), Family::Hidden, "Taunt", "DamageTaunt", T::Taunt, 0, T::Taunt},
    {KIND(DamageAttributeAbs_Convert), Family::Influence, "Convert", "DamageConvert", T::Convert, 3,
     T::Convert},
    {KIND(DamageAttributeAbs_Fear), Family::Influence, "Fear", "DamageFear", T::Fear, 3, T::Fear},
    {KIND(DamageAttributeAbs_Confusion), Family::Influence, "Confusion", "DamageConfusion",
     T::Confusion, 3, T::Confusion},
    {KIND(DamageAttributeAbs_Disruption), Family::Influence, "Disruption", "DamageDisruption",
     T::Disruption, 3, T::Disruption},
    {KIND(DamageAttributeAbs_PercentCurrentLife), Family::Abs, "PercentCurrentLife",
     "DamagePercentCurrentLife", T::PercentCurrentLife, 3, T::PercentCurrentLife},
    {KIND(DamageAttributeAbs_LifeLeech), Family::Abs, "LifeLeech", "DamageLifeLeech", T::LifeLeech,
     3, T::LifeLeech},
    {KIND(DamageAttributeAbs_Pierce), Family::Abs, "Pierce", "DamagePierce", T::Pierce, 3,
     T::Pierce},
    {KIND(DamageAttributeAbs_Cold), Family::Abs, "Cold", "DamageCold", T::Cold, 3, T::Cold},
    {KIND(DamageAttributeAbs_Fire), Family::Abs, "Fire", "DamageFire", T::Fire, 3, T::Fire},
    {KIND(DamageAttributeAbs_Poison), Family::Abs, "Poison", "DamagePoison", T::Poison, 3,
     T::Poison},
    {KIND(DamageAttributeAbs_Lightning), Family::Abs, "Lightning", "DamageLightning", T::Lightning,
     3, T::Lightning},
    {KIND(DamageAttributeAbs_Life), Family::Abs, "Life", "DamageLife", T::Life, 3, T::Life},
    {KIND(DamageAttributeAbs_ElementalDamage), Family::Abs, "Elemental", "DamageElemental",
     T::Elemental, 3, T::Cold},
    {KIND(DamageAttributeAbs_BonusPhysical), Family::Abs, "BonusPhysical", "DamageBonusPhysical",
     T::Physical, 3, T::Physical},
    {KIND(DamageAttributeAbsBase_Cold), Family::AbsBase, "Cold", "tagDamageBaseCold", T::Cold, 1,
     T::Cold},
    {KIND(DamageAttributeAbsBase_Fire), Family::AbsBase, "Fire", "tagDamageBaseFire", T::Fire, 1,
     T::Fire},
    {KIND(DamageAttributeAbsBase_Poison), Family::AbsBase, "Poison", "tagDamageBasePoison",
     T::Poison, 1, T::Poison},
    {KIND(DamageAttributeAbsBase_Lightning), Family::AbsBase, "Lightning", "tagDamageBaseLightning",
     T::Lightning, 1, T::Lightning},
    {KIND(DamageAttributeAbsBase_Life), Family::AbsBase, "Life", "tagDamageBaseVitality", T::Life,
     1, T::Life},
    {KIND(DamageAttributeDur_Physical), Family::Dur, "SlowPhysical", "DamageDurationPhysical",
     T::Physical, 2, T::Physical},
    {KIND(DamageAttributeDur_Bleeding), Family::Dur, "SlowBleeding", "DamageDurationBleeding",
     T::Bleeding, 2, T::Bleeding},
    {KIND(DamageAttributeDur_Cold), Family::Dur, "SlowCold", "DamageDurationCold", T::Cold, 2,
     T::Cold},
    {KIND(DamageAttributeDur_Fire), Family::Dur, "SlowFire", "DamageDurationFire", T::Fire, 2,
     T::Fire},
    {KIND(DamageAttributeDur_Poison), Family::Dur, "SlowPoison", "DamageDurationPoison", T::Poison,
     2, T::Poison},
    {KIND(DamageAttributeDur_Lightning), Family::Dur, "SlowLightning", "DamageDurationLightning",
     T::Lightning, 2, T::Lightning},
    {KIND(DamageAttributeDur_Life), Family::Dur, "SlowLife", "DamageDurationLife", T::Life, 2,
     T::Life},
    {KIND(DamageAttributeDur_LifeLeach), Family::Dur, "SlowLifeLeach", "DamageDurationLifeLeach",
     T::LifeLeech, 2, T::LifeLeech},
    {KIND(DamageAttributeDur_ManaLeach), Family::Dur, "SlowManaLeach", "DamageDurationManaLeach",
     T::ManaLeech, 2, T::ManaLeech},
    {KIND(DamageAttributeDur_TotalSpeed), Family::DurFixed, "SlowTotalSpeed",
     "DamageDurationTotalSpeed", T::TotalSpeed, 3, T::AttackSpeed},
    {KIND(DamageAttributeDur_AttackSpeed), Family::DurFixed, "SlowAttackSpeed",
     "DamageDurationAttackSpeed", T::AttackSpeed, 3, T::AttackSpeed},
    {KIND(DamageAttributeDur_SpellCastSpeed), Family::DurFixed, "SlowSpellCastSpeed",
     "DamageDurationSpellCastSpeed", T::SpellCastSpeed, 3, T::SpellCastSpeed},
    {KIND(DamageAttributeDur_RunSpeed), Family::DurFixed, "SlowRunSpeed", "DamageDurationRunSpeed",
     T::RunSpeed, 3, T::RunSpeed},
    {KIND(DamageAttributeDur_OffensiveAbility), Family::DurFixed, "SlowOffensiveAbility",
     "DamageDurationOffensiveAbility", T::OffensiveAbility, 3, T::OffensiveAbility},
    {KIND(DamageAttributeDur_DefensiveAbility), Family::DurFixed, "SlowDefensiveAbility",
     "DamageDurationDefensiveAbility", T::DefensiveAbility, 3, T::DefensiveAbility},
    {KIND(DamageAttributeDur_OffensiveReduction), Family::DurFixed, "SlowOffensiveReduction",
     "DamageDurationOffensiveReduction", T::OffensiveReduction, 3, T::OffensiveReduction},
    {KIND(DamageAttributeDur_DefensiveReduction), Family::DurFixed, "SlowDefensiveReduction",
     "DamageDurationDefensiveReduction", T::DefensiveReduction, 3, T::DefensiveReduction},
    {KIND(DamageAttributeDur_Fumble), Family::DurFixed, "Fumble", "DamageDurationFumble", T::Fumble,
     3, T::Fumble},
    {KIND(DamageAttributeDur_ProjectileFumble), Family::DurFixed, "ProjectileFumble",
     "DamageDurationProjectileFumble", T::ProjectileFumble, 3, T::ProjectileFumble},
    {KIND(DamageAttributeDur_TotalDamageReductionPercent), Family::DurFixed,
     "TotalDamageReductionPercent", "DamageTotalDamageReductionPercent",
     T::TotalDamageReductionPercent, 3, T::TotalDamageReductionPercent},
    {KIND(DamageAttributeDur_TotalDamageReductionAbsolute), Family::DurFixed,
     "TotalDamageReductionAbsolute", "DamageTotalDamageReductionAbsolute",
     T::TotalDamageReductionAbsolute, 3, T::TotalDamageReductionAbsolute},
    {KIND(DamageAttributeDur_TotalResistanceReductionPercent), Family::DurFixed,
     "TotalResistanceReductionPercent", "DamageTotalResistanceReductionPercent",
     T::TotalResistanceReductionPercent, 3, T::TotalResistanceReductionPercent},
    {KIND(DamageAttributeDur_TotalResistanceReductionAbsolute), Family::DurFixed,
     "TotalResistanceReductionAbsolute", "DamageTotalResistanceReductionAbsolute",
     T::TotalResistanceReductionAbsolute, 3, T::TotalResistanceReductionAbsolute},
    {KIND(DamageAttributeAbsMod_Physical), Family::AbsMod, "Physical", "DamageModifierPhysical",
     T::Physical, 2, T::Physical},
    {KIND(DamageAttributeAbsMod_PierceRatio), Family::AbsMod, "PierceRatio",
     "DamageModifierPierceRatio", T::PierceRatio, 2, T::PierceRatio},
    {KIND(DamageAttributeAbsMod_Pierce), Family::AbsMod, "Pierce", "DamageModifierPierce",
     T::Pierce, 2, T::Pierce},
    {KIND(DamageAttributeAbsMod_Bleeding), Family::AbsMod, "Bleeding", "DamageModifierBleeding",
     T::Bleeding, 2, T::Bleeding},
    {KIND(DamageAttributeAbsMod_Cold), Family::AbsMod, "Cold", "DamageModifierCold", T::Cold, 2,
     T::Cold},
    {KIND(DamageAttributeAbsMod_Fire), Family::AbsMod, "Fire", "DamageModifierFire", T::Fire, 2,
     T::Fire},
    {KIND(DamageAttributeAbsMod_Poison), Family::AbsMod, "Poison", "DamageModifierPoison",
     T::Poison, 2, T::Poison},
    {KIND(DamageAttributeAbsMod_Lightning), Family::AbsMod, "Lightning", "DamageModifierLightning",
     T::Lightning, 2, T::Lightning},
    {KIND(DamageAttributeAbsMod_Life), Family::AbsMod, "Life", "DamageModifierLife", T::Life, 2,
     T::Life},
    {KIND(DamageAttributeAbsMod_Stun), Family::AbsMod, "Stun", "DamageModifierStun", T::Stun, 2,
     T::Stun},
    {KIND(DamageAttributeAbsMod_ManaBurn), Family::AbsMod, "ManaBurn", "DamageModifierManaBurn",
     T::ManaBurn, 2, T::ManaBurn, "offensiveManaBurnRatioAdderChance",
     "offensiveManaBurnRatioAdder"},
    {KIND(DamageAttributeAbsMod_Elemental), Family::AbsMod, "Elemental", "DamageModifierElemental",
     T::Elemental, 2, T::Cold},
    {KIND(DamageAttributeDurMod_Physical), Family::DurMod, "SlowPhysical",
     "DamageDurationModifierPhysical", T::Physical, 2, T::Physical},
    {KIND(DamageAttributeDurMod_Bleeding), Family::DurMod, "SlowBleeding",
     "DamageDurationModifierBleeding", T::Bleeding, 2, T::Bleeding},
    {KIND(DamageAttributeDurMod_Cold), Family::DurMod, "SlowCold", "DamageDurationModifierCold",
     T::Cold, 2, T::Cold},
    {KIND(DamageAttributeDurMod_Fire), Family::DurMod, "SlowFire", "DamageDurationModifierFire",
     T::Fire, 2, T::Fire},
    {KIND(DamageAttributeDurMod_Poison), Family::DurMod, "SlowPoison",
     "DamageDurationModifierPoison", T::Poison, 2, T::Poison},
    {KIND(DamageAttributeDurMod_Lightning), Family::DurMod, "SlowLightning",
     "DamageDurationModifierLightning", T::Lightning, 2, T::Lightning},
    {KIND(DamageAttributeDurMod_Life), Family::DurMod, "SlowLife", "DamageDurationModifierLife",
     T::Life, 2, T::Life},
    {KIND(DamageAttributeDurMod_LifeLeach), Family::DurMod, "SlowLifeLeach",
     "DamageDurationModifierLifeLeach", T::LifeLeech, 2, T::LifeLeech},
    {KIND(DamageAttributeDurMod_ManaLeach), Family::DurMod, "SlowManaLeach",
     "DamageDurationModifierManaLeach", T::ManaLeech, 2, T::ManaLeech},
    {KIND(DamageAttributeDurMod_AttackSpeed), Family::DurMod, "SlowAttackSpeed",
     "DamageDurationModifierAttackSpeed", T::AttackSpeed, 3, T::AttackSpeed},
    {KIND(DamageAttributeDurMod_SpellCastSpeed), Family::DurMod, "SlowSpellCastSpeed",
     "DamageDurationModifierSpellCastSpeed", T::SpellCastSpeed, 3, T::SpellCastSpeed},
    {KIND(DamageAttributeDurMod_RunSpeed), Family::DurMod, "SlowRunSpeed",
     "DamageDurationModifierRunSpeed", T::RunSpeed, 3, T::RunSpeed},
    {KIND(DamageAttributeDurMod_OffensiveAbility), Family::DurMod, "SlowOffensiveAbility",
     "DamageDurationModifierOffensiveAbility", T::OffensiveAbility, 3, T::OffensiveAbility},
    {KIND(DamageAttributeDurMod_DefensiveAbility), Family::DurMod, "SlowDefensiveAbility",
     "DamageDurationModifierDefensiveAbility", T::DefensiveAbility, 3, T::DefensiveAbility},
    {KIND(DamageAttributeDurMod_OffensiveReduction), Family::DurMod, "SlowOffensiveReduction",
     "DamageDurationModifierOffensiveReduction", T::OffensiveReduction, 3, T::OffensiveReduction},
};

#undef KIND

bool IsModifier(Family family) {
    return family == Family::AbsMod || family == Family::DurMod;
}

// A record with chance 50 and the family's numbers under the row's keys, plus the group keys.
std::string RecordJson(const Row& row, bool global, bool exclusive) {
    const std::string key =
        "\"offensive" + std::string(row.family == Family::AbsBase ? "Base" : "") + row.stem;
    std::string chance = IsModifier(row.family) ? key + "ModifierChance\"" : key + "Chance\"";
    if (!row.chanceKey.empty())
        chance = "\"" + row.chanceKey + "\"";
    std::string json = "{" + chance + ":50";
    switch (row.family) {
        case Family::AbsMod:
            json += "," + (row.valueKey.empty() ? key + "Modifier\"" : "\"" + row.valueKey + "\"") +
                    ":15";
            break;
        case Family::DurMod:
            json += "," + key + "Modifier\":15," + key + "DurationModifier\":5";
            break;
        case Family::Dur:
        case Family::DurFixed:
            json += "," + key + "DurationMin\":2," + key + "DurationMax\":3";
            [[fallthrough]];
        default:
            json += "," + key + "Min\":10," + key + "Max\":20";
            break;
    }
    json += "," + key + "Global\":" + (global ? "true" : "false");
    json += "," + key + "XOR\":" + (exclusive ? "true" : "false");
    return json + "}";
}

std::string ExpectedLine(const Row& row) {
    switch (row.family) {
        case Family::Reflex:
            return "(50%)<10.00-20.00>" + row.tag;
        case Family::Influence:
            return "(50%){10.00-20.00}" + row.tag;
        case Family::Abs:
        case Family::AbsBase:
            return "(50%)[10.00-20.00]" + row.tag;
        case Family::Dur:
            return "(50%)[20.00-60.00]" + row.tag + "(2.0-3.0s)";
        case Family::DurFixed:
            return "(50%)[10.00-20.00]" + row.tag + "(fixed 2.0-3.0s)";
        case Family::AbsMod:
            return "(50%)" + row.tag;
        case Family::DurMod:
            return "(50%)" + row.tag + "(+5% time)";
        case Family::Hidden:
            break;
    }
    return {};
}

TEST(DamageAttributeKindsTable, EveryKindReadsItsKeysAndShowsItsTagInItsList) {
    TestMachine tm;
    SetCombatTexts();
    EXPECT_EQ(std::size(kRows), 74u);  // the 73 uniform kinds and bonus physical damage
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.kind);
        DamageAttributeStore plain, all, one;
        row.load(plain, CombatRecord(RecordJson(row, false, false)));
        row.load(all, CombatRecord(RecordJson(row, true, false)));
        row.load(one, CombatRecord(RecordJson(row, true, true)));
        ASSERT_EQ(plain.GetAttributes().size(), 1u);
        EXPECT_EQ(plain.GetAttributeCount(), 1u);
        EXPECT_EQ(all.GetGlobalAndAttributes().size(), 1u);
        EXPECT_EQ(all.GetAttributeCount(), 1u);
        EXPECT_EQ(one.GetGlobalXorAttributes().size(), 1u);
        EXPECT_EQ(one.GetAttributeCount(), 1u);

        const DamageAttribute& attribute = *plain.GetAttributes().front();
        EXPECT_EQ(attribute.GetType(), row.type);
        EXPECT_FLOAT_EQ(attribute.GetChance(1), 50.0f);

        DamageTextList lists[3];
        attribute.CreateText(lists[0], lists[1], lists[2], 1);
        for (int i = 0; i < 3; ++i) {
            if (i + 1 == row.list)
                EXPECT_EQ(Narrow(lists[i]), std::vector<std::string>{ExpectedLine(row)});
            else
                EXPECT_TRUE(lists[i].empty()) << "list " << i + 1;
        }

        CombatAttributeAccumulator accumulator;
        attribute.AddDamageToAccumulator(accumulator, 1, accumulator.GetRandomGen(), true);
        attribute.AddModifierToAccumulator(accumulator, 1, accumulator.GetRandomGen(), true);
        const auto& added = IsModifier(row.family) ? accumulator.GetDamageModifiers()
                                                   : accumulator.GetDamagePayloads();
        const auto& other = IsModifier(row.family) ? accumulator.GetDamagePayloads()
                                                   : accumulator.GetDamageModifiers();
        ASSERT_FALSE(added.empty());
        EXPECT_TRUE(other.empty());
        EXPECT_EQ(added.front()->GetType(), row.payloadType);
    }
}

}  // namespace
}  // namespace GAME::test
