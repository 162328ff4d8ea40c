// Whole-frame benchmarks of the host's play loop on the sample level, run through the host's
// frame (engine step, every entity's update, the game root):
// - the world: 10,000 characters, two hostile monster teams and players whose scripted clicks
//   reach their controllers;
// - the arena: 1,000 monsters in two hostile teams and no player.
// Characters updated per millisecond of one core is the figure, taken from the thread's CPU
// time (a busy machine stretches the wall clock, not the work); the goal is 1,000 for both.
// Monsters placed together take their 200 ms anger and search ticks in the same frame, so each
// run spans whole ticks: one frame alone is either all ticks or none. Under GAME_BENCH_SMOKE (the
// CI smoke run) the crowds are a tenth of that, so the run only proves the benchmarks still work.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchCompare.h"
#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Host/HostApp.h"
#include "Host/play/ClickDriver.h"
#include "Host/play/PlayerClicks.h"

using namespace GAME;

namespace {

constexpr int kWorldCharacters = 10000;
constexpr int kWorldPlayers = 100;
constexpr int kArenaMonsters = 1000;
constexpr int kSmokeDivisor = 10;
constexpr int kArenaFrames = 30;
// One 200 ms tick of every monster and the five quiet frames after it.
constexpr int kWorldFrames = 6;
constexpr int kFrameMs = 33;
// One kind of monster per team.
constexpr const char* kMonsterRecords[2] = {"Records/Creatures/Boar.dbr",
                                            "Records/Creatures/Wolf.dbr"};
constexpr const char* kPlayerRecord = "Records/Characters/Players/Warden.dbr";

// The figure of the longest run of each benchmark (it comes last).
double gWorldPerMs = 0;
double gArenaPerMs = 0;

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

// Deterministic scatter over the meadow, each character dropped onto the ground; the first
// `players` are players, the rest monsters alternating between the red and blue teams.
Crowd Populate(Region* meadow, int characters, int players) {
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
        WorldVec3 at(meadow, Vec3(1.0f + next() * 62.0f, 0.0f, 1.0f + next() * 62.0f));
        at.PutOnFloor();
        World::Get().AddEntity(character, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
        character->InitialUpdate();
        if (player)
            crowd.players.push_back(static_cast<Player*>(character));
    }
    crowd.drivers.resize(crowd.players.size());
    return crowd;
}

// Loads the sample level into a fresh machine, fills it and times whole frames.
void RunScene(benchmark::State& state, int characters, int players, double& perMsOut) {
    Machine machine;
    MachineScope scope(machine);
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    const RemoveOnExit copy{SampleCopy()};
    const std::filesystem::path& data = copy.path;
    HostOptions options;
    options.dataRoot = data;
    if (!PrepareMachine(options)) {
        state.SkipWithError("no sample data");
        return;
    }
    InitializeObjects();
    gGameEngine->SetGameLoading(false);
    if (!World::Get().LoadLevel("Levels/Sample/Sample.level")) {
        state.SkipWithError("the sample level did not load");
        return;
    }
    Crowd crowd = Populate(World::Get().GetRegion("Meadow"), characters, players);
    int frame = 0;
    const double began = ThreadCpuMs();
    for (auto _ : state) {
        ++frame;
        for (std::size_t i = 0; i < crowd.players.size(); ++i)
            if (auto click =
                    crowd.drivers[i].Next(*crowd.players[i], frame, gEngine->GetGameTime()))
                DeliverClick(*crowd.players[i], *click);
        RunFrame(kFrameMs);
    }
    state.SetItemsProcessed(state.iterations() * crowd.characters);
    const double ms = ThreadCpuMs() - began;
    perMsOut = ms > 0 ? static_cast<double>(state.iterations()) * crowd.characters / ms : 0;
    World::Get().UnloadLevel();
    ShutdownObjects();
}

void BM_SampleLevelFrame(benchmark::State& state) {
    RunScene(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
             gWorldPerMs);
}

void BM_ArenaFrame(benchmark::State& state) {
    RunScene(state, static_cast<int>(state.range(0)), 0, gArenaPerMs);
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
    // Whole 200 ms anger and search ticks: a second of game time for the arena, one tick for the
    // crowded world (a frame of its tick takes seconds).
    if (divisor == 1) {
        arena->Iterations(kArenaFrames);
        world->Iterations(kWorldFrames);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (divisor != 1)
        return 0;
    if (gWorldPerMs > 0)
        bench::PrintGoal("whole frame, sample level, 10,000 characters",
                         bench::Format("%.1f characters updated per ms", gWorldPerMs),
                         ">= 1000 per ms", gWorldPerMs >= 1000.0);
    if (gArenaPerMs > 0)
        bench::PrintGoal("whole frame, arena of 1,000 monsters",
                         bench::Format("%.1f characters updated per ms", gArenaPerMs),
                         ">= 1000 per ms", gArenaPerMs >= 1000.0);
    return 0;
}
