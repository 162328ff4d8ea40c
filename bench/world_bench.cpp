// World benchmarks: a sphere query among many entities, a path across the sample level, and the
// sample level's navigation-mesh build, cold and from its cache.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/Path.h"

using namespace GAME;

namespace {

// A private copy of the sample level, so benchmarks never write beside the source data.
std::filesystem::path SampleCopy() {
    const auto root = std::filesystem::temp_directory_path() / "game_bench_world";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "Levels");
    std::filesystem::copy(std::filesystem::path(GAME_SOURCE_DIR) / "data/Levels/Sample",
                          root / "Levels/Sample", std::filesystem::copy_options::recursive);
    std::filesystem::remove(root / "Levels/Sample/Sample.navcache");
    return root;
}

void Quiet() {
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
}

void BM_SphereQueryAmong10000(benchmark::State& state) {
    Machine machine;
    MachineScope scope(machine);
    Quiet();
    Region* region =
        World::Get().AddRegion(std::make_unique<Region>("R", Vec3(), Vec3(500, 50, 500)));
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // Deterministic scatter over the region.
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    };
    for (int i = 0; i < 10000; ++i)
        World::Get().AddEntity(
            objects.CreateObject<Entity>(),
            WorldCoords(region, Coords::FromOrigin(Vec3(next() * 500, 0, next() * 500))), false);
    std::vector<Entity*> found;
    found.reserve(1024);
    float x = 0;
    for (auto _ : state) {
        found.clear();
        x = x >= 480 ? 20 : x + 7.3f;
        World::Get().GetEntitiesInSphere(found, region, Sphere{Vec3(x, 0, 250), 10});
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["found"] = static_cast<double>(found.size());
}
BENCHMARK(BM_SphereQueryAmong10000);

void BM_FindPathAcrossSampleLevel(benchmark::State& state) {
    const auto root = SampleCopy();
    Machine machine;
    MachineScope scope(machine);
    Quiet();
    Singleton<RecordDatabase>::Get().SetDataRoot(root);
    if (!World::Get().LoadLevel("Levels/Sample/Sample.level")) {
        state.SkipWithError("sample level not loaded");
        return;
    }
    Region* meadow = World::Get().GetRegion("Meadow");
    // From the south-west corner, round the wall and the pond, up the slope.
    WorldVec3 from(meadow, Vec3(2, 5, 2)), to(meadow, Vec3(62, 10, 60));
    from.PutOnFloor();
    to.PutOnFloor();
    float length = 0;
    for (auto _ : state) {
        auto path = World::Get().FindPath(0, from, to, PathGenerationParams(), 30);
        length = path ? path->GetLength() : -1;
        benchmark::DoNotOptimize(length);
    }
    state.counters["length"] = length;
}
BENCHMARK(BM_FindPathAcrossSampleLevel);

void BM_NavMeshBuild(benchmark::State& state) {
    const bool cached = state.range(0) != 0;
    const auto root = SampleCopy();
    Machine machine;
    MachineScope scope(machine);
    Quiet();
    Singleton<RecordDatabase>::Get().SetDataRoot(root);
    const auto cache = root / "Levels/Sample/Sample.navcache";
    if (cached)
        World::Get().LoadLevel("Levels/Sample/Sample.level");
    for (auto _ : state) {
        if (!cached) {
            state.PauseTiming();
            std::filesystem::remove(cache);
            state.ResumeTiming();
        }
        World::Get().LoadLevel("Levels/Sample/Sample.level");
        if (World::Get().WereNavMeshesCached() != cached)
            state.SkipWithError("the cache was not used as expected");
    }
}
BENCHMARK(BM_NavMeshBuild)->Arg(0)->Arg(1)->ArgNames({"cached"})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
