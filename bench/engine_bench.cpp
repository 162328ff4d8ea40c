// Engine benchmarks: record loading and object lookup.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"

using namespace GAME;

namespace {

std::filesystem::path MakeRecords(int count) {
    const auto root = std::filesystem::temp_directory_path() / "game_bench_records";
    std::filesystem::create_directories(root / "Records" / "Bench");
    for (int i = 0; i < count; ++i) {
        std::string file = "R";
        file += std::to_string(i);
        file += ".dbr";
        std::ofstream out(root / "Records" / "Bench" / file);
        out << R"({"Class": "Actor", "level": )" << i
            << R"(, "damage": [1, 2, 3, 4, 5, 6, 7, 8], "name": "tagMonster", "chance": 12.5})";
    }
    return root;
}

void BM_Load1000Records(benchmark::State& state) {
    const auto root = MakeRecords(1000);
    for (auto _ : state) {
        Machine machine;
        MachineScope scope(machine);
        auto& db = Singleton<RecordDatabase>::Get();
        db.SetDataRoot(root);
        int sum = 0;
        for (int i = 0; i < 1000; ++i) {
            std::string name = "records/bench/r";
            name += std::to_string(i);
            name += ".dbr";
            sum += db.Get(name).GetInt("level");
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Load1000Records)->Unit(benchmark::kMillisecond);

void BM_GetObjectAmong100k(benchmark::State& state) {
    Machine machine;
    MachineScope scope(machine);
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    auto& om = Singleton<ObjectManager>::Get();
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < 100000; ++i)
        ids.push_back(om.CreateObject("Actor")->GetObjectId());
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(om.GetObject<Actor>(ids[i]));
        i = (i + 7919) % ids.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetObjectAmong100k);

}  // namespace

BENCHMARK_MAIN();
