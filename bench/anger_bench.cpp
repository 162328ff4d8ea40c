// The anger table's batch of provocations, as a monster's sight tick makes it: a table of
// `entries` foes, every `every`-th of them listed in rising id order (with a new foe now and then
// when `fresh`). BM_AngerBatch times ProvokeEach alone; the comparison after the table runs the
// same batches one provocation at a time in alternating rounds, the yardstick the batch must
// beat by a wide margin. BM_AngerFill times a crowd's first sight tick instead: every foe in sight
// listed into an empty table, with the line below which the next update drops an entry.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "BenchCompare.h"
#include "Game/ai/anger/AngerTable.h"

using namespace GAME;

namespace {

constexpr float kCap = 100.0f;
constexpr float kShare = 0.7f;

struct Crowd {
    AngerTable table;
    std::vector<AngerTable::Provoked> list;
    // The list as the columns the batch takes.
    std::vector<std::uint32_t> ids, worldSlots;
    std::vector<float> amounts;

    AngerTable::ProvokedColumns Columns() const {
        return {ids.data(), worldSlots.data(), amounts.data()};
    }
};

// Ids 10, 20, ... with values spread below the cap; new foes take the ids between.
Crowd MakeCrowd(std::uint32_t entries, std::uint32_t every, bool fresh) {
    Crowd crowd;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t slot = crowd.table.FindOrInsert(10 * (i + 1), i);
        crowd.table.ValueAt(slot) = static_cast<float>((i * 37) % 100);
    }
    for (std::uint32_t i = 0; i < entries; i += every) {
        if (fresh && i % 64 == 5)
            crowd.list.push_back({10 * i + 5, entries + i, 1.5f});
        crowd.list.push_back({10 * (i + 1), i, 0.5f + static_cast<float>(i % 7) * 0.25f});
    }
    for (const AngerTable::Provoked& p : crowd.list) {
        crowd.ids.push_back(p.id);
        crowd.worldSlots.push_back(p.worldSlot);
        crowd.amounts.push_back(p.amount);
    }
    return crowd;
}

void ProvokeOneByOne(AngerTable& table, const std::vector<AngerTable::Provoked>& list) {
    for (const AngerTable::Provoked& p : list) {
        const std::size_t slot = table.FindOrInsert(p.id, p.worldSlot);
        float calm = 0.0f;
        const bool calms = AngerTable::CalmOf(p.amount, table.size(), kShare, calm);
        table.Provoke(slot, p.amount, kCap, calms, calm);
    }
    table.Flush();
}

void BM_AngerBatch(benchmark::State& state) {
    const auto entries = static_cast<std::uint32_t>(state.range(0));
    const auto every = static_cast<std::uint32_t>(state.range(1));
    const bool fresh = state.range(2) != 0;
    const Crowd crowd = MakeCrowd(entries, every, fresh);
    AngerTable table;
    for (auto _ : state) {
        // New foes grow the table: each round starts from the same one.
        if (fresh || table.empty())
            table = crowd.table;
        table.ProvokeEach(crowd.Columns(), crowd.list.size(), kCap, kShare);
        benchmark::DoNotOptimize(table.ValueAt(0));
    }
    state.counters["provocations/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * crowd.list.size()), benchmark::Counter::kIsRate);
}

// A crowd seen for the first time: `entries` foes in rising id order, each with a sight anger
// between 0.5 and 2 (as near and far foes take), and the line a tick's decay drops below.
constexpr float kFillLine = 0.2f;

Crowd MakeFill(std::uint32_t entries) {
    Crowd crowd;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const float amount = 0.5f + static_cast<float>((i * 53) % 61) * 0.025f;
        crowd.list.push_back({10 * (i + 1), i, amount});
        crowd.ids.push_back(10 * (i + 1));
        crowd.worldSlots.push_back(i);
        crowd.amounts.push_back(amount);
    }
    return crowd;
}

void BM_AngerFill(benchmark::State& state) {
    const Crowd crowd = MakeFill(static_cast<std::uint32_t>(state.range(0)));
    AngerTable table;
    for (auto _ : state) {
        table.clear();
        table.ProvokeEach(crowd.Columns(), crowd.list.size(), kCap, kShare, nullptr, kFillLine);
        benchmark::DoNotOptimize(table.ValueAt(0));
    }
    state.counters["provocations/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * crowd.list.size()), benchmark::Counter::kIsRate);
}

// Whether a fill with the line keeps, at or above it, exactly what one provocation at a time
// does (below it any value below the line will do: the update drops it unread).
bool SameAboveLine(const AngerTable& batch, const AngerTable& single, float line) {
    if (batch.size() != single.size())
        return false;
    for (std::size_t slot = 0; slot < batch.size(); ++slot) {
        const float a = batch.ValueAt(slot), b = single.ValueAt(slot);
        if (batch.IdAt(slot) != single.IdAt(slot) || (a >= line) != (b >= line) ||
            (b >= line && a != b))
            return false;
    }
    return true;
}

}  // namespace

BENCHMARK(BM_AngerFill)->ArgNames({"entries"})->Arg(300)->Arg(800)->Arg(2000);

BENCHMARK(BM_AngerBatch)
    ->ArgNames({"entries", "every", "fresh"})
    ->Args({12, 1, 0})
    ->Args({40, 1, 0})
    ->Args({40, 2, 1})
    ->Args({64, 1, 0})
    ->Args({200, 1, 0})
    ->Args({500, 1, 0})
    ->Args({500, 3, 0})
    ->Args({1000, 1, 0})
    ->Args({1000, 1, 1})
    ->Args({2000, 4, 1});

int main(int argc, char** argv) {
    std::vector<char*> args = bench::ColourArgs(argc, argv);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The batch against one provocation at a time, each round from the same table.
    for (const std::uint32_t entries : {200u, 1000u}) {
        const Crowd crowd = MakeCrowd(entries, 1, true);
        AngerTable batch, single;
        const bench::SideBySide ns = bench::Alternate(
            [&] {
                batch = crowd.table;
                batch.ProvokeEach(crowd.Columns(), crowd.list.size(), kCap, kShare);
            },
            [&] {
                single = crowd.table;
                ProvokeOneByOne(single, crowd.list);
            },
            20, 15);
        if (!(batch == single)) {
            std::printf("anger batch | %u entries | differs from one at a time\n", entries);
            return 1;
        }
        std::printf("anger batch | %u entries, %zu listed | batch %.0f ns, one at a time %.0f ns\n",
                    entries, crowd.list.size(), ns.first, ns.second);
    }
    for (const std::uint32_t entries : {300u, 800u, 2000u}) {
        const Crowd crowd = MakeFill(entries);
        AngerTable batch, single;
        batch.ProvokeEach(crowd.Columns(), crowd.list.size(), kCap, kShare, nullptr, kFillLine);
        ProvokeOneByOne(single, crowd.list);
        std::size_t above = 0;
        for (std::size_t slot = 0; slot < single.size(); ++slot)
            above += single.ValueAt(slot) >= kFillLine ? 1 : 0;
        if (!SameAboveLine(batch, single, kFillLine)) {
            std::printf("anger fill | %u entries | differs from one at a time\n", entries);
            return 1;
        }
        std::printf("anger fill | %u entries | %zu at or above the line\n", entries, above);
    }
    return 0;
}
