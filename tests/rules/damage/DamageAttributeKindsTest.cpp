#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <typeinfo>
#include <utility>

#include "Game/rules/CostInfo.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeKinds.h"
#include "Game/rules/damage/DamageAttributePhysical.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "rules/damage/DamageAttributeTestSupport.h"
#include "support/TestMachine.h"
#include "support/TypeOf.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

// Loads one kind from the record into a store and adds it (damage and modifiers) to a fresh
// accumulator without its chance.
struct Rolled {
    DamageAttributeStore store;
    CombatAttributeAccumulator accumulator;
    bool loaded = false;
};

template <class A>
void Roll(Rolled& rolled, const std::string& json, unsigned int level = 1) {
    auto owned = std::make_unique<A>();
    rolled.loaded = owned->LoadFromTable(CombatRecord(json));
    if (!rolled.loaded)
        return;
    const A* attribute = owned.get();
    rolled.store.Register(std::move(owned));
    rolled.accumulator.SetSeed(17);
    attribute->AddDamageToAccumulator(rolled.accumulator, level, rolled.accumulator.GetRandomGen(),
                                      true);
    attribute->AddModifierToAccumulator(rolled.accumulator, level,
                                        rolled.accumulator.GetRandomGen(), true);
}

float Amount(const CombatAttribute& payload) {
    float absolute = 0.0f, duration = 0.0f;
    const_cast<CombatAttribute&>(payload).GetTotalDamage(absolute, duration);
    return absolute + duration;
}

TEST(DamageAttributeKinds, ElementalThirtySplitsIntoThreePlainTens) {
    TestMachine tm;
    Rolled rolled;
    Roll<DamageAttributeAbs_ElementalDamage>(
        rolled, R"({"offensiveElementalMin":30,"offensiveElementalMax":30})");
    ASSERT_TRUE(rolled.loaded);
    const auto& payloads = rolled.accumulator.GetDamagePayloads();
    ASSERT_EQ(payloads.size(), 3u);
    const T types[] = {T::Cold, T::Fire, T::Lightning};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(payloads[i]->GetType(), types[i]);
        EXPECT_EQ(test::TypeOf(payloads[i]), typeid(CombatAttributeAbsDamage));
        EXPECT_EQ(Amount(*payloads[i]), 10.0f);
    }

    Rolled one;
    Roll<DamageAttributeAbs_ElementalDamage>(one, R"({"offensiveElementalMin":1})");
    ASSERT_EQ(one.accumulator.GetDamagePayloads().size(), 3u);
    EXPECT_EQ(Amount(*one.accumulator.GetDamagePayloads()[2]), 0.33333334f);
}

TEST(DamageAttributeKinds, ElementalModifierGivesTheWholePercentToEachElement) {
    TestMachine tm;
    Rolled rolled;
    Roll<DamageAttributeAbsMod_Elemental>(rolled, R"({"offensiveElementalModifier":30})");
    const auto& modifiers = rolled.accumulator.GetDamageModifiers();
    ASSERT_EQ(modifiers.size(), 3u);
    EXPECT_TRUE(rolled.accumulator.IsEmpty());
    const T types[] = {T::Cold, T::Fire, T::Lightning};
    for (int i = 0; i < 3; ++i) {
        const auto* mod = dynamic_cast<const CombatAttributeAbsDamageMod*>(modifiers[i].get());
        ASSERT_NE(mod, nullptr);
        EXPECT_EQ(mod->GetType(), types[i]);
        EXPECT_FLOAT_EQ(mod->GetPercent(), 30.0f);
    }
}

TEST(DamageAttributeKinds, TotalSpeedSlowsThreeSpeedsAlike) {
    TestMachine tm;
    Rolled rolled;
    Roll<DamageAttributeDur_TotalSpeed>(
        rolled, R"({"offensiveSlowTotalSpeedMin":20,"offensiveSlowTotalSpeedMax":40,
                    "offensiveSlowTotalSpeedDurationMin":2,"offensiveSlowTotalSpeedDurationMax":6})");
    const auto& payloads = rolled.accumulator.GetDamagePayloads();
    ASSERT_EQ(payloads.size(), 3u);
    const T types[] = {T::AttackSpeed, T::SpellCastSpeed, T::RunSpeed};
    const auto* first = dynamic_cast<const CombatAttributeDurFixedDamage*>(payloads[0].get());
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 3; ++i) {
        const auto* slow = dynamic_cast<const CombatAttributeDurFixedDamage*>(payloads[i].get());
        ASSERT_NE(slow, nullptr);
        EXPECT_EQ(slow->GetType(), types[i]);
        EXPECT_EQ(slow->GetDamage(), first->GetDamage());
        EXPECT_EQ(slow->GetDuration(), first->GetDuration());
    }
    EXPECT_GE(first->GetDamage(), 20.0f);
    EXPECT_GE(first->GetDuration(), 2.0f);
}

// Each row: a loader for one kind, a record naming its keys, the payload type and class.
struct KindCase {
    const char* name;
    std::function<void(Rolled&, const std::string&)> roll;
    std::string json;
    T type;
    const std::type_info* payload;
    bool modifier;
};

template <class A>
std::function<void(Rolled&, const std::string&)> Roller() {
    return [](Rolled& r, const std::string& json) { Roll<A>(r, json); };
}

TEST(DamageAttributeKinds, KeyStemsTypesAndPayloadClasses) {
    TestMachine tm;
    const KindCase cases[] = {
        {"taunt", Roller<DamageAttributeAbs_Taunt>(), R"({"offensiveTauntMin":5})", T::Taunt,
         &typeid(CombatAttributeInfluenceDamage_Taunt), false},
        {"convert", Roller<DamageAttributeAbs_Convert>(), R"({"offensiveConvertMin":5})",
         T::Convert, &typeid(CombatAttributeInfluenceDamage_Convert), false},
        {"fear", Roller<DamageAttributeAbs_Fear>(), R"({"offensiveFearMin":5})", T::Fear,
         &typeid(CombatAttributeInfluenceDamage_Fear), false},
        {"confusion", Roller<DamageAttributeAbs_Confusion>(), R"({"offensiveConfusionMin":5})",
         T::Confusion, &typeid(CombatAttributeInfluenceDamage_Confusion), false},
        {"disruption", Roller<DamageAttributeAbs_Disruption>(), R"({"offensiveDisruptionMin":5})",
         T::Disruption, &typeid(CombatAttributeAbsDamage_Disruption), false},
        {"percent life", Roller<DamageAttributeAbs_PercentCurrentLife>(),
         R"({"offensivePercentCurrentLifeMin":5})", T::PercentCurrentLife,
         &typeid(CombatAttributeAbsDamage_PercentLife), false},
        {"life leech", Roller<DamageAttributeAbs_LifeLeech>(), R"({"offensiveLifeLeechMin":5})",
         T::LifeLeech, &typeid(CombatAttributeAbsDamage_LifeLeech), false},
        {"pierce", Roller<DamageAttributeAbs_Pierce>(), R"({"offensivePierceMin":5})", T::Pierce,
         &typeid(CombatAttributeAbsDamage), false},
        {"lightning", Roller<DamageAttributeAbs_Lightning>(), R"({"offensiveLightningMin":5})",
         T::Lightning, &typeid(CombatAttributeAbsDamageElemental), false},
        {"poison", Roller<DamageAttributeAbs_Poison>(), R"({"offensivePoisonMin":5})", T::Poison,
         &typeid(CombatAttributeAbsDamage), false},
        {"trap", Roller<DamageAttributeReflex_Trap>(), R"({"offensiveTrapMin":5})", T::Trap,
         &typeid(CombatAttributeReflexDamage), false},
        {"petrify", Roller<DamageAttributeReflex_Petrify>(), R"({"offensivePetrifyMin":5})",
         T::Petrify, &typeid(CombatAttributeReflexDamage), false},
        {"base cold", Roller<DamageAttributeAbsBase_Cold>(), R"({"offensiveBaseColdMin":5})",
         T::Cold, &typeid(CombatAttributeAbsDamageElemental), false},
        {"base poison", Roller<DamageAttributeAbsBase_Poison>(), R"({"offensiveBasePoisonMin":5})",
         T::Poison, &typeid(CombatAttributeAbsDamage), false},
        {"bonus physical", Roller<DamageAttributeAbs_BonusPhysical>(),
         R"({"offensiveBonusPhysicalMin":5})", T::Physical,
         &typeid(CombatAttributeDamage_BonusPhysical), false},
        {"mana burn", Roller<DamageAttributeAbs_ManaBurn>(),
         R"({"offensiveManaBurnDrainMin":5,"offensiveManaBurnDamageRatio":40})", T::ManaBurn,
         &typeid(CombatAttributeAbsDamage_ManaBurn), false},
        {"life leach over time", Roller<DamageAttributeDur_LifeLeach>(),
         R"({"offensiveSlowLifeLeachMin":5,"offensiveSlowLifeLeachDurationMin":2})", T::LifeLeech,
         &typeid(CombatAttributeDurDamage), false},
        {"lightning over time", Roller<DamageAttributeDur_Lightning>(),
         R"({"offensiveSlowLightningMin":5,"offensiveSlowLightningDurationMin":2})", T::Lightning,
         &typeid(CombatAttributeDurDamageElemental), false},
        {"fumble", Roller<DamageAttributeDur_Fumble>(),
         R"({"offensiveFumbleMin":5,"offensiveFumbleDurationMin":2})", T::Fumble,
         &typeid(CombatAttributeDurFixedDamage), false},
        {"resistance reduction", Roller<DamageAttributeDur_TotalResistanceReductionAbsolute>(),
         R"({"offensiveTotalResistanceReductionAbsoluteMin":5,
             "offensiveTotalResistanceReductionAbsoluteDurationMin":2})",
         T::TotalResistanceReductionAbsolute, &typeid(CombatAttributeDurFixedDamage), false},
        {"mana burn ratio adder", Roller<DamageAttributeAbsMod_ManaBurn>(),
         R"({"offensiveManaBurnRatioAdder":5})", T::ManaBurn, &typeid(CombatAttributeAbsDamageMod),
         true},
        {"pierce ratio modifier", Roller<DamageAttributeAbsMod_PierceRatio>(),
         R"({"offensivePierceRatioModifier":5})", T::PierceRatio,
         &typeid(CombatAttributeAbsDamageMod), true},
        {"mana leach duration modifier", Roller<DamageAttributeDurMod_ManaLeach>(),
         R"({"offensiveSlowManaLeachDurationModifier":5})", T::ManaLeech,
         &typeid(CombatAttributeDurDamageMod), true},
        {"offensive reduction modifier", Roller<DamageAttributeDurMod_OffensiveReduction>(),
         R"({"offensiveSlowOffensiveReductionModifier":5})", T::OffensiveReduction,
         &typeid(CombatAttributeDurDamageMod), true},
    };
    for (const KindCase& c : cases) {
        Rolled rolled;
        c.roll(rolled, c.json);
        ASSERT_TRUE(rolled.loaded) << c.name;
        const auto& list = c.modifier ? rolled.accumulator.GetDamageModifiers()
                                      : rolled.accumulator.GetDamagePayloads();
        ASSERT_EQ(list.size(), 1u) << c.name;
        EXPECT_EQ(list[0]->GetType(), c.type) << c.name;
        EXPECT_EQ(test::TypeOf(list[0]), *c.payload) << c.name;
        // The other operation adds nothing.
        EXPECT_EQ((c.modifier ? rolled.accumulator.GetDamagePayloads()
                              : rolled.accumulator.GetDamageModifiers())
                      .size(),
                  0u)
            << c.name;
    }
}

TEST(DamageAttributeKinds, ModifierKindsShareTheXorAndGlobalKeysOfTheirStem) {
    TestMachine tm;
    DamageAttributeStore store;
    const LoadTable record = CombatRecord(R"({
        "offensiveStunMin":1, "offensiveStunModifier":20, "offensiveStunGlobal":true,
        "offensiveStunXOR":true,
        "offensiveSlowColdMin":3, "offensiveSlowColdDurationMin":2,
        "offensiveSlowColdModifier":10, "offensiveSlowColdGlobal":true,
        "offensivePhysicalModifier":15, "offensivePhysicalGlobal":true, "offensivePhysicalXOR":true,
        "offensiveManaBurnRatioAdder":5, "offensiveManaBurnGlobal":true})");
    DamageAttributeStore::LoadAttribute<DamageAttributeReflex_Stun>(store, record, nullptr, nullptr,
                                                                    0);
    DamageAttributeStore::LoadAttribute<DamageAttributeAbsMod_Stun>(store, record, nullptr, nullptr,
                                                                    0);
    DamageAttributeStore::LoadAttribute<DamageAttributeDur_Cold>(store, record, nullptr, nullptr,
                                                                 0);
    DamageAttributeStore::LoadAttribute<DamageAttributeDurMod_Cold>(store, record, nullptr, nullptr,
                                                                    0);
    DamageAttributeStore::LoadAttribute<DamageAttributeAbsMod_Physical>(store, record, nullptr,
                                                                        nullptr, 0);
    DamageAttributeStore::LoadAttribute<DamageAttributeAbsMod_ManaBurn>(store, record, nullptr,
                                                                        nullptr, 0);
    EXPECT_EQ(store.GetGlobalXorAttributes().size(), 3u);
    EXPECT_EQ(store.GetGlobalAndAttributes().size(), 3u);
    EXPECT_TRUE(store.GetAttributes().empty());
}

}  // namespace
}  // namespace GAME::test
