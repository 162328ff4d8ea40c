// Attacks recycle their payloads and lists, and the attack's inline generator draws exactly what
// the engine's generator draws.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <typeinfo>
#include <vector>

#include "Engine/sys/RandomUniform.h"
#include "Game/rules/combat/AttackRandoms.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/combat/CombatRandom.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "rules/CombatTestCharacter.h"
#include "rules/damage/DamageAttributeTestSupport.h"
#include "support/TestMachine.h"
#include "support/TypeOf.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

TEST(CombatRandom, DrawsTheEngineGeneratorsSequence) {
    for (std::uint32_t seed : {0u, 1u, 7u, 12345u, 2147483647u, 2147483648u, 0xFFFFFFFFu}) {
        RandomUniform engine;
        CombatRandom inline_;
        engine.Seed(seed);
        inline_.Seed(seed);
        RandomUniform& asBase = inline_;  // the accumulator hands it out as a RandomUniform
        for (int i = 0; i < 2000; ++i) {
            const int min = i % 7 - 3;
            const int max = min + i % 101;
            ASSERT_EQ(asBase.IGenerate(min, max), engine.IGenerate(min, max)) << seed;
            const float a = asBase.FGenerate(0.0f, 100.0f);
            const float b = engine.FGenerate(0.0f, 100.0f);
            ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << seed;
            ASSERT_EQ(inline_.GetState(), engine.GetState());
        }
    }
}

// An accumulator seeded alike draws alike, chance by chance.
TEST(CombatRandom, AccumulatorChancesFollowTheSeed) {
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(31337);
    RandomUniform reference;
    reference.Seed(31337);
    for (float chance : {50.0f, 0.0f, 10.0f, 99.0f, 0.0f, 1.0f}) {
        const bool expected =
            chance == 0.0f || static_cast<float>(reference.IGenerate(0, 100)) <= chance;
        EXPECT_EQ(accumulator.EvaluateChance(chance), expected) << chance;
    }
    EXPECT_EQ(accumulator.GetRandomGen().GetState(), reference.GetState());
}

// A plain generator's attack randoms are drawn inline; a generator of another class keeps its
// own draws.
TEST(AttackRandoms, PlainGeneratorsDrawInlineWhatTheirClassDraws) {
    struct Fixed : RandomUniform {
        int IGenerate(int, int) override { return 42; }
    };
    for (std::uint32_t seed : {1u, 99u, 0x80000000u}) {
        RandomUniform plain;
        RandomUniformLocked locked;  // the same sequence through its virtual draws
        plain.Seed(seed);
        locked.Seed(seed);
        AttackRandoms fromPlain;
        AttackRandoms fromLocked;
        fromPlain.Fill(plain);
        fromLocked.Fill(locked);
        EXPECT_EQ(fromPlain.GetValues(), fromLocked.GetValues()) << seed;
        EXPECT_EQ(plain.GetState(), locked.GetState());
        EXPECT_NE(plain.GetState(), RandomUniform::NextState(seed));  // all seven were drawn
    }
    Fixed fixed;
    AttackRandoms randoms;
    randoms.Fill(fixed);
    for (std::uint32_t value : randoms.GetValues())
        EXPECT_EQ(value, 42u);
}

// Twenty attributes of every family, as a weapon with its groups carries them.
constexpr const char* kWeapon = R"({
    "offensiveGlobalChance": [50],
    "offensivePhysicalMin": 20, "offensivePhysicalMax": 30, "offensivePierceRatioMin": 10,
    "offensiveBaseFireMin": 4, "offensiveBaseFireMax": 8,
    "offensiveBonusPhysicalMin": 2, "offensiveBonusPhysicalMax": 6,
    "offensivePhysicalModifier": 15,
    "offensiveFireMin": 5, "offensiveFireMax": 9, "offensiveFireChance": 50,
    "offensiveFireModifier": 20,
    "offensiveSlowPoisonMin": 3, "offensiveSlowPoisonMax": 5,
    "offensiveSlowPoisonDurationMin": 2, "offensiveSlowPoisonDurationMax": 4,
    "offensiveLifeLeechMin": 2, "offensiveLifeLeechMax": 4, "offensiveLifeLeechGlobal": true,
    "offensiveStunMin": 1, "offensiveStunChance": 2, "offensiveStunGlobal": true,
    "offensiveStunXOR": true,
    "offensiveFreezeMin": 1, "offensiveFreezeChance": 1, "offensiveFreezeGlobal": true,
    "offensiveFreezeXOR": true
})";

TEST(CombatPayloadBlocks, AttacksAfterTheFirstTakeNoBlockFromTheHeap) {
    const RecyclingScope recycling(true);
    TestMachine tm;
    RandomUniform itemRandom;
    itemRandom.Seed(7);
    DamageAttributeStore_Equipment store;
    store.SetRandomGen(&itemRandom);
    store.Load(CombatRecord(kWeapon), nullptr, nullptr, false);
    RandomUniform attacker;
    attacker.Seed(1);
    auto attack = [&] {
        ParametersCombat params(attacker);
        store.AddDamageToAccumulator(params.accumulator, 1);
        store.AddModifierToAccumulator(params.accumulator, 1);
        ParametersCombat copy(attacker);
        copy = params;  // cloned payloads come from the same blocks
        return params.accumulator.GetDamagePayloads().size() +
               copy.accumulator.GetDamageModifiers().size();
    };
    for (int i = 0; i < 20; ++i)
        attack();
    const std::uint64_t before = RecycledBlocks::HeapTakes();
    std::size_t payloads = 0;
    for (int i = 0; i < 500; ++i)
        payloads += attack();
    EXPECT_GT(payloads, 2000u);
    EXPECT_EQ(RecycledBlocks::HeapTakes(), before);
}

TEST(CombatPayloadBlocks, RecycledBlocksHoldWholeNewPayloads) {
    const RecyclingScope recycling(true);
    const CombatAttribute* first = nullptr;
    {
        auto payload = std::make_unique<CombatAttributeAbsDamage>(T::Fire, 11.0f);
        first = payload.get();
    }
    // A payload of another kind in a block of the same size class.
    auto next = std::make_unique<CombatAttributeReflexDamage>(T::Stun, 2.5f);
    EXPECT_EQ(static_cast<const CombatAttribute*>(next.get()), first);
    EXPECT_EQ(next->GetType(), T::Stun);
    EXPECT_FLOAT_EQ(next->GetDamage(), 2.5f);
    EXPECT_TRUE(next->GetFilterForReflectDamage());
    EXPECT_FLOAT_EQ(next->GetDamageModifier(), 0.0f);
}

// Lists hand back every block they held exactly once, whether dropped whole, filtered or ended
// with their accumulator: blocks handed back twice would be handed out twice.
TEST(CombatPayloadBlocks, DroppedListsHandEachBlockBackOnce) {
    const RecyclingScope recycling(true);
    CombatTestCharacter attacker;
    for (int round = 0; round < 3; ++round) {
        {
            CombatAttributeAccumulator accumulator;
            for (int i = 0; i < 30; ++i) {
                accumulator.AddNewDamage<CombatAttributeAbsDamage>(T::Fire, 1.0f);
                accumulator.AddNewDamage<CombatAttributeReflexDamage>(T::Stun, 2.0f);
                accumulator.AddNewDamageModifier<CombatAttributeAbsDamageMod>(T::Fire, 5.0f);
            }
            accumulator.AddDamage(nullptr);
            accumulator.FilterReflectDamage();
            ASSERT_EQ(accumulator.GetDamagePayloads().size(), 30u);
            for (const auto& payload : accumulator.GetDamagePayloads())
                EXPECT_EQ(payload->GetType(), T::Fire);
            accumulator.ProcessDamage(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
            EXPECT_TRUE(accumulator.GetDamageModifiers().empty());
            if (round == 1)
                accumulator.Clear();
        }
        std::vector<std::unique_ptr<CombatAttribute>> fresh;
        std::set<const CombatAttribute*> blocks;
        for (int i = 0; i < 120; ++i) {
            fresh.push_back(std::make_unique<CombatAttributeAbsDamage>(T::Cold, 1.0f));
            blocks.insert(fresh.back().get());
        }
        EXPECT_EQ(blocks.size(), fresh.size());
    }
}

// The store passes over an attribute in the pass it adds nothing in: walking every plain
// attribute through both passes by hand gives the same payloads and draws.
TEST(DamageAttributeStore, PassesSkipOnlyAttributesThatAddNothingInThem) {
    TestMachine tm;
    DamageAttributeStore_Equipment store;
    store.Load(CombatRecord(R"({
        "offensivePhysicalMin": 20, "offensivePhysicalMax": 30,
        "offensiveFireMin": 5, "offensiveFireMax": 9, "offensiveFireChance": 50,
        "offensiveFireModifier": 20, "offensiveFireModifierChance": 40,
        "offensiveSlowPoisonMin": 3, "offensiveSlowPoisonMax": 5,
        "offensiveSlowPoisonDurationMin": 2, "offensiveSlowPoisonDurationMax": 4,
        "offensiveSlowColdModifier": 25, "offensiveSlowColdDurationModifier": 10,
        "offensiveElementalMin": 9, "offensiveElementalModifier": 10
    })"),
               nullptr, nullptr, false);
    ASSERT_GE(store.GetAttributes().size(), 6u);
    for (std::uint32_t seed = 1; seed < 60; ++seed) {
        CombatAttributeAccumulator viaStore;
        CombatAttributeAccumulator byHand;
        viaStore.SetSeed(seed);
        byHand.SetSeed(seed);
        store.AddDamageToAccumulator(viaStore, 1);
        store.AddModifierToAccumulator(viaStore, 1);
        for (const auto& attribute : store.GetAttributes())
            attribute->AddDamageToAccumulator(byHand, 1, byHand.GetRandomGen(), false);
        for (const auto& attribute : store.GetAttributes())
            attribute->AddModifierToAccumulator(byHand, 1, byHand.GetRandomGen(), false);
        ASSERT_EQ(viaStore.GetRandomGen().GetState(), byHand.GetRandomGen().GetState()) << seed;
        for (auto list : {&CombatAttributeAccumulator::GetDamagePayloads,
                          &CombatAttributeAccumulator::GetDamageModifiers}) {
            const auto& a = (viaStore.*list)();
            const auto& b = (byHand.*list)();
            ASSERT_EQ(a.size(), b.size()) << seed;
            for (std::size_t i = 0; i < a.size(); ++i) {
                EXPECT_EQ(test::TypeOf(a[i]), test::TypeOf(b[i]));
                EXPECT_EQ(a[i]->GetType(), b[i]->GetType());
                float amounts[2][2] = {};
                a[i]->GetTotalDamage(amounts[0][0], amounts[0][1]);
                b[i]->GetTotalDamage(amounts[1][0], amounts[1][1]);
                EXPECT_EQ(amounts[0][0], amounts[1][0]);
                EXPECT_EQ(amounts[0][1], amounts[1][1]);
            }
        }
    }
}

// Blocks may end on another thread than the one that made them: they join that thread's lists,
// which pass on when it ends (the leak checker of the test build would report lost blocks).
TEST(CombatPayloadBlocks, PayloadsCrossThreads) {
    const RecyclingScope recycling(true);
    std::vector<std::unique_ptr<CombatAttribute>> made;
    for (int i = 0; i < 64; ++i)
        made.push_back(std::make_unique<CombatAttributeAbsDamageMod>(T::Fire, float(i)));
    std::thread worker([&] {
        const RecyclingScope alsoRecycling(true);
        const std::size_t kept = RecycledBlocks::KeptCount();
        made.clear();  // into the worker's lists
        EXPECT_EQ(RecycledBlocks::KeptCount(), kept + 64);
        CombatAttributeAccumulator accumulator;
        for (int i = 0; i < 64; ++i)
            accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Cold, float(i)));
        EXPECT_EQ(accumulator.GetDamagePayloads().size(), 64u);
        EXPECT_FLOAT_EQ(
            static_cast<const CombatAttributeAbsDamage&>(*accumulator.GetDamagePayloads()[63])
                .GetDamage(),
            63.0f);
    });
    worker.join();
    EXPECT_TRUE(made.empty());
}

// A batch of rolls reserves its blocks and takes them through a run; a run that takes more than
// its list held refills, and what it settles is what the list holds: as many takes again need
// no heap, and no block is handed out twice.
TEST(CombatPayloadBlocks, RunsTakeReservedBlocksAndRefillWhenDry) {
    std::thread worker([] {
        const RecyclingScope recycling(true);
        constexpr std::size_t kSize = CombatAttribute::kBlockSize;
        RecycledBlocks::Reserve(kSize, 5);
        const std::size_t held = RecycledBlocks::KeptCount();
        ASSERT_GE(held, 5u);
        const std::uint64_t heapBefore = RecycledBlocks::HeapTakes();
        std::set<void*> taken;
        const std::size_t count = held + 3;
        {
            RecycledBlockRun<kSize> run(5);
            for (std::size_t i = 0; i < count; ++i) {
                void* block = run.Take();
                std::memset(block, 0x5a, kSize);
                taken.insert(block);
            }
            run.Settle(count);
        }
        EXPECT_EQ(taken.size(), count);
        EXPECT_LE(RecycledBlocks::HeapTakes(), heapBefore + 1);  // one chunk at most
        const std::size_t left = RecycledBlocks::KeptCount();
        const std::uint64_t heapSettled = RecycledBlocks::HeapTakes();
        std::vector<void*> rest;
        for (std::size_t i = 0; i < left; ++i) {
            rest.push_back(RecycledBlocks::Take(kSize));
            EXPECT_EQ(taken.count(rest.back()), 0u);
        }
        EXPECT_EQ(RecycledBlocks::HeapTakes(), heapSettled);
        EXPECT_EQ(RecycledBlocks::KeptCount(), 0u);
        for (void* block : rest)
            RecycledBlocks::Give(block, kSize);
        for (void* block : taken)
            RecycledBlocks::Give(block, kSize);
        EXPECT_EQ(RecycledBlocks::KeptCount(), left + count);
    });
    worker.join();
}

}  // namespace
}  // namespace GAME::test
