// A store rolls its members as one batch with the generator's state held locally. These tests
// hold it to the members' own calls, walked one by one in the store's documented order (plain
// members, the global roll, the all-of group, the one-of pick), bit for bit: the same payload
// classes, types and numbers in the same order and the same generator state afterwards, over
// many seeds and levels, for every kind the loaders make.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeKinds.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "Game/rules/damage/DamageRoll.h"
#include "Game/rules/damage/RetaliationAttributeStore.h"
#include "rules/damage/DamageAttributeTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// The members' own calls in the store's order.
void RollOneByOne(const DamageAttributeStore& store, CombatAttributeAccumulator& accumulator,
                  unsigned int level, bool modifiers) {
    CombatRandom& random = accumulator.GetRandomGen();
    const auto add = [&](const DamageAttribute& attribute, bool global) {
        if (modifiers)
            attribute.AddModifierToAccumulator(accumulator, level, random, global);
        else
            attribute.AddDamageToAccumulator(accumulator, level, random, global);
    };
    for (const auto& attribute : store.GetAttributes())
        add(*attribute, false);
    const float chance = store.GetGlobalChance(level);
    if (chance <= 0.0f || random.FGenerate(0.0f, 100.0f) > chance)
        return;
    for (const auto& attribute : store.GetGlobalAndAttributes())
        add(*attribute, true);
    const auto& one = store.GetGlobalXorAttributes();
    if (one.empty())
        return;
    float total = 0.0f;
    for (const auto& attribute : one)
        total += attribute->GetChance(level);
    const float pick = random.FGenerate(0.0f, total);
    float sum = 0.0f;
    for (const auto& attribute : one) {
        sum += attribute->GetChance(level);
        if (pick <= sum) {
            add(*attribute, true);
            return;
        }
    }
}

// A payload's class, type and numbers as bits.
std::string PayloadFields(const CombatAttribute& payload) {
    std::string out = std::string(typeid(payload).name()) + " " +
                      std::to_string(static_cast<int>(payload.GetType()));
    const auto bits = [&](float value) {
        out += " " + std::to_string(std::bit_cast<std::uint32_t>(value));
    };
    if (const auto* burn = dynamic_cast<const CombatAttributeAbsDamage_ManaBurn*>(&payload))
        bits(burn->GetRatio());
    if (const auto* abs = dynamic_cast<const CombatAttributeAbsDamage*>(&payload)) {
        bits(abs->GetDamage());
        bits(abs->GetDamageModifier());
    } else if (const auto* dur = dynamic_cast<const CombatAttributeDurDamage*>(&payload)) {
        bits(dur->GetDamage());
        bits(dur->GetDuration());
    } else if (const auto* mod = dynamic_cast<const CombatAttributeAbsDamageMod*>(&payload)) {
        bits(mod->GetPercent());
    } else if (const auto* durMod = dynamic_cast<const CombatAttributeDurDamageMod*>(&payload)) {
        bits(durMod->GetDamagePercent());
        bits(durMod->GetDurationPercent());
    } else if (const auto* physical =
                   dynamic_cast<const CombatAttributeDamage_BasePhysical*>(&payload)) {
        bits(physical->GetPhysical());
        bits(physical->GetPierceRatio());
        out += physical->GetUseDesignerEquations() ? " designer" : " plain";
    } else if (const auto* bonus =
                   dynamic_cast<const CombatAttributeDamage_BonusPhysical*>(&payload)) {
        bits(bonus->GetDamage());
    } else {
        ADD_FAILURE() << "a payload class the comparison does not know: " << out;
    }
    return out;
}

std::vector<std::string> PayloadFields(const CombatAttributeAccumulator::PayloadList& list) {
    std::vector<std::string> out;
    for (const auto& payload : list)
        out.push_back(PayloadFields(*payload));
    return out;
}

// Runs both ways over seeds and levels; adds the payload classes seen to `classes`.
void ExpectBatchMatchesOneByOne(DamageAttributeStore& store, int seeds,
                                std::set<std::string>& classes) {
    for (unsigned int level = 0; level <= 4; ++level) {
        for (int seed = 1; seed <= seeds; ++seed) {
            SCOPED_TRACE("level " + std::to_string(level) + " seed " + std::to_string(seed));
            CombatAttributeAccumulator batch;
            CombatAttributeAccumulator alone;
            batch.SetSeed(static_cast<std::uint32_t>(seed * 7919));
            alone.SetSeed(static_cast<std::uint32_t>(seed * 7919));
            // A payload already there stays first.
            batch.AddNewDamage<CombatAttributeAbsDamage>(CombatAttributeType::Fire, 1.0f);
            alone.AddNewDamage<CombatAttributeAbsDamage>(CombatAttributeType::Fire, 1.0f);
            store.AddDamageToAccumulator(batch, level);
            store.AddModifierToAccumulator(batch, level);
            RollOneByOne(store, alone, level, false);
            RollOneByOne(store, alone, level, true);
            const auto damage = PayloadFields(batch.GetDamagePayloads());
            const auto modifiers = PayloadFields(batch.GetDamageModifiers());
            ASSERT_EQ(damage, PayloadFields(alone.GetDamagePayloads()));
            ASSERT_EQ(modifiers, PayloadFields(alone.GetDamageModifiers()));
            ASSERT_EQ(batch.GetRandomGen().GetState(), alone.GetRandomGen().GetState());
            for (const auto& fields : damage)
                classes.insert(fields.substr(0, fields.find(' ')));
            for (const auto& fields : modifiers)
                classes.insert(fields.substr(0, fields.find(' ')));
        }
    }
}

// Every key of the attributes named by `stems` under `prefix`, three levels each, with chances
// of 0, fractions, 100 and above, and the stems spread over the plain, all-of and one-of groups.
std::string BatchRecordKeys(const std::vector<std::string>& stems, const std::string& prefix,
                            int& counter) {
    static const char* const kChances[] = {"[0, 37.5, 100]", "[12, 0, 250]", "[60, 99.9, -3]",
                                           "[100]", "[]"};
    std::string json;
    for (const std::string& stem : stems) {
        const int i = ++counter;
        const std::string key = "\"" + prefix + stem;
        const std::string low = std::to_string(i % 7 + 1);
        const std::string high = std::to_string(i % 5 + 3);
        json += key + "Min\": [" + low + ", " + high + ".5, 2]," + key + "Max\": [" + high +
                ", 9]," + key + "Chance\": " + kChances[i % 5] + "," + key +
                "DurationMin\": [1.5, " + low + "]," + key + "DurationMax\": [" + high + "]," +
                key + "Modifier\": [" + low + "0, 15]," + key +
                "ModifierChance\": " + kChances[(i + 2) % 5] + "," + key + "DurationModifier\": [" +
                high + "5]," + key + "Global\": " + (i % 3 != 0 ? "true" : "false") + "," + key +
                "XOR\": " + (i % 3 == 2 ? "true" : "false") + ",";
    }
    return json;
}

std::vector<std::string> OffensiveStems() {
    std::vector<std::string> stems;
#define STEM_OF_KIND(Class, Parent, Type, Stem, ...) stems.push_back(#Stem);
    DAMAGE_ATTRIBUTE_ABS_KINDS(STEM_OF_KIND)
    DAMAGE_ATTRIBUTE_DUR_KINDS(STEM_OF_KIND)
    DAMAGE_ATTRIBUTE_DURMOD_KINDS(STEM_OF_KIND)
#undef STEM_OF_KIND
#define MOD_OF_KIND(Class, Parent, Type, Stem, Mod, ...) stems.push_back(#Mod);
    DAMAGE_ATTRIBUTE_ABSMOD_KINDS(MOD_OF_KIND)
#undef MOD_OF_KIND
    for (const char* stem : {"Physical", "BonusPhysical", "ManaBurnDrain", "ManaBurn"})
        stems.push_back(stem);
    return stems;
}

LoadTable EveryOffensiveKind(float globalChance) {
    int counter = 0;
    std::string json = "{" + BatchRecordKeys(OffensiveStems(), "offensive", counter);
    json += "\"offensivePierceRatio\": [10, 20], \"offensivePierceRatioMin\": 15,";
    json += "\"offensiveManaBurnDamageRatio\": [40, 60],";
    json += "\"offensiveGlobalChance\": [" + std::to_string(globalChance) + ", 0, 100]}";
    return CombatRecord(json);
}

TEST(DamageAttributeStoreBatch, EveryKindRollsAsItsOwnCallDoes) {
    TestMachine tm;
    std::set<std::string> classes;
    for (float globalChance : {55.5f, 100.0f}) {
        const LoadTable record = EveryOffensiveKind(globalChance);
        DamageAttributeStore_Skill skill;
        skill.Load(record);
        DamageAttributeStore_Equipment weapon;
        weapon.Load(record, nullptr, nullptr, false);
        DamageAttributeStore_Equipment perLevel;
        perLevel.Load(record, nullptr, nullptr, true);
        for (DamageAttributeStore* store : {static_cast<DamageAttributeStore*>(&skill),
                                            static_cast<DamageAttributeStore*>(&weapon),
                                            static_cast<DamageAttributeStore*>(&perLevel)}) {
            ASSERT_FALSE(store->GetAttributes().empty());
            ASSERT_FALSE(store->GetGlobalAndAttributes().empty());
            ASSERT_FALSE(store->GetGlobalXorAttributes().empty());
            ExpectBatchMatchesOneByOne(*store, 60, classes);
            // Scaling changes the numbers the batch was built from.
            store->ScaleAttributes(35.0f);
            ExpectBatchMatchesOneByOne(*store, 20, classes);
        }
    }
    // Every payload class a damage attribute makes came out of some roll.
    EXPECT_EQ(classes.size(), 18u);
}

TEST(DamageAttributeStoreBatch, RetaliationKindsRollAsTheirOwnCallsDo) {
    TestMachine tm;
    const std::vector<std::string> stems = {"Physical",
                                            "Pierce",
                                            "PierceRatio",
                                            "Bleeding",
                                            "Elemental",
                                            "Fire",
                                            "Cold",
                                            "Lightning",
                                            "Poison",
                                            "Life",
                                            "PercentCurrentLife",
                                            "LifeLeach",
                                            "ManaLeach",
                                            "OffensiveAbility",
                                            "DefensiveAbility",
                                            "OffensiveReduction",
                                            "Stun",
                                            "AttackSpeed",
                                            "SpellCastSpeed",
                                            "RunSpeed"};
    // The slow kinds take the first numbers (the order of two calls in one expression is the
    // compiler's to choose).
    int counter = 0;
    const std::string slow = BatchRecordKeys(stems, "retaliationSlow", counter);
    const std::string json = "{" + BatchRecordKeys(stems, "retaliation", counter) + slow +
                             "\"retaliationGlobalChance\": [70, 30]}";
    RetaliationAttributeStore_Skill store;
    store.Load(CombatRecord(json));
    ASSERT_GT(store.GetAttributeCount(), 40u);
    std::set<std::string> classes;
    ExpectBatchMatchesOneByOne(store, 60, classes);
    // Plain, reflex and percent-of-life damage, over time, fixed, and both modifiers.
    EXPECT_EQ(classes.size(), 7u);
}

// A member whose roll is not described: the batch hands it the generator and takes the state
// back, between described members of both groups.
class TwoDrawProbe : public DamageAttributeAbs_Fire {
public:
    explicit TwoDrawProbe(DamageAttributeGroup group) {
        mValues = {{2.0f, 3.0f}};
        mChance = {40.0f};
        mStoreGroup = group;
    }
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int,
                                RandomUniform& random, bool) const override {
        const float first = random.FGenerate(0.0f, 10.0f);
        accumulator.AddNewDamage<CombatAttributeAbsDamage>(CombatAttributeType::Poison,
                                                           first + random.FGenerate(0.0f, 1.0f));
    }
    bool DescribeRoll(DamageAttributeParts, unsigned int, DamageRoll&) const override {
        return false;
    }
};

TEST(DamageAttributeStoreBatch, UndescribedMembersRollThroughTheirOwnCall) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance": 80,
        "offensiveColdMin": 3, "offensiveColdMax": 6, "offensiveColdChance": 50,
        "offensiveSlowFireMin": 1, "offensiveSlowFireDurationMin": 2,
        "offensiveSlowFireGlobal": true,
        "offensiveLifeMin": 4, "offensiveLifeChance": 2, "offensiveLifeGlobal": true,
        "offensiveLifeXOR": true})"));
    for (DamageAttributeGroup group : {DamageAttributeGroup::Plain, DamageAttributeGroup::GlobalAnd,
                                       DamageAttributeGroup::GlobalXor})
        store.Register(std::make_unique<TwoDrawProbe>(group));
    ASSERT_EQ(store.GetAttributeCount(), 6u);
    std::set<std::string> classes;
    ExpectBatchMatchesOneByOne(store, 200, classes);
    EXPECT_EQ(classes.size(), 3u);  // elemental cold and fire over time; life and the probe's
}

// A member whose one payload takes other draws than its kind usually does (a third of the
// amount, an amount for a kind over time, no draw for damage, an amount for a modifier): the
// batch's general steps roll it, not its kind's own.
class UnusualDrawsProbe : public DamageAttributeAbs_Fire {
public:
    UnusualDrawsProbe(CombatPayloadKind kind, DamageRoll::Draws draws, bool third,
                      DamageAttributeGroup group)
        : mKind(kind), mDraws(draws), mThird(third) {
        mValues = {{2.0f, 3.0f}};
        mChance = {40.0f};
        mStoreGroup = group;
    }
    bool DescribeRoll(DamageAttributeParts pass, unsigned int, DamageRoll& roll) const override {
        if (pass != kDamageAttributeDamage)
            return false;
        roll.chance = 40.0f;
        roll.draws = mDraws;
        roll.third = mThird;
        roll.amountMin = 2.0f;
        roll.amountMax = 5.0f;
        roll.durationMin = 1.0f;
        roll.durationMax = 3.0f;
        roll.first = 7.0f;
        roll.second = 0.25f;
        roll.AddPayload(mKind, CombatAttributeType::Poison);
        return true;
    }
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int,
                                RandomUniform& random, bool skipChance) const override {
        if (!skipChance && !accumulator.EvaluateChance(40.0f))
            return;
        float first = 7.0f;
        float second = 0.25f;
        if (mDraws != DamageRoll::Draws::None) {
            first = random.FGenerate(2.0f, 5.0f);
            if (mThird)
                first = first * DamageRoll::kThird;
            if (mDraws == DamageRoll::Draws::AmountAndDuration)
                second = random.FGenerate(1.0f, 3.0f);
        }
        accumulator.AddDamage(std::unique_ptr<CombatAttribute>(
            CombatPayloadKinds::Make(mKind, CombatAttributeType::Poison, first, second)));
    }

private:
    CombatPayloadKind mKind;
    DamageRoll::Draws mDraws;
    bool mThird;
};

TEST(DamageAttributeStoreBatch, OnePayloadWithOtherDrawsThanItsKindRollsAsItsOwnCallDoes) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Load(CombatRecord(R"({"offensiveGlobalChance": 70,
        "offensiveColdMin": 3, "offensiveColdMax": 6, "offensiveColdChance": 50})"));
    using Draws = DamageRoll::Draws;
    struct Unusual {
        CombatPayloadKind kind;
        Draws draws;
        bool third;
    };
    const Unusual unusual[] = {
        {CombatPayloadKind::AbsDamage, Draws::Amount, true},
        {CombatPayloadKind::DurDamage, Draws::Amount, false},
        {CombatPayloadKind::PercentLife, Draws::None, false},
        {CombatPayloadKind::AbsDamageMod, Draws::Amount, false},
        {CombatPayloadKind::DurDamageElemental, Draws::AmountAndDuration, true}};
    for (DamageAttributeGroup group : {DamageAttributeGroup::Plain, DamageAttributeGroup::GlobalAnd,
                                       DamageAttributeGroup::GlobalXor})
        for (const Unusual& roll : unusual)
            store.Register(
                std::make_unique<UnusualDrawsProbe>(roll.kind, roll.draws, roll.third, group));
    ASSERT_EQ(store.GetAttributeCount(), 16u);
    std::set<std::string> classes;
    ExpectBatchMatchesOneByOne(store, 100, classes);
    EXPECT_EQ(classes.size(), 6u);  // the probes' five and the plain cold
}

// A member that fills the list through its own call, ahead of described members: they must find
// room again after it, not write past the room the batch counted on.
class FloodProbe : public DamageAttributeAbs_Fire {
public:
    void AddDamageToAccumulator(CombatAttributeAccumulator& accumulator, unsigned int,
                                RandomUniform& random, bool) const override {
        for (int i = 0; i < 31; ++i)
            accumulator.AddNewDamage<CombatAttributeAbsDamage>(CombatAttributeType::Poison,
                                                               random.FGenerate(0.0f, 5.0f));
    }
    bool DescribeRoll(DamageAttributeParts, unsigned int, DamageRoll&) const override {
        return false;
    }
};

class DescribedFire : public DamageAttributeAbs_Fire {
public:
    DescribedFire() { mValues = {{2.0f, 7.0f}}; }
};

TEST(DamageAttributeStoreBatch, DescribedRollsAfterAFloodingMemberKeepEveryPayload) {
    TestMachine tm;
    DamageAttributeStore_Skill store;
    store.Register(std::make_unique<FloodProbe>());
    for (int i = 0; i < 12; ++i)
        store.Register(std::make_unique<DescribedFire>());
    std::set<std::string> classes;
    ExpectBatchMatchesOneByOne(store, 5, classes);
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(11);
    store.AddDamageToAccumulator(accumulator, 1);
    const auto& payloads = accumulator.GetDamagePayloads();
    ASSERT_EQ(payloads.size(), 43u);
    std::set<const CombatAttribute*> blocks;
    for (const auto& payload : payloads)
        blocks.insert(payload.get());
    EXPECT_EQ(blocks.size(), payloads.size());
    EXPECT_EQ(payloads[30]->GetType(), CombatAttributeType::Poison);
    EXPECT_EQ(payloads[31]->GetType(), CombatAttributeType::Fire);
}

}  // namespace
}  // namespace GAME::test
