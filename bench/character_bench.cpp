// Character frame benchmark: UpdateSelf then PreAnimationUpdate of 10,000 idle characters that
// regenerate (each took a hit, so its biography runs the regeneration formulas). Characters per
// millisecond (items_per_second / 1000) is the figure to compare with the frame budget.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"

using namespace GAME;

namespace {

constexpr int kCharacters = 10000;
constexpr int kFrameMs = 33;

void BM_IdleCharactersRegenerating(benchmark::State& state) {
    Machine machine;
    MachineScope scope(machine);
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    Singleton<RecordDatabase>::Get().SetDataRoot(GAME_SOURCE_DIR "/data");
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::vector<Character*> characters;
    characters.reserve(kCharacters);
    for (int i = 0; i < kCharacters; ++i) {
        auto* character =
            objects.CreateObjectFromFile<Character>("Records/Characters/SampleHero.dbr");
        character->InitialUpdate();
        character->SubtractLife(150.0f, {});
        characters.push_back(character);
    }
    for (auto _ : state) {
        gEngine->AdvanceGameTime(kFrameMs);
        for (Character* character : characters) {
            character->UpdateSelf(kFrameMs);
            character->PreAnimationUpdate(kFrameMs);
        }
        // Keep them regenerating: a full character only follows its totals.
        for (Character* character : characters)
            if (character->GetCurrentLife() > 150.0f)
                character->SubtractLife(100.0f, {});
    }
    // items_per_second / 1000 is the number of characters updated per millisecond.
    state.SetItemsProcessed(state.iterations() * kCharacters);
    objects.DestroyAll();
}

}  // namespace

BENCHMARK(BM_IdleCharactersRegenerating)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
