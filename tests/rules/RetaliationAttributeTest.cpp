#include <gtest/gtest.h>

#include <map>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/RetaliationAttribute.h"
#include "Game/rules/damage/RetaliationAttributeStore.h"
#include "rules/AttributeTestRecords.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::Record;
using test::TestMachine;

TEST(RetaliationAttributeStore, XorKindsComeOutInTheirWeights) {
    TestMachine tm;
    RetaliationAttributeStore_Skill store;
    store.Load(Record("Records/Attributes/RetaliationXor.dbr"));
    EXPECT_TRUE(store.GetAttributes().empty());
    ASSERT_EQ(store.GetGlobalXorAttributes().size(), 3u);
    EXPECT_EQ(store.GetGlobalChance(1), 100.0f);

    std::map<CombatAttributeType, int> counts;
    constexpr int kAttacks = 6000;
    for (std::uint32_t seed = 1; seed <= kAttacks; ++seed) {
        CombatAttributeAccumulator accumulator;
        accumulator.SetSeed(seed);
        store.AddDamageToAccumulator(accumulator, 1);
        ASSERT_EQ(accumulator.GetDamagePayloads().size(), 1u);
        ++counts[accumulator.GetDamagePayloads()[0]->GetType()];
    }
    EXPECT_NEAR(counts[CombatAttributeType::Physical], kAttacks * 0.1, kAttacks * 0.02);
    EXPECT_NEAR(counts[CombatAttributeType::Cold], kAttacks * 0.3, kAttacks * 0.03);
    EXPECT_NEAR(counts[CombatAttributeType::Fire], kAttacks * 0.6, kAttacks * 0.03);
}

TEST(RetaliationAttributeStore, ModifierOnlyRecordsAndOwnRuleKinds) {
    TestMachine tm;
    RetaliationAttributeStore_Skill store;
    store.Load(Record("Records/Attributes/RetaliationOther.dbr"));
    const auto& plain = store.GetAttributes();
    // Physical modifier, elemental damage, the stun reflex and the stun modifier.
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_NE(dynamic_cast<RetaliationAttributeAbsMod_Physical*>(plain[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<RetaliationAttributeAbs_ElementalDamage*>(plain[1].get()), nullptr);
    EXPECT_NE(dynamic_cast<RetaliationAttributeReflex_Stun*>(plain[2].get()), nullptr);
    EXPECT_NE(dynamic_cast<RetaliationAttributeAbsMod_Stun*>(plain[3].get()), nullptr);

    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(17);
    store.AddDamageToAccumulator(accumulator, 1);
    store.AddModifierToAccumulator(accumulator, 1);
    std::vector<CombatAttributeType> types;
    for (const auto& payload : accumulator.GetDamagePayloads())
        types.push_back(payload->GetType());
    using T = CombatAttributeType;
    EXPECT_EQ(types, (std::vector<T>{T::Cold, T::Fire, T::Lightning, T::Stun}));
    for (int i = 0; i < 3; ++i) {
        auto* element =
            dynamic_cast<CombatAttributeAbsDamage*>(accumulator.GetDamagePayloads()[i].get());
        ASSERT_NE(element, nullptr);
        EXPECT_FLOAT_EQ(element->GetDamage(), 10.0f);
    }
    EXPECT_NE(dynamic_cast<CombatAttributeReflexDamage*>(accumulator.GetDamagePayloads()[3].get()),
              nullptr);
    std::vector<CombatAttributeType> modifiers;
    for (const auto& payload : accumulator.GetDamageModifiers())
        modifiers.push_back(payload->GetType());
    EXPECT_EQ(modifiers, (std::vector<T>{T::Physical, T::Stun}));
}

TEST(RetaliationAttributeStore, ReadsItsOwnGlobalChanceAndLoadsPrefixesSeparately) {
    TestMachine tm;
    const LoadTable helm = Record("Records/Attributes/Helm.dbr");
    const LoadTable prefix = Record("Records/Attributes/PrefixStout.dbr");
    RandomUniform random;
    random.Seed(11);
    RetaliationAttributeStore_Equipment store;
    store.SetRandomGen(&random);
    store.Load(helm, &prefix, nullptr, false);
    ASSERT_EQ(store.GetAttributes().size(), 2u);
    for (const auto& attribute : store.GetAttributes())
        EXPECT_NE(dynamic_cast<RetaliationAttributeAbs_Physical*>(attribute.get()), nullptr);
    EXPECT_EQ(store.GetGlobalChance(1), 0.0f);

    RetaliationAttributeStore_Skill xorStore;
    xorStore.Load(Record("Records/Attributes/RetaliationXor.dbr"));
    EXPECT_EQ(xorStore.GetGlobalChance(3), 100.0f);
    xorStore.SetGlobalChance(Record("Records/Attributes/RetaliationOther.dbr"), nullptr, nullptr);
    EXPECT_EQ(xorStore.GetGlobalChance(1), 5.0f);
}

}  // namespace
}  // namespace GAME
