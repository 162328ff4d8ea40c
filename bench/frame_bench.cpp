// Whole-frame benchmarks of the host's play loop, run through the host's frame (engine step,
// every entity's update, the game root):
// - the world: 10,000 characters on the sample level's meadow, two hostile monster teams and
//   players whose scripted clicks reach their controllers;
// - the arena: 1,000 monsters in two hostile teams and no player, on the same meadow; its last
//   frames count the heap allocations of a steady frame, and the heap its crowd took is shared
//   over its characters;
// - the scaling arenas: 1,000 to 20,000 monsters at the arena's density on flat square plains
//   made for the run, so the cost per character can be compared as the world grows.
// Characters updated per millisecond of one core is the figure, taken from the thread's CPU
// time (a busy machine stretches the wall clock, not the work).
// Monsters placed together take their 200 ms anger and search ticks in the same frame, so each
// run spans whole ticks: one frame alone is either all ticks or none. Under GAME_BENCH_SMOKE (the
// CI smoke run) the crowds are a tenth of that, so the run only proves the benchmarks still work.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchCompare.h"
#include "CountedAllocations.h"
#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/HugePageSpans.h"
#include "Engine/sys/RecycledBlocks.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Host/HostApp.h"
#include "Host/play/PlayerClicks.h"
#include "Host/play/drivers/ClickDriver.h"

using namespace GAME;

namespace {

constexpr int kWorldCharacters = 10000;
constexpr int kWorldPlayers = 100;
constexpr int kArenaMonsters = 1000;
constexpr int kScalingMonsters[] = {1000, 2000, 5000, 10000, 20000};
constexpr int kSmokeDivisor = 10;
constexpr int kArenaFrames = 30;
// The arena's last frames, two whole ticks, count the allocations of a steady frame.
constexpr int kSteadyFrames = 12;
// One 200 ms tick of every monster and the five quiet frames after it.
constexpr int kWorldFrames = 6;
// Two ticks: the first frames of a crowd also hold its first searches and paths.
constexpr int kScalingFrames = 12;
constexpr int kFrameMs = 33;
// The meadow's side: the arena's density is its crowd over this square.
constexpr float kMeadowSide = 64.0f;
// One kind of monster per team.
constexpr const char* kMonsterRecords[2] = {"Records/Creatures/Boar.dbr",
                                            "Records/Creatures/Wolf.dbr"};
constexpr const char* kPlayerRecord = "Records/Characters/Players/Warden.dbr";

// What the longest run of each benchmark measured (it comes last).
struct Measured {
    double perMs = 0;
    double allocationsPerFrame = -1;  // -1: not counted
    double bytesPerCharacter = 0;
    // The same after the first frame, which gives every monster its AI states and anger entries.
    double bytesAfterFirstFrame = 0;
};
Measured gWorld;
Measured gArena;
// Microseconds of one core per character and frame, by crowd size.
std::vector<std::pair<int, double>> gScaling;

bool SmokeRun() {
    const char* smoke = std::getenv("GAME_BENCH_SMOKE");
    return smoke && *smoke && std::string(smoke) != "0";
}

// A private copy of the sample data, so the navigation cache is never written beside the source;
// one per process, so two benchmark runs at once do not delete each other's.
std::filesystem::path SampleCopy() {
    const auto root =
        std::filesystem::temp_directory_path() / ("game_bench_frame_" + std::to_string(getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::copy(std::filesystem::path(GAME_SOURCE_DIR) / "data", root,
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove(root / "Levels/Sample/Sample.navcache");
    return root;
}

// Writes a level of one flat square region, "Plain", `side` metres wide, into the data copy;
// returns its name under the data root.
std::string WritePlain(const std::filesystem::path& data, float side) {
    const auto dir = data / "Levels/Plain";
    std::filesystem::create_directories(dir);
    // Ground in 16 m squares, as the meadow's own ground is made of squares.
    const int squares = std::max(1, static_cast<int>(std::ceil(side / 16.0f)));
    const float step = side / static_cast<float>(squares);
    std::ofstream ground(dir / "Plain.obj");
    ground << "usemtl grass\n";
    for (int z = 0; z <= squares; ++z)
        for (int x = 0; x <= squares; ++x)
            ground << "v " << static_cast<float>(x) * step << " 0 " << static_cast<float>(z) * step
                   << "\n";
    const auto vertex = [squares](int x, int z) { return z * (squares + 1) + x + 1; };
    for (int z = 0; z < squares; ++z)
        for (int x = 0; x < squares; ++x)
            ground << "f " << vertex(x, z) << " " << vertex(x, z + 1) << " " << vertex(x + 1, z + 1)
                   << " " << vertex(x + 1, z) << "\n";
    std::ofstream level(dir / "Plain.level");
    level << "{\n  \"name\": \"Plain\",\n  \"pathingSizes\": [\"Small\", \"Medium\", \"Large\"],\n"
          << "  \"regions\": [{ \"name\": \"Plain\", \"offset\": [0, 0, 0], \"boundsMin\": [0, "
             "-10, 0],"
          << " \"boundsMax\": [" << side << ", 30, " << side << "], \"underground\": false,"
          << " \"ground\": \"Plain.obj\" }],\n"
          << "  \"spawnPoints\": [{ \"name\": \"Start\", \"region\": \"Plain\", \"position\": [2, "
             "0, 2] }],\n"
          << "  \"entities\": []\n}\n";
    return "Levels/Plain/Plain.level";
}

// Bytes the program's heap holds in use, with the recycled blocks' chunks (carved from pages
// the heap does not know of) less the blocks kept free for reuse: what an earlier scene dropped
// is not this scene's.
std::size_t HeapInUse() {
    return mallinfo2().uordblks + HugePageSpans::CarvedBytes() - RecycledBlocks::KeptBytes();
}

// Removes the copy however the run ends.
struct RemoveOnExit {
    std::filesystem::path path;
    ~RemoveOnExit() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

struct Crowd {
    int characters = 0;
    std::vector<Player*> players;
    std::vector<ClickDriver> drivers;
};

// Deterministic scatter over the `side` square of the region, each character dropped onto the
// ground; the first `players` are players, the rest monsters alternating between the red and
// blue teams.
Crowd Populate(Region* region, float side, int characters, int players) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::uint32_t seed = 4242;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    };
    Crowd crowd;
    for (int i = 0; i < characters; ++i) {
        const bool player = i < players;
        Character* character =
            player ? objects.CreateObjectFromFile<Player>(kPlayerRecord)
                   : objects.CreateObjectFromFile<Character>(kMonsterRecords[i % 2]);
        if (!character)
            continue;
        ++crowd.characters;
        if (!player)
            character->SetTeam(
                TeamManager::BuildTeam(Team::Monster, i % 2 == 0 ? Team::Red : Team::Blue));
        WorldVec3 at(region,
                     Vec3(1.0f + next() * (side - 2.0f), 0.0f, 1.0f + next() * (side - 2.0f)));
        at.PutOnFloor();
        World::Get().AddEntity(character, WorldCoords(region, Coords::FromOrigin(at.local)), true);
        character->InitialUpdate();
        if (player)
            crowd.players.push_back(static_cast<Player*>(character));
    }
    crowd.drivers.resize(crowd.players.size());
    return crowd;
}

struct Scene {
    int characters = 0;
    int players = 0;
    // 0: the sample level's meadow; else a plain of this side.
    float plainSide = 0;
};

// Loads the level into a fresh machine, fills it and times whole frames.
Measured RunScene(benchmark::State& state, const Scene& scene) {
    Measured measured;
    Machine machine;
    MachineScope scope(machine);
    gEngine->SetLogSink([](int, const char*, const std::string&) {}, true);
    const RemoveOnExit copy{SampleCopy()};
    const std::filesystem::path& data = copy.path;
    HostOptions options;
    options.dataRoot = data;
    if (!PrepareMachine(options)) {
        state.SkipWithError("no sample data");
        return measured;
    }
    InitializeObjects();
    gGameEngine->SetGameLoading(false);
    const std::string level =
        scene.plainSide > 0 ? WritePlain(data, scene.plainSide) : "Levels/Sample/Sample.level";
    if (!World::Get().LoadLevel(level)) {
        state.SkipWithError("the level did not load");
        return measured;
    }
    Region* region = World::Get().GetRegion(scene.plainSide > 0 ? "Plain" : "Meadow");
    const std::size_t heapBefore = HeapInUse();
    Crowd crowd = Populate(region, scene.plainSide > 0 ? scene.plainSide : kMeadowSide,
                           scene.characters, scene.players);
    if (crowd.characters > 0)
        measured.bytesPerCharacter =
            static_cast<double>(HeapInUse() - heapBefore) / static_cast<double>(crowd.characters);
    int frame = 0;
    long allocationsBefore = 0;
    const int frames = static_cast<int>(state.max_iterations);
    const double began = ThreadCpuMs();
    // The heap is read after the first frame outside the timed work.
    double untimedMs = 0;
    for (auto _ : state) {
        ++frame;
        if (frame == frames - kSteadyFrames + 1) {
            allocationsBefore = gAllocations.load(std::memory_order_relaxed);
            RecordAllocationStacks(scene.plainSide == 0 && scene.players == 0);
        }
        for (std::size_t i = 0; i < crowd.players.size(); ++i)
            if (auto click =
                    crowd.drivers[i].Next(*crowd.players[i], frame, gEngine->GetGameTime()))
                DeliverClick(*crowd.players[i], *click);
        RunFrame(kFrameMs);
        if (frame == 1 && crowd.characters > 0) {
            state.PauseTiming();
            const double readFrom = ThreadCpuMs();
            measured.bytesAfterFirstFrame = static_cast<double>(HeapInUse() - heapBefore) /
                                            static_cast<double>(crowd.characters);
            untimedMs += ThreadCpuMs() - readFrom;
            state.ResumeTiming();
        }
    }
    const double ms = ThreadCpuMs() - began - untimedMs;
    if (frames > kSteadyFrames && frame == frames) {
        measured.allocationsPerFrame =
            static_cast<double>(gAllocations.load(std::memory_order_relaxed) - allocationsBefore) /
            kSteadyFrames;
        if (scene.plainSide == 0 && scene.players == 0)
            PrintAllocationStacks(kSteadyFrames);
    }
    state.SetItemsProcessed(state.iterations() * crowd.characters);
    measured.perMs = ms > 0 ? static_cast<double>(state.iterations()) * crowd.characters / ms : 0;
    World::Get().UnloadLevel();
    ShutdownObjects();
    return measured;
}

void BM_SampleLevelFrame(benchmark::State& state) {
    gWorld = RunScene(state,
                      Scene{static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 0});
}

void BM_ArenaFrame(benchmark::State& state) {
    gArena = RunScene(state, Scene{static_cast<int>(state.range(0)), 0, 0});
}

void BM_ScalingFrame(benchmark::State& state) {
    const int monsters = static_cast<int>(state.range(0));
    // The arena's density: kArenaMonsters over the meadow.
    const float side =
        kMeadowSide * std::sqrt(static_cast<float>(monsters) / static_cast<float>(kArenaMonsters));
    const Measured measured = RunScene(state, Scene{monsters, 0, side});
    if (measured.perMs > 0)
        gScaling.emplace_back(monsters, 1000.0 / measured.perMs);
}

}  // namespace

int main(int argc, char** argv) {
    const int divisor = SmokeRun() ? kSmokeDivisor : 1;
    auto* world =
        benchmark::RegisterBenchmark("BM_SampleLevelFrame/characters/players", BM_SampleLevelFrame)
            ->Args({kWorldCharacters / divisor, kWorldPlayers / divisor})
            ->Unit(benchmark::kMillisecond);
    auto* arena = benchmark::RegisterBenchmark("BM_ArenaFrame/monsters", BM_ArenaFrame)
                      ->Arg(kArenaMonsters / divisor)
                      ->Unit(benchmark::kMillisecond);
    auto* scaling = benchmark::RegisterBenchmark("BM_ScalingFrame/monsters", BM_ScalingFrame)
                        ->Unit(benchmark::kMillisecond);
    // The smoke run stops at the second size: CI's two cores are busy enough.
    for (const int monsters : kScalingMonsters)
        if (divisor == 1 || monsters <= kScalingMonsters[1])
            scaling->Arg(monsters / divisor);
    // Whole 200 ms anger and search ticks: a second of game time for the arena, one tick for the
    // crowded world (a frame of its tick takes seconds), two for the scaling arenas.
    if (divisor == 1) {
        arena->Iterations(kArenaFrames);
        world->Iterations(kWorldFrames);
        scaling->Iterations(kScalingFrames);
    } else {
        scaling->Iterations(2);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (divisor != 1)
        return 0;
    if (gWorld.perMs > 0)
        bench::PrintGoal("whole frame, sample level, 10,000 characters",
                         bench::Format("%.1f characters updated per ms", gWorld.perMs),
                         ">= 300 per ms", gWorld.perMs >= 300.0);
    if (gArena.perMs > 0) {
        bench::PrintGoal("whole frame, arena of 1,000 monsters",
                         bench::Format("%.1f characters updated per ms", gArena.perMs),
                         ">= 1000 per ms", gArena.perMs >= 1000.0);
        if (gArena.allocationsPerFrame >= 0)
            bench::PrintGoal(
                "arena, steady-state frame",
                bench::Format("%.1f heap allocations per frame", gArena.allocationsPerFrame),
                "0 allocations", gArena.allocationsPerFrame == 0.0);
        bench::PrintGoal(
            "arena, memory per character",
            bench::Format("%.1f KB of heap per character", gArena.bytesPerCharacter / 1024.0),
            "<= 16 KB", gArena.bytesPerCharacter <= 16.0 * 1024.0);
        // Not a goal: what the first update adds to what a character is made of.
        std::printf("arena, memory per character after the first frame: %.1f KB of heap\n",
                    gArena.bytesAfterFirstFrame / 1024.0);
    }
    if (gScaling.size() == std::size(kScalingMonsters)) {
        double lo = gScaling.front().second, hi = lo;
        for (const auto& [monsters, us] : gScaling) {
            std::printf("scaling: %5d monsters, %.2f us per character and frame\n", monsters, us);
            lo = std::min(lo, us);
            hi = std::max(hi, us);
        }
        bench::PrintGoal("same density, 1,000 to 20,000 monsters",
                         bench::Format("cost per character within %.2fx", hi / lo), "within 1.2x",
                         hi <= 1.2 * lo);
    }
    return 0;
}
