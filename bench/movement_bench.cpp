// Characters walking paths across the sample level: every frame each of 1,000 characters
// follows its path (with local avoidance among the others), and one that arrives is sent back.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"

using namespace GAME;

namespace {

// A private copy of the sample level and its clips, so the navigation cache stays out of the
// source tree.
std::filesystem::path SampleCopy() {
    const auto root = std::filesystem::temp_directory_path() / "game_bench_movement";
    const auto data = std::filesystem::path(GAME_SOURCE_DIR) / "data";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "Levels");
    std::filesystem::copy(data / "Levels/Sample", root / "Levels/Sample",
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy(data / "Animations", root / "Animations",
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove(root / "Levels/Sample/Sample.navcache");
    return root;
}

constexpr int kCharacters = 1000;
constexpr int kFrameMs = 33;

void BM_CharactersWalkingPaths(benchmark::State& state) {
    const auto root = SampleCopy();
    Machine machine;
    MachineScope scope(machine);
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    Singleton<RecordDatabase>::Get().SetDataRoot(root);
    if (!World::Get().LoadLevel("Levels/Sample/Sample.level")) {
        state.SkipWithError("sample level not loaded");
        return;
    }
    Region* meadow = World::Get().GetRegion("Meadow");
    GraphicsAnim* run = GraphicsEngine::Get().LoadAnimation("Creatures/Anims/Human_Run.anm");
    auto floor = [meadow](float x, float z) {
        WorldVec3 p(meadow, Vec3(x, 5, z));
        p.PutOnFloor();
        return p;
    };
    // West of the first wall in a grid; each walks to its mirror east of it and back.
    std::vector<Character*> walkers;
    std::vector<WorldVec3> homes, goals;
    for (int i = 0; i < kCharacters; ++i) {
        const float x = 2.0f + static_cast<float>(i % 25) * 0.65f;
        const float z = 2.0f + static_cast<float>(i / 25) * 1.0f;
        auto* c = Singleton<ObjectManager>::Get().CreateObject<Character>();
        World::Get().AddEntity(c, WorldCoords(meadow, Coords::FromOrigin(floor(x, z).local)), true);
        c->ResetMovementManager();
        c->PlayAnimation(0, run, true, 1.0f, 0);
        walkers.push_back(c);
        homes.push_back(floor(x, z));
        goals.push_back(floor(44.0f - (x - 2.0f), z));
    }
    std::vector<bool> outward(kCharacters, true);
    std::int64_t moved = 0;
    for (auto _ : state) {
        gEngine->AdvanceFrame(kFrameMs);
        for (int i = 0; i < kCharacters; ++i) {
            Character* c = walkers[static_cast<std::size_t>(i)];
            if (!c->IsMoving()) {
                const auto index = static_cast<std::size_t>(i);
                c->MoveTo(outward[index] ? goals[index] : homes[index], 0.0f);
                outward[index] = !outward[index];
            }
            c->UpdateSelf(kFrameMs);
        }
        moved += kCharacters;
    }
    // Characters moved per second of run time; a thousandth of it is the rate per millisecond.
    state.counters["characters_moved"] =
        benchmark::Counter(static_cast<double>(moved), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CharactersWalkingPaths)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
