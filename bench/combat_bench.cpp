// Combat benchmarks: building the payloads of one attack from an item's damage store, a fresh
// ParametersCombat per attack as the skills make them. The "allocations/attack" counter counts
// every operator new of the loop (0 once the payload cache is warm), so a change that adds heap
// work per attack shows up here.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/rules/damage/DamageAttributeStore.h"

using namespace GAME;

namespace {
std::atomic<std::size_t> gAllocations{0};
}  // namespace

void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

// These are the replacements of the allocator above, so free matches malloc here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
#pragma GCC diagnostic pop

namespace {

// Twenty attributes: twelve plain, four in the all-of group and four in the one-of group.
constexpr const char* kRecord = R"({
    "offensiveGlobalChance": [50],
    "offensivePhysicalMin": 20, "offensivePhysicalMax": 30, "offensivePierceRatioMin": 10,
    "offensiveBaseFireMin": 4, "offensiveBaseFireMax": 8,
    "offensiveBaseColdMin": 4, "offensiveBaseColdMax": 8,
    "offensiveBonusPhysicalMin": 2, "offensiveBonusPhysicalMax": 6, "offensiveBonusPhysicalChance": 30,
    "offensivePhysicalModifier": 15,
    "offensiveFireMin": 5, "offensiveFireMax": 9, "offensiveFireChance": 50,
    "offensiveFireModifier": 20,
    "offensiveColdMin": 5, "offensiveColdMax": 9,
    "offensiveSlowPoisonMin": 3, "offensiveSlowPoisonMax": 5,
    "offensiveSlowPoisonDurationMin": 2, "offensiveSlowPoisonDurationMax": 4,
    "offensiveElementalMin": 9, "offensiveElementalMax": 12,
    "offensiveElementalModifier": 10,
    "offensivePercentCurrentLifeMin": 2, "offensivePercentCurrentLifeChance": 10,
    "offensiveLifeLeechMin": 2, "offensiveLifeLeechMax": 4, "offensiveLifeLeechGlobal": true,
    "offensiveManaBurnDrainMin": 5, "offensiveManaBurnDamageRatio": 50,
    "offensiveManaBurnGlobal": true,
    "offensiveSlowRunSpeedMin": 20, "offensiveSlowRunSpeedDurationMin": 2,
    "offensiveSlowRunSpeedGlobal": true,
    "offensiveSlowOffensiveAbilityMin": 10, "offensiveSlowOffensiveAbilityDurationMin": 3,
    "offensiveSlowOffensiveAbilityGlobal": true,
    "offensiveStunMin": 1, "offensiveStunChance": 2, "offensiveStunGlobal": true,
    "offensiveStunXOR": true,
    "offensiveFreezeMin": 1, "offensiveFreezeChance": 1, "offensiveFreezeGlobal": true,
    "offensiveFreezeXOR": true,
    "offensiveConvertMin": 3, "offensiveConvertChance": 1, "offensiveConvertGlobal": true,
    "offensiveConvertXOR": true,
    "offensiveConfusionMin": 2, "offensiveConfusionChance": 1, "offensiveConfusionGlobal": true,
    "offensiveConfusionXOR": true
})";

void BM_AttackFromStoreOf20(benchmark::State& state) {
    Machine machine;
    MachineScope scope(machine);
    auto& records = Singleton<RecordDatabase>::Get();
    records.AddRecordText("Records/Bench/Weapon.dbr", kRecord);
    RandomUniform itemRandom;
    itemRandom.Seed(7);
    DamageAttributeStore_Equipment store;
    store.SetRandomGen(&itemRandom);
    store.Load(records.Get("Records/Bench/Weapon.dbr"), nullptr, nullptr, false);
    if (store.GetAttributeCount() != 20) {
        state.SkipWithError("the weapon record does not give 20 attributes");
        return;
    }
    RandomUniform attacker;
    attacker.Seed(1);
    std::size_t payloads = 0;
    const std::size_t allocationsBefore = gAllocations.load(std::memory_order_relaxed);
    for (auto _ : state) {
        ParametersCombat params(attacker);
        store.AddDamageToAccumulator(params.accumulator, 1);
        store.AddModifierToAccumulator(params.accumulator, 1);
        payloads += params.accumulator.GetDamagePayloads().size();
        benchmark::DoNotOptimize(payloads);
    }
    const auto allocations = gAllocations.load(std::memory_order_relaxed) - allocationsBefore;
    state.SetItemsProcessed(state.iterations());
    state.counters["attacks/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["payloads/attack"] =
        static_cast<double>(payloads) / static_cast<double>(state.iterations());
    state.counters["allocations/attack"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_AttackFromStoreOf20);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // Colour only on a terminal, so that logs and summaries stay plain text.
    benchmark::ConsoleReporter reporter(isatty(STDOUT_FILENO)
                                            ? benchmark::ConsoleReporter::OO_Defaults
                                            : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
