// 1,000 arrows in flight among 1,000 characters: one fixed physics step of every body, then
// each arrow's update (its path test against the characters). The goal: at least 1,000
// projectile steps per millisecond of one core, and no allocation in a steady step. The arrows
// fly to and fro (turned every 100 steps, outside the timing): after the first round trip the
// world's grid cells have held every crowd they will hold, as in a level that has been played.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "BenchCompare.h"
#include "CountedAllocations.h"
#include "Engine/Engine.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/world/projectiles/ProjectileArrowLike.h"

using namespace GAME;

namespace {

constexpr int kCount = 1000;

void BM_ProjectileStepsAmongCharacters(benchmark::State& state) {
    Machine machine;
    MachineScope scope(machine);
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    Singleton<RecordDatabase>::Get().SetDataRoot(std::string(GAME_SOURCE_DIR) + "/data");
    InitializeObjects();
    Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Bench/Arrow.dbr",
        R"({"Class": "ProjectileArrowLike", "projectileVelocity": 2, "projectileDistance": 1e6})");
    auto ground = std::make_unique<GroundMesh>();
    ground->AddTriangle(Vec3(0, 0, 0), Vec3(0, 0, 500), Vec3(500, 0, 500), PhysicsSurface::Grass);
    ground->AddTriangle(Vec3(0, 0, 0), Vec3(500, 0, 500), Vec3(500, 0, 0), PhysicsSurface::Grass);
    ground->Finish();
    auto owned = std::make_unique<Region>("Range", Vec3(), Vec3(500, 50, 500));
    owned->SetGround(std::move(ground));
    Region* region = World::Get().AddRegion(std::move(owned));
    ObjectManager& objects = Singleton<ObjectManager>::Get();

    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    };
    // The caster's own side: every path test walks the characters and reports none.
    const Team side = TeamManager::BuildTeam(Team::Human, 3);
    std::uint32_t casterId = 0;
    for (int i = 0; i < kCount; ++i) {
        auto* character = objects.CreateObject<Character>();
        character->InitialUpdate();
        character->SetTeam(side);
        World::Get().AddEntity(
            character, WorldCoords(region, Coords::FromOrigin(Vec3(next() * 500, 0, next() * 500))),
            false);
        casterId = character->GetObjectId();
    }
    std::vector<ProjectileBase*> arrows;
    for (int i = 0; i < kCount; ++i) {
        auto* arrow = objects.CreateObjectFromFile<ProjectileBase>("Records/Bench/Arrow.dbr");
        ProjectileInfo info;
        info.casterId = casterId;
        info.team = side;
        const Vec3 at(next() * 400, 1.0f, next() * 500);
        info.start = WorldCoords(region, Coords::FromDirection(at, Vec3(1, 0, 0), Vec3(0, 1, 0)));
        info.targetPosition = WorldVec3(region, at + Vec3(100, -1, 0));
        arrow->LoadInfo(info, static_cast<std::uint32_t>(i + 1));
        ProjectileModifierStruct own;
        arrow->AddProjectileModifier(own);
        arrow->ProjectileGo();
        arrows.push_back(arrow);
    }
    const int step = PhysicsEngine::kStepMs;
    auto frame = [&] {
        gEngine->AdvanceFrame(static_cast<std::uint32_t>(step));
        for (ProjectileBase* arrow : arrows)
            arrow->UpdateSelf(step);
    };
    PhysicsEngine& physics = PhysicsEngine::Get();
    auto turn = [&] {
        for (ProjectileBase* arrow : arrows)
            physics.SetEntityLinearVelocity(
                arrow, physics.GetEntityLinearVelocity(arrow->GetObjectId()) * -1.0f);
    };
    constexpr int kLeg = 100;
    for (int i = 1; i <= 2 * kLeg; ++i) {
        frame();  // scratch vectors and grid cells grow here
        if (i % kLeg == 0)
            turn();
    }

    long allocations = 0;
    long frames = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const long before = gAllocations.load();
        frame();
        allocations += gAllocations.load() - before;
        if (++frames % kLeg == 0) {
            state.PauseTiming();
            turn();
            state.ResumeTiming();
        }
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    const double perMs = ms > 0 ? static_cast<double>(frames) * kCount / ms : 0.0;
    const double perStep =
        static_cast<double>(allocations) / (static_cast<double>(frames) * kCount);
    state.counters["steps/ms"] = perMs;
    state.counters["allocs/step"] = perStep;
    state.SetItemsProcessed(frames * kCount);
    bench::PrintGoal(
        "projectile steps among 1,000 characters",
        bench::Format("%.0f steps/ms", perMs) + bench::Format(", %.3f allocs/step", perStep),
        ">= 1000 steps/ms, 0 allocs", perMs >= 1000.0 && allocations == 0);
    for (ProjectileBase* arrow : arrows)
        arrow->DeleteProjectile();
    ShutdownObjects();
}
BENCHMARK(BM_ProjectileStepsAmongCharacters)->Iterations(400)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
